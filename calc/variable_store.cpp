#include "calc/variable_store.h"

#include "calc/text_case.h"

namespace paginor::calc {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool SameAsciiName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Compares names without regard to letter case. Case mapping never turns another
// letter into an ASCII one, so an ASCII name only ever equals an ASCII name.
class NameMatcher {
 public:
  explicit NameMatcher(std::string_view name)
      : name_(name), ascii_(IsAscii(name)), upper_(ascii_ ? std::string() : UpperText(name)) {}

  bool Matches(std::string_view other) const {
    if (ascii_) return SameAsciiName(name_, other);
    return SameAsciiName(name_, other) || UpperText(other) == upper_;
  }

 private:
  std::string_view name_;
  bool ascii_;
  std::string upper_;
};

std::optional<std::string_view> NameOf(std::string_view line) {
  const std::size_t equal = line.find('=');
  if (equal == std::string_view::npos) return std::nullopt;
  return line.substr(0, equal);
}

}  // namespace

bool SameVariableName(std::string_view a, std::string_view b) { return NameMatcher(a).Matches(b); }

void VariableStore::SetText(std::string_view text) {
  lines_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      break;
    }
    lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

std::optional<std::size_t> VariableStore::Find(std::string_view name) const {
  const NameMatcher matcher(name);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto lineName = NameOf(lines_[i]);
    if (lineName && matcher.Matches(*lineName)) return i;
  }
  return std::nullopt;
}

std::string_view VariableStore::ValueOf(std::string_view line) {
  const std::size_t equal = line.find('=');
  return equal == std::string_view::npos ? std::string_view{} : line.substr(equal + 1);
}

void VariableStore::Set(std::string_view name, std::string_view value) {
  std::string line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).append("=").append(value);
  if (const auto at = Find(name)) {
    lines_[*at] = std::move(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

bool VariableStore::RemoveFirst(std::string_view name) {
  const auto at = Find(name);
  if (!at) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

}  // namespace paginor::calc
