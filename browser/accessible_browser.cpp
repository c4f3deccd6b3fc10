#include "browser/accessible_browser.h"

#include <utility>

#include "browser/automation_links.h"
#include "browser/remembered_tree.h"

namespace paginor {
namespace {

bool HasState(AccessibleNode& node, std::uint32_t bits) {
  const auto state = node.State();
  return state && (*state & bits) != 0;
}

enum class Step { Descend, Skip, Stop };

// Tree order without recursion; a node's children are read only when it is descended.
template <class Visit>
void WalkTree(const AccessiblePtr& root, Visit visit) {
  struct Entry {
    AccessiblePtr node;
    int depth;
  };
  std::vector<Entry> stack;
  stack.push_back({root, 0});
  std::size_t visited = 0;
  while (!stack.empty()) {
    Entry entry = std::move(stack.back());
    stack.pop_back();
    if (!entry.node) continue;
    if (++visited > kMaxAccessibleNodes) return;
    const Step step = visit(entry.node, entry.depth);
    if (step == Step::Stop) return;
    if (step == Step::Skip || entry.depth >= kMaxAccessibleDepth) continue;
    auto children = entry.node->Children();
    if (!children) continue;
    for (auto it = children->rbegin(); it != children->rend(); ++it) {
      stack.push_back({std::move(*it), entry.depth + 1});
    }
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Roles below which discovery finds no tab's document.
bool HasNothingBelow(long role) {
  return role == msaa::kRoleLink || role == msaa::kRoleStaticText || role == msaa::kRoleGraphic ||
         role == msaa::kRoleText;
}

// The browser's own controls around the page, which never hold a tab's document.
bool IsBrowserControl(long role) {
  constexpr long kTitleBar = 0x01, kMenuBar = 0x02, kScrollBar = 0x03, kToolBar = 0x16,
                 kStatusBar = 0x17, kPushButton = 0x2B, kPageTabList = 0x3C;
  return role == kTitleBar || role == kMenuBar || role == kScrollBar || role == kToolBar ||
         role == kStatusBar || role == kPushButton || role == kPageTabList;
}

// What a node of a page is to the walks below it.
enum class Kind { Link, Picture, TextLeaf, EditField, Frame, Container };

// Both browsers serve more than documents and fields with the roles of documents and
// fields. <article> is a document (Chromium: MSAARole in
// ui/accessibility/platform/ax_platform_node_win.cc; Firefox: accessible/base/RoleMap.h),
// but only a frame's document has an address of its own. Chromium serves <strong> <em>
// <code> <abbr> <time> <pre> <label> <legend> <caption> <dd> as ROLE_SYSTEM_TEXT, neither
// focusable nor read-only (MSAAState; ShouldHaveReadonlyStateByDefault in
// ui/accessibility/ax_role_properties.cc), and Firefox its text leaves as read-only
// text: only a focusable text that can be written is a field. A state that cannot be
// read is taken for a field, whose content is never page text.
Kind KindOf(AccessibleNode& node, long role, bool nested) {
  switch (role) {
    case msaa::kRoleLink: return Kind::Link;
    case msaa::kRoleGraphic: return Kind::Picture;
    case msaa::kRoleStaticText: return Kind::TextLeaf;
    case msaa::kRoleDocument:
      return nested && !node.Value().value_or("").empty() ? Kind::Frame : Kind::Container;
    case msaa::kRoleText: {
      const auto state = node.State();
      if (!state) return Kind::EditField;
      if (*state & msaa::kStateReadOnly) return Kind::TextLeaf;
      return *state & msaa::kStateFocusable ? Kind::EditField : Kind::Container;
    }
    default: return Kind::Container;
  }
}

// What a link shows, its text leaves: its name is its aria-label where it has one
// ("Page 2" for a link showing "2"), which is not what keywords and rules are written
// for. A link that shows no text (a picture) is known by its name.
std::optional<std::string> LinkText(const AccessiblePtr& link) {
  std::string shown;
  WalkTree(link, [&](const AccessiblePtr& n, int depth) {
    if (depth == 0) return Step::Descend;
    switch (KindOf(*n, n->Role().value_or(0), true)) {
      case Kind::TextLeaf: shown += n->Name().value_or(""); return Step::Skip;
      case Kind::Container: return Step::Descend;
      default: return Step::Skip;
    }
  });
  if (!shown.empty()) return shown;
  return link->Name();
}

// <a href role="button">, common in forum pagers, comes as a push button without an
// address; IAccessible2's attributes still carry its tag (Chromium:
// ui/accessibility/platform/ax_platform_node_win.cc, get_attributes; Firefox:
// accessible/windows/ia2/ia2Accessible.cpp).
bool IsAnchorButton(AccessibleNode& node, long role) {
  if (role != msaa::kRolePushButton) return false;
  const std::string attributes = ";" + node.ObjectAttributes().value_or("");
  return attributes.find(";tag:a;") != std::string::npos;
}

// A docked DevTools is a page of its own, served before the page it inspects.
bool IsDevToolsDocument(AccessibleNode& document) {
  return document.Value().value_or("").rfind("devtools://", 0) == 0;
}

struct Budget {
  std::size_t nodes = kMaxAccessibleNodes;
  bool Take() { return nodes > 0 && nodes-- > 0; }
};

void AppendMarkup(const AccessiblePtr& node, int depth, Budget& budget, std::string& out) {
  if (!node || depth > kMaxAccessibleDepth || !budget.Take()) return;
  switch (KindOf(*node, node->Role().value_or(0), depth > 0)) {
    case Kind::Link: out += LinkMarkup(node->Value().value_or(""), LinkText(node).value_or("")); return;
    case Kind::Picture: out += "<img alt=\"" + Escaped(node->Name().value_or("")) + "\">"; return;
    case Kind::TextLeaf: out += Escaped(node->Name().value_or("")); return;
    case Kind::EditField: out += "<input>"; return;
    case Kind::Frame: out += "<iframe></iframe>"; return;
    case Kind::Container: break;
  }
  out += "<div>";
  if (auto children = node->Children()) {
    for (const AccessiblePtr& child : *children) AppendMarkup(child, depth + 1, budget, out);
  }
  out += "</div>";
}

// A link, or any element around one, as the engine reads elements.
class AccessibleElement : public LinkElement {
 public:
  explicit AccessibleElement(AccessiblePtr node) : node_(std::move(node)) {}

  std::optional<std::string> OuterText() override {
    const long role = node_->Role().value_or(0);
    if (role == msaa::kRoleLink || IsAnchorButton(*node_, role)) return LinkText(node_);
    return AccessibleText(node_);
  }
  std::optional<std::string> OuterHtml() override { return SynthesizedMarkup(node_); }
  std::unique_ptr<LinkElement> ParentElement() override {
    AccessiblePtr parent = node_->Parent();
    if (!parent) return nullptr;
    return std::make_unique<AccessibleElement>(std::move(parent));
  }
  std::optional<std::string> Href() override { return node_->Value(); }
  // The tree serves no markup attributes; a picture's name is its alt text.
  std::optional<std::string> ImageText() override {
    std::optional<std::string> text;
    WalkTree(node_, [&](const AccessiblePtr& n, int depth) {
      if (depth > 0 && n->Role() == msaa::kRoleGraphic) {
        text = n->Name();
        return Step::Stop;
      }
      return Step::Descend;
    });
    return text;
  }
  bool Click() override { return node_->DoDefaultAction(); }
  // A followed link opens where its page is, which is what the only target asked for
  // ("_self") means; the tree has no such attribute to write.
  bool SetTarget(std::string_view) override { return true; }

 private:
  AccessiblePtr node_;
};

class AccessibleLinks : public LinkCollection {
 public:
  explicit AccessibleLinks(std::vector<AccessiblePtr> links) : links_(std::move(links)) {}
  std::optional<long> Length() override { return static_cast<long>(links_.size()); }
  std::unique_ptr<LinkElement> Item(long index) override {
    if (index < 0 || static_cast<std::size_t>(index) >= links_.size()) return nullptr;
    return std::make_unique<AccessibleElement>(links_[static_cast<std::size_t>(index)]);
  }

 private:
  std::vector<AccessiblePtr> links_;
};

// UI Automation's list where it answers, else the MSAA walk.
std::unique_ptr<LinkCollection> PageLinks(const AccessiblePtr& document, WindowHandle window,
                                          const std::shared_ptr<Automation>& automation) {
  if (automation) {
    auto links = AutomationPageLinks(*automation, window, document);
    if (links) return AutomationLinkCollection(std::move(*links), document);
  }
  return std::make_unique<AccessibleLinks>(CollectLinks(document));
}

class AccessibleDocument : public Document {
 public:
  AccessibleDocument(AccessiblePtr document, WindowHandle window, std::shared_ptr<Automation> automation)
      : document_(std::move(document)), window_(window), automation_(std::move(automation)) {}
  // The engine holds the document for one command: what it read of the page goes with
  // it, and the browser's objects are released while nobody waits.
  ~AccessibleDocument() override { Forget(document_); }
  AccessibleDocument(const AccessibleDocument&) = delete;
  AccessibleDocument& operator=(const AccessibleDocument&) = delete;
  std::unique_ptr<LinkCollection> Links() override { return PageLinks(document_, window_, automation_); }
  std::optional<std::string> Url() override { return document_->Value(); }
  bool ServesMarkup() override { return false; }

 private:
  AccessiblePtr document_;
  WindowHandle window_;
  std::shared_ptr<Automation> automation_;
};

}  // namespace

AccessiblePtr FindActiveDocument(const AccessiblePtr& root) {
  AccessiblePtr found;
  WalkTree(root, [&](const AccessiblePtr& node, int) {
    const auto role = node->Role();
    if (role && (HasNothingBelow(*role) || IsBrowserControl(*role))) return Step::Skip;
    if (role != msaa::kRoleDocument) return Step::Descend;
    // A background tab's document is still in the tree, hidden.
    if (HasState(*node, msaa::kStateInvisible | msaa::kStateOffscreen)) return Step::Skip;
    if (IsDevToolsDocument(*node)) return Step::Skip;
    found = node;
    return Step::Stop;
  });
  return found;
}

std::vector<AccessiblePtr> CollectLinks(const AccessiblePtr& document) {
  std::vector<AccessiblePtr> links;
  WalkTree(document, [&](const AccessiblePtr& node, int depth) {
    if (depth == 0) return Step::Descend;
    const auto role = node->Role();
    if (!role) return Step::Descend;
    if (IsAnchorButton(*node, *role)) {
      links.push_back(node);
      return Step::Skip;
    }
    // A frame's links belong to the frame, as in the IE engine's collection.
    switch (KindOf(*node, *role, true)) {
      case Kind::Link: links.push_back(node); return Step::Skip;
      case Kind::Container: return Step::Descend;
      default: return Step::Skip;
    }
  });
  return links;
}

std::string AccessibleText(const AccessiblePtr& node) {
  std::string text;
  WalkTree(node, [&](const AccessiblePtr& n, int depth) {
    switch (KindOf(*n, n->Role().value_or(0), depth > 0)) {
      case Kind::Link:
      case Kind::Picture:
      case Kind::TextLeaf: text += n->Name().value_or(""); return Step::Skip;
      case Kind::Container: return Step::Descend;
      default: return Step::Skip;
    }
  });
  return text;
}

std::string LinkMarkup(std::string_view address, std::string_view text) {
  return "<a href=\"" + Escaped(address) + "\">" + Escaped(text) + "</a>";
}

std::unique_ptr<LinkElement> AccessibleLinkElement(AccessiblePtr node) {
  if (!node) return nullptr;
  return std::make_unique<AccessibleElement>(std::move(node));
}

std::string SynthesizedMarkup(const AccessiblePtr& node) {
  std::string out;
  Budget budget;
  AppendMarkup(node, 0, budget, out);
  return out;
}

AccessibleBrowser::AccessibleBrowser(AccessiblePtr document, WindowHandle window,
                                     std::shared_ptr<BrowserKeys> keys, std::shared_ptr<Automation> automation)
    : document_(Remembered(std::move(document))),
      window_(window),
      keys_(std::move(keys)),
      automation_(std::move(automation)) {}

std::optional<std::string> AccessibleBrowser::LocationUrl() {
  if (!document_) return std::nullopt;
  return document_->Value();
}

bool AccessibleBrowser::GoBack() { return keys_ && keys_->HistoryBack(window_); }

bool AccessibleBrowser::GoForward() { return keys_ && keys_->HistoryForward(window_); }

std::unique_ptr<Document> AccessibleBrowser::GetDocument() {
  if (!document_) return nullptr;
  return std::make_unique<AccessibleDocument>(document_, window_, automation_);
}

bool AccessibleBrowser::Navigate(std::string_view url, std::string_view) {
  if (!document_ || url.empty()) return false;
  // Following a link keeps the page's own navigation (referrer, history) intact.
  if (automation_) {
    if (auto found = AutomationPageLinks(*automation_, window_, document_)) {
      const auto links = AutomationLinkCollection(std::move(*found), document_);
      const long count = links->Length().value_or(0);
      for (long i = 0; i < count; ++i) {
        const auto link = links->Item(i);
        if (link && link->Href() == url) return link->Click();
      }
      return keys_ && keys_->TypeAddress(window_, url);
    }
  }
  // The links whose address the command has read already are asked nothing more.
  const std::vector<AccessiblePtr> links = CollectLinks(document_);
  for (const bool known : {true, false}) {
    for (const AccessiblePtr& link : links) {
      if (ValueRemembered(link) == known && link->Value() == url) return link->DoDefaultAction();
    }
  }
  return keys_ && keys_->TypeAddress(window_, url);
}

}  // namespace paginor
