#pragma once
// A loaded page as the engine's document: its address, its links in document order and
// elements that answer like a browser's (rendered text, markup, parent, absolute href).
// Clicks and "target" writes are recorded, never acted on.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"
#include "engine/html/browser_action.h"
#include "engine/html/html_parse.h"
#include "engine/html/html_tree.h"

namespace paginor {

class HtmlPage : public std::enable_shared_from_this<HtmlPage> {
 public:
  struct Load {
    std::shared_ptr<HtmlPage> page;  // null when the page was refused
    std::string problem;             // why, in words
  };
  // Refuses pages beyond kMaxPageBytes and pages the parser fails on or cannot finish
  // within the limits (see html_parse.h); any other bytes parse. actions receives what
  // is done to the page's elements; may be null.
  static Load Parse(std::string address, std::string_view html,
                    std::shared_ptr<BrowserActions> actions, const IsolationLimits& limits = {});

 private:
  struct Key {
    explicit Key() = default;
  };

 public:
  HtmlPage(Key, std::string address, HtmlTree tree, std::shared_ptr<BrowserActions> actions);

  const std::string& Address() const { return address_; }
  // The address relative links resolve against: the first <base href>, else Address().
  const std::string& BaseAddress() const { return base_; }
  std::unique_ptr<Document> MakeDocument();
  std::size_t LinkCount() const { return links_.size(); }
  // Null past the end.
  std::unique_ptr<LinkElement> Link(std::size_t index);
  // The <link> elements, in document order.
  std::size_t LinkTagCount() const { return linkTags_.size(); }
  std::unique_ptr<LinkElement> LinkTag(std::size_t index);
  // Every node of the page, with each element's attributes.
  const HtmlTree& Tree() const { return tree_; }

  // Used by the elements.
  const std::string& TextOf(NodeIndex node);
  const std::string& HtmlOf(NodeIndex node);
  std::optional<std::string> HrefOf(NodeIndex node) const;
  void RecordClick(NodeIndex node);
  void RecordTarget(NodeIndex node, std::string_view target);

 private:
  void Index();

  std::string address_;
  HtmlTree tree_;
  std::shared_ptr<BrowserActions> actions_;
  std::string base_;
  std::vector<NodeIndex> links_;
  std::vector<NodeIndex> linkTags_;
  // Rendered once: rules ask for the same parent's text for every link.
  std::map<NodeIndex, std::string> texts_;
  std::map<NodeIndex, std::string> markup_;
  std::map<NodeIndex, std::string> targets_;
};

}  // namespace paginor
