#pragma once
// Attributes of a parsed element, read as a browser's getAttribute reads them.

#include <optional>
#include <string>
#include <string_view>

#include "engine/html/html_tree.h"

namespace paginor {

// The attribute's value as written; nullopt when the element has no such attribute.
// name is lowercase, as the parser stores attribute names.
std::optional<std::string> ElementAttribute(const HtmlTree& tree, NodeIndex node,
                                            std::string_view name);

// The alt text, else the title, of the first image inside the element; nullopt when there
// is no image or it carries neither.
std::optional<std::string> FirstImageText(const HtmlTree& tree, NodeIndex node);

}  // namespace paginor
