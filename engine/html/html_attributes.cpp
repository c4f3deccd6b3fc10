#include "engine/html/html_attributes.h"

#include <gumbo.h>

#include "engine/html/gumbo_walk.h"

namespace paginor {

std::optional<std::string> ElementAttribute(const GumboNode& node, std::string_view name) {
  if (!IsElement(node)) return std::nullopt;
  const std::string key(name);
  const GumboAttribute* attribute = gumbo_get_attribute(&node.v.element.attributes, key.c_str());
  if (attribute == nullptr || attribute->value == nullptr) return std::nullopt;
  return std::string(attribute->value);
}

std::optional<std::string> FirstImageText(const GumboNode& node) {
  std::optional<std::string> text;
  bool done = false;
  WalkTree(
      node,
      [&](const GumboNode& child) {
        if (done || !IsElement(child)) return false;
        if (!IsHtmlElement(child, GUMBO_TAG_IMG)) return true;
        done = true;
        for (const char* name : {"alt", "title"}) {
          auto value = ElementAttribute(child, name);
          if (value && !value->empty()) {
            text = std::move(value);
            break;
          }
        }
        return false;
      },
      [](const GumboNode&) {});
  return text;
}

}  // namespace paginor
