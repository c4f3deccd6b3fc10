#pragma once
// Which key presses the keyboard hook reports. The hook callback feeds every key event
// through KeyFilter (pure, no allocation); a candidate is then confirmed outside the
// callback by the focus rule below, because finding the focused window of another
// thread costs a system call per key.

#include <cstdint>
#include <string_view>

#include "hooks/keyHookCommon.h"

namespace paginor::hooks {

// Virtual-key codes of the modifiers as a low-level hook sees them: left and right apart
// from a keyboard, the generic codes from programs that inject input.
inline constexpr unsigned kVkControl = 0x11;
inline constexpr unsigned kVkAlt = 0x12;
inline constexpr unsigned kVkLeftWin = 0x5B;
inline constexpr unsigned kVkRightWin = 0x5C;
inline constexpr unsigned kVkLeftControl = 0xA2;
inline constexpr unsigned kVkRightControl = 0xA3;
inline constexpr unsigned kVkLeftAlt = 0xA4;
inline constexpr unsigned kVkRightAlt = 0xA5;

// Auto-repeat sends the held key again at most this long after its previous press (the
// longest repeat delay Windows offers is one second). A later press of a key whose
// release was never seen (lost while a secure desktop had the input) counts as new.
inline constexpr std::uint32_t kRepeatWindowMs = 1500;

// Letters A to Z, the digits of the main row and Enter; never the keypad or function keys.
// The keypad's Enter shares the code of the main Enter and differs by the extended flag.
constexpr bool IsReportedKey(unsigned vk, bool extended = false) {
  return (vk == 13 && !extended) || (vk >= 48 && vk <= 57) || (vk >= 65 && vk <= 90);
}

struct KeyEvent {
  unsigned vk = 0;
  bool down = false;      // key-down (or system key-down); false for a release
  std::uint32_t timeMs = 0;  // the event's time stamp, wrapping
  bool altFlag = false;   // the hook's own "Alt is down" flag
  bool extended = false;  // an extended key (the keypad's Enter, among others)
};

// Asked only when the event stream says a modifier is held: the system's view clears a
// modifier whose release the hook never saw.
class ModifierProbe {
 public:
  virtual ~ModifierProbe() = default;
  virtual bool IsDown(unsigned vk) = 0;
};

class KeyFilter {
 public:
  // True when e is a first press of a reported key with no Ctrl, Alt or Windows key held.
  bool OnKey(const KeyEvent& e, ModifierProbe& probe);

 private:
  bool ModifierHeld(ModifierProbe& probe);
  static int ModifierIndex(unsigned vk);

  bool modifierDown_[8] = {};
  unsigned heldKey_ = 0;  // the last key pressed and not yet released
  std::uint32_t heldSince_ = 0;
};

// What the keyboard hook learns about the focus of the foreground thread, outside the
// callback.
struct FocusSnapshot {
  std::wstring_view focusClass;  // class of the window with the keyboard focus; empty if none
  bool caretInFocus = false;     // that thread shows a caret in the focused window
};

// The editable-field rule of the IE engine. It keeps a system caret in its page window
// exactly while an editable element (text box, text area, editable region) has the focus,
// as every Windows text control does; a page being read has none. So a key goes to the
// page only when the focused window is a browser page and holds no caret. Address bars
// and search boxes are windows of their own and fail the class test.
bool KeyGoesToPage(const FocusSnapshot& focus);

// Where a key typed with this focus goes. Chromium and Firefox draw their address bar,
// their search boxes and the page in the same windows and keep no caret of their own, so
// for them only the focused accessible object can tell; asking it crosses into the
// browser, which the hook thread must never wait on: the main program asks.
enum class KeyRoute { NotPage, Page, AskFocusedObject };
KeyRoute RouteKey(const FocusSnapshot& focus, PageKind kind);

// The windows that show a page of the chosen kind, for strokes and double clicks: the IE
// engine's page window for the six IE kinds; Chromium's render widget, Firefox's window
// (Firefox draws its page in its top-level window) and Edge's IE-mode page for the
// modern kind.
bool IsBrowserPageClass(std::wstring_view className, PageKind kind = PageKind::IeEngine);

}  // namespace paginor::hooks
