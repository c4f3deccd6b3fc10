// The Windows layer against the test browser in another process: discovery of each
// browser kind, documents, links, clicks, navigations, mouse messages and frames, a
// browser that stops answering and one that vanishes, and paginor-cli.exe end to end.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser/win32/call_watchdog.h"
#include "browser/win32/com_util.h"
#include "browser/win32/win32_browser.h"
#include "engine/definition_file.h"
#include "engine/executor.h"
#include "engine/text_file.h"
#include "fake_process.h"

namespace paginor::test {
namespace {

using win32::Utf8;

constexpr const char* kForum1 = "http://forum.example/thread-1024-1.html";
constexpr const char* kForum2 = "http://forum.example/thread-1024-2.html";
constexpr const char* kForum3 = "http://forum.example/thread-1024-3.html";

std::wstring Chain(const std::wstring& top, const std::wstring& content) {
  return top + L"/Shell Embedding/Shell DocObject View/Internet Explorer_Server" + content;
}
const std::wstring kIeTab = L"IEFrame/TabWindowClass/Shell DocObject View/Internet Explorer_Server";

std::vector<std::wstring> Args(std::initializer_list<std::vector<std::wstring>> parts) {
  std::vector<std::wstring> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class RecordingLog : public OperationLog {
 public:
  void Append(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

std::string Source(const std::string& relative) { return Utf8(SourceFile(relative)); }

DefinitionSets Rules(const std::string& file) {
  return ParseDefinitionText(ReadTextFile(Source(file)).value_or(""));
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

std::string ClassOf(WindowHandle window) {
  wchar_t name[256] = {};
  GetClassNameW(reinterpret_cast<HWND>(window), name, 256);
  return Utf8(name);
}

class BrowserWine : public ::testing::Test {
 protected:
  bool Find(std::string_view kind, const std::string& ieVersion = "8") {
    browser.reset();
    window = 0;
    return win32::MakeWin32BrowserDiscovery(ieVersion)->FindBrowserWindow(browser, window, kind);
  }
  std::string Url() { return browser ? browser->LocationUrl().value_or("?") : "no browser"; }

  // One command as the tray program runs it, on the "ie" choice unless told otherwise.
  void Command(std::string_view command, ExecutorInputs inputs = {}) {
    inputs.activeSets = &sets;
    executor.ReceiveCommand(command, Origin::Keyboard, inputs);
  }

  win32::ComApartment apartment;
  BrowserPtr browser;
  WindowHandle window = 0;
  DefinitionSets sets;
  std::unique_ptr<BrowserDiscovery> discovery = win32::MakeWin32BrowserDiscovery("8");
  std::unique_ptr<WindowMessenger> messenger = win32::MakeWin32WindowMessenger();
  RecordingLog log;
  CommandExecutor executor{*discovery, *messenger, log};
};

TEST_F(BrowserWine, IeTabWalkTakesTheFirstVisibleTabAndSkipsAHiddenOne) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"),
                                {L"--window", L"IEFrame/TabWindowClass#1!/Shell DocObject View/Internet Explorer_Server@0",
                                 L"--window", L"IEFrame/TabWindowClass#2/Shell DocObject View/Internet Explorer_Server@1"}}));
  ASSERT_TRUE(fake.ready());
  ASSERT_TRUE(Find("ie"));
  EXPECT_EQ(Url(), kForum2);
  EXPECT_EQ(ClassOf(window), "Internet Explorer_Server");
  EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(window)));
  const auto lines = fake.Lines();
  EXPECT_EQ(Count(lines, std::string("WM_HTML_GETOBJECT ") + kForum2), 1u);
  EXPECT_EQ(Count(lines, std::string("WM_HTML_GETOBJECT ") + kForum1), 0u);
}

