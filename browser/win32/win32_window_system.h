#pragma once
// The discovery walks' window calls over the Win32 API, and document access: a content
// window's document through "WM_HTML_GETOBJECT", its tab's browser through the
// document's window object.

#include <exdisp.h>
#include <mshtml.h>

#include "browser/win32/com_util.h"
#include "browser/window_system.h"

namespace paginor::win32 {

// How long a content window may take to hand out its document.
inline constexpr UINT kDocumentTimeoutMs = 5000;

// A content window's document, within timeoutMs; status 1 when the accessibility
// library or its export cannot be reached, else what ObjectFromLresult returned.
ComPtr<IHTMLDocument2> DocumentFromWindow(HWND window, UINT timeoutMs, long& status);

// Status 1 when the accessibility library or its export cannot be reached, else what
// ObjectFromLresult returned.
WindowBrowser BrowserFromWindow(HWND window);

class Win32WindowSystem : public WindowSystem {
 public:
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, std::string_view className) override;
  bool IsVisible(WindowHandle window) override;
  WindowHandle Foreground() override;
  bool IsMinimized(WindowHandle window) override;
  std::string Title(WindowHandle window, std::size_t maxChars) override;
  std::uint32_t ProcessId(WindowHandle window) override;
  std::string ExeName(WindowHandle window) override;
  WindowBrowser BrowserFromWindow(WindowHandle window) override;
  std::optional<long> ShellWindowCount() override;
  ShellWindowItem ShellWindow(long index) override;

 private:
  ComPtr<IShellWindows> shellWindows_;
};

}  // namespace paginor::win32
