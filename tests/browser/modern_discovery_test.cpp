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
  std::map<WindowHandle, AccessiblePtr> afterWake;  // the trees a wake-up brings
  std::vector<WindowHandle> woken;
  AccessiblePtr FromWindow(WindowHandle window) override {
    asked.push_back(window);
    auto it = roots.find(window);
    return it == roots.end() ? nullptr : it->second;
  }
  void WakeWebContent(WindowHandle window) override {
    woken.push_back(window);
    for (const auto& [h, root] : afterWake) roots[h] = root;
  }
};

// A top-level window of a browser's class in a process of that executable.
WindowHandle Browser(FakeWindows& windows, const std::string& cls, const std::string& exe, bool visible = true) {
  static std::uint32_t pid = 100;
  const WindowHandle h = windows.Add(0, cls, visible);
  windows.SetProcess(h, ++pid, exe);
  return h;
}

std::shared_ptr<Node> PageTree(const std::string& url, std::uint32_t state = 0) {
  auto root = std::make_shared<Node>(0x09, "window");
  root->Add(0x10, "")->Add(msaa::kRoleDocument, "page", url, state);
  return root;
}

TEST(ModernDiscovery, TheTopmostVisibleWindowWithADocumentWinsAcrossBothClasses) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle other = windows.Add(0, "Notepad");
  const WindowHandle hidden = Browser(windows, "MozillaWindowClass", "firefox.exe", false);
  const WindowHandle menu = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");  // a pop-up, no document
  const WindowHandle firefox = Browser(windows, "MozillaWindowClass", "C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE");
  const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "msedge.exe");
  trees.roots[hidden] = PageTree("http://hidden/");
  trees.roots[menu] = std::make_shared<Node>(0x0B, "menu");
  trees.roots[firefox] = PageTree("http://firefox/");
  trees.roots[chrome] = PageTree("http://chrome/");
  (void)other;

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
  const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");
  trees.roots[chrome] = PageTree("http://chrome/", msaa::kStateOffscreen);
  EXPECT_FALSE(FindModernTab(windows, trees).has_value());
}

// A page with content: an address and a link.
std::shared_ptr<Node> Page(const std::string& url, std::uint32_t state = 0) {
  auto document = std::make_shared<Node>(msaa::kRoleDocument, "page", url, state);
  document->Add(msaa::kRoleLink, "next", url + "next");
  return document;
}

class FirefoxRoot : public Node {
 public:
  FirefoxRoot() : Node(0x0E, "Firefox") {}
  AccessiblePtr shown;
  AccessiblePtr Embedded() override { return shown; }
};

TEST(ModernDiscovery, TheForegroundBrowserFirstAndNeverAnotherProgramsWindowOfTheSameClass) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle slack = Browser(windows, "Chrome_WidgetWin_1", "slack.exe");
  const WindowHandle code = Browser(windows, "Chrome_WidgetWin_1", "");  // process gone
  const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");
  const WindowHandle firefox = Browser(windows, "MozillaWindowClass", "firefox.exe");
  for (const WindowHandle h : {slack, code, chrome, firefox}) trees.roots[h] = PageTree("http://" + std::to_string(h));
  EXPECT_EQ(FindModernTab(windows, trees)->window, chrome);
  windows.foreground = firefox;
  EXPECT_EQ(FindModernTab(windows, trees)->window, firefox);
  windows.foreground = slack;
  EXPECT_EQ(FindModernTab(windows, trees)->window, chrome);
  EXPECT_EQ(std::count(trees.asked.begin(), trees.asked.end(), slack), 0);
  EXPECT_EQ(std::count(trees.asked.begin(), trees.asked.end(), code), 0);
}

TEST(ModernDiscovery, TheTabOnShowIsChromiumsVisibleContentWindowOrFirefoxsEmbeddedDocument) {
  FakeWindows windows;
  FakeTrees trees;
  const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");
  const WindowHandle devtools = windows.Add(chrome, "Chrome_RenderWidgetHostHWND");
  const WindowHandle background = windows.Add(chrome, "Chrome_RenderWidgetHostHWND", false);
  const WindowHandle shown = windows.Add(chrome, "Chrome_RenderWidgetHostHWND");
  trees.roots[devtools] = Page("devtools://devtools/bundled/devtools_app.html");
  trees.roots[background] = Page("http://background/");
  trees.roots[shown] = Page("http://shown/");
  trees.roots[chrome] = PageTree("http://browser-ui/");
  EXPECT_EQ(FindModernTab(windows, trees)->document->Value(), "http://shown/");

  // Without content windows, the window's own tree, a docked DevTools passed over.
  FakeWindows firefoxWindows;
  const WindowHandle firefox = Browser(firefoxWindows, "MozillaWindowClass", "firefox.exe");
  auto root = std::make_shared<FirefoxRoot>();
  root->Add(Page("devtools://devtools/inspector"));
  root->Add(Page("http://background-tab/"));
  const auto shownTab = root->Add(Page("http://shown-tab/"));
  trees.roots[firefox] = root;
  EXPECT_EQ(FindModernTab(firefoxWindows, trees)->document->Value(), "http://background-tab/");
  root->shown = shownTab;
  EXPECT_EQ(FindModernTab(firefoxWindows, trees)->document->Value(), "http://shown-tab/");
}

TEST(ModernDiscovery, APageWithoutContentIsAskedForItAndWaitedForUpToTwoSeconds) {
  struct Case {
    bool arrives;
    std::string url;
    int pauses;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {true, "http://real/", 1, {}},
      {false, "", 20, {kWebContentMissingLine}}};
  for (const Case& c : cases) {
    FakeWindows windows;
    FakeTrees trees;
    const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");
    const WindowHandle content = windows.Add(chrome, "Chrome_RenderWidgetHostHWND");
    // Chromium's placeholder: busy, without name, address or children.
    trees.roots[content] = std::make_shared<Node>(msaa::kRoleDocument, "", "", 0x800);
    if (c.arrives) trees.afterWake[content] = Page("http://real/");
    struct Log : OperationLog {
      std::vector<std::string> lines;
      void Append(std::string_view line) override { lines.emplace_back(line); }
    } log;
    int pauses = 0;
    const TabSearch search{[&pauses](std::chrono::milliseconds wait) { pauses += wait == kWebContentPoll; },
                           &log};
    const auto tab = FindModernTab(windows, trees, search);
    ASSERT_TRUE(tab.has_value());
    EXPECT_EQ(tab->document->Value(), c.url);
    EXPECT_EQ(trees.woken, std::vector<WindowHandle>{chrome});
    EXPECT_EQ(pauses, c.pauses);
    EXPECT_EQ(log.lines, c.log);
  }
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
  const WindowHandle chrome = Browser(windows, "Chrome_WidgetWin_1", "chrome.exe");
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
