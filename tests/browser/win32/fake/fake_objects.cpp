#include "fake_objects.h"

#include <shlguid.h>
#include <cwchar>
#include <memory>

#include "browser/win32/com_util.h"
#include "call_log.h"

namespace paginor::fake {
namespace {

using win32::Utf8;
using win32::Wide;

BSTR MakeBstr(std::string_view utf8) {
  const std::wstring w = Wide(utf8);
  return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

std::string Text(const VARIANT* v) {
  if (!v || v->vt != VT_BSTR) return "";
  return Utf8({v->bstrVal, SysStringLen(v->bstrVal)});
}

std::vector<ComPtr<FakeBrowser>>& Browsers() {
  static std::vector<ComPtr<FakeBrowser>> browsers;
  return browsers;
}

// Names link elements answer to. An AREA numbers them differently from an A, as a
// browser may, so a client that reuses an A's numbers on an AREA reads the wrong thing.
struct Member {
  const wchar_t* name;
  DISPID anchor;
  DISPID area;
};
constexpr Member kMembers[] = {
    {L"outerText", 1, 16}, {L"outerHTML", 2, 15}, {L"href", 3, 14},
    {L"parentElement", 4, 13}, {L"click", 5, 12}, {L"target", 6, 11},
};
constexpr DISPID kParentText = 21;
constexpr DISPID kParentHtml = 22;

HRESULT ReturnText(VARIANT* result, std::string_view text) {
  if (!result) return E_POINTER;
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstrVal = MakeBstr(text);
  return S_OK;
}

HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  VariantInit(result);
  return object->AddRef(), result->vt = VT_DISPATCH, result->pdispVal = object, S_OK;
}

// Late binding over a fixed list of names: the DISPID is the position from 1.
HRESULT IdOfName(std::initializer_list<const char*> names, LPOLESTR name, DISPID* id) {
  *id = 0;
  for (const char* n : names) if (++*id, Utf8(name) == n) return S_OK;
  return *id = DISPID_UNKNOWN, DISP_E_UNKNOWNNAME;
}

class FakeParent : public ComObject<FakeParent, StubDispatch> {
 public:
  FakeParent(const LinkRow& row, std::size_t index) : row_(row), index_(index) {}
  void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IDispatch) return static_cast<IDispatch*>(this);
    return nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return E_INVALIDARG;
    LogCall("parent " + std::to_string(index_) + " GetIDsOfNames " + Utf8(names[0]));
    if (_wcsicmp(names[0], L"outerText") == 0) return *ids = kParentText, S_OK;
    if (_wcsicmp(names[0], L"outerHTML") == 0) return *ids = kParentHtml, S_OK;
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    LogCall("parent " + std::to_string(index_) + " get " + std::to_string(id));
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (id == kParentText) return ReturnText(result, row_.parentText.value_or(""));
    if (id == kParentHtml) return ReturnText(result, row_.parentHtml);
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  const LinkRow& row_;
  std::size_t index_;
};

}  // namespace

