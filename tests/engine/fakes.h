#pragma once
// Fakes of the browser, its document and links, the window calls and the log. Each
// records what was done to it; any read can be made to fail.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/browser_model.h"
#include "engine/operation_log.h"
#include "engine/window_messenger.h"

namespace paginor::testing {

// What the test sees after the fact: shared by a fake and every handle to it.
struct LinkRecord {
  int clicks = 0;
  std::vector<std::string> targets;  // values written to "target"
};

struct FakeLinkData {
  std::optional<std::string> outerText;
  std::optional<std::string> outerHtml;
  std::optional<std::string> href;
  std::shared_ptr<FakeLinkData> parent;  // null: the parent read fails
  std::map<std::string, std::string, std::less<>> attributes;
  std::optional<std::string> imageText;
  bool clickFails = false;
  bool targetFails = false;
  std::shared_ptr<LinkRecord> record = std::make_shared<LinkRecord>();
};

// A link whose text is given; html and href follow the usual shape unless overridden.
std::shared_ptr<FakeLinkData> MakeLink(const std::string& text, const std::string& href = "");

class FakeLinkElement : public LinkElement {
 public:
  explicit FakeLinkElement(std::shared_ptr<FakeLinkData> data) : data_(std::move(data)) {}
  std::optional<std::string> OuterText() override { return data_->outerText; }
  std::optional<std::string> OuterHtml() override { return data_->outerHtml; }
  std::unique_ptr<LinkElement> ParentElement() override;
  std::optional<std::string> Href() override { return data_->href; }
  bool Click() override;
  bool SetTarget(std::string_view target) override;
  std::optional<std::string> Attribute(std::string_view name) override;
  std::optional<std::string> ImageText() override { return data_->imageText; }

 private:
  std::shared_ptr<FakeLinkData> data_;
};

struct FakeDocumentData {
  std::vector<std::shared_ptr<FakeLinkData>> links;
  std::optional<std::string> url;
  bool linksFail = false;    // the "links" read fails
  bool lengthFails = false;  // "length" fails
  int itemFailsAt = -1;      // item(i) fails from this index on
  std::vector<std::shared_ptr<FakeLinkData>> linkTags;  // <link> elements
  bool servesMarkup = true;
};

struct BrowserRecord {
  int backs = 0;
  int forwards = 0;
  std::vector<std::pair<std::string, std::string>> navigations;  // address, target frame
};

struct FakeBrowserData {
  std::optional<std::string> locationUrl;
  std::shared_ptr<FakeDocumentData> document;  // null: no HTML document
  bool historyFails = false;
  bool navigateFails = false;
  std::shared_ptr<BrowserRecord> record = std::make_shared<BrowserRecord>();
};

class FakeBrowser : public Browser {
 public:
  explicit FakeBrowser(std::shared_ptr<FakeBrowserData> data) : data_(std::move(data)) {}
  std::optional<std::string> LocationUrl() override { return data_->locationUrl; }
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  bool Navigate(std::string_view url, std::string_view targetFrame) override;

 private:
  std::shared_ptr<FakeBrowserData> data_;
};

// A page at an address with the given links, in a browser that reports the same address.
std::shared_ptr<FakeBrowserData> MakePage(const std::string& url,
                                          std::vector<std::shared_ptr<FakeLinkData>> links);

class FakeDiscovery : public BrowserDiscovery {
 public:
  BrowserPtr browser;               // what a successful discovery delivers
  WindowHandle window = 0x1000;
  std::string foundKind = "ie";     // only this kind is found
  std::vector<BrowserPtr> frames;   // by position
  std::vector<std::string> askedKinds;

  bool FindBrowserWindow(BrowserPtr& out, WindowHandle& wnd, std::string_view kind) override;
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& of) override;
};

struct PostedMessage {
  WindowHandle window;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

// Windows placed on the screen: a client origin per window and at most one child.
class FakeMessenger : public WindowMessenger {
 public:
  struct Window {
    WindowHandle handle;
    ScreenPoint clientOrigin;
  };
  std::vector<Window> windows;
  WindowHandle childUnderPoint = 0;  // what ChildWindowFromPointEx answers
  unsigned lastChildFlags = 0;
  std::vector<PostedMessage> posted;

  bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  ScreenPoint ScreenToClient(WindowHandle window, ScreenPoint p) override;
  WindowHandle ChildWindowFromPointEx(WindowHandle parent, ScreenPoint clientPoint,
                                      unsigned flags) override;
};

class RecordingLog : public OperationLog {
 public:
  std::vector<std::string> lines;
  void Append(std::string_view line) override { lines.emplace_back(line); }
};

}  // namespace paginor::testing
