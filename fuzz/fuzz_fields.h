#pragma once
// Fuzz inputs carry several texts separated by NUL bytes.

#include <string_view>
#include <vector>

namespace paginor::fuzzing {

inline std::vector<std::string_view> Fields(std::string_view bytes) {
  std::vector<std::string_view> fields;
  while (true) {
    const auto end = bytes.find('\0');
    fields.push_back(bytes.substr(0, end));
    if (end == std::string_view::npos) return fields;
    bytes.remove_prefix(end + 1);
  }
}

}  // namespace paginor::fuzzing
