#include "browser/win32/win32_browser.h"

#include <thread>

#include "browser/discovery.h"
#include "browser/modern_discovery.h"
#include "browser/timed_accessible.h"
#include "browser/win32/accessible_win32.h"
#include "browser/win32/com_frames.h"
#include "browser/win32/uia_win32.h"
#include "browser/win32/win32_messenger.h"
#include "browser/win32/win32_window_system.h"

namespace paginor::win32 {
namespace {

// Lives as long as the program: a call that timed out on a hung browser may still
// reach it from its worker.
AccessibleWindows& ProgramAccessibleWindows() {
  static Win32AccessibleWindows windows;
  return windows;
}

// The same, for UI Automation.
Automation& ProgramAutomation() {
  static Win32Automation automation;
  return automation;
}

// Discovery together with the platform objects it walks over.
class Win32Discovery : public BrowserDiscovery {
 public:
  Win32Discovery(std::string ieVersion, OperationLog* log, WindowSystem* windows)
      : windows_(windows ? *windows : own_),
        discovery_(windows_, frames_, std::move(ieVersion)),
        combined_(discovery_, windows_, ProgramAccessibleWindows(), MakeAccessibleWorker,
                  std::make_shared<Win32BrowserKeys>(log), &ProgramAutomation(),
                  TabSearch{[](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); }, log}) {}
  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override {
    return combined_.FindBrowserWindow(browser, window, kind);
  }
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override {
    return combined_.GetFrameBrowser(index, browser);
  }

 private:
  Win32WindowSystem own_;
  WindowSystem& windows_;
  ComFrameSource frames_;
  WindowDiscovery discovery_;
  CombinedDiscovery combined_;
};

}  // namespace

std::unique_ptr<BrowserDiscovery> MakeWin32BrowserDiscovery(std::string ieVersion, OperationLog* log) {
  return std::make_unique<Win32Discovery>(std::move(ieVersion), log, nullptr);
}

std::unique_ptr<BrowserDiscovery> MakeWin32BrowserDiscovery(std::string ieVersion, WindowSystem& windows,
                                                            OperationLog* log) {
  return std::make_unique<Win32Discovery>(std::move(ieVersion), log, &windows);
}

std::unique_ptr<WindowMessenger> MakeWin32WindowMessenger() {
  return std::make_unique<Win32WindowMessenger>();
}

std::vector<std::string> ListFrames(const BrowserPtr& tab) {
  ComFrameSource frames;
  return FrameListEntries(frames, tab);
}

}  // namespace paginor::win32
