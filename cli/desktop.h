#pragma once
// The desktop as paginor-cli presents it to the executor: one "ie" tab showing the page,
// in a window whose client area starts at the screen origin, and no child windows.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/browser_model.h"
#include "engine/window_messenger.h"

namespace paginor::cli {

inline constexpr WindowHandle kTabWindow = 0x1000;

class TabDiscovery : public BrowserDiscovery {
 public:
  // kind: the browser kind the tab is of (engine/browser_kinds.h).
  explicit TabDiscovery(BrowserPtr tab, std::string kind = "ie") : tab_(std::move(tab)), kind_(std::move(kind)) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override;
  // Pages shown here have no frames.
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override;

 private:
  BrowserPtr tab_;
  std::string kind_;
};

struct PostedMessage {
  WindowHandle window;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class RecordingMessenger : public WindowMessenger {
 public:
  bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  ScreenPoint ScreenToClient(WindowHandle, ScreenPoint p) override { return p; }
  WindowHandle ChildWindowFromPointEx(WindowHandle, ScreenPoint, unsigned) override { return 0; }

  std::vector<PostedMessage> posted;
};

}  // namespace paginor::cli
