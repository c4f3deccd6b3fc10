#pragma once
// What a browser reports for an element: its rendered text and its markup. Both walk
// the subtree with an explicit stack, so any nesting depth is safe.

#include <string>

#include "engine/html/html_tree.h"

namespace paginor {

// The text as rendered: whitespace runs collapse to one blank, the ends are trimmed,
// "br" and the edges of block elements break the line (CR LF), a no-break space stays a
// blank; script, style, template and head content contribute nothing, nor do images.
std::string RenderOuterText(const HtmlTree& tree, NodeIndex element);

// The element and its subtree as HTML: attribute values in double quotes, text escaped
// (raw inside script and style), void elements without an end tag.
std::string SerializeOuterHtml(const HtmlTree& tree, NodeIndex element);

}  // namespace paginor
