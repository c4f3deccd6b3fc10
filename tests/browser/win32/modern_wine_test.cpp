// paginor-cli.exe with --browser modern against a stand-in for Chromium and Firefox in
// another process: links clicked through their default action, addresses typed into
// the address bar, history keys, and a browser that stops answering.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_process.h"

namespace paginor::test {
namespace {

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

std::vector<std::wstring> Args(std::initializer_list<std::vector<std::wstring>> parts) {
  std::vector<std::wstring> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Discovery drives browsers by their executable's name.
const std::wstring kChrome = L"chrome.exe";
const std::wstring kFirefox = L"firefox.exe";

std::string Turn(const std::wstring& command, DWORD* status) {
  return RunProgram(WinPath(PAGINOR_CLI),
                    {L"turn", command, L"--browser", L"modern", L"--rules", SourceFile("examples/last.pgt")},
                    60000, status);
}

TEST(ModernWine, NextFollowsTheKeywordLinkThroughTheForumAndReportsTheCallsPerLink) {
  FakeBrowserProcess fake(Args({PageArgs("forum1"), PageArgs("forum2"), PageArgs("forum3"),
                                PageArgs("forum4")}),
                          kChrome);
  ASSERT_TRUE(fake.ready());
  for (int run = 0; run < 3; ++run) {
    const std::size_t from = fake.Lines().size();
    DWORD status = 99;
    EXPECT_EQ(Turn(L"next", &status), "接收到指令: 下一页\n    执行指令:[下一页]\n") << run;
    EXPECT_EQ(status, 0u);
    if (run == 0) {
      // forum1 has 15 links; every call of the command crossed into the browser
      // (QueryInterface round trips included).
      const std::size_t calls = Starting(fake.LinesFrom(from), "acc ").size();
      std::printf("modern: %zu accessibility calls for a page of 15 links (%.1f a link)\n", calls,
                  static_cast<double>(calls) / 15.0);
    }
  }
  DWORD status = 99;
  EXPECT_EQ(Turn(L"next", &status), "接收到指令: 下一页\n");
  EXPECT_EQ(Starting(fake.Lines(), "navigated"),
            (std::vector<std::string>{"navigated http://forum.example/thread-1024-1.html",
                                      "navigated http://forum.example/thread-1024-2.html",
                                      "navigated http://forum.example/thread-1024-3.html",
                                      "navigated http://forum.example/thread-1024-4.html"}));
}

// Chromium shows a placeholder until asked as a screen reader asks; a chat program of
// the same window class on top and a docked DevTools each hold a "下一页" of their own.
TEST(ModernWine, ChromiumIsWokenAndOnlyTheBrowsersPageIsTurnedPastDevToolsAndAnElectronWindow) {
  FakeBrowserProcess chrome(Args({PageArgs("forum1"), PageArgs("forum2"), {L"--devtools", L"1"}}), kChrome);
  ASSERT_TRUE(chrome.ready());
  FakeBrowserProcess slack(Args({PageArgs("forum3")}), L"slack.exe");
  ASSERT_TRUE(slack.ready());
  DWORD status = 99;
  EXPECT_EQ(Turn(L"next", &status), "接收到指令: 下一页\n    执行指令:[下一页]\n");
  EXPECT_TRUE(chrome.WaitForLine("navigated http://forum.example/thread-1024-2.html", 0, 10000));
  const std::vector<std::string> lines = chrome.Lines();
  const auto on = std::find(lines.begin(), lines.end(), "web content on");
  EXPECT_NE(std::find(lines.begin(), on, "honeypot"), on);
  EXPECT_EQ(Starting(chrome.Lines(), "navigated devtools").size(), 0u);
  EXPECT_EQ(Starting(slack.Lines(), "acc ").size(), 0u);
  EXPECT_EQ(Starting(slack.Lines(), "honeypot").size(), 0u);
}

TEST(ModernWine, SpecialRuleClicksTheLinkAndATemplateTypesItsAddressInFirefox) {
  {
    FakeBrowserProcess fake(Args({PageArgs("results1")}), kChrome);
    ASSERT_TRUE(fake.ready());
    DWORD status = 99;
    EXPECT_EQ(Turn(L"next", &status),
              "接收到指令: 下一页\n    执行指令,特别处理: http://search.example/results?q=paginor&page=2\n");
    EXPECT_EQ(Starting(fake.Lines(), "address").size(), 0u);
    EXPECT_EQ(Starting(fake.Lines(), "acc action").size(), 1u);
  }
  FakeBrowserProcess fake(
      Args({PageArgs("gallery10"), {L"--class", L"MozillaWindowClass", L"--tree", L"firefox"}}), kFirefox);
  ASSERT_TRUE(fake.ready());
  DWORD status = 99;
  EXPECT_EQ(Turn(L"4", &status),
            "接收到指令: 定位到第4页\n"
            "    执行指令[网址=http://photos.example/]http://photos.example/album.php?id=*&start=计算[($-1)*10]"
            ",转到网址: http://photos.example/album.php?id=42&start=30\n");
  EXPECT_TRUE(fake.WaitForLine("address http://photos.example/album.php?id=42&start=30", 0, 10000));
  Turn(L"back", &status);
  EXPECT_TRUE(fake.WaitForLine("key alt+left", 0, 10000));
}

TEST(ModernWine, ChildrenAreEnumeratedInBatchesToTheLastLinkOfALongPage) {
  FakeBrowserProcess fake({L"--synthetic", L"300", L"--tree", L"firefox"}, kFirefox);
  ASSERT_TRUE(fake.ready());
  DWORD status = 99;
  const std::string out = Turn(L"next", &status);
  EXPECT_NE(out.find("    执行指令:下一页\n"), std::string::npos) << out;
  EXPECT_TRUE(fake.WaitForLine("navigated http://bench.example/next.html (not served)", 0, 10000));
  // 300 paragraphs: a full batch, then the rest.
  EXPECT_EQ(Starting(fake.Lines(), "acc next document").size(), 2u);
  EXPECT_EQ(Starting(fake.Lines(), "acc count").size(), 0u);
  // The root names the tab on show: the background tab's document is never read.
  EXPECT_EQ(Starting(fake.Lines(), "acc navigate client").size(), 1u);
  EXPECT_EQ(Starting(fake.Lines(), "acc role background").size(), 0u);
}

TEST(ModernWine, ARuleOnMarkupIsToldThatTheMarkupIsMadeUpAndTheKeywordStillTurns) {
  FakeBrowserProcess fake(Args({PageArgs("forum2"), PageArgs("forum1")}), kChrome);
  ASSERT_TRUE(fake.ready());
  DWORD status = 99;
  EXPECT_EQ(Turn(L"prev", &status),
            "接收到指令: 上一页\n"
            "    页面未提供源代码,[代码]规则按链接的地址和文字合成的代码匹配\n"
            "    执行指令:[上一页]\n");
  EXPECT_TRUE(fake.WaitForLine("navigated http://forum.example/thread-1024-1.html", 0, 10000));
}

// Trees Chromium served for pages (tests/browser/data/ax): the pager inside <article>,
// <strong>, <em> and <abbr>, after an advertisement frame whose links come first.
TEST(ModernWine, CapturedChromiumTreesTurnAsTheirPages) {
  std::vector<std::wstring> args;
  for (const char* page : {"ax-site/1", "ax-site/2", "ax-site/3"}) {
    args.insert(args.end(), {L"--ax-tree", SourceFile(std::string("tests/browser/data/ax/") + page + ".tsv")});
  }
  FakeBrowserProcess fake(args, kChrome);
  ASSERT_TRUE(fake.ready());
  DWORD status = 99;
  EXPECT_EQ(Turn(L"next", &status), "接收到指令: 下一页\n    执行指令:下一页\n");
  EXPECT_EQ(Turn(L"last", &status), "接收到指令: 末页\n    执行指令:末页\n");
  EXPECT_EQ(Turn(L"prev", &status),
            "接收到指令: 上一页\n    页面未提供源代码,[代码]规则按链接的地址和文字合成的代码匹配\n    执行指令:上一页\n");
  std::string pages;
  for (const std::string& line : Starting(fake.Lines(), "navigated http://news.example.cn/a/")) pages += line[line.size() - 6];
  EXPECT_EQ(pages, "1232");
}

TEST(ModernWine, ABrowserThatStopsAnsweringEndsTheCommandWithinTheTimeout) {
  // Children asked one by one (Chromium) or enumerated (Firefox).
  struct Hang {
    std::vector<std::wstring> args;
    std::string call;
  };
  const std::vector<Hang> hangs = {
      {{L"--hang-on", L"acc count document"}, "acc count document"},
      {{L"--tree", L"firefox", L"--hang-on", L"acc next document"}, "acc next document"}};
  for (const Hang& hang : hangs) {
    FakeBrowserProcess fake(Args({PageArgs("forum1"), hang.args, {L"--hang-ms", L"60000"}}), kChrome);
    ASSERT_TRUE(fake.ready());
    const ULONGLONG start = GetTickCount64();
    DWORD status = 99;
    const std::string out = Turn(L"next", &status);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(out.rfind("接收到指令: 下一页\n", 0), 0u);
    EXPECT_EQ(out.find("执行指令"), std::string::npos);
    EXPECT_LT(took, 20000u);
    EXPECT_EQ(Starting(fake.Lines(), hang.call).size(), 1u) << hang.call;
    EXPECT_EQ(Starting(fake.Lines(), "acc action").size(), 0u);
  }
}

}  // namespace
}  // namespace paginor::test
