#include "browser/ax_tree_file.h"

#include <charconv>

#include "browser/accessible_browser.h"
#include "browser/link_table.h"

namespace paginor {
namespace {

constexpr std::size_t kFields = 6;

template <class T>
std::optional<T> Number(std::string_view text, int base) {
  if (base == 16) {
    if (!text.starts_with("0x")) return std::nullopt;
    text.remove_prefix(2);
  }
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// One node line; empty with error set.
std::optional<AxTreeNode> ParseNode(const std::vector<std::string_view>& fields, std::string& error) {
  const auto role = Number<long>(fields[1], 16);
  const auto state = Number<std::uint32_t>(fields[2], 16);
  if (!role || !state) {
    error = "role and state must be hex numbers such as 0x1e";
    return std::nullopt;
  }
  AxTreeNode node{*role, *state, {}, {}, {}, {}};
  std::string* texts[] = {&node.name, &node.value, &node.browserRole};
  for (std::size_t f = 3; f < kFields; ++f) {
    std::optional<std::string> text = UnescapeField(fields[f]);
    if (!text) {
      error = "bad escape in field " + std::to_string(f + 1);
      return std::nullopt;
    }
    *texts[f - 3] = std::move(*text);
  }
  return node;
}

class TreeAccessible final : public AccessibleNode, public std::enable_shared_from_this<TreeAccessible> {
 public:
  struct Shared {
    std::shared_ptr<const AxTree> tree;
    AxDefaultAction act;
  };
  TreeAccessible(std::shared_ptr<const Shared> shared, const AxTreeNode& node, std::weak_ptr<TreeAccessible> parent)
      : shared_(std::move(shared)), node_(node), parent_(std::move(parent)) {}

  std::optional<long> Role() override { return node_.role; }
  std::optional<std::string> Name() override { return node_.name; }
  std::optional<std::string> Value() override { return node_.value; }
  std::optional<std::uint32_t> State() override { return node_.state; }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    std::vector<AccessiblePtr> children;
    for (const AxTreeNode& child : node_.children) {
      children.push_back(std::make_shared<TreeAccessible>(shared_, child, weak_from_this()));
    }
    return children;
  }
  AccessiblePtr Parent() override { return parent_.lock(); }
  bool DoDefaultAction() override { return shared_->act && shared_->act(node_); }

 private:
  std::shared_ptr<const Shared> shared_;  // keeps node_ alive
  const AxTreeNode& node_;
  std::weak_ptr<TreeAccessible> parent_;
};

}  // namespace

std::optional<AxTree> ParseAxTree(std::string_view text, std::string& error) {
  std::vector<std::string_view> lines = SplitFields(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  AxTree tree;
  std::vector<AxTreeNode*> path;  // the last node at each depth
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::vector<std::string_view> fields = SplitFields(line, '\t');
    const auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(n + 1) + ": " + why;
      return std::nullopt;
    };
    if (n == 0) {
      const std::optional<std::string> url = fields.size() == 2 ? UnescapeField(fields[1]) : std::nullopt;
      if (fields[0] != "#url" || !url) return fail("expected #url and the page's address");
      tree.url = *url;
      continue;
    }
    if (fields.size() != kFields) return fail("expected 6 fields, found " + std::to_string(fields.size()));
    const auto depth = Number<std::size_t>(fields[0], 10);
    if (!depth || *depth > path.size() || (*depth == 0) != path.empty() ||
        *depth > static_cast<std::size_t>(kMaxAccessibleDepth)) {
      return fail(path.empty() ? "the document must come first, at depth 0"
                               : "a depth from 1 to one more than the line before's");
    }
    std::optional<AxTreeNode> node = ParseNode(fields, error);
    if (!node) return fail(error);
    path.resize(*depth);
    AxTreeNode& placed = path.empty() ? (tree.document = std::move(*node))
                                      : path.back()->children.emplace_back(std::move(*node));
    path.push_back(&placed);
  }
  if (path.empty()) {
    error = lines.empty() ? "the tree is empty" : "the tree has no document";
    return std::nullopt;
  }
  return tree;
}

AccessiblePtr AccessibleFromTree(std::shared_ptr<const AxTree> tree, AxDefaultAction act) {
  if (!tree) return nullptr;
  const AxTreeNode& document = tree->document;
  auto shared = std::make_shared<const TreeAccessible::Shared>(TreeAccessible::Shared{std::move(tree), std::move(act)});
  return std::make_shared<TreeAccessible>(std::move(shared), document, std::weak_ptr<TreeAccessible>());
}

}  // namespace paginor
