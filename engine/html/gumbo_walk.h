#pragma once
// Depth-first walks over a gumbo tree without recursion.

#include <gumbo.h>

#include <vector>

namespace paginor {

// The children of a document, element or template node; null for text and comments.
inline const GumboVector* ChildrenOf(const GumboNode& node) {
  switch (node.type) {
    case GUMBO_NODE_DOCUMENT:
      return &node.v.document.children;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
      return &node.v.element.children;
    default:
      return nullptr;
  }
}

inline bool IsElement(const GumboNode& node) {
  return node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE;
}

inline bool IsHtmlElement(const GumboNode& node, GumboTag tag) {
  return IsElement(node) && node.v.element.tag == tag &&
         node.v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

// Visits root and its subtree in document order. enter(node) returns true to descend
// into the node's children, after which leave(node) is called; false skips them and
// the leave call.
template <typename Enter, typename Leave>
void WalkTree(const GumboNode& root, Enter&& enter, Leave&& leave) {
  struct Frame {
    const GumboNode* node;
    unsigned int next;
  };
  if (!enter(root)) return;
  std::vector<Frame> stack{{&root, 0}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    const GumboVector* children = ChildrenOf(*top.node);
    if (children != nullptr && top.next < children->length) {
      const auto* child = static_cast<const GumboNode*>(children->data[top.next++]);
      if (enter(*child)) stack.push_back({child, 0});  // top may dangle from here on
    } else {
      leave(*top.node);
      stack.pop_back();
    }
  }
}

}  // namespace paginor
