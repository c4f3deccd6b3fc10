#include "hooks/key_filter.h"

namespace paginor::hooks {

namespace {
constexpr unsigned kModifiers[8] = {kVkControl, kVkLeftControl, kVkRightControl, kVkAlt,
                                    kVkLeftAlt, kVkRightAlt,     kVkLeftWin,      kVkRightWin};
}  // namespace

int KeyFilter::ModifierIndex(unsigned vk) {
  for (int i = 0; i < 8; ++i) {
    if (kModifiers[i] == vk) return i;
  }
  return -1;
}

bool KeyFilter::ModifierHeld(ModifierProbe& probe) {
  bool held = false;
  for (int i = 0; i < 8; ++i) {
    if (!modifierDown_[i]) continue;
    if (probe.IsDown(kModifiers[i])) {
      held = true;
    } else {
      modifierDown_[i] = false;
    }
  }
  return held;
}

bool KeyFilter::OnKey(const KeyEvent& e, ModifierProbe& probe) {
  if (const int m = ModifierIndex(e.vk); m >= 0) {
    modifierDown_[m] = e.down;
  }
  if (!e.down) {
    if (e.vk == heldKey_) heldKey_ = 0;
    return false;
  }
  const bool repeat = e.vk == heldKey_ && e.timeMs - heldSince_ <= kRepeatWindowMs;
  heldKey_ = e.vk;
  heldSince_ = e.timeMs;
  if (repeat || !IsReportedKey(e.vk, e.extended) || e.altFlag) return false;
  return !ModifierHeld(probe);
}

namespace {

constexpr std::wstring_view kIePageClass = L"Internet Explorer_Server";
constexpr std::wstring_view kChromiumPageClass = L"Chrome_RenderWidgetHostHWND";
// Current Chrome often keeps the keyboard focus on its top-level window, the page's too.
constexpr std::wstring_view kChromiumFrameClass = L"Chrome_WidgetWin_1";
constexpr std::wstring_view kFirefoxClass = L"MozillaWindowClass";

}  // namespace

bool IsBrowserPageClass(std::wstring_view className, PageKind kind) {
  // Edge shows a tab in IE mode through the IE engine's page window.
  if (kind == PageKind::Modern) {
    return className == kChromiumPageClass || className == kFirefoxClass || className == kIePageClass;
  }
  return className == kIePageClass;
}

bool KeyGoesToPage(const FocusSnapshot& focus) {
  return IsBrowserPageClass(focus.focusClass) && !focus.caretInFocus;
}

KeyRoute RouteKey(const FocusSnapshot& focus, PageKind kind) {
  // The caret rule is the cheap first filter; a focused <select> shows no caret, so what
  // passes it is confirmed against the page's active element by the main program. Edge
  // shows a tab in IE mode through the same page window.
  if (KeyGoesToPage(focus)) return KeyRoute::AskFocusedObject;
  if (kind != PageKind::Modern || focus.focusClass == kIePageClass) return KeyRoute::NotPage;
  const bool browser = IsBrowserPageClass(focus.focusClass, kind) || focus.focusClass == kChromiumFrameClass;
  return browser ? KeyRoute::AskFocusedObject : KeyRoute::NotPage;
}

}  // namespace paginor::hooks
