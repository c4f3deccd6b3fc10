#pragma once
// Searching and replacing inside texts that may be tens of kilobytes long, in time linear in
// both texts whatever their content.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::calc {

// Finds one needle again and again; long needles go through Knuth-Morris-Pratt so that
// no text makes the search quadratic.
class TextFinder {
 public:
  explicit TextFinder(std::string_view needle);
  // The first occurrence at or after `from`, or npos. An empty needle is never found.
  std::size_t Find(std::string_view hay, std::size_t from = 0) const;

 private:
  std::string_view needle_;
  std::vector<std::size_t> fallback_;  // longest proper border of each needle prefix
};

std::size_t FindText(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Text in upper case for a search that ignores letter case, with the offset in the
// original of every folded byte (and one past the end), so that matches map back.
struct FoldedText {
  std::string text;
  std::vector<std::size_t> origin;
};
FoldedText FoldCase(std::string_view text);

struct ReplaceOptions {
  bool all = true;
  bool ignoreCase = true;
  std::size_t maxBytes = 0;
};
// Replaces the first occurrence of old, or every one from left to right without
// rescanning replaced text. An empty old changes nothing. Empty when the result would
// be longer than maxBytes.
std::optional<std::string> ReplaceText(std::string_view s, std::string_view old,
                                       std::string_view replacement, ReplaceOptions options);

}  // namespace paginor::calc
