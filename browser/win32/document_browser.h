#pragma once
// A tab known only by its document: Edge's IE mode may hand out no IWebBrowser2 (the
// window's services stop short of a browser). The document's window then serves: its
// location to navigate, its history to go back and forward.

#include <mshtml.h>

#include "browser/win32/com_util.h"
#include "engine/browser_model.h"

namespace paginor::win32 {

class DocumentBrowser : public Browser {
 public:
  explicit DocumentBrowser(ComPtr<IHTMLDocument2> document) : document_(std::move(document)) {}
  std::optional<std::string> LocationUrl() override;
  bool GoBack() override;
  bool GoForward() override;
  std::unique_ptr<Document> GetDocument() override;
  // Only the tab itself can be named: a frame target is taken as the tab.
  bool Navigate(std::string_view url, std::string_view targetFrame) override;
  // The document as the platform hands it out, for the frames' container.
  ComPtr<IDispatch> RawDocument() const { return document_; }

 private:
  ComPtr<IDispatch> WindowMember(const wchar_t* name);

  ComPtr<IHTMLDocument2> document_;
};

}  // namespace paginor::win32
