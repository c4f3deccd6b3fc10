#include "browser/win32/win32_messenger.h"

#include <windows.h>

// The engine's method, not the Win32 macro.
#undef PostMessage

namespace paginor::win32 {

bool Win32WindowMessenger::PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  return PostMessageW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam)) != FALSE;
}

ScreenPoint Win32WindowMessenger::ScreenToClient(WindowHandle window, ScreenPoint p) {
  POINT point{static_cast<LONG>(p.x), static_cast<LONG>(p.y)};
  ::ScreenToClient(reinterpret_cast<HWND>(window), &point);
  return {point.x, point.y};
}

WindowHandle Win32WindowMessenger::ChildWindowFromPointEx(WindowHandle parent, ScreenPoint clientPoint,
                                                          unsigned flags) {
  const POINT point{static_cast<LONG>(clientPoint.x), static_cast<LONG>(clientPoint.y)};
  return reinterpret_cast<WindowHandle>(
      ::ChildWindowFromPointEx(reinterpret_cast<HWND>(parent), point, flags));
}

}  // namespace paginor::win32