class FakeLink : public ComObject<FakeLink, StubDispatch> {
 public:
  FakeLink(FakeDocument& document, std::size_t index)
      : document_(document), index_(index),
        area_(Row().html.rfind("<area", 0) == 0) {}
  void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IDispatch) return static_cast<IDispatch*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return E_INVALIDARG;
    Log("GetIDsOfNames " + Utf8(names[0]));
    for (const Member& m : kMembers) {
      if (_wcsicmp(names[0], m.name) == 0) return *ids = area_ ? m.area : m.anchor, S_OK;
    }
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    const wchar_t* name = NameOf(id);
    if (!name) {
      Log("Invoke unknown " + std::to_string(id));
      return DISP_E_MEMBERNOTFOUND;
    }
    const std::string member = Utf8(name);
    if (member == "click") {
      Log("click");
      // "_blank" opens a window of its own (wine-mirror/wine dlls/mshtml/htmlanchor.c).
      if (target_.value_or(Row().html.find("target=\"_blank\"") != std::string::npos ? "_blank" : "") == "_blank") {
        return LogCall("* new window shows " + Row().href), S_OK;
      }
      document_.browser().NavigateTo(Row().href);
      return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      Log("put " + member + " " + Text(&params->rgvarg[0]));
      if (member == "target") target_ = Text(&params->rgvarg[0]);
      return S_OK;
    }
    Log("get " + member);
    const LinkRow& row = Row();
    if (member == "outerText") return ReturnText(result, row.text);
    if (member == "outerHTML") return ReturnText(result, row.html);
    if (member == "href") return ReturnText(result, row.href);
    if (member == "target") return ReturnText(result, "");
    if (!result) return E_POINTER;
    VariantInit(result);
    if (!row.parentText) {
      result->vt = VT_NULL;
      return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = FakeParent::Make(row, index_).Detach();
    return S_OK;
  }

 private:
  const LinkRow& Row() const { return document_.page().table.links[index_]; }
  const wchar_t* NameOf(DISPID id) const {
    for (const Member& m : kMembers) {
      if ((area_ ? m.area : m.anchor) == id) return m.name;
    }
    return nullptr;
  }
  void Log(const std::string& what) { LogCall("link " + std::to_string(index_) + " " + what); }

  FakeDocument& document_;
  std::size_t index_;
  bool area_;
  std::optional<std::string> target_;  // as put by the client
};

namespace {

class FakeCollection : public ComObject<FakeCollection, StubHTMLElementCollection> {
 public:
  FakeCollection(ComPtr<FakeDocument> document, std::vector<std::size_t> indices, std::string name)
      : document_(std::move(document)), indices_(std::move(indices)), name_(std::move(name)) {}
  void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElementCollection) {
      return static_cast<IHTMLElementCollection*>(this);
    }
    return nullptr;
  }
  HRESULT STDMETHODCALLTYPE get_length(LONG* length) override {
    LogCall(name_ + " length");
    *length = static_cast<LONG>(indices_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT, IDispatch** element) override {
    *element = nullptr;
    if (name.vt != VT_I4) return E_INVALIDARG;
    LogCall(name_ + " item " + std::to_string(name.lVal));
    if (name.lVal < 0 || static_cast<std::size_t>(name.lVal) >= indices_.size()) return S_OK;
    *element = document_->Link(indices_[static_cast<std::size_t>(name.lVal)]);
    (*element)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE tags(VARIANT tag, IDispatch** found) override {
    const std::string wanted = Text(&tag);
    LogCall(name_ + " tags " + wanted);
    std::vector<std::size_t> matching;
    const std::string prefix = "<" + std::string(wanted == "AREA" ? "area" : wanted == "A" ? "a " : "?");
    for (const std::size_t i : indices_) {
      if (document_->page().table.links[i].html.rfind(prefix, 0) == 0) matching.push_back(i);
    }
    *found = FakeCollection::Make(document_, std::move(matching), name_ + "." + wanted).Detach();
    return S_OK;
  }

 private:
  ComPtr<FakeDocument> document_;
  std::vector<std::size_t> indices_;
  std::string name_;
};

class FakeWindowObject : public ComObject<FakeWindowObject, StubHTMLWindow2, IServiceProvider> {
 public:
  FakeWindowObject(FakeBrowser& browser, bool topLevel = false) : browser_(browser), topLevel_(topLevel) {}
  void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLFramesCollection2 ||
        riid == IID_IHTMLWindow2) {
      return static_cast<IHTMLWindow2*>(this);
    }
    if (riid == IID_IServiceProvider) return static_cast<IServiceProvider*>(this);
    return nullptr;
  }
  // Edge's IE mode answers the browser service only through SID_STopLevelBrowser, and
  // may not answer it at all (SeleniumHQ/selenium cpp/iedriver/BrowserFactory.cpp).
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void** out) override {
    LogCall(topLevel_ ? "top-level QueryService" : "window QueryService");
    *out = nullptr;
    const Behaviour::Service mode = Behave().service;
    if (service == SID_STopLevelBrowser && mode == Behaviour::Service::TopLevel) {
      return FakeWindowObject::Make(browser_, true)->QueryInterface(riid, out);
    }
    const bool answers = mode == Behaviour::Service::Direct || (mode == Behaviour::Service::TopLevel && topLevel_);
    return service == IID_IWebBrowserApp && answers ? browser_.QueryInterface(riid, out) : E_NOINTERFACE;
  }
  // window.location.href and window.history.back() / forward(); the window stands in for
  // its location and history objects.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    return IdOfName({"location", "history", "href", "back", "forward"}, names[0], ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id <= 2) return ReturnObject(result, static_cast<IHTMLWindow2*>(this));
    if (id == 3 && params && params->cArgs == 1) {
      LogCall("location href " + Text(&params->rgvarg[0]));
      return browser_.NavigateTo(Text(&params->rgvarg[0])), S_OK;
    }
    LogCall(id == 4 ? "history back" : "history forward");
    return id == 4 ? browser_.GoBack() : browser_.GoForward();
  }

 private:
  FakeBrowser& browser_;
  bool topLevel_;
};

