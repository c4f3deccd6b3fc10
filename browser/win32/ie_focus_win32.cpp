#include "browser/win32/ie_focus_win32.h"

#include <string>

#include "browser/ie_focus.h"
#include "browser/ie_mode.h"
#include "browser/page_focus.h"
#include "browser/win32/call_watchdog.h"
#include "browser/win32/late_bound.h"
#include "browser/win32/win32_window_system.h"

namespace paginor::win32 {
namespace {

HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

std::string TextByName(IDispatch& object, const wchar_t* name) {
  Variant value;
  if (!GetByName(object, name, value)) return {};
  return value.Text().value_or("");
}

}  // namespace

bool IsIeContentWindow(WindowHandle window) {
  wchar_t name[32] = {};
  const int n = GetClassNameW(Hwnd(window), name, 32);
  return n > 0 && Utf8({name, static_cast<std::size_t>(n)}) == kIeContentClass;
}

bool IeKeyGoesToPage(WindowHandle contentWindow) {
  const auto limitMs = static_cast<DWORD>(kFocusCheckTimeout.count());
  const CallWatchdog watchdog(limitMs);
  long status = 1;
  const ComPtr<IHTMLDocument2> document = DocumentFromWindow(Hwnd(contentWindow), limitMs, status);
  if (!document) return false;
  // One object for the focus: the body while the page itself has it, none while the
  // document is not shown (wine-mirror/wine dlls/mshtml/htmldoc.c,
  // HTMLDocument_get_activeElement: "IE returns NULL in this case"). No field, no typing.
  const ComPtr<IDispatch> active = ObjectByName(*document.Get(), L"activeElement");
  if (!active) return !watchdog.gaveUp();
  const std::string tag = TextByName(*active.Get(), L"tagName");
  const std::string type = tag == "INPUT" ? TextByName(*active.Get(), L"type") : std::string();
  Variant editable;
  const bool contentEditable = GetByName(*active.Get(), L"isContentEditable", editable) &&
                               (*editable).vt == VT_BOOL && (*editable).boolVal != VARIANT_FALSE;
  if (watchdog.gaveUp() || tag.empty()) return false;
  return !ActiveElementTakesTyping({tag, type, contentEditable});
}

}  // namespace paginor::win32
