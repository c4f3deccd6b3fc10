#pragma once
// The six messages by which the hook libraries and the floating box reach the main window,
// registered at process start, before the window exists.

#include <windows.h>

namespace paginor::app::win32 {

struct RegisteredMessages {
  UINT keyHook = 0;
  UINT mouseHook1 = 0;
  UINT mouseHook2 = 0;
  UINT mouseHook3 = 0;
  UINT floatKey = 0;
  UINT floatMouse = 0;

  static RegisteredMessages Register();
  bool Contains(UINT message) const;
};

// What a second instance sends the running window (WM_USER + 1000, wParam 101).
inline constexpr UINT kSecondInstanceMessage = WM_USER + 1000;
inline constexpr WPARAM kSecondInstanceWParam = 101;

}  // namespace paginor::app::win32
