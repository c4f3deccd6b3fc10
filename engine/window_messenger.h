#pragma once
// The few window calls a synthetic click needs; posted, never sent.

#include <cstdint>

#include "engine/browser_model.h"

namespace paginor {

struct ScreenPoint {
  long x = 0;
  long y = 0;
};

// Same values as the Win32 constants, so the Windows layer passes them through.
inline constexpr unsigned kWmMouseMove = 0x0200;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr std::uintptr_t kMkLButton = 0x0001;
inline constexpr unsigned kCwpSkipInvisible = 0x0001;
inline constexpr unsigned kCwpSkipDisabled = 0x0002;

class WindowMessenger {
 public:
  virtual ~WindowMessenger() = default;
  virtual bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  virtual ScreenPoint ScreenToClient(WindowHandle window, ScreenPoint p) = 0;
  // 0 when no child is under the point.
  virtual WindowHandle ChildWindowFromPointEx(WindowHandle parent, ScreenPoint clientPoint,
                                              unsigned flags) = 0;
};

}  // namespace paginor
