#include "browser/win32/win32_browser.h"

#include "browser/discovery.h"
#include "browser/win32/com_frames.h"
#include "browser/win32/win32_messenger.h"
#include "browser/win32/win32_window_system.h"

namespace paginor::win32 {
namespace {

// Discovery together with the platform objects it walks over.
class Win32Discovery : public BrowserDiscovery {
 public:
  explicit Win32Discovery(std::string ieVersion) : discovery_(windows_, frames_, std::move(ieVersion)) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override {
    return discovery_.FindBrowserWindow(browser, window, kind);
  }
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override {
    return discovery_.GetFrameBrowser(index, browser);
  }

 private:
  Win32WindowSystem windows_;
  ComFrameSource frames_;
  WindowDiscovery discovery_;
};

}  // namespace

std::unique_ptr<BrowserDiscovery> MakeWin32BrowserDiscovery(std::string ieVersion) {
  return std::make_unique<Win32Discovery>(std::move(ieVersion));
}

std::unique_ptr<WindowMessenger> MakeWin32WindowMessenger() {
  return std::make_unique<Win32WindowMessenger>();
}

std::vector<std::string> ListFrames(const BrowserPtr& tab) {
  ComFrameSource frames;
  return FrameListEntries(frames, tab);
}

}  // namespace paginor::win32
