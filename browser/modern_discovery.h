#pragma once
// Finding the tab on show in Chromium-based browsers and Firefox, whose pages are
// reached through the accessibility tree rather than the IE engine's document.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "browser/accessible.h"
#include "browser/window_system.h"
#include "engine/browser_model.h"
#include "engine/operation_log.h"

namespace paginor {

inline constexpr std::string_view kModernBrowserKind = "modern";
inline constexpr std::string_view kChromiumWindowClass = "Chrome_WidgetWin_1";
inline constexpr std::string_view kFirefoxWindowClass = "MozillaWindowClass";
// Chromium's window for a page's content, a child of the browser window; a docked
// DevTools has one of its own.
inline constexpr std::string_view kChromiumContentClass = "Chrome_RenderWidgetHostHWND";

// The browsers a command may drive, by executable name. Electron and CEF programs
// (chat clients, editors) share Chromium's window class and are never driven.
bool IsBrowserExecutable(std::string_view exe);

// How long discovery waits for Chromium to send a page's tree once asked.
inline constexpr std::chrono::milliseconds kWebContentWait{2000};
inline constexpr std::chrono::milliseconds kWebContentPoll{100};
inline constexpr char kWebContentMissingLine[] =
    "    浏览器没有在2秒内送来网页的内容(无障碍树),当作没有链接的页面";

class AccessibleWindows {
 public:
  virtual ~AccessibleWindows() = default;
  // The root of a window's accessibility tree, or null.
  virtual AccessiblePtr FromWindow(WindowHandle window) = 0;
  // Asks the browser of a top-level window to build its pages' trees, the way screen
  // readers ask; the trees arrive later.
  virtual void WakeWebContent(WindowHandle) {}
};

struct ModernTab {
  AccessiblePtr document;
  WindowHandle window = 0;
  bool firefox = false;
};

// What the search may do besides asking: wait between looks, and say why it gave up.
struct TabSearch {
  std::function<void(std::chrono::milliseconds)> pause;  // none: no waiting
  OperationLog* log = nullptr;
};

// The document on show in a browser's window: the foreground window first, then the
// topmost visible one of either class whose tree shows a document; windows of those
// classes without one (menus, pop-ups) and of other programs are passed over. A page
// that comes without content is asked for it, and waited for up to kWebContentWait.
std::optional<ModernTab> FindModernTab(WindowSystem& windows, AccessibleWindows& accessible,
                                       const TabSearch& search = {});

class AccessibleWorker;
class Automation;
class BrowserKeys;

// Discovery for every kind: "modern" through the accessibility tree, on a worker that a
// hung browser cannot freeze the caller with; the others through the IE engine's walks.
class CombinedDiscovery : public BrowserDiscovery {
 public:
  using WorkerFactory = std::function<std::shared_ptr<AccessibleWorker>()>;
  // accessible and automation live as long as the program: a timed-out call may still
  // use them. Without automation, links come from the MSAA walk alone.
  CombinedDiscovery(BrowserDiscovery& ieEngine, WindowSystem& windows, AccessibleWindows& accessible,
                    WorkerFactory makeWorker, std::shared_ptr<BrowserKeys> keys,
                    Automation* automation = nullptr, TabSearch search = {});

  bool FindBrowserWindow(BrowserPtr& browser, WindowHandle& window, std::string_view kind) override;
  // The accessibility tree shows no frames of their own to choose from.
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& browser) override;

 private:
  BrowserDiscovery& ieEngine_;
  WindowSystem& windows_;
  AccessibleWindows& accessible_;
  WorkerFactory makeWorker_;
  std::shared_ptr<BrowserKeys> keys_;
  Automation* automation_;
  TabSearch search_;
  std::shared_ptr<AccessibleWorker> worker_;
  // UI Automation's own, so that a search that hangs leaves the MSAA walk its worker.
  std::shared_ptr<AccessibleWorker> automationWorker_;
};

}  // namespace paginor
