#pragma once
// The installed IE major version, as the "ie" walk chooses between its two walks.

#include <optional>
#include <string>
#include <string_view>

namespace paginor {

// keyOpened: whether the Internet Explorer key opened under either root; value: its
// "Version" text when present. "6" without a key, "7" for a text that is no number.
std::string IEVersionFromRegistry(bool keyOpened, std::optional<std::string_view> value);
// IE 10 and 11 leave "Version" at 9.x and keep their own in "svcVersion" (Microsoft's
// "Information about Internet Explorer versions", KB 969393): that one first.
std::string IEVersionFromRegistry(bool keyOpened, std::optional<std::string_view> svcVersion,
                                  std::optional<std::string_view> version);

// The version as a number; anything beyond int saturates.
int IEMajor(std::string_view version);

}  // namespace paginor
