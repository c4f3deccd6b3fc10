#pragma once
// The pagination block as the page's structure shows it, and the current page in it.
// An element is known by its markup: the only thing of an element every browser layer
// gives, and what tells a pager's "»" from the same arrow in a sidebar box.

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "engine/browser_model.h"

namespace paginor {

struct PagerBlock {
  std::string markup;  // outerHTML: an ancestor with the same markup is this element
  std::string text;    // outerText
  std::string tag;     // the start tag, for explanations
};

// The element that holds the links from first to last (the same link when it is alone):
// the nearest ancestor of first whose markup holds last's; a lone link's element must
// also hold another link or a second number. nullopt when the ancestors cannot be read
// or grow past what a pager holds.
std::optional<PagerBlock> FindPagerBlock(LinkElement& first, LinkElement& last);

// Whether one of the link's ancestors is the block.
bool StandsIn(LinkElement& link, const PagerBlock& block);

// How the link says it is the current page: "aria-current", or a class "current",
// "active" or "on" on it or on its parent; empty when it does not.
std::string CurrentMark(LinkElement& link);

// The current page as a pager shows it in plain text, <strong> or <span>: the one
// number of text, beside the linked ones, that no link carries.
std::optional<long> UnlinkedNumber(std::string_view text, const std::set<long>& linked);

// The first of wanted (lower case) that a blank-separated list (class, rel) holds,
// ASCII case ignored; empty when none.
std::string_view MatchingToken(std::string_view list, std::span<const std::string_view> wanted);

}  // namespace paginor