TEST_F(BrowserWine, EachKindIsFoundThroughItsOwnWindows) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"), PageArgs("forum3"),
                                PageArgs("forum4"), PageArgs("results1"), PageArgs("gallery10"),
                                {L"--window", Chain(L"SE_AxControl", L"@0"),
                                 L"--window", Chain(L"TT_WebCtrl", L"@1"),
                                 L"--window", Chain(L"Maxthon3Cls_MainFrm/Maxthon3Cls_BrowserView", L"@2"),
                                 L"--window", Chain(L"TheWorld_Frame/Xwnd/Xwnd/Container", L"@3"),
                                 L"--window", Chain(L"360se_Frame/Xwnd/Xwnd/Container", L"@4"),
                                 L"--window", kIeTab + L"@5"}}));
  ASSERT_TRUE(fake.ready());
  const std::pair<const char*, std::string> expected[] = {
      {"sogou", kForum1}, {"tt", kForum2}, {"maxthon", kForum3},
      {"world", "http://forum.example/thread-1024-4.html"},
      {"360", "http://search.example/results?q=paginor&page=1"},
      {"ie", "http://photos.example/album.php?id=42&start=10"}};
  for (const auto& [kind, url] : expected) {
    ASSERT_TRUE(Find(kind)) << kind;
    EXPECT_EQ(Url(), url) << kind;
    EXPECT_EQ(ClassOf(window), "Internet Explorer_Server") << kind;
  }
}

TEST_F(BrowserWine, ExeNamesAndPrefixesFindSandboxedQihooAndTencentTraveler) {
  FakeBrowserProcess sandboxed(
      Args({PageArgs("forum1"),
            {L"--window", L"Sandbox:360SEBox:Container/Sandbox:360SEBox:Shell Embedding/"
                          L"Sandbox:360SEBox:Shell DocObject View/Sandbox:360SEBox:Internet Explorer_Server@0"}}),
      L"360se.exe");
  ASSERT_TRUE(sandboxed.ready());
  ASSERT_TRUE(Find("360"));
  EXPECT_EQ(Url(), kForum1);
  EXPECT_EQ(ClassOf(window), "Sandbox:360SEBox:Internet Explorer_Server");
  sandboxed.Kill();

  FakeBrowserProcess traveler(
      Args({PageArgs("forum2"), {L"--window", Chain(L"TTMain=论坛 - Tencent Traveler/Holder/Inner", L"@0")}}),
      L"TTraveler.EXE");
  ASSERT_TRUE(traveler.ready());
  ASSERT_TRUE(Find("tt"));
  EXPECT_EQ(Url(), kForum2);
}

TEST_F(BrowserWine, AMissingContentWindowLeavesTheLastTabAsItWas) {
  {
    FakeBrowserProcess fake(Args({PageArgs("forum1"), {L"--window", kIeTab + L"@0"}}));
    ASSERT_TRUE(fake.ready());
    Command("first");
  }
  const BrowserPtr before = executor.curBrowser();
  const WindowHandle beforeWindow = executor.curBrowserWnd();
  ASSERT_NE(before, nullptr);
  FakeBrowserProcess empty(Args({PageArgs("forum1"), {L"--window", L"IEFrame/TabWindowClass/Shell DocObject View"}}));
  ASSERT_TRUE(empty.ready());
  log.lines.clear();
  Command("next");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"接收到指令: 下一页", "没有发现目标浏览器:ie"}));
  EXPECT_EQ(executor.curBrowser(), before);
  EXPECT_EQ(executor.curBrowserWnd(), beforeWindow);
}

TEST_F(BrowserWine, KeywordHitReadsLinksInDocumentOrderThenWritesTargetAndClicks) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"), {L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  Command("next");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"接收到指令: 下一页", "    执行指令:[下一页]"}));
  // The hit's text is read once more, for the log line.
  const auto lines = fake.Lines();
  EXPECT_EQ(Starting(lines, "links item"),
            (std::vector<std::string>{"links item 0", "links item 1", "links item 2", "links item 3"}));
  EXPECT_EQ(Starting(lines, "link "),
            (std::vector<std::string>{"link 0 GetIDsOfNames outerText", "link 0 get outerText",
                                      "link 1 get outerText", "link 2 get outerText",
                                      "link 3 get outerText", "link 3 get outerText",
                                      "link 3 GetIDsOfNames target",
                                      "link 3 put target _self", "link 3 GetIDsOfNames click",
                                      "link 3 click"}));
  EXPECT_EQ(Count(lines, std::string("* tab0 shows ") + kForum2), 1u);
}

