#pragma once
// Finding the tab on show in Chromium-based browsers and Firefox, whose pages are
// reached through the accessibility tree rather than the IE engine's document.

#include <optional>
#include <string_view>

#include "browser/accessible.h"
#include "browser/window_system.h"

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

}  // namespace paginor
