#pragma once
// The browser families the user can choose, in the order of the choice's items.

#include <array>
#include <string_view>

namespace paginor {

extern const std::array<std::string_view, 6> kBrowserKinds;

// The kind for an item index of the browser choice; "" when no item is selected
// (-1) or the index lies outside the table, which discovery never finds.
std::string_view BrowserKindForChoice(int rgpIEIndex);

}  // namespace paginor
