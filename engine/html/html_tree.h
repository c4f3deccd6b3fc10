#pragma once
// A parsed page as plain data: nodes in document order, each knowing its parent and
// where its subtree ends, with every element's name and attributes. The parser runs in
// a child process (see html_parse.h), which sends this tree back as bytes; nothing in
// it points anywhere, so bytes that are not a sound tree are simply refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor {

using NodeIndex = std::uint32_t;
inline constexpr NodeIndex kNoNode = 0xFFFFFFFFu;

enum class NodeKind : std::uint8_t { Document, Element, Template, Text, Whitespace, CData, Comment };

struct HtmlNode {
  NodeKind kind = NodeKind::Document;
  std::uint8_t ns = 0;    // GumboNamespaceEnum of an element
  std::uint16_t tag = 0;  // GumboTag of an element
  NodeIndex parent = kNoNode;
  NodeIndex end = 0;             // one past the last node of the subtree
  std::uint32_t textBegin = 0;   // an element's name as markup writes it, else the text
  std::uint32_t textLength = 0;  // of a text, comment or CDATA node
  std::uint32_t firstAttribute = 0;
  std::uint32_t attributeCount = 0;
};

struct HtmlAttribute {
  std::uint32_t nameBegin = 0;  // the name with its namespace prefix, as markup writes it
  std::uint32_t nameLength = 0;
  std::uint32_t valueBegin = 0;
  std::uint32_t valueLength = 0;
};

class HtmlTree {
 public:
  // Node 0 is the document; an empty tree has no nodes at all.
  std::size_t Size() const { return nodes_.size(); }
  const HtmlNode& Node(NodeIndex index) const { return nodes_[index]; }
  std::string_view Text(NodeIndex index) const;
  bool IsElement(NodeIndex index) const;
  bool IsHtmlElement(NodeIndex index, int tag) const;
  std::size_t AttributeCount(NodeIndex index) const { return nodes_[index].attributeCount; }
  std::string_view AttributeName(NodeIndex index, std::size_t i) const;
  std::string_view AttributeValue(NodeIndex index, std::size_t i) const;
  // The value of the attribute with this (lower-case) name, if the element has it.
  std::optional<std::string_view> Attribute(NodeIndex index, std::string_view name) const;

  // Building, in document order: Open and the leaves append a node as the last child of
  // the innermost open element; Close ends the innermost one.
  void OpenDocument();
  void OpenElement(NodeKind kind, int ns, int tag, std::string_view name);
  void AddAttribute(std::string_view name, std::string_view value);  // to the last opened
  void AddLeaf(NodeKind kind, std::string_view text);
  void Close();

  // The tree as bytes of this build, and back. FromBytes refuses anything that is not a
  // well-formed tree: counts, ranges, kinds and nesting are all checked.
  std::string ToBytes() const;
  static std::optional<HtmlTree> FromBytes(std::string_view bytes);

 private:
  std::uint32_t Store(std::string_view text);
  bool IsSound() const;

  std::vector<HtmlNode> nodes_;
  std::vector<HtmlAttribute> attributes_;
  std::string text_;
  std::vector<NodeIndex> open_;  // while building
};

// Visits root and its subtree in document order without recursion. enter(index)
// returns true to descend into the node's children, after which leave(index) is called;
// false skips them and the leave call.
template <typename Enter, typename Leave>
void WalkTree(const HtmlTree& tree, NodeIndex root, Enter&& enter, Leave&& leave) {
  std::vector<NodeIndex> open;
  const NodeIndex end = tree.Node(root).end;
  for (NodeIndex i = root; i < end;) {
    while (!open.empty() && tree.Node(open.back()).end <= i) {
      leave(open.back());
      open.pop_back();
    }
    if (enter(i)) {
      open.push_back(i);
      ++i;
    } else {
      i = tree.Node(i).end;
    }
  }
  while (!open.empty()) {
    leave(open.back());
    open.pop_back();
  }
}

}  // namespace paginor
