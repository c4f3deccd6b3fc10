#include "engine/html/html_page.h"

#include <gumbo.h>

#include "engine/html/gumbo_walk.h"
#include "engine/html/html_attributes.h"
#include "engine/html/html_render.h"
#include "engine/html/isolated_run.h"
#include "engine/html/parse_cost.h"
#include "engine/link_address.h"

namespace paginor {
namespace {

// Far beyond what a page within the size and nesting limits needs.
constexpr std::chrono::milliseconds kParseTimeLimit{10'000};

class HtmlElement : public LinkElement {
 public:
  HtmlElement(std::shared_ptr<HtmlPage> page, const GumboNode& node)
      : page_(std::move(page)), node_(node) {}

  std::optional<std::string> OuterText() override { return page_->TextOf(node_); }
  std::optional<std::string> OuterHtml() override { return page_->HtmlOf(node_); }
  std::unique_ptr<LinkElement> ParentElement() override {
    const GumboNode* parent = node_.parent;
    if (parent == nullptr || !IsElement(*parent)) return nullptr;  // html has none
    return std::make_unique<HtmlElement>(page_, *parent);
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
    return ElementAttribute(node_, name);
  }
  std::optional<std::string> ImageText() override { return FirstImageText(node_); }

 private:
  std::shared_ptr<HtmlPage> page_;
  const GumboNode& node_;
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

const char* AttributeValue(const GumboNode& node, const char* name) {
  const GumboAttribute* attribute = gumbo_get_attribute(&node.v.element.attributes, name);
  return attribute != nullptr && attribute->value != nullptr ? attribute->value : nullptr;
}

bool IsLinkElement(const GumboNode& node) {
  return IsHtmlElement(node, GUMBO_TAG_A) || IsHtmlElement(node, GUMBO_TAG_AREA);
}

bool IsLink(const GumboNode& node) {
  return IsLinkElement(node) && AttributeValue(node, "href") != nullptr;
}

}  // namespace

HtmlPage::Load HtmlPage::Parse(std::string address, std::string_view html,
                               std::shared_ptr<BrowserActions> actions) {
  if (html.size() > kMaxPageBytes) {
    return {nullptr, "the page is larger than " + std::to_string(kMaxPageBytes >> 20) + " MiB"};
  }
  if (EstimateParseWork(html) > kMaxParseWork) {
    return {nullptr, "the page nests its elements too deeply to be parsed in reasonable time"};
  }
  // A trial parse in a child process first: what fails there must not run here.
  switch (RunIsolated([html] { const ParsedHtml trial(html); }, kParseTimeLimit)) {
    case IsolatedOutcome::Failed:
      return {nullptr, "the HTML parser fails on this page"};
    case IsolatedOutcome::TimedOut:
      return {nullptr, "the HTML parser did not finish this page within " +
                           std::to_string(kParseTimeLimit.count() / 1000) + " seconds"};
    case IsolatedOutcome::Finished:
    case IsolatedOutcome::NotRun:
      break;
  }
  return {std::make_shared<HtmlPage>(Key{}, std::move(address), html, std::move(actions)), ""};
}

HtmlPage::HtmlPage(Key, std::string address, std::string_view html,
                   std::shared_ptr<BrowserActions> actions)
    : address_(std::move(address)), tree_(html), actions_(std::move(actions)), base_(address_) {
  Index();
}

void HtmlPage::Index() {
  bool baseFound = false;
  WalkTree(
      *tree_.Document(),
      [&](const GumboNode& node) {
        if (!IsElement(node)) return node.type == GUMBO_NODE_DOCUMENT;
        if (IsLink(node)) links_.push_back(&node);
        if (IsHtmlElement(node, GUMBO_TAG_LINK)) linkTags_.push_back(&node);
        if (!baseFound && IsHtmlElement(node, GUMBO_TAG_BASE)) {
          if (const char* href = AttributeValue(node, "href")) {
            base_ = ResolveLinkAddress(CleanAddress(href), address_);
            baseFound = true;
          }
        }
        // Template content is an inert fragment, not part of the document.
        return node.type != GUMBO_NODE_TEMPLATE;
      },
      [](const GumboNode&) {});
}

std::unique_ptr<Document> HtmlPage::MakeDocument() {
  return std::make_unique<HtmlDocument>(shared_from_this());
}

std::unique_ptr<LinkElement> HtmlPage::Link(std::size_t index) {
  if (index >= links_.size()) return nullptr;
  return std::make_unique<HtmlElement>(shared_from_this(), *links_[index]);
}

const std::string& HtmlPage::TextOf(const GumboNode& node) {
  auto found = texts_.find(&node);
  if (found == texts_.end()) found = texts_.emplace(&node, RenderOuterText(node)).first;
  return found->second;
}

const std::string& HtmlPage::HtmlOf(const GumboNode& node) {
  auto found = markup_.find(&node);
  if (found == markup_.end()) found = markup_.emplace(&node, SerializeOuterHtml(node)).first;
  return found->second;
}

std::unique_ptr<LinkElement> HtmlPage::LinkTag(std::size_t index) {
  if (index >= linkTags_.size()) return nullptr;
  return std::make_unique<HtmlElement>(shared_from_this(), *linkTags_[index]);
}

std::optional<std::string> HtmlPage::HrefOf(const GumboNode& node) const {
  if (!IsLinkElement(node) && !IsHtmlElement(node, GUMBO_TAG_LINK)) return std::nullopt;  // other elements have no such property
  const char* href = AttributeValue(node, "href");
  if (href == nullptr) return std::string();
  return ResolveLinkAddress(CleanAddress(href), base_);
}

void HtmlPage::RecordClick(const GumboNode& node) {
  if (actions_ == nullptr || !IsLink(node)) return;  // clicking plain content does nothing
  std::string target;
  if (const auto written = targets_.find(&node); written != targets_.end()) {
    target = written->second;
  } else if (const char* attribute = AttributeValue(node, "target")) {
    target = attribute;
  }
  actions_->push_back({BrowserAction::Kind::FollowedLink, *HrefOf(node), TextOf(node), target});
}

void HtmlPage::RecordTarget(const GumboNode& node, std::string_view target) {
  targets_[&node] = std::string(target);
  if (actions_ == nullptr) return;
  actions_->push_back({BrowserAction::Kind::TargetWritten, HrefOf(node).value_or(""), TextOf(node),
                       std::string(target)});
}

}  // namespace paginor
