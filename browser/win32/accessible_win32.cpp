#include "browser/win32/accessible_win32.h"

#include <windows.h>
#include <oleacc.h>
#include <servprov.h>

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include "browser/win32/com_util.h"
#include "browser/win32/ia2_interfaces.h"
#include "hooks/MouseHookCommon.h"
#include "browser/win32/win32_window_system.h"

namespace paginor::win32 {
namespace {

// The hooks let input with the program's own mark pass, so these keys never turn pages.
constexpr ULONG_PTR kOwnInputMark = hooks::kReplayMark;

using AccessibleObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

// Loaded once from the system folder and kept: the proxies of every node live in it.
struct Oleacc {
  AccessibleObjectFromWindowFn fromWindow = nullptr;

  Oleacc() {
    wchar_t dir[MAX_PATH];
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    const std::wstring path = std::wstring(dir, n) + L"\\oleacc.dll";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return;
    fromWindow = reinterpret_cast<AccessibleObjectFromWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "AccessibleObjectFromWindow")));
  }
};

const Oleacc& OleaccLibrary() {
  static const Oleacc library;
  return library;
}

VARIANT ChildVariant(long child) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = child;
  return v;
}

// What the nodes of one tree have learnt about the browser serving it. Used on the
// worker thread only.
struct Served {
  // Firefox enumerates every node's children; Chromium none, and asking each node
  // would cost a refused round trip each.
  bool enumerator = true;
  // IAccessible2 crosses processes only where its proxy is registered (by Firefox, by
  // screen readers); once refused, it is not asked again.
  bool ia2 = true;
};

class Node : public AccessibleNode {
 public:
  Node(ComPtr<IAccessible> accessible, long child, std::shared_ptr<Served> served)
      : acc_(std::move(accessible)), child_(child), served_(std::move(served)) {}

  std::optional<long> Role() override {
    Variant role;
    if (FAILED(acc_->get_accRole(ChildVariant(child_), role.Out())) || (*role).vt != VT_I4) {
      return std::nullopt;
    }
    return (*role).lVal;
  }
  std::optional<std::string> Name() override {
    Bstr name;
    if (FAILED(acc_->get_accName(ChildVariant(child_), name.Out()))) return std::nullopt;
    return name.Utf8();
  }
  std::optional<std::string> Value() override {
    Bstr value;
    if (FAILED(acc_->get_accValue(ChildVariant(child_), value.Out()))) return std::nullopt;
    return value.Utf8();
  }
  std::optional<std::uint32_t> State() override {
    Variant state;
    if (FAILED(acc_->get_accState(ChildVariant(child_), state.Out())) || (*state).vt != VT_I4) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>((*state).lVal);
  }
  std::optional<std::vector<AccessiblePtr>> Children() override;
  AccessiblePtr Parent() override;
  FocusAnswer Focus() override;
  AccessiblePtr Embedded() override;
  std::optional<std::uint32_t> Ia2States() override;
  std::optional<std::string> ObjectAttributes() override;
  bool DoDefaultAction() override {
    return SUCCEEDED(acc_->accDoDefaultAction(ChildVariant(child_)));
  }

 private:
  ComPtr<ia2::IAccessible2> Ia2();
  bool Enumerate(IEnumVARIANT& children, std::vector<AccessiblePtr>& nodes);
  bool OneByOne(std::vector<AccessiblePtr>& nodes);
  void Add(const VARIANT& child, std::vector<AccessiblePtr>& nodes);

  ComPtr<IAccessible> acc_;
  long child_;
  std::shared_ptr<Served> served_;
};

std::optional<std::vector<AccessiblePtr>> Node::Children() {
  std::vector<AccessiblePtr> nodes;
  // Simple elements have no children of their own.
  if (child_ != CHILDID_SELF) return nodes;
  if (served_->enumerator) {
    ComPtr<IEnumVARIANT> children;
    if (SUCCEEDED(acc_.As(&children)) && children) {
      if (Enumerate(*children.Get(), nodes)) return nodes;
      nodes.clear();
    } else {
      served_->enumerator = false;
    }
  }
  if (!OneByOne(nodes)) return std::nullopt;
  return nodes;
}

