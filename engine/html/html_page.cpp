#include "engine/html/html_page.h"

#include <gumbo.h>

#include "engine/html/html_attributes.h"
#include "engine/html/html_render.h"
#include "engine/link_address.h"

namespace paginor {
namespace {

class HtmlElement : public LinkElement {
 public:
  HtmlElement(std::shared_ptr<HtmlPage> page, NodeIndex node)
      : page_(std::move(page)), node_(node) {}

  std::optional<std::string> OuterText() override { return page_->TextOf(node_); }
  std::optional<std::string> OuterHtml() override { return page_->HtmlOf(node_); }
  std::unique_ptr<LinkElement> ParentElement() override {
    const NodeIndex parent = page_->Tree().Node(node_).parent;
    if (parent == kNoNode || !page_->Tree().IsElement(parent)) return nullptr;  // html has none
    return std::make_unique<HtmlElement>(page_, parent);
  }
  std::optional<std::string> Href() override { return page_->HrefOf(node_); }
  bool Click() override {
    page_->RecordClick(node_);
    return true;
  }
  bool SetTarget(std::string_view target) override {
    page_->RecordTarget(node_, target);
    return true;
  }
  std::optional<std::string> Attribute(std::string_view name) override {
    return ElementAttribute(page_->Tree(), node_, name);
  }
  std::optional<std::string> ImageText() override { return FirstImageText(page_->Tree(), node_); }

 private:
  std::shared_ptr<HtmlPage> page_;
  NodeIndex node_;
};

class HtmlLinkCollection : public LinkCollection {
 public:
  // linkTags: the <link> elements rather than the links.
  HtmlLinkCollection(std::shared_ptr<HtmlPage> page, bool linkTags)
      : page_(std::move(page)), linkTags_(linkTags) {}
  std::optional<long> Length() override {
    return static_cast<long>(linkTags_ ? page_->LinkTagCount() : page_->LinkCount());
  }
  std::unique_ptr<LinkElement> Item(long index) override {
    if (index < 0) return nullptr;
    const auto at = static_cast<std::size_t>(index);
    return linkTags_ ? page_->LinkTag(at) : page_->Link(at);
  }

 private:
  std::shared_ptr<HtmlPage> page_;
  bool linkTags_;
};

class HtmlDocument : public Document {
 public:
  explicit HtmlDocument(std::shared_ptr<HtmlPage> page) : page_(std::move(page)) {}
  std::unique_ptr<LinkCollection> Links() override {
    return std::make_unique<HtmlLinkCollection>(page_, false);
  }
  std::optional<std::string> Url() override { return page_->Address(); }
  std::unique_ptr<LinkCollection> LinkTags() override {
    return std::make_unique<HtmlLinkCollection>(page_, true);
  }

