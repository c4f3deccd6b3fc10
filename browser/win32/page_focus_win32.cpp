#include "browser/win32/page_focus_win32.h"

#include <windows.h>
#include <objbase.h>

#include "browser/timed_accessible.h"
#include "browser/win32/accessible_win32.h"

namespace paginor::win32 {

std::unique_ptr<PageFocusCheck> MakePageFocusCheck(OperationLog& log) {
  // Lives as long as the program: a check that timed out may still use it.
  static Win32AccessibleWindows windows;
  return std::make_unique<PageFocusCheck>(
      windows,
      [] {
        return std::make_shared<AccessibleWorker>([] { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); },
                                                  [] { CoUninitialize(); }, kFocusCheckTimeout);
      },
      log);
}

}  // namespace paginor::win32