// Reset and one Next a batch, stopping when a batch comes back short: no count first,
// which the system's AccessibleChildren asks for.
bool Node::Enumerate(IEnumVARIANT& children, std::vector<AccessiblePtr>& nodes) {
  if (FAILED(children.Reset())) return false;
  constexpr ULONG kBatch = 256;
  std::vector<VARIANT> batch(kBatch);
  for (std::size_t fetchedInAll = 0; fetchedInAll < kMaxAccessibleNodes;) {
    for (VARIANT& v : batch) VariantInit(&v);
    ULONG fetched = 0;
    const HRESULT hr = children.Next(kBatch, batch.data(), &fetched);
    AccessibleCallAnswered();
    fetched = SUCCEEDED(hr) ? std::min(fetched, kBatch) : 0;
    for (ULONG i = 0; i < fetched; ++i) Add(batch[i], nodes);
    for (VARIANT& v : batch) VariantClear(&v);
    if (FAILED(hr)) return false;
    fetchedInAll += fetched;
    if (hr != S_OK || fetched < kBatch) return true;
  }
  return true;
}

// For browsers without an enumerator: the count, then each child.
bool Node::OneByOne(std::vector<AccessiblePtr>& nodes) {
  long count = 0;
  if (FAILED(acc_->get_accChildCount(&count))) return false;
  count = std::clamp(count, 0L, static_cast<long>(kMaxAccessibleNodes));
  for (long i = 1; i <= count; ++i) {
    VARIANT child;
    VariantInit(&child);
    IDispatch* dispatch = nullptr;
    const HRESULT hr = acc_->get_accChild(ChildVariant(i), &dispatch);
    AccessibleCallAnswered();
    if (SUCCEEDED(hr) && dispatch) {
      child.vt = VT_DISPATCH;
      child.pdispVal = dispatch;
    } else {
      // No object of its own: a simple element, reached through its parent.
      child = ChildVariant(i);
    }
    Add(child, nodes);
    VariantClear(&child);
  }
  return true;
}

void Node::Add(const VARIANT& child, std::vector<AccessiblePtr>& nodes) {
  if (child.vt == VT_DISPATCH && child.pdispVal) {
    ComPtr<IAccessible> accessible;
    if (SUCCEEDED(child.pdispVal->QueryInterface(IID_PPV_ARGS(&accessible)))) {
      nodes.push_back(std::make_shared<Node>(std::move(accessible), CHILDID_SELF, served_));
    }
  } else if (child.vt == VT_I4) {
    nodes.push_back(std::make_shared<Node>(acc_, child.lVal, served_));
  }
}

AccessiblePtr Node::Parent() {
  if (child_ != CHILDID_SELF) return std::make_shared<Node>(acc_, CHILDID_SELF, served_);
  ComPtr<IDispatch> dispatch;
  if (FAILED(acc_->get_accParent(&dispatch)) || !dispatch) return nullptr;
  ComPtr<IAccessible> parent;
  if (FAILED(dispatch.As(&parent))) return nullptr;
  return std::make_shared<Node>(std::move(parent), CHILDID_SELF, served_);
}

FocusAnswer Node::Focus() {
  using Where = FocusAnswer::Where;
  // A simple element has no descendants: it has the focus when its container says so.
  if (child_ != CHILDID_SELF) return {Where::Nowhere, nullptr};
  Variant focus;
  const HRESULT hr = acc_->get_accFocus(focus.Out());
  if (FAILED(hr)) return {};
  const VARIANT& v = *focus;
  if (hr == S_FALSE || v.vt == VT_EMPTY) return {Where::Nowhere, nullptr};
  if (v.vt == VT_I4) {
    if (v.lVal == CHILDID_SELF) return {Where::Self, nullptr};
    return {Where::Descendant, std::make_shared<Node>(acc_, v.lVal, served_)};
  }
  if (v.vt == VT_DISPATCH && v.pdispVal) {
    ComPtr<IAccessible> focused;
    if (FAILED(v.pdispVal->QueryInterface(IID_PPV_ARGS(&focused))) || !focused) return {};
    return {Where::Descendant, std::make_shared<Node>(std::move(focused), CHILDID_SELF, served_)};
  }
  return {};
}

