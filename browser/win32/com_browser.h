#pragma once
// The engine's browser, document, links and link elements over the browser's COM
// objects in another process. Every call checks its HRESULT; a failed or disconnected
// call is an empty answer, never an exception.

#include <exdisp.h>
#include <mshtml.h>

#include <memory>

#include "browser/win32/com_util.h"
#include "engine/browser_model.h"

namespace paginor::win32 {

class ComBrowser : public Browser {
 public:
  explicit ComBrowser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}
  std::optional<std::string> LocationUrl() override;
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  bool Navigate(std::string_view url, std::string_view targetFrame) override;

  IWebBrowser2* Raw() const { return browser_.Get(); }
  // The document as the platform hands it out, for the frames' container.
  ComPtr<IDispatch> RawDocument();

 private:
  ComPtr<IWebBrowser2> browser_;
};

// Null for a null pointer.
BrowserPtr MakeBrowser(ComPtr<IWebBrowser2> browser);
std::unique_ptr<Document> MakeDocument(ComPtr<IHTMLDocument2> document);

}  // namespace paginor::win32
