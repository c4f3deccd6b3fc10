#pragma once
// The accessibility tree of Chromium and Firefox windows over IAccessible, and the keys
// that reach what the tree cannot: the address bar and the history.

#include "browser/accessible_browser.h"
#include "browser/modern_discovery.h"
#include "browser/timed_accessible.h"

namespace paginor::win32 {

// Each node must be used, and released, on the thread that made it (see OnWorker).
class Win32AccessibleWindows : public AccessibleWindows {
 public:
  AccessiblePtr FromWindow(WindowHandle window) override;
  void WakeWebContent(WindowHandle window) override;
};

inline constexpr char kKeysNotSentLine[] = "    浏览器窗口不在最前面,按键没有发送";

// Synthetic keys to the browser's window, marked as the program's own so that the
// hooks do not take them for the person's. Keys go to whatever window is in front:
// when the browser cannot be brought there, nothing is sent and log hears why.
class Win32BrowserKeys : public BrowserKeys {
 public:
  explicit Win32BrowserKeys(OperationLog* log = nullptr) : log_(log) {}
  bool TypeAddress(WindowHandle window, std::string_view address) override;
  bool HistoryBack(WindowHandle window) override;
  bool HistoryForward(WindowHandle window) override;

 private:
  OperationLog* log_;
};

// Chromium and Firefox build a page's accessibility tree only once a client asks for
// it; asking when the kind is chosen, without waiting for the answer, spares the first
// command.
void WakeModernBrowsers();

// The accessibility calls' own thread, in an apartment of its own, so that a browser
// that stops answering holds that thread and not the caller's.
std::shared_ptr<AccessibleWorker> MakeAccessibleWorker();

}  // namespace paginor::win32
