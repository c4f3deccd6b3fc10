#include "browser/automation_links.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "browser/accessible_browser.h"

namespace paginor {
namespace {

// More frames than any page shows; past it the MSAA walk, which skips frames, is cheaper
// than asking each frame for its links.
constexpr std::size_t kMaxFrames = 64;

std::vector<AutomationPtr> WithoutNulls(std::vector<AutomationPtr> elements) {
  elements.erase(std::remove(elements.begin(), elements.end(), nullptr), elements.end());
  return elements;
}

std::optional<std::vector<AutomationPtr>> Find(AutomationElement& element, long controlType) {
  auto found = element.FindAll(controlType);
  if (!found) return std::nullopt;
  return WithoutNulls(std::move(*found));
}

// A search from the document also returns the links inside its frames, which belong to
// the frames as in the IE engine's collection; they are told apart by runtime id.
std::optional<std::vector<AutomationPtr>> WithoutFramesLinks(AutomationElement& document,
                                                            std::vector<AutomationPtr> links) {
  const auto frames = Find(document, uia::kDocument);
  if (!frames || frames->size() > kMaxFrames) return std::nullopt;
  if (frames->empty()) return links;
  std::set<std::vector<int>> framed;
  for (const AutomationPtr& frame : *frames) {
    const auto inner = Find(*frame, uia::kHyperlink);
    if (!inner) return std::nullopt;
    for (const AutomationPtr& link : *inner) framed.insert(link->Properties().runtimeId);
  }
  const auto unknown = [](const AutomationPtr& link) { return link->Properties().runtimeId.empty(); };
  if (std::any_of(links.begin(), links.end(), unknown)) return std::nullopt;
  links.erase(std::remove_if(links.begin(), links.end(),
                             [&](const AutomationPtr& link) { return framed.count(link->Properties().runtimeId) > 0; }),
              links.end());
  return links;
}

// The MSAA links of the same page, walked once and only when asked, for what UI
// Automation's cache does not hold.
class MsaaLinks {
 public:
  explicit MsaaLinks(AccessiblePtr document) : document_(std::move(document)) {}

  // The MSAA link at a position, when both trees list the same links.
  AccessiblePtr At(std::size_t index, std::size_t count, std::string_view address) {
    if (!links_) links_ = document_ ? CollectLinks(document_) : std::vector<AccessiblePtr>{};
    if (links_->size() != count || index >= count) return nullptr;
    AccessiblePtr link = (*links_)[index];
    if (link->Value().value_or("") != address) return nullptr;
    return link;
  }

 private:
  AccessiblePtr document_;
  std::optional<std::vector<AccessiblePtr>> links_;
};

class AutomationLink : public LinkElement {
 public:
  AutomationLink(AutomationPtr link, std::size_t index, std::size_t count, std::shared_ptr<MsaaLinks> msaa)
      : link_(std::move(link)), index_(index), count_(count), msaa_(std::move(msaa)) {}

  std::optional<std::string> OuterText() override { return link_->Properties().name; }
  std::optional<std::string> OuterHtml() override {
    return LinkMarkup(link_->Properties().value, link_->Properties().name);
  }
  // Null, and so no parent text, when the MSAA tree lists other links than UI Automation.
  std::unique_ptr<LinkElement> ParentElement() override {
    const AccessiblePtr link = msaa_->At(index_, count_, link_->Properties().value);
    AccessiblePtr parent = link ? link->Parent() : nullptr;
    if (!parent) return nullptr;
    return AccessibleLinkElement(std::move(parent));
  }
  std::optional<std::string> Href() override { return link_->Properties().value; }
  // A link without the Invoke pattern, or a provider that did not answer in time, is
  // clicked through MSAA's default action of the same link, within the same command.
  bool Click() override {
    if (link_->Invoke()) return true;
    const AccessiblePtr link = msaa_->At(index_, count_, link_->Properties().value);
    return link && link->DoDefaultAction();
  }
  // As on the MSAA path: a followed link opens where its page is.
  bool SetTarget(std::string_view) override { return true; }

 private:
  AutomationPtr link_;
  std::size_t index_;
  std::size_t count_;
  std::shared_ptr<MsaaLinks> msaa_;
};

class AutomationLinks : public LinkCollection {
 public:
  AutomationLinks(std::vector<AutomationPtr> links, AccessiblePtr document)
      : links_(std::move(links)), msaa_(std::make_shared<MsaaLinks>(std::move(document))) {}
  std::optional<long> Length() override { return static_cast<long>(links_.size()); }
  std::unique_ptr<LinkElement> Item(long index) override {
    if (index < 0 || static_cast<std::size_t>(index) >= links_.size()) return nullptr;
    const auto i = static_cast<std::size_t>(index);
    return std::make_unique<AutomationLink>(links_[i], i, links_.size(), msaa_);
  }

 private:
  std::vector<AutomationPtr> links_;
  std::shared_ptr<MsaaLinks> msaa_;
};

}  // namespace

std::optional<std::vector<AutomationPtr>> AutomationPageLinks(Automation& automation, WindowHandle window,
                                                             const AccessiblePtr& tab) {
  const AutomationPtr root = automation.FromWindow(window);
  if (!root) return std::nullopt;
  const auto documents = Find(*root, uia::kDocument);
  if (!documents) return std::nullopt;
  // A background tab's document is still in the tree, off screen; a frame's document
  // comes after the one that holds it.
  const auto shown = std::find_if(documents->begin(), documents->end(),
                                  [](const AutomationPtr& d) { return !d->Properties().offscreen; });
  if (shown == documents->end()) return std::nullopt;
  AutomationElement& document = **shown;
  const std::string& address = document.Properties().value;
  if (!address.empty() && tab) {
    const std::string expected = tab->Value().value_or("");
    if (!expected.empty() && address != expected) return std::nullopt;
  }
  auto links = Find(document, uia::kHyperlink);
  if (!links) return std::nullopt;
  return WithoutFramesLinks(document, std::move(*links));
}

std::unique_ptr<LinkCollection> AutomationLinkCollection(std::vector<AutomationPtr> links,
                                                         AccessiblePtr document) {
  return std::make_unique<AutomationLinks>(std::move(links), std::move(document));
}

}  // namespace paginor
