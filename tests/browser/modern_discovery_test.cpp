// Which window of Chromium or Firefox holds the page a command acts on.

#include "browser/modern_discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_accessible.h"
#include "browser/timed_accessible.h"
#include "fake_windows.h"

namespace paginor::test {
namespace {

class FakeTrees : public AccessibleWindows {
 public:
  std::map<WindowHandle, AccessiblePtr> roots;
  std::vector<WindowHandle> asked;
  AccessiblePtr FromWindow(WindowHandle window) override {
    asked.push_back(window);
    auto it = roots.find(window);
    return it == roots.end() ? nullptr : it->second;
  }
  void WakeWebContent(WindowHandle window) override { woken.push_back(window); }
  std::vector<WindowHandle> woken;
};

std::shared_ptr<Node> PageTree(const std::string& url, std::uint32_t state = 0) {
  auto root = std::make_shared<Node>(0x09, "window");
  root->Add(0x10, "")->Add(msaa::kRoleDocument, "page", url, state);
  return root;
}

TEST(ModernDiscovery, TheTopmostVisibleWindowWithADocumentWinsAcrossBothClasses) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle other = windows.Add(0, "Notepad");
  const WindowHandle hidden = windows.Add(0, "MozillaWindowClass", false);
  const WindowHandle menu = windows.Add(0, "Chrome_WidgetWin_1");  // a pop-up, no document
  const WindowHandle firefox = windows.Add(0, "MozillaWindowClass");
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  trees.roots[hidden] = PageTree("http://hidden/");
  trees.roots[menu] = std::make_shared<Node>(0x0B, "menu");
  trees.roots[firefox] = PageTree("http://firefox/");
  trees.roots[chrome] = PageTree("http://chrome/");
  (void)other;
  for (const WindowHandle h : {hidden, menu, firefox, chrome}) windows.SetProcess(h, 1, "C:\\Apps\\MSEdge.EXE");

  const auto tab = FindModernTab(windows, trees);
  ASSERT_TRUE(tab.has_value());
  EXPECT_EQ(tab->window, firefox);
  EXPECT_EQ(tab->document->Value(), "http://firefox/");
  EXPECT_EQ(trees.asked, (std::vector<WindowHandle>{menu, firefox}));
}

TEST(ModernDiscovery, NothingWhenOnlyBackgroundTabsOrNoBrowserWindowsExist) {
  FakeWindows windows;
  FakeTrees trees;
  EXPECT_FALSE(FindModernTab(windows, trees).has_value());
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  windows.SetProcess(chrome, 1, "chrome.exe");
  trees.roots[chrome] = PageTree("http://chrome/", msaa::kStateOffscreen);
  EXPECT_FALSE(FindModernTab(windows, trees).has_value());
}

TEST(ModernDiscovery, TheForegroundBrowserFirstAndNeverAnotherProgramsWindowOfTheSameClass) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle slack = windows.Add(0, "Chrome_WidgetWin_1");  // Electron, on top
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  const WindowHandle firefox = windows.Add(0, "MozillaWindowClass");
  windows.SetProcess(slack, 1, "slack.exe");
  windows.SetProcess(chrome, 2, "chrome.exe");
  windows.SetProcess(firefox, 3, "firefox.exe");
  for (const WindowHandle h : {slack, chrome, firefox}) trees.roots[h] = PageTree("http://x/");
  for (const WindowHandle front : {WindowHandle{0}, slack, firefox}) {
    windows.foreground = front;
    EXPECT_EQ(FindModernTab(windows, trees)->window, front == firefox ? firefox : chrome);
  }
  EXPECT_EQ(std::count(trees.asked.begin(), trees.asked.end(), slack), 0);
}

TEST(ModernDiscovery, APageWithoutContentIsAskedForItAndWaitedForUpToTwoSeconds) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  windows.SetProcess(chrome, 1, "chrome.exe");
  trees.roots[chrome] = PageTree("");  // Chromium's placeholder: no address, no content
  struct : OperationLog {
    std::vector<std::string> lines;
    void Append(std::string_view line) override { lines.emplace_back(line); }
  } log;
  int pauses = 0;
  ASSERT_TRUE(FindModernTab(windows, trees, {[&pauses](std::chrono::milliseconds) { ++pauses; }, &log}));
  EXPECT_EQ(trees.woken, std::vector<WindowHandle>{chrome});
  EXPECT_EQ(pauses, 20);
  EXPECT_EQ(log.lines, std::vector<std::string>{kWebContentMissingLine});
}

}  // namespace
}  // namespace paginor::test

namespace paginor::test {
namespace {

class CountingEngine : public BrowserDiscovery {
 public:
  std::vector<std::string> kinds;
  bool FindBrowserWindow(BrowserPtr&, WindowHandle&, std::string_view kind) override {
    kinds.emplace_back(kind);
    return false;
  }
  BrowserPtr GetFrameBrowser(int, const BrowserPtr&) override { return nullptr; }
};

TEST(ModernDiscovery, ModernKindGoesThroughTheTreeOnAWorkerAndOthersThroughTheEngine) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  windows.SetProcess(chrome, 1, "chrome.exe");
  trees.roots[chrome] = PageTree("http://chrome/");
  CountingEngine engine;
  int workers = 0;
  CombinedDiscovery discovery(
      engine, windows, trees,
      [&workers] {
        ++workers;
        return std::make_shared<AccessibleWorker>(nullptr, nullptr);
      },
      nullptr);

  BrowserPtr browser;
  WindowHandle window = 0;
  EXPECT_FALSE(discovery.FindBrowserWindow(browser, window, "360"));
  EXPECT_EQ(engine.kinds, std::vector<std::string>{"360"});
  ASSERT_TRUE(discovery.FindBrowserWindow(browser, window, "modern"));
  EXPECT_EQ(window, chrome);
  EXPECT_EQ(browser->LocationUrl(), "http://chrome/");
  EXPECT_EQ(discovery.GetFrameBrowser(0, browser), nullptr);

  // Nothing found: both outputs stay as they were.
  trees.roots.clear();
  const BrowserPtr before = browser;
  EXPECT_FALSE(discovery.FindBrowserWindow(browser, window, "modern"));
  EXPECT_EQ(browser, before);
  EXPECT_EQ(window, chrome);
  EXPECT_EQ(workers, 1);
}

}  // namespace
}  // namespace paginor::test
