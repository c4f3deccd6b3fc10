#pragma once
// A window tree for the discovery walks: classes, titles, visibility, processes and
// the browsers that content windows answer with. Children and top-level windows keep
// the order they were added in (the first added is the top of the Z-order).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser/frames.h"
#include "browser/window_system.h"

namespace paginor::test {

// A browser known by its address; every other call fails.
class TabBrowser : public Browser {
 public:
  explicit TabBrowser(std::string url) : url_(std::move(url)) {}
  std::optional<std::string> LocationUrl() override { return url_; }
  bool GoBack() override { return false; }
  bool GoForward() override { return false; }
  std::unique_ptr<Document> GetDocument() override { return nullptr; }
  bool Navigate(std::string_view, std::string_view) override { return false; }

 private:
  std::string url_;
};

// The address of a browser found by discovery, "" for none.
std::string UrlOf(const BrowserPtr& browser);

class FakeWindows : public WindowSystem {
 public:
  struct Window {
    WindowHandle parent = 0;
    std::string cls;
    std::string title;
    bool visible = true;
    std::uint32_t pid = 0;
    std::optional<WindowBrowser> answer;  // none: BrowserFromWindow fails with status 2
  };

  WindowHandle Add(WindowHandle parent, std::string cls, bool visible = true);
  // Embedding (optional), view and content window under parent, answering with a
  // browser at url; returns the content window.
  WindowHandle AddContent(WindowHandle parent, const std::string& url, std::string prefix = "",
                          bool withEmbedding = true);
  Window& operator[](WindowHandle h) { return windows_.at(h); }
  void SetProcess(WindowHandle h, std::uint32_t pid, std::string exe);

  WindowHandle FindChild(WindowHandle parent, WindowHandle after, std::string_view cls) override;
  bool IsVisible(WindowHandle window) override { return Get(window).visible; }
  WindowHandle Foreground() override { return foreground; }
  bool IsMinimized(WindowHandle) override { return false; }
  std::string Title(WindowHandle window, std::size_t maxChars) override;
  std::uint32_t ProcessId(WindowHandle window) override { return Get(window).pid; }
  std::string ExeName(WindowHandle window) override;
  WindowBrowser BrowserFromWindow(WindowHandle window) override;
  std::optional<long> ShellWindowCount() override;
  ShellWindowItem ShellWindow(long index) override;

  std::vector<WindowHandle> asked;  // BrowserFromWindow calls, in order
  std::optional<std::vector<ShellWindowItem>> shellWindows;
  bool shellWindowsThrow = false;
  std::map<std::uint32_t, std::string> exes;
  WindowHandle foreground = 0;

 private:
  Window& Get(WindowHandle h);
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> order_;
  WindowHandle next_ = 0x100;
};

// Embeddings of one document: a browser per frame, null for a plug-in.
class FakeFrames : public FrameSource {
 public:
  int CountEmbeddings(Browser& browser, int limit) override;
  BrowserPtr EmbeddedBrowser(Browser& browser, int index) override;

  std::vector<BrowserPtr> embeddings;
  std::vector<int> limits;  // what each count asked for
};

}  // namespace paginor::test