TEST_F(BrowserWine, ImageMapAreasAreReadWithTheirOwnNumbers) {
  FakeBrowserProcess fake(Args({PageArgs("imagemap"), {L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  sets = Rules("tests/browser/data/imagemap.pgt");
  Command("next");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"接收到指令: 下一页", "    执行指令:[代码]id=next-area"}));
  const auto lines = fake.Lines();
  EXPECT_EQ(Starting(lines, "links tags"), std::vector<std::string>{"links tags AREA"});
  EXPECT_EQ(Count(lines, "link 3 click"), 1u);
  EXPECT_EQ(Starting(lines, "link 2 GetIDsOfNames"),
            (std::vector<std::string>{"link 2 GetIDsOfNames outerText", "link 2 GetIDsOfNames outerHTML"}));
  EXPECT_EQ(Starting(lines, "link 0 GetIDsOfNames").size(), 2u);
  EXPECT_EQ(Starting(lines, "link 1 GetIDsOfNames").size(), 0u);
  EXPECT_EQ(Starting(lines, "link 3 GetIDsOfNames"),
            (std::vector<std::string>{"link 3 GetIDsOfNames target", "link 3 GetIDsOfNames click"}));
  EXPECT_EQ(Starting(lines, "link 3 Invoke unknown").size(), 0u);
}

TEST_F(BrowserWine, SpecialRuleAndUrlTemplateNavigateInTheSameWindow) {
  FakeBrowserProcess fake(Args({PageArgs("results1"), PageArgs("gallery10"),
                                {L"--window", kIeTab + L"@0", L"--window", Chain(L"SE_AxControl", L"@1")}}));
  ASSERT_TRUE(fake.ready());
  sets = Rules("examples/last.pgt");
  Command("next");
  EXPECT_EQ(log.lines.back(), "    执行指令,特别处理: http://search.example/results?q=paginor&page=2");
  ExecutorInputs sogou;
  sogou.browserChoice = 2;
  Command("4", sogou);
  EXPECT_EQ(log.lines.back(),
            "    执行指令[网址=http://photos.example/]http://photos.example/album.php?id=*&start=计算[($-1)*10]"
            ",转到网址: http://photos.example/album.php?id=42&start=30");
  const auto lines = fake.Lines();
  EXPECT_EQ(Starting(lines, "tab"),
            (std::vector<std::string>{
                "tab0 LocationURL", "tab0 Document",
                "tab0 Navigate2 http://search.example/results?q=paginor&page=2 flags 0 target _self",
                "tab1 LocationURL", "tab1 Document",
                "tab1 Navigate2 http://photos.example/album.php?id=42&start=30 flags 0 target _self"}));
}

TEST_F(BrowserWine, FixedPositionPostsItsMouseMessagesToTheContentWindow) {
  FakeBrowserProcess fake(Args({PageArgs("gallery10"), {L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  sets = Rules("examples/last.pgt");
  ExecutorInputs inputs;
  inputs.fixedPositionLines = SplitLines(ReadTextFile(Source("examples/gallery/xy.txt")).value_or(""));
  const std::size_t from = fake.Lines().size();
  Command("next", inputs);
  EXPECT_EQ(log.lines.back(), "    执行指令: 下一页,612,655,http://photos.example/album.php?id=*");
  ASSERT_TRUE(fake.WaitForLine("mouse 0x202 612 655 wparam 1 content", from, 10000));
  std::vector<std::string> clicks;
  for (const std::string& line : Starting(fake.LinesFrom(from), "mouse ")) {
    if (line.find(" 612 655 ") != std::string::npos || line.find(" 1 1 ") != std::string::npos) {
      clicks.push_back(line);
    }
  }
  EXPECT_EQ(clicks, (std::vector<std::string>{"mouse 0x201 1 1 wparam 1 content",
                                              "mouse 0x200 612 655 wparam 0 content",
                                              "mouse 0x201 612 655 wparam 1 content",
                                              "mouse 0x202 612 655 wparam 1 content"}));
}

TEST_F(BrowserWine, FramesAreListedWithAQuestionMarkForAPlugIn) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"), PageArgs("forum3"),
                                {L"--embed", L"0:1,2,plugin", L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  ASSERT_TRUE(Find("ie"));
  EXPECT_EQ(win32::ListFrames(browser),
            (std::vector<std::string>{std::string("1    ") + kForum2, std::string("2    ") + kForum3, "?"}));
  EXPECT_EQ(discovery->GetFrameBrowser(2, browser), nullptr);
  EXPECT_EQ(discovery->GetFrameBrowser(3, browser), nullptr);

  ExecutorInputs inputs;
  inputs.framesOption = true;
  inputs.frameIndex = 0;
  Command("next", inputs);
  EXPECT_EQ(Count(fake.Lines(), std::string("* frame1 shows ") + kForum3), 1u);
}

TEST_F(BrowserWine, ABrowserThatDoesNotAnswerFailsWithinTheTimeout) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), {L"--hang-ms", L"20000", L"--window", kIeTab + L"@hang"}}));
  ASSERT_TRUE(fake.ready());
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(Find("ie"));
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_LT(took, 9000u);
  EXPECT_GE(took, 4000u);
  EXPECT_EQ(browser, nullptr);
}

