#pragma once
// Replace-all as the rule and template code has always used it: replace the first
// occurrence, then look again from the start, until none is left.

#include <string>
#include <string_view>

namespace paginor {

// Gives the rescanning loop's result in linear time. Where that loop would never end
// (a replacement that contains old, or one that keeps rebuilding old), it falls back to a
// single left-to-right pass. An empty old changes nothing.
void ReplaceAll(std::string& text, std::string_view old, std::string_view replacement);

}  // namespace paginor
