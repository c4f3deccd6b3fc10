#include "engine/explain.h"

#include <memory>
#include <utility>
#include <vector>

#include "engine/link_text.h"

namespace paginor {
namespace {

using Actions = std::vector<std::string>;

std::string Hex(std::uintptr_t value) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return "0x" + out;
}

// Reads go through to the real element; clicks and "target" writes are only written down.
class DryLink : public LinkElement {
 public:
  DryLink(std::unique_ptr<LinkElement> inner, long index, Actions& actions)
      : inner_(std::move(inner)), index_(index), actions_(actions) {}
  std::optional<std::string> OuterText() override { return inner_->OuterText(); }
  std::optional<std::string> OuterHtml() override { return inner_->OuterHtml(); }
  std::unique_ptr<LinkElement> ParentElement() override {
    auto parent = inner_->ParentElement();
    if (!parent) return nullptr;
    return std::make_unique<DryLink>(std::move(parent), -1, actions_);
  }
  std::optional<std::string> Href() override { return inner_->Href(); }
  std::optional<std::string> Attribute(std::string_view name) override {
    return inner_->Attribute(name);
  }
  std::optional<std::string> ImageText() override { return inner_->ImageText(); }
  bool Click() override {
    const std::string text = OneLineText(inner_->OuterText().value_or(""));
    actions_.push_back("click link " + std::to_string(index_) + ": " +
                       inner_->Href().value_or("") + (text.empty() ? "" : " " + text));
    return true;
  }
  bool SetTarget(std::string_view target) override {
    actions_.push_back("write target \"" + std::string(target) + "\" on link " +
                       std::to_string(index_));
    return true;
  }

 private:
  std::unique_ptr<LinkElement> inner_;
  long index_;
  Actions& actions_;
};

class DryLinks : public LinkCollection {
 public:
  DryLinks(std::unique_ptr<LinkCollection> inner, Actions& actions)
      : inner_(std::move(inner)), actions_(actions) {}
  std::optional<long> Length() override { return inner_->Length(); }
  std::unique_ptr<LinkElement> Item(long index) override {
    auto item = inner_->Item(index);
    if (!item) return nullptr;
    return std::make_unique<DryLink>(std::move(item), index, actions_);
  }

 private:
  std::unique_ptr<LinkCollection> inner_;
  Actions& actions_;
};

class DryDocument : public Document {
 public:
  DryDocument(std::unique_ptr<Document> inner, Actions& actions)
      : inner_(std::move(inner)), actions_(actions) {}
  std::unique_ptr<LinkCollection> Links() override { return Wrap(inner_->Links()); }
  std::optional<std::string> Url() override { return inner_->Url(); }
  std::unique_ptr<LinkCollection> LinkTags() override { return Wrap(inner_->LinkTags()); }
  bool ServesMarkup() override { return inner_->ServesMarkup(); }

 private:
  std::unique_ptr<LinkCollection> Wrap(std::unique_ptr<LinkCollection> links) {
    if (!links) return nullptr;
    return std::make_unique<DryLinks>(std::move(links), actions_);
  }
  std::unique_ptr<Document> inner_;
  Actions& actions_;
};

class DryBrowser : public Browser {
 public:
  DryBrowser(BrowserPtr inner, Actions& actions) : inner_(std::move(inner)), actions_(actions) {}
  const BrowserPtr& inner() const { return inner_; }
  std::optional<std::string> LocationUrl() override { return inner_->LocationUrl(); }
  bool GoBack() override {
    actions_.emplace_back("go back in the browser's history");
    return true;
  }
  bool GoForward() override {
    actions_.emplace_back("go forward in the browser's history");
    return true;
  }
  std::unique_ptr<Document> GetDocument() override {
    auto document = inner_->GetDocument();
    if (!document) return nullptr;
    return std::make_unique<DryDocument>(std::move(document), actions_);
  }
  bool Navigate(std::string_view url, std::string_view targetFrame) override {
    actions_.push_back("navigate to " + std::string(url) + " (target frame \"" +
                       std::string(targetFrame) + "\")");
    return true;
  }

