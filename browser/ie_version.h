#pragma once
// The installed IE major version, as the "ie" walk chooses between its two walks.

#include <optional>
#include <string>
#include <string_view>

namespace paginor {

// keyOpened: whether the Internet Explorer key opened under either root; value: its
// "Version" text when present. "6" without a key, "7" for a text that is no number.
std::string IEVersionFromRegistry(bool keyOpened, std::optional<std::string_view> value);

// The version as a number; anything beyond int saturates.
int IEMajor(std::string_view version);

}  // namespace paginor
