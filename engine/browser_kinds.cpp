#include "engine/browser_kinds.h"

#include <cstddef>

namespace paginor {

const std::array<std::string_view, 7> kBrowserKinds{"ie",    "360",     "sogou", "tt",
                                                   "world", "maxthon", "modern"};

std::string_view BrowserKindForChoice(int rgpIEIndex) {
  if (rgpIEIndex < 0 || static_cast<std::size_t>(rgpIEIndex) >= kBrowserKinds.size()) return {};
  return kBrowserKinds[static_cast<std::size_t>(rgpIEIndex)];
}

}  // namespace paginor
