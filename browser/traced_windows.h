#pragma once
// A discovery walk's window calls, passed on and written down, so that a report can
// show the chain a walk followed and the step where it stopped.

#include <cstddef>
#include <string>
#include <vector>

#include "browser/window_system.h"

namespace paginor {

class TracedWindows : public WindowSystem {
 public:
  explicit TracedWindows(WindowSystem& inner) : inner_(inner) {}

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

  // One line a call; titles and addresses are never written, since they are the page's.
  const std::vector<std::string>& trace() const { return trace_; }
  std::size_t calls() const { return calls_; }
  void Clear();

 private:
  void Note(std::string line);

  WindowSystem& inner_;
  std::vector<std::string> trace_;
  std::size_t calls_ = 0;
};

// "0x1A2B", or "none" for 0.
std::string WindowName(WindowHandle window);

// The trace shortened for a person: at most limit lines, the first and the last kept,
// since the last says where the walk stopped.
std::vector<std::string> ShortTrace(const std::vector<std::string>& trace, std::size_t limit);

}  // namespace paginor
