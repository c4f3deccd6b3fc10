#include "cli/desktop.h"

#include <string_view>

namespace paginor::cli {

bool TabDiscovery::FindBrowserWindow(BrowserPtr& browser, WindowHandle& window,
                                     std::string_view kind) {
  if (kind != kind_) return false;
  browser = tab_;
  window = kTabWindow;
  return true;
}

BrowserPtr TabDiscovery::GetFrameBrowser(int, const BrowserPtr&) { return nullptr; }

bool RecordingMessenger::PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  posted.push_back({window, message, wParam, lParam});
  return true;
}

}  // namespace paginor::cli