class PlugIn : public ComObject<PlugIn, IUnknown> {
 public:
  void* Find(REFIID riid) { return riid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr; }
};

class FakeEnum : public ComObject<FakeEnum, IEnumUnknown> {
 public:
  FakeEnum(std::vector<ComPtr<IUnknown>> items, std::size_t at) : items_(std::move(items)), at_(at) {}
  void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IEnumUnknown) return static_cast<IEnumUnknown*>(this);
    return nullptr;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** out, ULONG* fetched) override {
    LogCall("embeddings Next " + std::to_string(count));
    ULONG n = 0;
    for (; n < count && at_ < items_.size(); ++n, ++at_) {
      out[n] = items_[at_].Get();
      out[n]->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    LogCall("embeddings Skip " + std::to_string(count));
    const std::size_t left = items_.size() - at_;
    at_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** copy) override {
    *copy = FakeEnum::Make(items_, at_).Detach();
    return S_OK;
  }

 private:
  std::vector<ComPtr<IUnknown>> items_;
  std::size_t at_;
};

}  // namespace

int Site::Find(std::string_view url) const {
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].table.url == url) return static_cast<int>(i);
  }
  return -1;
}

FakeBrowser& AddBrowser(const Site& site, std::string name, int page) {
  Browsers().push_back(FakeBrowser::Make(site, std::move(name), page));
  return *Browsers().back().Get();
}

FakeBrowser::FakeBrowser(const Site& site, std::string name, int page)
    : site_(site), name_(std::move(name)) {
  Show(page);
}

void* FakeBrowser::Find(REFIID riid) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser ||
      riid == IID_IWebBrowserApp || riid == IID_IWebBrowser2) {
    return static_cast<IWebBrowser2*>(this);
  }
  return nullptr;
}

void FakeBrowser::Show(int page) {
  if (!history_.empty()) history_.resize(at_ + 1);
  history_.push_back(page);
  at_ = history_.size() - 1;
  documents_.push_back(FakeDocument::Make(site_, *this, page));
}

void FakeBrowser::NavigateTo(const std::string& url) {
  const int page = site_.Find(url);
  if (page < 0) return;
  LogCall("* " + name_ + " shows " + url);
  Show(page);
}

HRESULT FakeBrowser::GoBack() {
  LogCall(name_ + " GoBack");
  if (at_ == 0) return E_FAIL;
  documents_.push_back(FakeDocument::Make(site_, *this, history_[--at_]));
  return S_OK;
}

HRESULT FakeBrowser::GoForward() {
  LogCall(name_ + " GoForward");
  if (at_ + 1 >= history_.size()) return E_FAIL;
  documents_.push_back(FakeDocument::Make(site_, *this, history_[++at_]));
  return S_OK;
}

HRESULT FakeBrowser::get_Document(IDispatch** document) {
  LogCall(name_ + " Document");
  *document = static_cast<IHTMLDocument2*>(Current());
  (*document)->AddRef();
  return S_OK;
}