AccessiblePtr Node::Embedded() {
  // IAccessible2's relation, which Firefox answers on its root (accessible/windows/msaa/
  // MsaaAccessible.cpp, accNavigate).
  constexpr long kNavRelationEmbeds = 0x1009;
  if (child_ != CHILDID_SELF) return nullptr;
  Variant end;
  if (FAILED(acc_->accNavigate(kNavRelationEmbeds, ChildVariant(CHILDID_SELF), end.Out()))) return nullptr;
  if ((*end).vt != VT_DISPATCH || !(*end).pdispVal) return nullptr;
  ComPtr<IAccessible> embedded;
  if (FAILED((*end).pdispVal->QueryInterface(IID_PPV_ARGS(&embedded))) || !embedded) return nullptr;
  return std::make_shared<Node>(std::move(embedded), CHILDID_SELF, served_);
}

// Reached as the IAccessible2 specification asks: through the object's service provider.
ComPtr<ia2::IAccessible2> Node::Ia2() {
  ComPtr<IServiceProvider> services;
  ComPtr<ia2::IAccessible2> ia2;
  if (child_ != CHILDID_SELF || !served_->ia2) return nullptr;
  if (FAILED(acc_.As(&services)) || !services ||
      FAILED(services->QueryService(IID_IAccessible, ia2::kIID_IAccessible2,
                                    reinterpret_cast<void**>(ia2.GetAddressOf()))) ||
      !ia2) {
    served_->ia2 = false;
    return nullptr;
  }
  return ia2;
}

std::optional<std::uint32_t> Node::Ia2States() {
  long states = 0;
  const ComPtr<ia2::IAccessible2> ia2 = Ia2();
  if (!ia2 || FAILED(ia2->get_states(&states))) return std::nullopt;
  return static_cast<std::uint32_t>(states);
}

std::optional<std::string> Node::ObjectAttributes() {
  Bstr attributes;
  const ComPtr<ia2::IAccessible2> ia2 = Ia2();
  if (!ia2 || FAILED(ia2->get_attributes(attributes.Out()))) return std::nullopt;
  return attributes.Utf8();
}

INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  input.ki.dwExtraInfo = kOwnInputMark;
  return input;
}

INPUT UnicodeKey(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  input.ki.dwExtraInfo = kOwnInputMark;
  return input;
}

void AddChord(std::vector<INPUT>& inputs, WORD modifier, WORD key) {
  inputs.push_back(Key(modifier, false));
  inputs.push_back(Key(key, false));
  inputs.push_back(Key(key, true));
  inputs.push_back(Key(modifier, true));
}

// Keys go to whatever has the focus, so the browser is brought forward first; it
// usually is already, since the person was reading it. Windows refuses a program that
// is not in front itself, and then the keys would land in another program.
bool SendToWindow(WindowHandle window, std::vector<INPUT> inputs, OperationLog* log) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  if (!IsWindow(hwnd)) return false;
  if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
  if (GetForegroundWindow() != hwnd) {
    if (log) log->Append(kKeysNotSentLine);
    return false;
  }
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size();
}

bool IsClass(HWND window, std::string_view cls) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8(name) == cls;
}

