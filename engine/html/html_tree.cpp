#include "engine/html/html_tree.h"

#include <gumbo.h>

#include <cstring>
#include <type_traits>

namespace paginor {
namespace {

constexpr std::uint32_t kMagic = 0x50475431;  // "PGT1"

struct Header {
  std::uint32_t magic;
  std::uint32_t nodeSize;
  std::uint64_t nodes;
  std::uint64_t attributes;
  std::uint64_t text;
};

static_assert(std::is_trivially_copyable_v<HtmlNode>);
static_assert(std::is_trivially_copyable_v<HtmlAttribute>);

template <typename T>
void Append(std::string& out, const T* data, std::size_t count) {
  out.append(reinterpret_cast<const char*>(data), sizeof(T) * count);
}

template <typename T>
bool Take(std::string_view& bytes, std::vector<T>& out, std::uint64_t count) {
  if (count > bytes.size() / sizeof(T)) return false;
  out.resize(static_cast<std::size_t>(count));
  if (out.empty()) return true;  // memcpy wants real pointers even for no bytes
  std::memcpy(out.data(), bytes.data(), sizeof(T) * out.size());
  bytes.remove_prefix(sizeof(T) * out.size());
  return true;
}

bool InRange(std::uint64_t begin, std::uint64_t length, std::uint64_t size) {
  return begin <= size && length <= size - begin;
}

bool IsElementKind(NodeKind kind) { return kind == NodeKind::Element || kind == NodeKind::Template; }

}  // namespace

std::string_view HtmlTree::Text(NodeIndex index) const {
  const HtmlNode& node = nodes_[index];
  return std::string_view(text_).substr(node.textBegin, node.textLength);
}

bool HtmlTree::IsElement(NodeIndex index) const { return IsElementKind(nodes_[index].kind); }

bool HtmlTree::IsHtmlElement(NodeIndex index, int tag) const {
  const HtmlNode& node = nodes_[index];
  return IsElementKind(node.kind) && node.tag == tag && node.ns == GUMBO_NAMESPACE_HTML;
}

std::string_view HtmlTree::AttributeName(NodeIndex index, std::size_t i) const {
  const HtmlAttribute& a = attributes_[nodes_[index].firstAttribute + i];
  return std::string_view(text_).substr(a.nameBegin, a.nameLength);
}

std::string_view HtmlTree::AttributeValue(NodeIndex index, std::size_t i) const {
  const HtmlAttribute& a = attributes_[nodes_[index].firstAttribute + i];
  return std::string_view(text_).substr(a.valueBegin, a.valueLength);
}

std::optional<std::string_view> HtmlTree::Attribute(NodeIndex index, std::string_view name) const {
  for (std::size_t i = 0; i < AttributeCount(index); ++i) {
    if (AttributeName(index, i) == name) return AttributeValue(index, i);
  }
  return std::nullopt;
}

std::uint32_t HtmlTree::Store(std::string_view text) {
  const auto begin = static_cast<std::uint32_t>(text_.size());
  text_ += text;
  return begin;
}

void HtmlTree::OpenDocument() {
  nodes_.push_back(HtmlNode{});
  open_.push_back(0);
}

void HtmlTree::OpenElement(NodeKind kind, int ns, int tag, std::string_view name) {
  HtmlNode node;
  node.kind = kind;
  node.ns = static_cast<std::uint8_t>(ns);
  node.tag = static_cast<std::uint16_t>(tag);
  node.parent = open_.back();
  node.textBegin = Store(name);
  node.textLength = static_cast<std::uint32_t>(name.size());
  node.firstAttribute = static_cast<std::uint32_t>(attributes_.size());
  open_.push_back(static_cast<NodeIndex>(nodes_.size()));
  nodes_.push_back(node);
}

void HtmlTree::AddAttribute(std::string_view name, std::string_view value) {
  HtmlAttribute attribute;
  attribute.nameBegin = Store(name);
  attribute.nameLength = static_cast<std::uint32_t>(name.size());
  attribute.valueBegin = Store(value);
  attribute.valueLength = static_cast<std::uint32_t>(value.size());
  attributes_.push_back(attribute);
  ++nodes_.back().attributeCount;
}

void HtmlTree::AddLeaf(NodeKind kind, std::string_view text) {
  HtmlNode node;
  node.kind = kind;
  node.parent = open_.back();
  node.end = static_cast<NodeIndex>(nodes_.size() + 1);
  node.textBegin = Store(text);
  node.textLength = static_cast<std::uint32_t>(text.size());
  node.firstAttribute = static_cast<std::uint32_t>(attributes_.size());
  nodes_.push_back(node);
}

void HtmlTree::Close() {
  nodes_[open_.back()].end = static_cast<NodeIndex>(nodes_.size());
  open_.pop_back();
}

std::string HtmlTree::ToBytes() const {
  const Header header{kMagic, sizeof(HtmlNode), nodes_.size(), attributes_.size(), text_.size()};
  std::string out;
  out.reserve(sizeof header + nodes_.size() * sizeof(HtmlNode) +
              attributes_.size() * sizeof(HtmlAttribute) + text_.size());
  Append(out, &header, 1);
  Append(out, nodes_.data(), nodes_.size());
  Append(out, attributes_.data(), attributes_.size());
  out += text_;
  return out;
}

std::optional<HtmlTree> HtmlTree::FromBytes(std::string_view bytes) {
  Header header{};
  if (bytes.size() < sizeof header) return std::nullopt;
  std::memcpy(&header, bytes.data(), sizeof header);
  bytes.remove_prefix(sizeof header);
  if (header.magic != kMagic || header.nodeSize != sizeof(HtmlNode)) return std::nullopt;
  if (header.nodes >= kNoNode || header.text > 0xFFFFFFFFu) return std::nullopt;
  HtmlTree tree;
  if (!Take(bytes, tree.nodes_, header.nodes) || !Take(bytes, tree.attributes_, header.attributes) ||
      bytes.size() != header.text) {
    return std::nullopt;
  }
  tree.text_ = std::string(bytes);
  if (!tree.IsSound()) return std::nullopt;
  return tree;
}

// Node 0 is the document and holds everything; each node's parent is the innermost
// node whose subtree holds it; only elements have children or attributes; every range
// lies inside its array.
bool HtmlTree::IsSound() const {
  const std::size_t count = nodes_.size();
  if (count == 0) return attributes_.empty() && text_.empty();
  if (nodes_[0].kind != NodeKind::Document || nodes_[0].parent != kNoNode ||
      nodes_[0].end != count || nodes_[0].attributeCount != 0) {
    return false;
  }
  for (const HtmlNode& node : nodes_) {
    if (!InRange(node.textBegin, node.textLength, text_.size()) ||
        !InRange(node.firstAttribute, node.attributeCount, attributes_.size())) {
      return false;
    }
  }
  for (const HtmlAttribute& a : attributes_) {
    if (!InRange(a.nameBegin, a.nameLength, text_.size()) ||
        !InRange(a.valueBegin, a.valueLength, text_.size())) {
      return false;
    }
  }
  std::vector<NodeIndex> open{0};
  for (NodeIndex i = 1; i < count; ++i) {
    const HtmlNode& node = nodes_[i];
    while (nodes_[open.back()].end <= i) open.pop_back();  // the document never ends early
    const bool element = IsElementKind(node.kind);
    if (node.kind > NodeKind::Comment || node.kind == NodeKind::Document) return false;
    if (node.parent != open.back() || node.end <= i || node.end > nodes_[node.parent].end) {
      return false;
    }
    if (!element && (node.end != i + 1 || node.attributeCount != 0)) return false;
    if (element) open.push_back(i);
  }
  return true;
}

}  // namespace paginor
