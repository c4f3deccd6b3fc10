#pragma once
// The fake browser's object model: tabs and frames (IWebBrowser2), their documents
// (IHTMLDocument2 and IOleContainer), the documents' window objects (IServiceProvider),
// link collections and link elements reached by late binding, all serving pages read
// from link tables. Every call is written to the call log.

#include <oleidl.h>
#include <servprov.h>

#include <string>
#include <vector>

#include "browser/link_table.h"
#include "com_object.h"
#include "com_stubs.h"

namespace paginor::fake {

struct Page {
  LinkTable table;
  std::vector<int> embeds;  // pages shown in frames; -1 for a plug-in object
};

struct Site {
  std::vector<Page> pages;
  int Find(std::string_view url) const;
};

// How a document's window hands out its browser (its own service as IE does, only
// through the top-level browser's services, or not at all), and its activeElement.
struct Behaviour {
  enum class Service { Direct, TopLevel, None } service = Service::Direct;
  std::string activeTag = "BODY", activeType;
  bool activeEditable = false;
};
inline Behaviour& Behave() { static Behaviour behaviour; return behaviour; }

class FakeDocument;

class FakeBrowser : public ComObject<FakeBrowser, StubWebBrowser2> {
 public:
  FakeBrowser(const Site& site, std::string name, int page);
  void* Find(REFIID riid);
  void SetWindow(HWND window) { window_ = window; }
  // The document shown now; a navigation makes a new one, the old ones stay alive
  // for clients that still hold them.
  FakeDocument* Current() const { return documents_.back().Get(); }
  const std::string& Name() const { return name_; }
  // Shows the page at the address when the site has it.
  void NavigateTo(const std::string& url);

  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override;
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target,
                                      VARIANT* postData, VARIANT* headers) override;

 private:
  void Show(int page);

  const Site& site_;
  std::string name_;
  HWND window_ = nullptr;
  std::vector<int> history_;
  std::size_t at_ = 0;
  std::vector<ComPtr<FakeDocument>> documents_;
};

class FakeLink;

class FakeDocument : public ComObject<FakeDocument, StubHTMLDocument2, IOleContainer> {
 public:
  FakeDocument(const Site& site, FakeBrowser& browser, int page);
  void* Find(REFIID riid);
  const Page& page() const { return site_.pages[static_cast<std::size_t>(page_)]; }
  FakeBrowser& browser() { return browser_; }
  // One object per link, so a link fetched twice is the same object.
  IDispatch* Link(std::size_t index);
  std::string Url() const { return page().table.url; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;
  HRESULT STDMETHODCALLTYPE get_links(IHTMLElementCollection** links) override;
  HRESULT STDMETHODCALLTYPE get_URL(BSTR* url) override;
  HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** window) override;
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override;
  HRESULT STDMETHODCALLTYPE EnumObjects(DWORD flags, IEnumUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override;

 private:
  const Site& site_;
  FakeBrowser& browser_;
  int page_;
  std::vector<ComPtr<FakeLink>> links_;
  std::vector<ComPtr<IUnknown>> embeds_;
  ComPtr<IHTMLWindow2> window_;
};

// Makes a browser tab or frame showing the page; kept alive for the whole run.
FakeBrowser& AddBrowser(const Site& site, std::string name, int page);

}  // namespace paginor::fake
