#include "accessible_tree.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "../fake/call_log.h"
#include "browser/win32/com_util.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace paginor::fake {
namespace {

using win32::Wide;

// Every method answers E_NOTIMPL until Element overrides it.
class StubAccessible : public IAccessible {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, long*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(long*, long*, long*, long*, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
};

Focus g_focus = Focus::Page;
unsigned g_generation = 0;  // objects made before the latest RetireTrees fail
std::function<void()> g_onNameRead;

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::string& utf8, BSTR* out) {
  if (!out) return E_POINTER;
  const std::wstring wide = Wide(utf8);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return S_OK;
}

}  // namespace

class Element : public ComObject<Element, StubAccessible, IEnumVARIANT> {
 public:
  Element(long role, std::string name, std::string value, std::string tag, bool enumerates)
      : role_(role), name_(std::move(name)), value_(std::move(value)), tag_(std::move(tag)),
        enumerates_(enumerates), generation_(g_generation) {}

  void* Find(REFIID riid) {
    if (riid == IID_IAccessible) LogQuery(riid, "acc qi accessible ");
    if (riid == IID_IEnumVARIANT) {
      LogQuery(riid, "acc qi enum ");
      return enumerates_ ? static_cast<IEnumVARIANT*>(this) : nullptr;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      return static_cast<IAccessible*>(this);
    }
    return nullptr;
  }
  void Add(const ComPtr<Element>& child) {
    child->parent_ = this;
    children_.push_back(child);
  }
  void OnDefaultAction(std::function<void()> action) { action_ = std::move(action); }
  void Embeds(const ComPtr<Element>& shown) { embeds_ = shown; }
  // Logs the call; true when the object's tree was replaced.
  bool Retired(const std::string& call, const std::string& detail = "") {
    LogCall(call + tag_ + detail);
    return generation_ != g_generation;
  }
  void SetParent(Element* parent) { parent_ = parent; }
  void SetState(long state) { state_ = state; }
  // On the root: the objects that can have the focus.
  void FocusTargets(const ComPtr<Element>& page, const ComPtr<Element>& addressBar,
                    const ComPtr<Element>& searchBox) {
    focusPage_ = page;
    focusAddressBar_ = addressBar;
    focusSearchBox_ = searchBox;
  }

