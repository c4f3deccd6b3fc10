#pragma once
// Turning a link's address into an absolute one against the page it stands on.

#include <string>
#include <string_view>

namespace paginor {

// Reference resolution of RFC 3986 (5.2, with dot-segment removal, recomposed as in
// 5.3). An address that already carries a scheme is returned unchanged; so is every
// address when base has no scheme, since there is nothing to resolve it against.
std::string ResolveLinkAddress(std::string_view address, std::string_view base);

}  // namespace paginor
