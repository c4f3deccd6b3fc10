#pragma once
// Pages parsed once, in a child process that hands back the whole tree (html_tree.h):
// whatever the parser does on a hostile page, this process only sees a tree or a
// reason. The child is bounded by processor time and memory, not by wall time.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/html/html_tree.h"
#include "engine/html/isolated_run.h"

namespace paginor {

inline constexpr std::size_t kMaxPageBytes = std::size_t{16} << 20;

struct ParsedPage {
  std::optional<HtmlTree> tree;  // empty when the page was refused
  std::string problem;           // why, in words
};

// Every page yields a tree with html, head and body, or a reason it could not be parsed.
ParsedPage ParseHtml(std::string_view html, const IsolationLimits& limits = {});

// The same parse in this process, as the child runs it. Only for pages known to be
// harmless (gumbo may stop the process on others) and for the child itself.
HtmlTree ParseHtmlHere(std::string_view html);

}  // namespace paginor
