#pragma once
// The browser families the user can choose, in the order of the choice's items.

#include <array>
#include <string_view>

namespace paginor {

// The last kind reaches Chromium-based browsers and Firefox through their
// accessibility tree; the others render with the IE engine.
extern const std::array<std::string_view, 7> kBrowserKinds;

// The kind for an item index of the browser choice; "" when no item is selected
// (-1) or the index lies outside the table, which discovery never finds.
std::string_view BrowserKindForChoice(int rgpIEIndex);

}  // namespace paginor