HRESULT FakeBrowser::get_LocationURL(BSTR* url) {
  LogCall(name_ + " LocationURL");
  *url = MakeBstr(Current()->Url());
  return S_OK;
}

HRESULT FakeBrowser::get_HWND(SHANDLE_PTR* window) {
  *window = reinterpret_cast<SHANDLE_PTR>(window_ ? GetAncestor(window_, GA_ROOT) : nullptr);
  return window_ ? S_OK : E_FAIL;
}

HRESULT FakeBrowser::get_Parent(IDispatch** parent) {
  *parent = static_cast<IWebBrowser2*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT*, VARIANT*) {
  const long f = flags && flags->vt == VT_I4 ? flags->lVal : -1;
  LogCall(name_ + " Navigate2 " + Text(url) + " flags " + std::to_string(f) + " target " + Text(target));
  NavigateTo(Text(url));
  return S_OK;
}

FakeDocument::FakeDocument(const Site& site, FakeBrowser& browser, int page)
    : site_(site), browser_(browser), page_(page) {
  window_ = FakeWindowObject::Make(browser);
  links_.resize(this->page().table.links.size());
  for (const int embedded : this->page().embeds) {
    if (embedded < 0) {
      embeds_.push_back(PlugIn::Make());
      continue;
    }
    FakeBrowser& frame = AddBrowser(site, "frame" + std::to_string(embedded), embedded);
    embeds_.emplace_back(static_cast<IWebBrowser2*>(&frame));
  }
}

void* FakeDocument::Find(REFIID riid) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument ||
      riid == IID_IHTMLDocument2) {
    return static_cast<IHTMLDocument2*>(this);
  }
  if (riid == IID_IOleContainer || riid == IID_IParseDisplayName) return static_cast<IOleContainer*>(this);
  return nullptr;
}

IDispatch* FakeDocument::Link(std::size_t index) {
  if (!links_[index]) links_[index] = FakeLink::Make(*this, index);
  return links_[index].Get();
}

// The focused element as a page's script reads it: upper-case tagName, the type of an
// INPUT, isContentEditable (wine-mirror/wine dlls/mshtml/tests/dom.c).
HRESULT FakeDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) {
  LogCall("document GetIDsOfNames " + Utf8(names[0]));
  return IdOfName({"activeElement", "tagName", "type", "isContentEditable"}, names[0], ids);
}

// The document stands in for its active element.
HRESULT FakeDocument::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  const Behaviour& b = Behave();
  if (id == 1) return ReturnObject(result, static_cast<IHTMLDocument2*>(this));
  if (id != 4) return ReturnText(result, id == 2 ? b.activeTag : b.activeType);
  VariantInit(result);
  return result->vt = VT_BOOL, result->boolVal = b.activeEditable ? VARIANT_TRUE : VARIANT_FALSE, S_OK;
}

HRESULT FakeDocument::get_links(IHTMLElementCollection** links) {
  LogCall("document links");
  std::vector<std::size_t> all(page().table.links.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  *links = FakeCollection::Make(ComPtr<FakeDocument>(this), std::move(all), "links").Detach();
  return S_OK;
}

HRESULT FakeDocument::get_URL(BSTR* url) {
  LogCall("document URL");
  *url = MakeBstr(Url());
  return S_OK;
}

HRESULT FakeDocument::get_parentWindow(IHTMLWindow2** window) {
  LogCall("document parentWindow");
  *window = window_.Get();
  (*window)->AddRef();
  return S_OK;
}

HRESULT FakeDocument::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) { return E_NOTIMPL; }

HRESULT FakeDocument::EnumObjects(DWORD flags, IEnumUnknown** objects) {
  LogCall("document EnumObjects " + std::to_string(flags));
  *objects = FakeEnum::Make(embeds_, 0).Detach();
  return S_OK;
}

HRESULT FakeDocument::LockContainer(BOOL) { return S_OK; }

}  // namespace paginor::fake
