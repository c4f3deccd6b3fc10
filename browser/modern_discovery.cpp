#include "browser/modern_discovery.h"

#include <set>

#include "browser/accessible_browser.h"

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
    AccessiblePtr document = FindActiveDocument(accessible.FromWindow(h));
    if (document) return ModernTab{std::move(document), h};
  }
  return std::nullopt;
}

}  // namespace paginor