  // Wine's stub asks the object a second time, straight after, for an interface a
  // client's QueryInterface got: one round trip, logged once.
  void LogQuery(REFIID riid, const std::string& what) {
    static const Element* lastObject = nullptr;
    static IID lastIid{};
    static unsigned long lastLogged = 0;
    if (lastObject == this && IsEqualIID(lastIid, riid) && lastLogged == CallsLogged()) return;
    LogCall(what + tag_);
    lastObject = this;
    lastIid = riid;
    lastLogged = CallsLogged();
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    if (Retired("acc parent ")) return E_FAIL;
    if (!out) return E_POINTER;
    *out = parent_;
    if (!parent_) return S_FALSE;
    parent_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* out) override {
    if (Retired("acc count ")) return E_FAIL;
    if (!out) return E_POINTER;
    *out = static_cast<long>(children_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (Retired("acc child ")) return E_FAIL;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (child.vt != VT_I4 || child.lVal < 1 || static_cast<std::size_t>(child.lVal) > children_.size()) {
      return E_INVALIDARG;
    }
    *out = static_cast<IAccessible*>(children_[static_cast<std::size_t>(child.lVal - 1)].Get());
    (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (Retired("acc name ")) return E_FAIL;
    if (g_onNameRead) g_onNameRead();
    return IsSelf(child) ? Text(name_, out) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    if (Retired("acc value ")) return E_FAIL;
    return IsSelf(child) ? Text(value_, out) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    if (Retired("acc role ")) return E_FAIL;
    if (!out || !IsSelf(child)) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = role_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    if (Retired("acc state ")) return E_FAIL;
    if (!out || !IsSelf(child)) return E_INVALIDARG;
    out->vt = VT_I4;
    if (state_) {
      out->lVal = *state_;
      return S_OK;
    }
    // A page being read is read-only, as in Chromium and Firefox, and so are Firefox's
    // text leaves; the address bar and the search box are not.
    const bool editable = tag_ == "address bar" || tag_ == "search box";
    out->lVal = !editable && (role_ == ROLE_SYSTEM_STATICTEXT || role_ == ROLE_SYSTEM_TEXT ||
                              role_ == ROLE_SYSTEM_DOCUMENT)
                    ? STATE_SYSTEM_READONLY
                    : 0;
    if (role_ == ROLE_SYSTEM_DOCUMENT && value_.empty()) out->lVal |= STATE_SYSTEM_BUSY;  // a placeholder
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (Retired("acc focus ")) return E_FAIL;
    if (!out) return E_POINTER;
    VariantInit(out);
    // The root names the focused object itself, as Chromium and Firefox do.
    if (focusPage_) {
      Element* target = g_focus == Focus::AddressBar  ? focusAddressBar_.Get()
                        : g_focus == Focus::SearchBox ? focusSearchBox_.Get()
                                                      : focusPage_.Get();
      out->vt = VT_DISPATCH;
      out->pdispVal = static_cast<IAccessible*>(target);
      target->AddRef();
      return S_OK;
    }
    const bool focused = tag_ == (g_focus == Focus::AddressBar  ? "address bar"
                                  : g_focus == Focus::SearchBox ? "search box"
                                                                : "document");
    if (!focused) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  // Firefox's root names the tab on show (accessible/windows/msaa/MsaaAccessible.cpp,
  // accNavigate, NAVRELATION_EMBEDS 0x1009).
  HRESULT STDMETHODCALLTYPE accNavigate(long relation, VARIANT, VARIANT* out) override {
    if (Retired("acc navigate ")) return E_FAIL;
    if (!out || relation != 0x1009 || !embeds_) return E_INVALIDARG;
    out->vt = VT_DISPATCH;
    out->pdispVal = static_cast<IAccessible*>(embeds_.Get());
    out->pdispVal->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (Retired("acc action ", " " + name_)) return E_FAIL;
    if (!IsSelf(child) || !action_) return DISP_E_MEMBERNOTFOUND;
    std::function<void()> action = action_;
    action();
    return S_OK;
  }

  // One cursor per node, shared by every client, as the system's own objects keep it.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (Retired("acc next ")) return E_FAIL;
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && cursor_ < children_.size(); ++n, ++cursor_) {
      VariantInit(&out[n]);
      out[n].vt = VT_DISPATCH;
      out[n].pdispVal = static_cast<IAccessible*>(children_[cursor_].Get());
      out[n].pdispVal->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (Retired("acc skip ")) return E_FAIL;
    cursor_ = std::min<std::size_t>(children_.size(), cursor_ + count);
    return cursor_ < children_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    if (Retired("acc reset ")) return E_FAIL;
    cursor_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  long role_;
  std::string name_;
  std::string value_;
  std::string tag_;
  bool enumerates_;
  unsigned generation_;
  ComPtr<Element> embeds_;
  std::size_t cursor_ = 0;
  Element* parent_ = nullptr;  // the parent owns its children
  std::vector<ComPtr<Element>> children_;
  std::function<void()> action_;
  std::optional<long> state_;  // as captured; else made up from the role
  ComPtr<Element> focusPage_;
  ComPtr<Element> focusAddressBar_;
  ComPtr<Element> focusSearchBox_;
};

namespace {

ComPtr<Element> Captured(const AxTreeNode& node, const std::string& tag, bool enumerates, const FollowLink& follow,
                         int& count) {
  ComPtr<Element> element = Element::Make(node.role, node.name, node.value, tag, enumerates);
  element->SetState(static_cast<long>(node.state));
  if (node.role == ROLE_SYSTEM_LINK) element->OnDefaultAction([follow, href = node.value] { follow(href); });
  for (const AxTreeNode& child : node.children) {
    element->Add(Captured(child, "n" + std::to_string(++count), enumerates, follow, count));
  }
  return element;
}

}  // namespace

ComPtr<IAccessible> BuildCapturedTree(const AxTree& tree, const std::string& title, FollowLink follow,
                                      TreeKind kind) {
  const bool firefox = kind == TreeKind::Firefox;
  ComPtr<Element> root = Element::Make(ROLE_SYSTEM_CLIENT, title, "", "client", firefox);
  int count = 0;
  root->Add(Captured(tree.document, "document", firefox, follow, count));
  return ComPtr<IAccessible>(static_cast<IAccessible*>(root.Get()));
}

void SetFocusOn(Focus focus) { g_focus = focus; }
Focus FocusedOn() { return g_focus; }
void RetireTrees() { ++g_generation; }
void OnNameRead(std::function<void()> callback) { g_onNameRead = std::move(callback); }

ComPtr<IAccessible> BuildPageTree(const LinkTable& table, const std::string& title, FollowLink follow,
                                  TreeKind kind, bool devtools) {
  const bool firefox = kind == TreeKind::Firefox;
  const long textRole = firefox ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_STATICTEXT;
  const auto make = [firefox](long role, std::string name, std::string value, std::string tag) {
    return Element::Make(role, std::move(name), std::move(value), std::move(tag), firefox);
  };
  // Firefox's first root, LazyInstantiator, always answers ROLE_SYSTEM_APPLICATION for
  // itself (accessible/windows/msaa/LazyInstantiator.cpp, get_accRole).
  ComPtr<Element> root = make(firefox ? ROLE_SYSTEM_APPLICATION : ROLE_SYSTEM_CLIENT, title, "", "client");
  // Pages a command must never turn, each with a "下一页" of its own: a docked DevTools,
  // and in Firefox a background tab, whose document stays in the tree, neither hidden nor
  // off screen (accessible/generic/DocAccessible.cpp).
  for (const std::string decoy : {devtools ? "devtools://devtools/app.html" : "", firefox ? "http://tab.example/" : ""}) {
    if (decoy.empty()) continue;
    ComPtr<Element> page = make(ROLE_SYSTEM_DOCUMENT, "", decoy, "decoy");
    ComPtr<Element> link = make(ROLE_SYSTEM_LINK, "下一页", decoy + "2", "decoy link");
    link->OnDefaultAction([follow, decoy] { follow(decoy + "2"); });
    page->Add(link);
    root->Add(page);
  }
  ComPtr<Element> document = make(ROLE_SYSTEM_DOCUMENT, title, table.url, "document");
  root->Add(document);
  if (firefox) root->Embeds(document);
  ComPtr<Element> addressBar = make(ROLE_SYSTEM_TEXT, "Address and search bar", table.url, "address bar");
  addressBar->SetParent(root.Get());
  ComPtr<Element> searchBox = make(ROLE_SYSTEM_TEXT, "Search", "", "search box");
  searchBox->SetParent(document.Get());
  root->FocusTargets(document, addressBar, searchBox);
  for (std::size_t i = 0; i < table.links.size(); ++i) {
    const LinkRow& row = table.links[i];
    const std::string n = std::to_string(i);
    ComPtr<Element> group = make(ROLE_SYSTEM_GROUPING, "", "", "group " + n);
    // The text around the link in its parent, split where the link's own text stands.
    const std::string parentText = row.parentText.value_or(row.text);
    const std::size_t at = parentText.find(row.text);
    const std::string before = at == std::string::npos ? parentText : parentText.substr(0, at);
    const std::string after = at == std::string::npos ? "" : parentText.substr(at + row.text.size());
    if (!before.empty()) group->Add(make(textRole, before, "", "text " + n));
    ComPtr<Element> link = make(ROLE_SYSTEM_LINK, row.text, row.href, "link " + n);
    link->OnDefaultAction([follow, href = row.href] { follow(href); });
    // Both browsers put a link's text in a leaf of its own below it.
    if (!row.text.empty()) link->Add(make(textRole, row.text, "", "linktext " + n));
    group->Add(link);
    if (!after.empty()) group->Add(make(textRole, after, "", "text " + n));
    document->Add(group);
  }
  return ComPtr<IAccessible>(static_cast<IAccessible*>(root.Get()));
}

}  // namespace paginor::fake

#pragma GCC diagnostic pop
