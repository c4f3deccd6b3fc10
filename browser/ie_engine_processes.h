#pragma once
// The executables that show pages with the IE engine, per browser kind: the one list
// the last try of every IE-engine kind searches by.

#include <span>
#include <string_view>

namespace paginor {

// Reduced names (lower case, file name only), as ReduceExeName gives them; empty for a
// kind that is not an IE-engine kind.
std::span<const std::string_view> IeEngineExeNames(std::string_view kind);

bool IsIeEngineExe(std::string_view kind, std::string_view reducedExe);

}  // namespace paginor