 private:
  BrowserPtr inner_;
  Actions& actions_;
};

BrowserPtr Dry(BrowserPtr browser, Actions& actions) {
  if (!browser) return nullptr;
  return std::make_shared<DryBrowser>(std::move(browser), actions);
}

class DryDiscovery : public BrowserDiscovery {
 public:
  DryDiscovery(BrowserDiscovery& inner, Actions& actions) : inner_(inner), actions_(actions) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override {
    BrowserPtr found;
    WindowHandle handle = 0;
    if (!inner_.FindBrowserWindow(found, handle, kind)) return false;
    browser = Dry(std::move(found), actions_);
    window = handle;
    return true;
  }
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override {
    // The frame is looked up on the real tab, which the dry one stands for.
    const auto* dry = dynamic_cast<const DryBrowser*>(browser.get());
    return Dry(inner_.GetFrameBrowser(index, dry != nullptr ? dry->inner() : browser), actions_);
  }

 private:
  BrowserDiscovery& inner_;
  Actions& actions_;
};

// The tab already in hand.
class GivenTab : public BrowserDiscovery {
 public:
  GivenTab(BrowserPtr browser, WindowHandle window) : browser_(std::move(browser)), window_(window) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view) override {
    browser = browser_;
    window = window_;
    return true;
  }
  BrowserPtr GetFrameBrowser(int, const BrowserPtr&) override { return nullptr; }

 private:
  BrowserPtr browser_;
  WindowHandle window_;
};

class DryMessenger : public WindowMessenger {
 public:
  DryMessenger(WindowMessenger& inner, Actions& actions) : inner_(inner), actions_(actions) {}
  bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t,
                   std::intptr_t lParam) override {
    // A click is a burst of messages; the button's release says where it lands.
    if (message != kWmLButtonUp) return true;
    const auto packed = static_cast<std::uintptr_t>(lParam);
    actions_.push_back("post a click at " + std::to_string(packed & 0xFFFF) + "," +
                       std::to_string((packed >> 16) & 0xFFFF) + " of window " + Hex(window));
    return true;
  }
  ScreenPoint ScreenToClient(WindowHandle window, ScreenPoint p) override {
    return inner_.ScreenToClient(window, p);
  }
  WindowHandle ChildWindowFromPointEx(WindowHandle parent, ScreenPoint p, unsigned flags) override {
    return inner_.ChildWindowFromPointEx(parent, p, flags);
  }

 private:
  WindowMessenger& inner_;
  Actions& actions_;
};

class CapturingLog : public OperationLog {
 public:
  explicit CapturingLog(std::vector<std::string>& lines) : lines_(lines) {}
  void Append(std::string_view line) override { lines_.emplace_back(line); }

 private:
  std::vector<std::string>& lines_;
};

}  // namespace

Explanation ExplainCommand(std::string_view command, Origin origin, const ExecutorInputs& inputs,
                           BrowserDiscovery& discovery, WindowMessenger& messenger) {
  Explanation explanation;
  DryDiscovery dryDiscovery(discovery, explanation.actions);
  DryMessenger dryMessenger(messenger, explanation.actions);
  CapturingLog log(explanation.log);
  CommandExecutor executor(dryDiscovery, dryMessenger, log);
  executor.TraceInto(&explanation);
  executor.ReceiveCommand(command, origin, inputs);
  return explanation;
}

Explanation ExplainOnBrowser(std::string_view command, Origin origin, const ExecutorInputs& inputs,
                             BrowserPtr browser, WindowHandle window, WindowMessenger& messenger) {
  GivenTab tab(std::move(browser), window);
  return ExplainCommand(command, origin, inputs, tab, messenger);
}

}  // namespace paginor
