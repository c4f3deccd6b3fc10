#pragma once
// File-mask matching for the operators "like" and "wildcard".

#include <cstddef>
#include <string_view>

namespace paginor::calc {

enum class WildcardResult { kNoMatch, kMatch, kMalformed, kTooComplex };

struct WildcardOutcome {
  WildcardResult result = WildcardResult::kNoMatch;
  std::size_t steps = 0;  // comparison steps spent
};

// Whether the whole text matches the pattern: "*" any run of characters, "?" one
// character, "[...]" one character of the set, with ranges such as a-z and a leading
// "!" for negation. ASCII letters compare without regard to case; characters are UTF-8
// characters. A "[" without its "]", or a set with nothing in it, is malformed; a "-"
// first or last in a set is itself. More than maxSteps steps give kTooComplex.
WildcardOutcome MatchWildcard(std::string_view text, std::string_view pattern,
                              std::size_t maxSteps);

}  // namespace paginor::calc
