#pragma once
// A cheap look at a page before gumbo parses it. gumbo's scope checks walk the stack
// of open elements, so a page that nests thousands of levels costs time that grows with
// the square of the depth (100 000 nested divs take many seconds). The estimate sums the
// nesting depth at every start tag, which bounds that work.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace paginor {

inline constexpr std::size_t kMaxPageBytes = std::size_t{16} << 20;
// About ten thousand nested block elements; ordinary pages stay far below.
inline constexpr std::uint64_t kMaxParseWork = 50'000'000;

// The sum over all start tags of the estimated depth of open elements. Tags the parser
// closes by itself (p, li, td, void elements ...) are not counted as open; script and
// style bodies and comments are skipped.
std::uint64_t EstimateParseWork(std::string_view html);

}  // namespace paginor
