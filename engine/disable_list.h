#pragma once
// The URL prefixes on which the user refuses commands of one origin.

#include <string>
#include <string_view>
#include <vector>

namespace paginor {

// True when url begins with one of the lines, each trimmed of blanks and control
// characters at both ends; empty lines and lines beginning with "#" are comments.
// The comparison is byte for byte and case-sensitive.
bool IsDisabledUrl(std::string_view url, const std::vector<std::string>& disableLines);

}  // namespace paginor
