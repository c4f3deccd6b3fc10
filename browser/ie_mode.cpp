#include "browser/ie_mode.h"

#include <vector>

#include "browser/modern_discovery.h"

namespace paginor {
namespace {

// Enough for any browser's window tree; a window system that keeps answering must not
// loop forever.
constexpr int kMaxWindowsSearched = 5000;

}  // namespace

WindowHandle FindVisibleContentWindow(WindowSystem& windows, WindowHandle top) {
  if (!top) return 0;
  std::vector<WindowHandle> stack{top};
  int searched = 0;
  while (!stack.empty() && searched < kMaxWindowsSearched) {
    const WindowHandle parent = stack.back();
    stack.pop_back();
    for (WindowHandle h = windows.FindChild(parent, 0, kIeContentClass); h && searched < kMaxWindowsSearched;
         h = windows.FindChild(parent, h, kIeContentClass), ++searched) {
      if (windows.IsVisible(h)) return h;
    }
    std::vector<WindowHandle> children;
    for (WindowHandle h = windows.FindChild(parent, 0, ""); h && searched < kMaxWindowsSearched;
         h = windows.FindChild(parent, h, ""), ++searched) {
      if (windows.IsVisible(h)) children.push_back(h);
    }
    // Pushed last to first, so that the first sibling is searched first.
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return 0;
}

std::optional<IeModeTab> FindIeModeTab(WindowSystem& windows) {
  WindowHandle top = windows.FindChild(0, 0, kChromiumWindowClass);
  for (int seen = 0; top && !windows.IsVisible(top); top = windows.FindChild(0, top, kChromiumWindowClass)) {
    if (++seen >= kMaxWindowsSearched) return std::nullopt;
  }
  const WindowHandle content = top ? FindVisibleContentWindow(windows, top) : 0;
  if (!content) return std::nullopt;
  WindowBrowser answer = windows.BrowserFromWindow(content);
  if (answer.status != 0 || !answer.browser) return std::nullopt;
  return IeModeTab{std::move(answer.browser), content};
}

}  // namespace paginor
