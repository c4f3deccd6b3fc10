#pragma once
// Variables: unsorted lines "name=value", duplicates allowed, names compared without
// regard to letter case. A line's name is the text before its first "="; a line
// without "=" has no name.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::calc {

// Whether two variable names are the same without regard to letter case.
bool SameVariableName(std::string_view a, std::string_view b);

class VariableStore {
 public:
  // Lines end at CR, LF or CR LF; an empty text empties the store.
  void SetText(std::string_view text);

  const std::vector<std::string>& Lines() const { return lines_; }

  // Index of the first line of that name.
  std::optional<std::size_t> Find(std::string_view name) const;
  // The text after the first "=" of a line.
  static std::string_view ValueOf(std::string_view line);

  // Replaces the first line of that name by name=value, or adds one.
  void Set(std::string_view name, std::string_view value);
  // Removes the first line of that name; false when there was none.
  bool RemoveFirst(std::string_view name);

 private:
  std::vector<std::string> lines_;
};

}  // namespace paginor::calc
