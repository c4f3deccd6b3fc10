#include "browser/win32/document_browser.h"

#include "browser/win32/com_browser.h"
#include "browser/win32/late_bound.h"

namespace paginor::win32 {

ComPtr<IDispatch> DocumentBrowser::WindowMember(const wchar_t* name) {
  ComPtr<IHTMLWindow2> window;
  if (FAILED(document_->get_parentWindow(&window)) || !window) return nullptr;
  return ObjectByName(*window.Get(), name);
}

std::optional<std::string> DocumentBrowser::LocationUrl() {
  Bstr url;
  if (FAILED(document_->get_URL(url.Out()))) return std::nullopt;
  return url.Utf8();
}

bool DocumentBrowser::GoBack() {
  const ComPtr<IDispatch> history = WindowMember(L"history");
  return history && CallByName(*history.Get(), L"back");
}

bool DocumentBrowser::GoForward() {
  const ComPtr<IDispatch> history = WindowMember(L"history");
  return history && CallByName(*history.Get(), L"forward");
}

std::unique_ptr<Document> DocumentBrowser::GetDocument() { return MakeDocument(document_); }

bool DocumentBrowser::Navigate(std::string_view url, std::string_view) {
  const ComPtr<IDispatch> location = WindowMember(L"location");
  if (!location) return false;
  Variant href;
  href.SetString(url);
  return PutByName(*location.Get(), L"href", href);
}

}  // namespace paginor::win32
