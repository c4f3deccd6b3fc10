#pragma once
// The browser as the engine sees it. The Windows build wraps IWebBrowser2,
// IHTMLDocument2 and late-bound link elements; Linux builds real HTML; tests use fakes.
// The browser is another process that may vanish at any moment, so every read can
// fail: an empty optional, a null pointer or false is that failure.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace paginor {

class LinkElement {
 public:
  virtual ~LinkElement() = default;
  virtual std::optional<std::string> OuterText() = 0;
  virtual std::optional<std::string> OuterHtml() = 0;
  virtual std::unique_ptr<LinkElement> ParentElement() = 0;
  // The address as the browser reports it: already absolute for real browsers.
  virtual std::optional<std::string> Href() = 0;
  virtual bool Click() = 0;
  virtual bool SetTarget(std::string_view target) = 0;

  // Read only by the smart fallback, so a browser layer that cannot give them still
  // turns pages as before.
  // An attribute as written in the markup ("rel", "title"); nullopt when it is absent or
  // cannot be read.
  virtual std::optional<std::string> Attribute(std::string_view /*name*/) { return std::nullopt; }
  // The alt, else title, text of the first image inside the element, for links whose
  // only content is a picture.
  virtual std::optional<std::string> ImageText() { return std::nullopt; }
};

class LinkCollection {
 public:
  virtual ~LinkCollection() = default;
  virtual std::optional<long> Length() = 0;
  virtual std::unique_ptr<LinkElement> Item(long index) = 0;
};

class Document {
 public:
  virtual ~Document() = default;
  virtual std::unique_ptr<LinkCollection> Links() = 0;
  virtual std::optional<std::string> Url() = 0;
  // The document's <link> elements (rel, href) in document order; null when the
  // browser layer cannot give them.
  virtual std::unique_ptr<LinkCollection> LinkTags() { return nullptr; }
  // False when OuterHtml is put together from what the browser shows (the address and
  // the text) because the browser does not serve the page's own markup.
  virtual bool ServesMarkup() { return true; }
};

class Browser {
 public:
  virtual ~Browser() = default;
  virtual std::optional<std::string> LocationUrl() = 0;
  virtual bool GoBack() = 0;
  virtual bool GoForward() = 0;
  // Null when the browser shows no HTML document.
  virtual std::unique_ptr<Document> GetDocument() = 0;
  // Navigate2(url, flags 0, targetFrame, no post data, no headers).
  virtual bool Navigate(std::string_view url, std::string_view targetFrame) = 0;
};

using BrowserPtr = std::shared_ptr<Browser>;

// A window handle carried through the portable code as a number.
using WindowHandle = std::uintptr_t;

// Finding the tab the user reads, and one frame of it.
class BrowserDiscovery {
 public:
  virtual ~BrowserDiscovery() = default;
  // Writes browser and window only on success.
  virtual bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) = 0;
  // The frame's browser at a 0-based position of the document's embeddings, or null.
  virtual BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) = 0;
};

}  // namespace paginor
