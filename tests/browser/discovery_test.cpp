// The discovery walks over fake window trees: which window wins for each browser kind,
// and that a failed discovery leaves the caller's browser and window alone.

#include <gtest/gtest.h>

#include <algorithm>

#include "browser/discovery.h"
#include "browser/traced_windows.h"
#include "browser/ie_focus.h"
#include "fake_windows.h"

namespace paginor::test {
namespace {

class DiscoveryTest : public ::testing::Test {
 protected:
  // Runs discovery into outputs that start as a previous tab.
  bool Find(std::string_view kind, std::string ieVersion = "8") {
    WindowDiscovery discovery(windows, frames, std::move(ieVersion));
    return discovery.FindBrowserWindow(browser, window, kind);
  }
  void ExpectUntouched() {
    EXPECT_EQ(UrlOf(browser), "previous");
    EXPECT_EQ(window, 0x1u);
  }

  FakeWindows windows;
  FakeFrames frames;
  BrowserPtr browser = std::make_shared<TabBrowser>("previous");
  WindowHandle window = 0x1;
};

TEST_F(DiscoveryTest, IeTabWalkTakesTheFirstVisibleTabOfTheTopmostFrame) {
  const WindowHandle frame = windows.Add(0, "IEFrame");
  const WindowHandle hidden = windows.Add(frame, "TabWindowClass", false);
  windows.AddContent(hidden, "http://hidden/", "", false);
  const WindowHandle shown = windows.Add(frame, "TabWindowClass");
  const WindowHandle content = windows.AddContent(shown, "http://shown/", "", false);
  const WindowHandle later = windows.Add(0, "IEFrame");
  windows.AddContent(windows.Add(later, "TabWindowClass"), "http://other-window/", "", false);

  ASSERT_TRUE(Find("ie"));
  EXPECT_EQ(UrlOf(browser), "http://shown/");
  EXPECT_EQ(window, content);
  EXPECT_EQ(windows.asked, std::vector<WindowHandle>{content});
}

TEST_F(DiscoveryTest, IeTopmostFrameDecidesEvenWhenItYieldsNothing) {
  const WindowHandle empty = windows.Add(0, "IEFrame");
  windows.Add(empty, "TabWindowClass");
  const WindowHandle other = windows.Add(0, "IEFrame");
  windows.AddContent(windows.Add(other, "TabWindowClass"), "http://other/", "", false);
  EXPECT_FALSE(Find("ie"));
  ExpectUntouched();
  EXPECT_TRUE(windows.asked.empty());
}

TEST_F(DiscoveryTest, IeFrameTabsLeadToTheirTabWindow) {
  const WindowHandle frame = windows.Add(0, "IEFrame");
  windows.Add(frame, "Frame Tab", false);
  const WindowHandle tab = windows.Add(frame, "Frame Tab");
  const WindowHandle content =
      windows.AddContent(windows.Add(tab, "TabWindowClass"), "http://frame-tab/", "", false);
  ASSERT_TRUE(Find("ie", "11"));
  EXPECT_EQ(window, content);

  FakeWindows none;
  windows = none;
  windows.Add(windows.Add(0, "IEFrame"), "Frame Tab");
  EXPECT_FALSE(Find("ie"));
}

TEST_F(DiscoveryTest, IeTabWalkFailsWhenTheContentWindowIsMissingOrSilent) {
  const WindowHandle frame = windows.Add(0, "IEFrame");
  const WindowHandle tab = windows.Add(frame, "TabWindowClass");
  windows.Add(tab, "Shell DocObject View");
  EXPECT_FALSE(Find("ie"));
  ExpectUntouched();

  const WindowHandle content = windows.AddContent(windows.Add(frame, "TabWindowClass"), "x", "", false);
  windows[windows.FindChild(tab, 0, "Shell DocObject View")].visible = false;
  windows[tab].visible = false;
  windows[content].answer = WindowBrowser{static_cast<long>(0x80004005), nullptr};
  windows.SetProcess(frame, 1, "iexplore.exe");  // the last try finds the same silent window
  EXPECT_FALSE(Find("ie"));
  ExpectUntouched();
  EXPECT_EQ(windows.asked, std::vector<WindowHandle>{content}) << "asked once, not twice";
}

TEST_F(DiscoveryTest, SuccessWithoutABrowserServiceEmptiesTheBrowser) {
  const WindowHandle content = windows.AddContent(windows.Add(windows.Add(0, "IEFrame"), "TabWindowClass"),
                                                  "x", "", false);
  windows[content].answer = WindowBrowser{0, nullptr};
  ASSERT_TRUE(Find("ie"));
  EXPECT_EQ(browser, nullptr);
  EXPECT_EQ(window, content);
}

TEST_F(DiscoveryTest, IeBelowSevenWalksTheShellWindowsAndReturnsTheFrame) {
  const WindowHandle frame = windows.Add(0, "IEFrame");
  const auto item = [](std::string url, bool parent, std::optional<WindowHandle> hwnd) {
    return ShellWindowItem{std::make_shared<TabBrowser>(url), parent, url, hwnd};
  };
  windows.shellWindows = std::vector<ShellWindowItem>{
      ShellWindowItem{nullptr, true, "http://not-a-browser/", frame},
      item("http://no-parent/", false, frame),
      item("file:///c:/page.html", true, frame),
      item("about:blank", true, frame),
      item("http://other-frame/", true, frame + 100),
      item("http://no-hwnd/", true, std::nullopt),
      item("https://secure/", true, frame),
      item("http://later/", true, frame),
  };
  ASSERT_TRUE(Find("ie", "6"));
  EXPECT_EQ(UrlOf(browser), "https://secure/");
  EXPECT_EQ(window, frame);

  windows.shellWindows->resize(6);
  EXPECT_FALSE(Find("ie", "6"));
  EXPECT_EQ(window, frame);
}

TEST_F(DiscoveryTest, AShellWindowsFailureIsAFailedDiscoveryNotAnException) {
  windows.Add(0, "IEFrame");
  windows.shellWindowsThrow = true;
  EXPECT_FALSE(Find("ie", "6"));
  ExpectUntouched();
  windows.shellWindowsThrow = false;  // and a collection that cannot be created
  EXPECT_FALSE(Find("ie", "6"));
}

TEST_F(DiscoveryTest, UnknownKindsAndNoChoiceFindNothing) {
  windows.AddContent(windows.Add(windows.Add(0, "IEFrame"), "TabWindowClass"), "x", "", false);
  EXPECT_FALSE(Find(""));
  EXPECT_FALSE(Find("IE"));
  EXPECT_FALSE(Find("chrome"));
  ExpectUntouched();
}

TEST_F(DiscoveryTest, QihooPlainWalkThenContainersByExeThenSandbox) {
  const WindowHandle frame = windows.Add(0, "360se_Frame");
  const WindowHandle x = windows.Add(windows.Add(frame, "Xwnd"), "Xwnd");
  const WindowHandle container = windows.Add(x, "Container", false);
  const WindowHandle first = windows.AddContent(container, "http://frame/");
  ASSERT_TRUE(Find("360"));
  EXPECT_EQ(window, first);

  FakeWindows sandboxed;
  windows = sandboxed;
  const WindowHandle foreign = windows.Add(0, "Sandbox:360SEBox:Container");
  windows.SetProcess(foreign, 7, "C:\\Other\\other.exe");
  windows.AddContent(foreign, "http://foreign/", "Sandbox:360SEBox:");
  const WindowHandle boxed = windows.Add(0, "Sandbox:360SEBox:Container");
  windows.SetProcess(boxed, 8, "C:\\Program Files\\360\\360SE.EXE");
  const WindowHandle content = windows.AddContent(boxed, "http://sandboxed/", "Sandbox:360SEBox:");
  ASSERT_TRUE(Find("360"));
  EXPECT_EQ(UrlOf(browser), "http://sandboxed/");
  EXPECT_EQ(window, content);
}

TEST_F(DiscoveryTest, ContentTailFallsBackToTheParentWithoutAnEmbedding) {
  const WindowHandle plain = windows.Add(0, "Container");
  windows.SetProcess(plain, 9, "360se.exe");
  const WindowHandle content = windows.AddContent(plain, "http://no-embedding/", "", false);
  ASSERT_TRUE(Find("360"));
  EXPECT_EQ(window, content);
}

// The X-frame tree of 360 and TheWorld: MDI > MultiTabBrowser > Browser windows.
WindowHandle AddXFrame(FakeWindows& windows, const std::string& q, bool browserVisible,
                       const std::string& url) {
  const WindowHandle frame = windows.Add(0, q + "XFrame_Wnd");
  const auto titled = [&](WindowHandle parent, const char* title, bool visible) {
    const WindowHandle decoy = windows.Add(parent, q + "XCtrl_Wnd");
    windows[decoy].title = "decoy";
    const WindowHandle h = windows.Add(parent, q + "XCtrl_Wnd", visible);
    windows[h].title = title;
    return h;
  };
  const WindowHandle tabs = titled(titled(frame, "MDI", false), "MultiTabBrowser", false);
  const WindowHandle hidden = titled(tabs, "Browser", false);
  windows.AddContent(hidden, url + "hidden", q);
  const WindowHandle shown = titled(tabs, "Browser", browserVisible);
  return windows.AddContent(shown, url, q);
}

TEST_F(DiscoveryTest, XFrameWalkTakesTheFirstVisibleBrowserTab) {
  const WindowHandle content = AddXFrame(windows, "Sandbox:360SEBox:", true, "http://x360/");
  AddXFrame(windows, "", true, "http://plain/");
  ASSERT_TRUE(Find("360"));
  EXPECT_EQ(window, content);
  ASSERT_TRUE(Find("world"));
  EXPECT_EQ(UrlOf(browser), "http://plain/");
}

TEST_F(DiscoveryTest, XFrameWithEveryBrowserHiddenFailsWithoutAskingAnyWindow) {
  AddXFrame(windows, "", false, "http://x/");
  EXPECT_FALSE(Find("world"));
  EXPECT_TRUE(windows.asked.empty());
  ExpectUntouched();
}

TEST_F(DiscoveryTest, WorldTriesItsWalksInOrder) {
  const WindowHandle frame = windows.Add(0, "TheWorld_Frame");
  const WindowHandle x = windows.Add(windows.Add(frame, "Xwnd"), "Xwnd");
  windows.AddContent(windows.Add(x, "Container", false), "http://hidden/");
  const WindowHandle second = windows.AddContent(windows.Add(x, "Container"), "http://xwnd/");
  AddXFrame(windows, "", true, "http://xframe/");
  ASSERT_TRUE(Find("world"));
  EXPECT_EQ(window, second);

  const WindowHandle own = windows.Add(0, "Container");
  windows.SetProcess(own, 3, "D:\\TheWorld\\TheWorld.exe");
  const WindowHandle first = windows.AddContent(own, "http://own/");
  ASSERT_TRUE(Find("world"));
  EXPECT_EQ(window, first);
}

TEST_F(DiscoveryTest, WorldMdiWindowThatDoesNotAnswerEndsDiscovery) {
  const WindowHandle mdi =
      windows.Add(windows.Add(windows.Add(0, "TheWorld"), "TheWorld_BrowserWnd"), "TheWorld_BrowserWndMDI");
  const WindowHandle content = windows.AddContent(mdi, "http://mdi/");
  AddXFrame(windows, "", true, "http://xframe/");
  ASSERT_TRUE(Find("world"));
  EXPECT_EQ(window, content);

  windows[content].answer.reset();
  EXPECT_FALSE(Find("world"));
  EXPECT_EQ(windows.asked.back(), content);

  windows[windows.FindChild(mdi, 0, "Shell Embedding")].cls = "gone";
  ASSERT_TRUE(Find("world"));
  EXPECT_EQ(UrlOf(browser), "http://xframe/");
}

TEST_F(DiscoveryTest, MaxthonThreeViewsThenFramesByExeName) {
  const WindowHandle main = windows.Add(0, "Maxthon3Cls_MainFrm");
  windows.AddContent(windows.Add(main, "Maxthon3Cls_BrowserView", false), "http://hidden/");
  const WindowHandle view = windows.Add(main, "Maxthon3Cls_BrowserView");
  const WindowHandle content = windows.AddContent(view, "http://m3/");
  ASSERT_TRUE(Find("maxthon"));
  EXPECT_EQ(window, content);

  FakeWindows styleA;
  windows = styleA;
  const WindowHandle ie = windows.Add(0, "IEFrame", false);
  windows.SetProcess(ie, 1, "iexplore.exe");
  const WindowHandle frame = windows.Add(0, "IEFrame", false);
  windows.SetProcess(frame, 2, "C:\\Maxthon\\Maxthon.exe");
  const WindowHandle mdi = windows.Add(frame, "MDIClient");
  windows.Add(mdi, "Afx:400000:8", false);
  const WindowHandle child = windows.Add(mdi, "SomeChild");
  const WindowHandle a = windows.AddContent(windows.Add(child, "Afx:400000:8"), "http://style-a/");
  ASSERT_TRUE(Find("maxthon"));
  EXPECT_EQ(window, a);

  // The frame is identified, so a missing content window ends discovery.
  windows[child].visible = false;
  EXPECT_FALSE(Find("maxthon"));
}

TEST_F(DiscoveryTest, MaxthonTwoViewsUnderAChildTheFrameOrTopLevel) {
  const WindowHandle frame = windows.Add(0, "Maxthon2_Frame");
  windows.SetProcess(frame, 5, "maxthon.exe");
  windows.Add(frame, "Toolbar");
  const WindowHandle holder = windows.Add(frame, "Holder");
  windows.AddContent(windows.Add(holder, "Maxthon2_View", false), "http://hidden/");
  const WindowHandle shown = windows.AddContent(windows.Add(holder, "Maxthon2_View"), "http://child/");
  ASSERT_TRUE(Find("maxthon"));
  EXPECT_EQ(window, shown);

  FakeWindows topLevel;
  windows = topLevel;
  const WindowHandle f = windows.Add(0, "Maxthon2_Frame");
  windows.SetProcess(f, 5, "maxthon.exe");
  const WindowHandle foreign = windows.Add(0, "Maxthon2_View");
  windows.SetProcess(foreign, 6, "maxthon.exe");
  windows.AddContent(foreign, "http://foreign-but-topmost/");
  const WindowHandle own = windows.Add(0, "Maxthon2_View");
  windows.SetProcess(own, 5, "maxthon.exe");
  windows.AddContent(own, "http://own/");
  ASSERT_TRUE(Find("maxthon"));
  EXPECT_EQ(UrlOf(browser), "http://foreign-but-topmost/");

  // No visible view of the frame's process: the views are looked for under the frame,
  // then the topmost one, and a hidden one has no visible sibling there.
  windows[foreign].visible = false;
  windows[own].visible = false;
  const BrowserPtr before = browser;
  EXPECT_FALSE(Find("maxthon"));
  EXPECT_EQ(browser, before);
}

TEST_F(DiscoveryTest, TtFixedChainThenTheTencentTravelerWindow) {
  windows.AddContent(windows.Add(0, "TT_WebCtrl", false), "http://hidden/");
  const WindowHandle ctrl = windows.Add(0, "TT_WebCtrl");
  const WindowHandle content = windows.AddContent(ctrl, "http://webctrl/");
  ASSERT_TRUE(Find("tt"));
  EXPECT_EQ(window, content);

  windows[content].answer.reset();
  const WindowHandle impostor = windows.Add(0, "Main");
  windows[impostor].title = "Tencent Traveler";
  windows.SetProcess(impostor, 1, "other.exe");
  const WindowHandle main = windows.Add(0, "Main");
  windows[main].title = "page - Tencent Traveler";
  windows.SetProcess(main, 2, "C:\\TT\\TTRAVELER.EXE");
  windows.Add(windows.Add(main, "Bar"), "Inner");
  const WindowHandle holder = windows.Add(main, "Holder", false);
  const WindowHandle tt = windows.AddContent(windows.Add(holder, "Anything"), "http://tt/");
  ASSERT_TRUE(Find("tt"));
  EXPECT_EQ(window, tt);

  windows[tt].answer.reset();
  windows.AddContent(windows.Add(windows.Add(main, "Later"), "Any"), "http://later/");
  EXPECT_EQ(Find("tt") ? UrlOf(browser) : "", "http://later/");  // the last try: a shown server of the process
}

TEST_F(DiscoveryTest, SogouNeedsTheWholeChainOfTheFirstVisibleControl) {
  windows.AddContent(windows.Add(0, "SE_AxControl", false), "http://hidden/");
  const WindowHandle control = windows.Add(0, "SE_AxControl");
  const WindowHandle content = windows.AddContent(control, "http://sogou/");
  ASSERT_TRUE(Find("sogou"));
  EXPECT_EQ(window, content);

  windows[windows.FindChild(control, 0, "Shell Embedding")].cls = "Other";
  windows.AddContent(control, "http://no-embedding/", "", false);
  EXPECT_FALSE(Find("sogou"));
}

// A key typed on an IE-engine page is a command only while its active element takes none.
TEST(IeFocus, FieldsTakeTypingAndEverythingElseIsThePage) {
  const std::pair<ActiveElement, bool> cases[] = {
      {{"BODY", ""}, false}, {{"A", ""}, false}, {{"INPUT", "submit"}, false}, {{"INPUT", "CheckBox"}, false},
      {{"INPUT", ""}, true}, {{"INPUT", "search"}, true}, {{"INPUT", "new-kind"}, true},
      {{"TEXTAREA", ""}, true}, {{"select", ""}, true}, {{"DIV", "", true}, true}};
  for (const auto& [element, typing] : cases) EXPECT_EQ(ActiveElementTakesTyping(element), typing) << element.tagName;
}

TEST(ExeName, ReducedToTheLowerCaseFileName) {
  EXPECT_EQ(ReduceExeName("C:\\Program Files\\TT\\TTraveler.EXE"), "ttraveler.exe");
  EXPECT_EQ(ReduceExeName("/opt/360SE.exe"), "360se.exe");
  EXPECT_EQ(ReduceExeName("浏览器.EXE"), "浏览器.exe");
  EXPECT_EQ(ReduceExeName(""), "");
}

}  // namespace
}  // namespace paginor::test

