#include "browser/counted_browser.h"

namespace paginor {
namespace {

using Counter = std::shared_ptr<std::atomic<long>>;

class CountedLink : public LinkElement {
 public:
  CountedLink(std::unique_ptr<LinkElement> inner, Counter calls) : inner_(std::move(inner)), calls_(std::move(calls)) {}
  std::optional<std::string> OuterText() override { return Count(), inner_->OuterText(); }
  std::optional<std::string> OuterHtml() override { return Count(), inner_->OuterHtml(); }
  std::unique_ptr<LinkElement> ParentElement() override {
    Count();
    std::unique_ptr<LinkElement> parent = inner_->ParentElement();
    return parent ? std::make_unique<CountedLink>(std::move(parent), calls_) : nullptr;
  }
  std::optional<std::string> Href() override { return Count(), inner_->Href(); }
  bool Click() override { return Count(), inner_->Click(); }
  bool SetTarget(std::string_view target) override { return Count(), inner_->SetTarget(target); }
  std::optional<std::string> Attribute(std::string_view name) override { return Count(), inner_->Attribute(name); }
  std::optional<std::string> ImageText() override { return Count(), inner_->ImageText(); }

 private:
  void Count() { ++*calls_; }
  std::unique_ptr<LinkElement> inner_;
  Counter calls_;
};

class CountedLinks : public LinkCollection {
 public:
  CountedLinks(std::unique_ptr<LinkCollection> inner, Counter calls) : inner_(std::move(inner)), calls_(std::move(calls)) {}
  std::optional<long> Length() override { return ++*calls_, inner_->Length(); }
  std::unique_ptr<LinkElement> Item(long index) override {
    ++*calls_;
    std::unique_ptr<LinkElement> link = inner_->Item(index);
    return link ? std::make_unique<CountedLink>(std::move(link), calls_) : nullptr;
  }

 private:
  std::unique_ptr<LinkCollection> inner_;
  Counter calls_;
};

std::unique_ptr<LinkCollection> Wrap(std::unique_ptr<LinkCollection> links, const Counter& calls) {
  return links ? std::make_unique<CountedLinks>(std::move(links), calls) : nullptr;
}

class CountedDocument : public Document {
 public:
  CountedDocument(std::unique_ptr<Document> inner, Counter calls) : inner_(std::move(inner)), calls_(std::move(calls)) {}
  std::unique_ptr<LinkCollection> Links() override { return ++*calls_, Wrap(inner_->Links(), calls_); }
  std::optional<std::string> Url() override { return ++*calls_, inner_->Url(); }
  std::unique_ptr<LinkCollection> LinkTags() override { return ++*calls_, Wrap(inner_->LinkTags(), calls_); }
  bool ServesMarkup() override { return inner_->ServesMarkup(); }

 private:
  std::unique_ptr<Document> inner_;
  Counter calls_;
};

class CountedBrowser : public Browser {
 public:
  CountedBrowser(BrowserPtr inner, Counter calls) : inner_(std::move(inner)), calls_(std::move(calls)) {}
  std::optional<std::string> LocationUrl() override { return ++*calls_, inner_->LocationUrl(); }
  bool GoBack() override { return ++*calls_, inner_->GoBack(); }
  bool GoForward() override { return ++*calls_, inner_->GoForward(); }
  std::unique_ptr<Document> GetDocument() override {
    ++*calls_;
    std::unique_ptr<Document> document = inner_->GetDocument();
    return document ? std::make_unique<CountedDocument>(std::move(document), calls_) : nullptr;
  }
  bool Navigate(std::string_view url, std::string_view targetFrame) override {
    return ++*calls_, inner_->Navigate(url, targetFrame);
  }
  const BrowserPtr& inner() const { return inner_; }

 private:
  BrowserPtr inner_;
  Counter calls_;
};

BrowserPtr Wrap(BrowserPtr browser, const Counter& calls) {
  return browser ? std::make_shared<CountedBrowser>(std::move(browser), calls) : nullptr;
}

}  // namespace

bool CountedDiscovery::FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) {
  BrowserPtr found;
  if (!inner_.FindBrowserWindow(found, window, kind)) return false;
  browser = Wrap(std::move(found), calls_);
  return true;
}

BrowserPtr CountedDiscovery::GetFrameBrowser(int index, const BrowserPtr& browser) {
  // The inner discovery knows its own browsers only: hand it the one it gave out.
  const auto* counted = dynamic_cast<const CountedBrowser*>(browser.get());
  return Wrap(inner_.GetFrameBrowser(index, counted ? counted->inner() : browser), calls_);
}

}  // namespace paginor
