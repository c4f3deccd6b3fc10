#include "engine/disable_list.h"

namespace paginor {
namespace {

// Blanks and control characters, as the list editor's trim sees them.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view TrimmedLine(std::string_view line) {
  while (!line.empty() && IsBlankOrControl(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlankOrControl(line.back())) line.remove_suffix(1);
  return line;
}

}  // namespace

bool IsDisabledUrl(std::string_view url, const std::vector<std::string>& disableLines) {
  for (const auto& raw : disableLines) {
    const std::string_view prefix = TrimmedLine(raw);
    if (prefix.empty() || prefix.front() == '#') continue;
    if (url.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace paginor
