#include "browser/traced_windows.h"

#include <chrono>
#include <cstdio>

namespace paginor {

std::string WindowName(WindowHandle window) {
  if (!window) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(window));
  return text;
}

std::vector<std::string> ShortTrace(const std::vector<std::string>& trace, std::size_t limit) {
  if (trace.size() <= limit || limit < 2) return trace;
  const std::size_t head = limit / 2;
  const std::size_t tail = limit - head - 1;
  std::vector<std::string> out(trace.begin(), trace.begin() + static_cast<long>(head));
  out.push_back("… " + std::to_string(trace.size() - head - tail) + " more calls …");
  out.insert(out.end(), trace.end() - static_cast<long>(tail), trace.end());
  return out;
}

void TracedWindows::Note(std::string line) {
  ++calls_;
  trace_.push_back(std::move(line));
}

void TracedWindows::Clear() {
  trace_.clear();
  calls_ = 0;
}

WindowHandle TracedWindows::FindChild(WindowHandle parent, WindowHandle after, std::string_view className) {
  const WindowHandle found = inner_.FindChild(parent, after, className);
  std::string line = "\"" + std::string(className.empty() ? "*" : className) + "\"";
  line += parent ? " under " + WindowName(parent) : " among top-level windows";
  if (after) line += " after " + WindowName(after);
  Note(line + ": " + WindowName(found));
  return found;
}

bool TracedWindows::IsVisible(WindowHandle window) {
  const bool visible = inner_.IsVisible(window);
  Note(WindowName(window) + (visible ? " visible" : " hidden"));
  return visible;
}

WindowHandle TracedWindows::Foreground() {
  const WindowHandle window = inner_.Foreground();
  Note("foreground window: " + WindowName(window));
  return window;
}

bool TracedWindows::IsMinimized(WindowHandle window) {
  const bool minimized = inner_.IsMinimized(window);
  Note(WindowName(window) + (minimized ? " minimised" : " not minimised"));
  return minimized;
}

std::string TracedWindows::Title(WindowHandle window, std::size_t maxChars) {
  std::string title = inner_.Title(window, maxChars);
  Note("title of " + WindowName(window) + (title.empty() ? ": empty" : ": read"));
  return title;
}

std::uint32_t TracedWindows::ProcessId(WindowHandle window) {
  const std::uint32_t id = inner_.ProcessId(window);
  Note("process of " + WindowName(window) + ": " + std::to_string(id));
  return id;
}

std::string TracedWindows::ExeName(WindowHandle window) {
  std::string exe = inner_.ExeName(window);
  const std::string reduced = ReduceExeName(exe);
  Note("program of " + WindowName(window) + ": " + (reduced.empty() ? "unknown" : reduced));
  return exe;
}

WindowBrowser TracedWindows::BrowserFromWindow(WindowHandle window) {
  const auto start = std::chrono::steady_clock::now();
  WindowBrowser answer = inner_.BrowserFromWindow(window);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  char status[24];
  std::snprintf(status, sizeof status, "0x%08lX", static_cast<unsigned long>(answer.status));
  std::string line = "document of " + WindowName(window) + ": ";
  if (answer.status != 0) {
    line += std::string("no answer (") + status + ")";
  } else {
    line += answer.browser ? "answered, with its browser object" : "answered, without a browser object";
  }
  Note(line + " in " + std::to_string(ms.count()) + " ms");
  return answer;
}

std::optional<long> TracedWindows::ShellWindowCount() {
  const std::optional<long> count = inner_.ShellWindowCount();
  Note("shell windows: " + (count ? std::to_string(*count) : std::string("cannot be read")));
  return count;
}

ShellWindowItem TracedWindows::ShellWindow(long index) {
  ShellWindowItem item = inner_.ShellWindow(index);
  std::string line = "shell window " + std::to_string(index) + ": ";
  line += item.browser ? "a browser" : "no browser";
  if (item.hasParent) line += ", inside another";
  line += ", window " + (item.window ? WindowName(*item.window) : std::string("unreadable"));
  Note(line);
  return item;
}

}  // namespace paginor