// Named callbacks: the 32-bit build needs the __stdcall that a lambda cannot carry.
BOOL CALLBACK CollectModernWindow(HWND window, LPARAM found) {
  if (IsClass(window, kChromiumWindowClass) || IsClass(window, kFirefoxWindowClass)) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectContentWindow(HWND window, LPARAM found) {
  if (IsClass(window, kChromiumContentClass)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// Reading a name is what both browsers take as a screen reader's question: Chromium
// turns web content on once a name is read after its honeypot was asked for
// (content/browser/accessibility/browser_accessibility_state_impl_win.cc,
// OnAccNameCalled), and Firefox's stand-in root starts accessibility for any call but
// its role (accessible/windows/msaa/LazyInstantiator.cpp, MaybeResolveRoot).
void ReadRootName(HWND window) {
  const Oleacc& oleacc = OleaccLibrary();
  if (!oleacc.fromWindow) return;
  ComPtr<IAccessible> root;
  if (FAILED(oleacc.fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                               reinterpret_cast<void**>(root.GetAddressOf()))) ||
      !root) {
    return;
  }
  Bstr name;
  root->get_accName(ChildVariant(CHILDID_SELF), name.Out());
}

// Chromium's content windows answer object id 1, the "screen reader honeypot", by
// noting that a client listens (content/browser/renderer_host/
// legacy_render_widget_host_win.cc, kIdScreenReaderHoneyPot); the name read then
// completes the question (ui/accessibility/platform/ax_platform_node_win.cc,
// get_accName), and web content arrives later (ui/accessibility/ax_mode.h,
// kWebContents).
void WakeWindow(HWND window) {
  constexpr LPARAM kScreenReaderHoneyPot = 1;
  constexpr UINT kHoneyPotTimeoutMs = 1000;
  std::vector<HWND> content;
  EnumChildWindows(window, CollectContentWindow, reinterpret_cast<LPARAM>(&content));
  for (const HWND child : content) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(child, WM_GETOBJECT, 0, kScreenReaderHoneyPot, SMTO_ABORTIFHUNG, kHoneyPotTimeoutMs,
                        &ignored);
    ReadRootName(child);
  }
  ReadRootName(window);
}

}  // namespace

void WakeModernBrowsers() {
  std::vector<HWND> windows;
  EnumWindows(CollectModernWindow, reinterpret_cast<LPARAM>(&windows));
  Win32WindowSystem system;
  std::erase_if(windows, [&system](HWND h) {
    return !IsBrowserExecutable(system.ExeName(reinterpret_cast<WindowHandle>(h)));
  });
  if (windows.empty()) return;
  // A browser that does not answer keeps only this thread.
  std::thread([windows = std::move(windows)] {
    const ComApartment apartment;
    for (const HWND window : windows) WakeWindow(window);
  }).detach();
}

void Win32AccessibleWindows::WakeWebContent(WindowHandle window) { WakeWindow(reinterpret_cast<HWND>(window)); }

std::shared_ptr<AccessibleWorker> MakeAccessibleWorker() {
  return std::make_shared<AccessibleWorker>(
      [] { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }, [] { CoUninitialize(); });
}

AccessiblePtr Win32AccessibleWindows::FromWindow(WindowHandle window) {
  const Oleacc& oleacc = OleaccLibrary();
  if (!oleacc.fromWindow) return nullptr;
  ComPtr<IAccessible> root;
  if (FAILED(oleacc.fromWindow(reinterpret_cast<HWND>(window), static_cast<DWORD>(OBJID_CLIENT),
                               IID_IAccessible, reinterpret_cast<void**>(root.GetAddressOf()))) ||
      !root) {
    return nullptr;
  }
  return std::make_shared<Node>(std::move(root), CHILDID_SELF, std::make_shared<Served>());
}

bool Win32BrowserKeys::TypeAddress(WindowHandle window, std::string_view address) {
  std::vector<INPUT> inputs;
  AddChord(inputs, VK_CONTROL, 'L');
  for (const wchar_t unit : Wide(address)) {
    inputs.push_back(UnicodeKey(unit, false));
    inputs.push_back(UnicodeKey(unit, true));
  }
  inputs.push_back(Key(VK_RETURN, false));
  inputs.push_back(Key(VK_RETURN, true));
  return SendToWindow(window, std::move(inputs), log_);
}

bool Win32BrowserKeys::HistoryBack(WindowHandle window) {
  std::vector<INPUT> inputs;
  AddChord(inputs, VK_MENU, VK_LEFT);
  return SendToWindow(window, std::move(inputs), log_);
}

bool Win32BrowserKeys::HistoryForward(WindowHandle window) {
  std::vector<INPUT> inputs;
  AddChord(inputs, VK_MENU, VK_RIGHT);
  return SendToWindow(window, std::move(inputs), log_);
}

}  // namespace paginor::win32