 private:
  std::shared_ptr<HtmlPage> page_;
};

bool IsUrlSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// As a browser reads an address attribute: control characters and blanks at the ends
// dropped, tabs and line breaks inside removed.
std::string CleanAddress(std::string_view raw) {
  while (!raw.empty() && IsUrlSpace(raw.front())) raw.remove_prefix(1);
  while (!raw.empty() && IsUrlSpace(raw.back())) raw.remove_suffix(1);
  std::string out;
  for (const char c : raw) {
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  }
  return out;
}

bool IsLinkElement(const HtmlTree& tree, NodeIndex node) {
  return tree.IsHtmlElement(node, GUMBO_TAG_A) || tree.IsHtmlElement(node, GUMBO_TAG_AREA);
}

bool IsLink(const HtmlTree& tree, NodeIndex node) {
  return IsLinkElement(tree, node) && tree.Attribute(node, "href").has_value();
}

}  // namespace

HtmlPage::Load HtmlPage::Parse(std::string address, std::string_view html,
                               std::shared_ptr<BrowserActions> actions,
                               const IsolationLimits& limits) {
  if (html.size() > kMaxPageBytes) {
    return {nullptr, "the page is larger than " + std::to_string(kMaxPageBytes >> 20) + " MiB"};
  }
  ParsedPage parsed = ParseHtml(html, limits);
  if (!parsed.tree) return {nullptr, std::move(parsed.problem)};
  return {std::make_shared<HtmlPage>(Key{}, std::move(address), std::move(*parsed.tree),
                                     std::move(actions)),
          ""};
}

HtmlPage::HtmlPage(Key, std::string address, HtmlTree tree,
                   std::shared_ptr<BrowserActions> actions)
    : address_(std::move(address)),
      tree_(std::move(tree)),
      actions_(std::move(actions)),
      base_(address_) {
  Index();
}

void HtmlPage::Index() {
  if (tree_.Size() == 0) return;
  bool baseFound = false;
  WalkTree(
      tree_, 0,
      [&](NodeIndex node) {
        if (!tree_.IsElement(node)) return tree_.Node(node).kind == NodeKind::Document;
        if (IsLink(tree_, node)) links_.push_back(node);
        if (tree_.IsHtmlElement(node, GUMBO_TAG_LINK)) linkTags_.push_back(node);
        if (!baseFound && tree_.IsHtmlElement(node, GUMBO_TAG_BASE)) {
          if (const auto href = tree_.Attribute(node, "href")) {
            base_ = ResolveLinkAddress(CleanAddress(*href), address_);
            baseFound = true;
          }
        }
        // Template content is an inert fragment, not part of the document.
        return tree_.Node(node).kind != NodeKind::Template;
      },
      [](NodeIndex) {});
}

std::unique_ptr<Document> HtmlPage::MakeDocument() {
  return std::make_unique<HtmlDocument>(shared_from_this());
}

std::unique_ptr<LinkElement> HtmlPage::Link(std::size_t index) {
  if (index >= links_.size()) return nullptr;
  return std::make_unique<HtmlElement>(shared_from_this(), links_[index]);
}

const std::string& HtmlPage::TextOf(NodeIndex node) {
  auto found = texts_.find(node);
  if (found == texts_.end()) found = texts_.emplace(node, RenderOuterText(tree_, node)).first;
  return found->second;
}

const std::string& HtmlPage::HtmlOf(NodeIndex node) {
  auto found = markup_.find(node);
  if (found == markup_.end()) found = markup_.emplace(node, SerializeOuterHtml(tree_, node)).first;
  return found->second;
}

std::unique_ptr<LinkElement> HtmlPage::LinkTag(std::size_t index) {
  if (index >= linkTags_.size()) return nullptr;
  return std::make_unique<HtmlElement>(shared_from_this(), linkTags_[index]);
}

std::optional<std::string> HtmlPage::HrefOf(NodeIndex node) const {
  // other elements have no such property
  if (!IsLinkElement(tree_, node) && !tree_.IsHtmlElement(node, GUMBO_TAG_LINK)) return std::nullopt;
  const auto href = tree_.Attribute(node, "href");
  if (!href) return std::string();
  return ResolveLinkAddress(CleanAddress(*href), base_);
}

void HtmlPage::RecordClick(NodeIndex node) {
  if (actions_ == nullptr || !IsLink(tree_, node)) return;  // clicking plain content does nothing
  std::string target;
  if (const auto written = targets_.find(node); written != targets_.end()) {
    target = written->second;
  } else if (const auto attribute = tree_.Attribute(node, "target")) {
    target = *attribute;
  }
  actions_->push_back({BrowserAction::Kind::FollowedLink, *HrefOf(node), TextOf(node), target});
}

void HtmlPage::RecordTarget(NodeIndex node, std::string_view target) {
  targets_[node] = std::string(target);
  if (actions_ == nullptr) return;
  actions_->push_back({BrowserAction::Kind::TargetWritten, HrefOf(node).value_or(""), TextOf(node),
                       std::string(target)});
}

}  // namespace paginor
