#pragma once
// Finding the tab on show in Chromium-based browsers and Firefox, whose pages are
// reached through the accessibility tree rather than the IE engine's document.

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "browser/accessible.h"
#include "browser/window_system.h"
#include "engine/browser_model.h"

namespace paginor {

inline constexpr std::string_view kModernBrowserKind = "modern";
inline constexpr std::string_view kChromiumWindowClass = "Chrome_WidgetWin_1";
inline constexpr std::string_view kFirefoxWindowClass = "MozillaWindowClass";

class AccessibleWindows {
 public:
  virtual ~AccessibleWindows() = default;
  // The root of a window's accessibility tree, or null.
  virtual AccessiblePtr FromWindow(WindowHandle window) = 0;
};

struct ModernTab {
  AccessiblePtr document;
  WindowHandle window = 0;
};

// The topmost visible top-level window of either class whose tree shows a document;
// windows of those classes without one (menus, pop-ups) are passed over.
std::optional<ModernTab> FindModernTab(WindowSystem& windows, AccessibleWindows& accessible);

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
                    Automation* automation = nullptr);

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
  std::shared_ptr<AccessibleWorker> worker_;
};

}  // namespace paginor
