#include "engine/disable_list.h"

#include "engine/link_text.h"

namespace paginor {

bool IsDisabledUrl(std::string_view url, const std::vector<std::string>& disableLines) {
  for (const auto& raw : disableLines) {
    const std::string_view prefix = TrimBlanks(raw);
    if (prefix.empty() || prefix.front() == '#') continue;
    if (url.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace paginor