// Wine 8 keeps waiting for the reply after the message filter cancels a call (it
// returns RPC_E_CALL_CANCELED only once the browser answers), so only the outcome is
// checked here, not how soon the command ends.
TEST_F(BrowserWine, ABrowserThatStopsAnsweringMidCommandIsGivenUp) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), {L"--hang-ms", L"3000", L"--hang-on",
                                L"link 2 get outerText", L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  {
    const win32::CallWatchdog watchdog(1000);
    Command("next");
    EXPECT_TRUE(watchdog.gaveUp());
  }
  EXPECT_EQ(log.lines, std::vector<std::string>{"接收到指令: 下一页"});
  EXPECT_EQ(Count(fake.Lines(), "link 3 get outerText"), 0u);
  EXPECT_EQ(Count(fake.Lines(), "link 3 click"), 0u);
}

TEST_F(BrowserWine, AVanishedBrowserFailsItsCallsWithoutCrashing) {
  auto fake = std::make_unique<FakeBrowserProcess>(Args({PageArgs("forum1"), {L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake->ready());
  ASSERT_TRUE(Find("ie"));
  const std::unique_ptr<Document> document = browser->GetDocument();
  ASSERT_NE(document, nullptr);
  const std::unique_ptr<LinkCollection> links = document->Links();
  ASSERT_NE(links, nullptr);
  const std::unique_ptr<LinkElement> link = links->Item(0);
  ASSERT_NE(link, nullptr);
  fake.reset();
  EXPECT_EQ(browser->LocationUrl(), std::nullopt);
  EXPECT_EQ(browser->GetDocument(), nullptr);
  EXPECT_FALSE(browser->Navigate("http://x.example/", "_self"));
  EXPECT_EQ(document->Url(), std::nullopt);
  EXPECT_EQ(links->Length(), std::nullopt);
  EXPECT_EQ(links->Item(1), nullptr);
  EXPECT_EQ(link->OuterText(), std::nullopt);
  EXPECT_FALSE(link->Click());
  EXPECT_EQ(win32::ListFrames(browser), std::vector<std::string>{});
  Command("next");
  EXPECT_EQ(log.lines.back(), "没有发现目标浏览器:ie");
}

TEST_F(BrowserWine, CliTurnNextWalksTheForumToItsLastPage) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"), PageArgs("forum3"),
                                PageArgs("forum4"), {L"--window", kIeTab + L"@0"}}));
  ASSERT_TRUE(fake.ready());
  const std::wstring cli = WinPath(PAGINOR_CLI);
  const std::vector<std::wstring> args = {L"turn", L"next", L"--browser", L"ie", L"--rules",
                                          SourceFile("examples/last.pgt")};
  for (int run = 0; run < 3; ++run) {
    DWORD status = 99;
    EXPECT_EQ(RunProgram(cli, args, 60000, &status), "接收到指令: 下一页\n    执行指令:[下一页]\n") << run;
    EXPECT_EQ(status, 0u);
  }
  DWORD status = 99;
  EXPECT_EQ(RunProgram(cli, args, 60000, &status), "接收到指令: 下一页\n");
  EXPECT_EQ(Starting(fake.Lines(), "* tab0 shows"),
            (std::vector<std::string>{std::string("* tab0 shows ") + kForum2, std::string("* tab0 shows ") + kForum3,
                                      "* tab0 shows http://forum.example/thread-1024-4.html"}));
  EXPECT_EQ(RunProgram(cli, {L"turn", L"next", L"--browser", L"opera"}, 60000, &status).find("unknown browser"),
            std::string("paginor-cli: ").size());
  EXPECT_EQ(status, 2u);
}

TEST(IEVersionWine, ReadFromTheRegistryAsDigits) {
  const std::string version = win32::DetectIEVersion();
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(version.find_first_not_of("0123456789"), std::string::npos) << version;
}

}  // namespace
}  // namespace paginor::test
