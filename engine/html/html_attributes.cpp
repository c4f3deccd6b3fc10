#include "engine/html/html_attributes.h"

#include <gumbo.h>

namespace paginor {

std::optional<std::string> ElementAttribute(const HtmlTree& tree, NodeIndex node,
                                            std::string_view name) {
  if (!tree.IsElement(node)) return std::nullopt;
  const std::optional<std::string_view> value = tree.Attribute(node, name);
  if (!value) return std::nullopt;
  return std::string(*value);
}

std::optional<std::string> FirstImageText(const HtmlTree& tree, NodeIndex node) {
  std::optional<std::string> text;
  bool done = false;
  WalkTree(
      tree, node,
      [&](NodeIndex child) {
        if (done || !tree.IsElement(child)) return false;
        if (!tree.IsHtmlElement(child, GUMBO_TAG_IMG)) return true;
        done = true;
        for (const char* name : {"alt", "title"}) {
          auto value = ElementAttribute(tree, child, name);
          if (value && !value->empty()) {
            text = std::move(value);
            break;
          }
        }
        return false;
      },
      [](NodeIndex) {});
  return text;
}

}  // namespace paginor
