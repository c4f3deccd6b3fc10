#pragma once
// The engine's browser, document and links over an accessibility tree, for browsers
// that do not render with the IE engine.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "browser/accessible.h"
#include "browser/automation.h"
#include "engine/browser_model.h"

namespace paginor {

// What an accessibility tree cannot do by itself: the address bar and the history are
// reached with the keys a person would press.
class BrowserKeys {
 public:
  virtual ~BrowserKeys() = default;
  // Ctrl+L, the address, Enter.
  virtual bool TypeAddress(WindowHandle window, std::string_view address) = 0;
  virtual bool HistoryBack(WindowHandle window) = 0;     // Alt+Left
  virtual bool HistoryForward(WindowHandle window) = 0;  // Alt+Right
};

// Bounds on one walk of a tree, so that a huge or cyclic tree served by a broken
// browser ends.
inline constexpr std::size_t kMaxAccessibleNodes = 200000;
inline constexpr int kMaxAccessibleDepth = 256;

// The document of the tab on show: the first document in tree order that is neither
// invisible nor off screen. Documents inside it (frames) are not searched.
AccessiblePtr FindActiveDocument(const AccessiblePtr& root);

// The links of a document in document order, without those of its frames.
std::vector<AccessiblePtr> CollectLinks(const AccessiblePtr& document);

// The text of a node as outerText would give it: its own name for text and links,
// else its descendants' texts in order.
std::string AccessibleText(const AccessiblePtr& node);

// Markup put together from what the tree knows, since the real markup is not served:
// enough for rules on a link's address and text.
std::string SynthesizedMarkup(const AccessiblePtr& node);
// The markup synthesised for one link.
std::string LinkMarkup(std::string_view address, std::string_view text);

// A link, or any element around one, as the engine reads elements.
std::unique_ptr<LinkElement> AccessibleLinkElement(AccessiblePtr node);

class AccessibleBrowser : public Browser {
 public:
  // With automation, the link list comes from UI Automation where it answers.
  AccessibleBrowser(AccessiblePtr document, WindowHandle window, std::shared_ptr<BrowserKeys> keys,
                    std::shared_ptr<Automation> automation = nullptr);

  std::optional<std::string> LocationUrl() override;
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  // Follows a link of the page to the address when there is one, else types it.
  bool Navigate(std::string_view url, std::string_view targetFrame) override;

  WindowHandle window() const { return window_; }

 private:
  AccessiblePtr document_;
  WindowHandle window_;
  std::shared_ptr<BrowserKeys> keys_;
  std::shared_ptr<Automation> automation_;
};

}  // namespace paginor
