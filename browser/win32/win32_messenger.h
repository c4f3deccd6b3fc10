#pragma once
// Synthetic clicks for fixed-position commands: posted, never sent, so a browser that
// does not answer cannot hold the caller.

#include "engine/window_messenger.h"

namespace paginor::win32 {

class Win32WindowMessenger : public WindowMessenger {
 public:
  bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  ScreenPoint ScreenToClient(WindowHandle window, ScreenPoint p) override;
  WindowHandle ChildWindowFromPointEx(WindowHandle parent, ScreenPoint clientPoint,
                                      unsigned flags) override;
};

}  // namespace paginor::win32
