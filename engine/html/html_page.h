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
#include "engine/html/parsed_html.h"

namespace paginor {

class HtmlPage : public std::enable_shared_from_this<HtmlPage> {
 public:
  struct Load {
    std::shared_ptr<HtmlPage> page;  // null when the page was refused
    std::string problem;             // why, in words
  };
  // Refuses pages beyond kMaxPageBytes or kMaxParseWork (see parse_cost.h) and pages on
  // which a trial parse in a child process fails or runs too long (see isolated_run.h);
  // any other bytes parse. actions receives what is done to the page's elements; may
  // be null.
  static Load Parse(std::string address, std::string_view html,
                    std::shared_ptr<BrowserActions> actions);

 private:
  struct Key {
    explicit Key() = default;
  };

 public:
  HtmlPage(Key, std::string address, std::string_view html,
           std::shared_ptr<BrowserActions> actions);

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

  // Used by the elements.
  const std::string& TextOf(const GumboInternalNode& node);
  const std::string& HtmlOf(const GumboInternalNode& node);
  std::optional<std::string> HrefOf(const GumboInternalNode& node) const;
  void RecordClick(const GumboInternalNode& node);
  void RecordTarget(const GumboInternalNode& node, std::string_view target);

 private:
  void Index();

  std::string address_;
  ParsedHtml tree_;
  std::shared_ptr<BrowserActions> actions_;
  std::string base_;
  std::vector<const GumboInternalNode*> links_;
  std::vector<const GumboInternalNode*> linkTags_;
  // Rendered once: rules ask for the same parent's text for every link.
  std::map<const GumboInternalNode*, std::string> texts_;
  std::map<const GumboInternalNode*, std::string> markup_;
  std::map<const GumboInternalNode*, std::string> targets_;
};

}  // namespace paginor
