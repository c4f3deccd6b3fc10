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

bool IsBrowserPageClass(std::wstring_view className) {
  return className == L"Internet Explorer_Server";
}

bool KeyGoesToPage(const FocusSnapshot& focus) {
  return IsBrowserPageClass(focus.focusClass) && !focus.caretInFocus;
}

}  // namespace paginor::hooks
