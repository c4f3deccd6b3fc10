#include "engine/fakes.h"

namespace paginor::testing {
namespace {

class FakeLinkCollection : public LinkCollection {
 public:
  FakeLinkCollection(std::shared_ptr<FakeDocumentData> doc, bool linkTags)
      : doc_(std::move(doc)), list_(linkTags ? doc_->linkTags : doc_->links) {}
  std::optional<long> Length() override {
    if (doc_->lengthFails) return std::nullopt;
    return static_cast<long>(list_.size());
  }
  std::unique_ptr<LinkElement> Item(long index) override {
    if (doc_->itemFailsAt >= 0 && index >= doc_->itemFailsAt) return nullptr;
    if (index < 0 || index >= static_cast<long>(list_.size())) return nullptr;
    return std::make_unique<FakeLinkElement>(list_[static_cast<size_t>(index)]);
  }

 private:
  std::shared_ptr<FakeDocumentData> doc_;
  const std::vector<std::shared_ptr<FakeLinkData>>& list_;
};

class FakeDocument : public Document {
 public:
  explicit FakeDocument(std::shared_ptr<FakeDocumentData> data) : data_(std::move(data)) {}
  std::unique_ptr<LinkCollection> Links() override {
    if (data_->linksFail) return nullptr;
    return std::make_unique<FakeLinkCollection>(data_, false);
  }
  std::optional<std::string> Url() override { return data_->url; }
  bool ServesMarkup() override { return data_->servesMarkup; }
  std::unique_ptr<LinkCollection> LinkTags() override {
    if (data_->linksFail) return nullptr;
    return std::make_unique<FakeLinkCollection>(data_, true);
  }

 private:
  std::shared_ptr<FakeDocumentData> data_;
};

}  // namespace

std::shared_ptr<FakeLinkData> MakeLink(const std::string& text, const std::string& href) {
  auto link = std::make_shared<FakeLinkData>();
  link->outerText = text;
  link->href = href;
  link->outerHtml = "<a href=\"" + href + "\">" + text + "</a>";
  return link;
}

std::unique_ptr<LinkElement> FakeLinkElement::ParentElement() {
  if (!data_->parent) return nullptr;
  return std::make_unique<FakeLinkElement>(data_->parent);
}

std::optional<std::string> FakeLinkElement::Attribute(std::string_view name) {
  const auto found = data_->attributes.find(name);
  if (found == data_->attributes.end()) return std::nullopt;
  return found->second;
}

bool FakeLinkElement::Click() {
  if (data_->clickFails) return false;
  ++data_->record->clicks;
  return true;
}

bool FakeLinkElement::SetTarget(std::string_view target) {
  if (data_->targetFails) return false;
  data_->record->targets.emplace_back(target);
  return true;
}

bool FakeBrowser::GoBack() {
  if (data_->historyFails) return false;
  ++data_->record->backs;
  return true;
}

bool FakeBrowser::GoForward() {
  if (data_->historyFails) return false;
  ++data_->record->forwards;
  return true;
}

std::unique_ptr<Document> FakeBrowser::GetDocument() {
  if (!data_->document) return nullptr;
  return std::make_unique<FakeDocument>(data_->document);
}

bool FakeBrowser::Navigate(std::string_view url, std::string_view targetFrame) {
  if (data_->navigateFails) return false;
  data_->record->navigations.emplace_back(std::string(url), std::string(targetFrame));
  return true;
}

std::shared_ptr<FakeBrowserData> MakePage(const std::string& url,
                                          std::vector<std::shared_ptr<FakeLinkData>> links) {
  auto page = std::make_shared<FakeBrowserData>();
  page->locationUrl = url;
  page->document = std::make_shared<FakeDocumentData>();
  page->document->url = url;
  page->document->links = std::move(links);
  return page;
}

bool FakeDiscovery::FindBrowserWindow(BrowserPtr& out, WindowHandle& wnd, std::string_view kind) {
  askedKinds.emplace_back(kind);
  if (!browser || kind != foundKind) return false;
  out = browser;
  wnd = window;
  return true;
}

BrowserPtr FakeDiscovery::GetFrameBrowser(int index, const BrowserPtr&) {
  if (index < 0 || index >= static_cast<int>(frames.size())) return nullptr;
  return frames[static_cast<size_t>(index)];
}

bool FakeMessenger::PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  posted.push_back({window, message, wParam, lParam});
  return true;
}

ScreenPoint FakeMessenger::ScreenToClient(WindowHandle window, ScreenPoint p) {
  for (const auto& w : windows) {
    if (w.handle == window) return {p.x - w.clientOrigin.x, p.y - w.clientOrigin.y};
  }
  return p;
}

WindowHandle FakeMessenger::ChildWindowFromPointEx(WindowHandle, ScreenPoint, unsigned flags) {
  lastChildFlags = flags;
  return childUnderPoint;
}

}  // namespace paginor::testing
