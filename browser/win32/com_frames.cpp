#include "browser/win32/com_frames.h"

#include <oleidl.h>

#include <vector>

#include "browser/win32/com_browser.h"
#include "browser/win32/document_browser.h"

namespace paginor::win32 {
namespace {

// A tab known only by its document (Edge's IE mode without a browser object) lists the
// same embeddings: they belong to the document, not to the browser.
ComPtr<IDispatch> RawDocumentOf(Browser& browser) {
  if (auto* com = dynamic_cast<ComBrowser*>(&browser)) return com->RawDocument();
  if (auto* tab = dynamic_cast<DocumentBrowser*>(&browser)) return tab->RawDocument();
  return nullptr;
}

ComPtr<IEnumUnknown> Embeddings(Browser& browser) {
  const ComPtr<IDispatch> document = RawDocumentOf(browser);
  ComPtr<IOleContainer> container;
  ComPtr<IEnumUnknown> embeddings;
  if (!document || FAILED(document.As(&container)) ||
      FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, &embeddings))) {
    return nullptr;
  }
  return embeddings;
}

}  // namespace

int ComFrameSource::CountEmbeddings(Browser& browser, int limit) {
  const ComPtr<IEnumUnknown> embeddings = Embeddings(browser);
  if (!embeddings || limit <= 0) return 0;
  std::vector<IUnknown*> fetched(static_cast<std::size_t>(limit), nullptr);
  ULONG count = 0;
  if (FAILED(embeddings->Next(static_cast<ULONG>(limit), fetched.data(), &count))) return 0;
  if (count > static_cast<ULONG>(limit)) count = static_cast<ULONG>(limit);
  for (ULONG i = 0; i < count; ++i) {
    if (fetched[i]) fetched[i]->Release();
  }
  return static_cast<int>(count);
}

BrowserPtr ComFrameSource::EmbeddedBrowser(Browser& browser, int index) {
  const ComPtr<IEnumUnknown> embeddings = Embeddings(browser);
  if (!embeddings || index < 0) return nullptr;
  if (index > 0 && embeddings->Skip(static_cast<ULONG>(index)) != S_OK) return nullptr;
  ComPtr<IUnknown> object;
  ULONG count = 0;
  if (embeddings->Next(1, &object, &count) != S_OK || count != 1 || !object) return nullptr;
  ComPtr<IWebBrowser2> frame;
  if (FAILED(object.As(&frame))) return nullptr;
  return MakeBrowser(std::move(frame));
}

}  // namespace paginor::win32
