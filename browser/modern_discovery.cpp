#include "browser/modern_discovery.h"

#include <set>

#include "browser/accessible_browser.h"
#include "browser/ie_mode.h"
#include "browser/remembered_tree.h"
#include "browser/timed_accessible.h"

namespace paginor {
namespace {

// Enough for any desktop; a window system that keeps answering must not loop forever.
constexpr int kMaxTopLevelWindows = 10000;

std::set<WindowHandle> TopLevelOfClass(WindowSystem& windows, std::string_view cls) {
  std::set<WindowHandle> found;
  for (WindowHandle h = windows.FindChild(0, 0, cls);
       h && found.size() < kMaxTopLevelWindows && found.insert(h).second;
       h = windows.FindChild(0, h, cls)) {
  }
  return found;
}

}  // namespace

std::optional<ModernTab> FindModernTab(WindowSystem& windows, AccessibleWindows& accessible) {
  std::set<WindowHandle> candidates = TopLevelOfClass(windows, kChromiumWindowClass);
  candidates.merge(TopLevelOfClass(windows, kFirefoxWindowClass));
  if (candidates.empty()) return std::nullopt;
  // Both classes in one pass over the Z-order, so the window on top wins.
  int seen = 0;
  for (WindowHandle h = windows.FindChild(0, 0, ""); h && seen < kMaxTopLevelWindows;
       h = windows.FindChild(0, h, ""), ++seen) {
    if (!candidates.count(h) || !windows.IsVisible(h)) continue;
    // What the search reads of the document is not asked again by the command.
    AccessiblePtr document = FindActiveDocument(Remembered(accessible.FromWindow(h)));
    if (document) return ModernTab{std::move(document), h};
  }
  return std::nullopt;
}

CombinedDiscovery::CombinedDiscovery(BrowserDiscovery& ieEngine, WindowSystem& windows,
                                     AccessibleWindows& accessible, WorkerFactory makeWorker,
                                     std::shared_ptr<BrowserKeys> keys, Automation* automation)
    : ieEngine_(ieEngine),
      windows_(windows),
      accessible_(accessible),
      makeWorker_(std::move(makeWorker)),
      keys_(std::move(keys)),
      automation_(automation) {}

bool CombinedDiscovery::FindBrowserWindow(BrowserPtr& browser, WindowHandle& window,
                                          std::string_view kind) {
  if (kind != kModernBrowserKind) return ieEngine_.FindBrowserWindow(browser, window, kind);
  try {
    // An Edge tab in IE mode is the IE engine's page: its document serves real markup.
    if (auto ieMode = FindIeModeTab(windows_)) {
      browser = std::move(ieMode->browser);
      window = ieMode->window;
      return true;
    }
    // A worker given up on a hung browser stays given up; the next command starts anew.
    if (!worker_ || worker_->givenUp()) worker_ = makeWorker_();
    if (!worker_) return false;
    WorkerWindows onWorker(worker_, accessible_);
    auto tab = FindModernTab(windows_, onWorker);
    if (!tab) return false;
    browser = std::make_shared<AccessibleBrowser>(std::move(tab->document), tab->window, keys_,
                                                  automation_ ? AutomationOnWorker(worker_, *automation_) : nullptr);
    window = tab->window;
    return true;
  } catch (...) {
    return false;
  }
}

BrowserPtr CombinedDiscovery::GetFrameBrowser(int index, const BrowserPtr& browser) {
  if (std::dynamic_pointer_cast<AccessibleBrowser>(browser)) return nullptr;
  return ieEngine_.GetFrameBrowser(index, browser);
}

}  // namespace paginor
