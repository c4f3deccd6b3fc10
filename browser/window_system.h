#pragma once
// The window calls discovery makes, so that one walk serves Windows and tests.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/browser_model.h"

namespace paginor {

// BrowserFromWindow's answer: status 0 is success, and the browser may still be null
// when the document came without a browser service.
struct WindowBrowser {
  long status = 1;
  BrowserPtr browser;
};

// One item of the shell windows collection, read as the IE 6 walk needs it.
struct ShellWindowItem {
  BrowserPtr browser;  // null when the item is not a browser object
  bool hasParent = false;
  std::string locationUrl;
  std::optional<WindowHandle> window;  // empty when its HWND could not be read
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The first child of parent of the class after the sibling `after` (0: from the
  // first); parent 0 walks the top-level windows from the top of the Z-order down.
  // An empty class matches any class. 0 when there is none.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                 std::string_view className) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  // The window the person works in; 0 when there is none.
  virtual WindowHandle Foreground() { return 0; }
  virtual bool IsMinimized(WindowHandle window) = 0;
  // UTF-8, at most maxChars characters.
  virtual std::string Title(WindowHandle window, std::size_t maxChars) = 0;
  virtual std::uint32_t ProcessId(WindowHandle window) = 0;
  // The executable of the window's process as the platform names it (a path or a bare
  // name); "" when it cannot be found.
  virtual std::string ExeName(WindowHandle window) = 0;
  virtual WindowBrowser BrowserFromWindow(WindowHandle window) = 0;
  // The shell windows collection; empty when it cannot be created or read.
  virtual std::optional<long> ShellWindowCount() = 0;
  virtual ShellWindowItem ShellWindow(long index) = 0;
};

// Lower-cased (A to Z only) file-name part of an executable's name.
std::string ReduceExeName(std::string_view exe);

}  // namespace paginor