namespace paginor::test {
namespace {

// What a diagnostic report shows of a walk: its last traced step is where it stopped.
TEST(TracedDiscovery, TheLastTracedStepNamesWhereTheWalkStopped) {
  FakeWindows real;
  FakeFrames frames;
  const WindowHandle frame = real.Add(0, "IEFrame");
  real.Add(real.Add(frame, "TabWindowClass"), "Shell DocObject View");
  TracedWindows traced(real);
  WindowDiscovery discovery(traced, frames, "8");
  BrowserPtr browser;
  WindowHandle window = 0;
  EXPECT_FALSE(discovery.FindBrowserWindow(browser, window, "ie"));
  ASSERT_FALSE(traced.trace().empty());
  EXPECT_EQ(traced.trace().front(), "\"IEFrame\" among top-level windows: " + WindowName(frame));
  // The tab walk stops at the missing content window; the last try over the kind's
  // programs then ends with no more top-level windows to ask.
  const auto& trace = traced.trace();
  EXPECT_NE(std::find_if(trace.begin(), trace.end(),
                         [](const std::string& line) {
                           return line.starts_with("\"Internet Explorer_Server\" under") && line.ends_with(": none");
                         }),
            trace.end());
  EXPECT_TRUE(trace.back().starts_with("\"*\" among top-level windows after ")) << trace.back();
  EXPECT_TRUE(trace.back().ends_with(": none")) << trace.back();
  EXPECT_EQ(ShortTrace({"a", "b", "c", "d", "e", "f"}, 4), (std::vector<std::string>{"a", "b", "… 3 more calls …", "f"}));
}

}  // namespace
}  // namespace paginor::test
