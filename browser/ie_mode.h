#pragma once
// Pages that the IE engine renders inside another browser's windows: Edge's IE mode, and
// the compatibility mode of dual-engine browsers whose frame classes the walks do not
// know. Both keep their content windows somewhere below a visible top level.

#include <optional>

#include "browser/window_system.h"
#include "engine/browser_model.h"

namespace paginor {

inline constexpr std::string_view kIeContentClass = "Internet Explorer_Server";

// A visible content window under top: each window's own content windows first, then
// its children in sibling order, depth first; hidden windows are not entered (Edge keeps background IE-mode tabs as hidden servers). 0 for
// none.
WindowHandle FindVisibleContentWindow(WindowSystem& windows, WindowHandle top);

struct IeModeTab {
  BrowserPtr browser;
  WindowHandle window = 0;
};

// For the modern kind: when the topmost visible Chromium top level shows a tab in IE
// mode, that tab through the IE engine's document, which serves the page's markup.
// Empty when the tab on show is not in IE mode, or its document cannot be had.
std::optional<IeModeTab> FindIeModeTab(WindowSystem& windows);

}  // namespace paginor
