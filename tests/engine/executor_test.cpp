#include "engine/executor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <new>

#include "engine/fakes.h"

namespace paginor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::BrowserRecord;
using testing::FakeBrowser;
using testing::FakeBrowserData;
using testing::FakeDiscovery;
using testing::FakeLinkElement;
using testing::FakeLinkData;
using testing::FakeMessenger;
using testing::MakeLink;
using testing::MakePage;
using testing::RecordingLog;

constexpr const char* kSite = "http://s.example/a/p2.html";
constexpr const char* kNextXyLine = "下一页,100,200,http://s.example/*";

// The fake discovery, able also to raise (scribbling on its outputs first) or to
// succeed without a browser object, as the platform may report.
class TestDiscovery : public FakeDiscovery {
 public:
  enum class Mode { Fake, Raise, Empty };
  Mode mode = Mode::Fake;
  bool framesRaise = false;

  bool FindBrowserWindow(BrowserPtr& out, WindowHandle& wnd, std::string_view kind) override {
    if (mode == Mode::Fake) return FakeDiscovery::FindBrowserWindow(out, wnd, kind);
    out = nullptr;
    wnd = 0x2000;
    if (mode == Mode::Raise) throw std::bad_alloc();
    return true;
  }
  BrowserPtr GetFrameBrowser(int index, const BrowserPtr& of) override {
    if (framesRaise) throw std::bad_alloc();
    return FakeDiscovery::GetFrameBrowser(index, of);
  }
};

// A browser whose every call raises, as a wrapper around a vanished process might.
class ThrowingBrowser : public Browser {
 public:
  std::optional<std::string> LocationUrl() override { throw std::bad_alloc(); }
  bool GoBack() override { throw std::bad_alloc(); }
  bool GoForward() override { throw std::bad_alloc(); }
  std::unique_ptr<Document> GetDocument() override { throw std::bad_alloc(); }
  bool Navigate(std::string_view, std::string_view) override { throw std::bad_alloc(); }
};

// A link whose reads or actions raise.
class ThrowingLink : public LinkElement {
 public:
  bool throwOnRead = true;
  std::optional<std::string> OuterText() override {
    if (throwOnRead) throw std::bad_alloc();
    return "下一页";
  }
  std::optional<std::string> OuterHtml() override { return OuterText(); }
  std::unique_ptr<LinkElement> ParentElement() override { return nullptr; }
  std::optional<std::string> Href() override { return std::nullopt; }
  bool Click() override { throw std::bad_alloc(); }
  bool SetTarget(std::string_view) override { throw std::bad_alloc(); }
};

// A page whose link collection is written for the test: what it reports and hands out.
class ScriptedPage : public Browser, public Document, public LinkCollection {
 public:
  std::optional<long> length;
  std::function<std::unique_ptr<LinkElement>(long)> item;
  long itemCalls = 0;
  std::shared_ptr<BrowserRecord> record = std::make_shared<BrowserRecord>();

  std::optional<std::string> LocationUrl() override { return kSite; }
  bool GoBack() override { return false; }
  bool GoForward() override { return false; }
  std::unique_ptr<Document> GetDocument() override { return std::make_unique<DocumentView>(*this); }
  bool Navigate(std::string_view url, std::string_view frame) override {
    record->navigations.emplace_back(url, frame);
    return true;
  }
  std::unique_ptr<LinkCollection> Links() override { return std::make_unique<LinksView>(*this); }
  std::optional<std::string> Url() override { return kSite; }
  std::optional<long> Length() override { return length; }
  std::unique_ptr<LinkElement> Item(long index) override {
    ++itemCalls;
    return item(index);
  }

 private:
  struct DocumentView : Document {
    explicit DocumentView(ScriptedPage& p) : page(p) {}
    std::unique_ptr<LinkCollection> Links() override { return page.Links(); }
    std::optional<std::string> Url() override { return page.Url(); }
    ScriptedPage& page;
  };
  struct LinksView : LinkCollection {
    explicit LinksView(ScriptedPage& p) : page(p) {}
    std::optional<long> Length() override { return page.Length(); }
    std::unique_ptr<LinkElement> Item(long index) override { return page.Item(index); }
    ScriptedPage& page;
  };
};

class ThrowingLog : public OperationLog {
 public:
  void Append(std::string_view) override { throw std::bad_alloc(); }
};

class ExecutorTest : public ::testing::Test {
 protected:
  ExecutorTest() { inputs.activeSets = &sets; }

  std::shared_ptr<FakeBrowserData> Show(std::shared_ptr<FakeBrowserData> page) {
    discovery.browser = std::make_shared<FakeBrowser>(page);
    return page;
  }
  std::shared_ptr<FakeBrowserData> ShowLinks(std::vector<std::shared_ptr<FakeLinkData>> links) {
    return Show(MakePage(kSite, std::move(links)));
  }
  void Run(std::string_view command, Origin origin = Origin::Keyboard) {
    executor.ReceiveCommand(command, origin, inputs);
  }
  RuleSet& Set(SetIndex i) { return sets[i]; }
  std::vector<std::string> Actions() const { return {log.lines.begin() + 1, log.lines.end()}; }

  TestDiscovery discovery;
  FakeMessenger messenger;
  RecordingLog log;
  CommandExecutor executor{discovery, messenger, log};
  DefinitionSets sets;
  ExecutorInputs inputs;
};

// --- Receipt and discovery ---

TEST_F(ExecutorTest, EveryCommandIsReceiptedWithItsDisplayName) {
  discovery.foundKind = "none";
  for (const char* command : {"prev", "next", "first", "last", "back", "forward", "12"}) {
    Run(command);
  }
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 上一页", "没有发现目标浏览器:ie", "接收到指令: 下一页",
                                     "没有发现目标浏览器:ie", "接收到指令: 首页", "没有发现目标浏览器:ie",
                                     "接收到指令: 末页", "没有发现目标浏览器:ie", "接收到指令: 浏览器回退",
                                     "没有发现目标浏览器:ie", "接收到指令: 浏览器前进",
                                     "没有发现目标浏览器:ie", "接收到指令: 定位到第12页",
                                     "没有发现目标浏览器:ie"));
}

TEST_F(ExecutorTest, DiscoveryAsksForTheChosenKind) {
  ShowLinks({MakeLink("下一页")});
  inputs.browserChoice = 5;
  Run("next");
  EXPECT_THAT(discovery.askedKinds, ElementsAre("maxthon"));
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "没有发现目标浏览器:maxthon"));
}

TEST_F(ExecutorTest, NoBrowserChosenFindsNothing) {
  auto link = MakeLink("下一页");
  ShowLinks({link});
  inputs.browserChoice = -1;
  Run("next");
  EXPECT_THAT(discovery.askedKinds, IsEmpty());
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "没有发现目标浏览器:"));
  EXPECT_EQ(link->record->clicks, 0);
}

TEST_F(ExecutorTest, FailedDiscoveryLeavesTheLastTabAsItWas) {
  ShowLinks({});
  Run("12");
  const BrowserPtr tab = executor.curBrowser();
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(executor.curBrowserWnd(), 0x1000u);
  EXPECT_EQ(executor.curURL(), kSite);

  discovery.browser = nullptr;
  discovery.window = 0x3000;
  Run("12");
  EXPECT_EQ(executor.curBrowser(), tab);
  EXPECT_EQ(executor.curBrowserWnd(), 0x1000u);
  EXPECT_EQ(executor.curURL(), kSite);
  EXPECT_EQ(log.lines.back(), "没有发现目标浏览器:ie");
}

TEST_F(ExecutorTest, RaisingDiscoveryCountsAsNotFoundAndKeepsTheTab) {
  ShowLinks({});
  Run("12");
  const BrowserPtr tab = executor.curBrowser();
  ASSERT_NE(tab, nullptr);

  discovery.mode = TestDiscovery::Mode::Raise;
  EXPECT_NO_THROW(Run("next", Origin::Mouse));
  EXPECT_EQ(executor.curBrowser(), tab);
  EXPECT_EQ(executor.curBrowserWnd(), 0x1000u);
  EXPECT_EQ(log.lines.back(), "没有发现目标浏览器:ie");
}

TEST_F(ExecutorTest, DiscoveryWithAnEmptyBrowserObjectEndsSilently) {
  ShowLinks({MakeLink("下一页")});
  Run("12");
  discovery.mode = TestDiscovery::Mode::Empty;
  inputs.fixedPositionLines = {kNextXyLine};
  inputs.framesOption = true;
  inputs.frameIndex = 0;
  log.lines.clear();
  for (const char* command : {"next", "back", "forward", "7"}) Run(command);
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "接收到指令: 浏览器回退",
                                     "接收到指令: 浏览器前进", "接收到指令: 定位到第7页"));
  EXPECT_EQ(executor.curBrowser(), nullptr);
  EXPECT_EQ(executor.curBrowserWnd(), 0x2000u);
  EXPECT_EQ(executor.curURL(), "");
  EXPECT_THAT(messenger.posted, IsEmpty());
}

// --- Link stage: actions and log lines ---

TEST_F(ExecutorTest, KeywordMatchSetsTargetThenClicksAndLogsTheLinkText) {
  auto one = MakeLink("1");
  auto next = MakeLink(" [ 下一页 ]\r\n");
  ShowLinks({one, next});
  Run("next");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "    执行指令:[ 下一页 ]"));
  EXPECT_EQ(one->record->clicks, 0);
  EXPECT_EQ(next->record->clicks, 1);
  EXPECT_THAT(next->record->targets, ElementsAre("_self"));
}

TEST_F(ExecutorTest, KeywordLogLineKeepsToOneLine) {
  ShowLinks({MakeLink("Next\r\n\t&gt;&gt;")});
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:Next &gt;&gt;"));
}

TEST_F(ExecutorTest, KeywordMatchClicksEvenWhenTheTargetCannotBeWritten) {
  auto next = MakeLink("下一页");
  next->targetFails = true;
  ShowLinks({next});
  Run("next");
  EXPECT_EQ(next->record->clicks, 1);
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:下一页"));
}

TEST_F(ExecutorTest, PlainRuleLogsTheSetLineWithoutSeparator) {
  auto link = MakeLink("第二卷 下一章", "http://s.example/a/p3.html");
  ShowLinks({MakeLink("目录"), link});
  Set(SetIndex::Next) = {"# 小说", "*下一章"};
  Run("next");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "    执行指令*下一章"));
  EXPECT_EQ(link->record->clicks, 1);
  EXPECT_THAT(link->record->targets, ElementsAre("_self"));  // a rule link's own target would open a window
}

TEST_F(ExecutorTest, RuleLineIsLoggedExactlyAsStored) {
  auto link = MakeLink("Continue");
  ShowLinks({link});
  Set(SetIndex::Next) = {"  *CONTINUE "};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令  *CONTINUE "));
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, CodeRuleLogsWithColon) {
  auto link = MakeLink("›");
  link->outerHtml = "<a class=\"next\" href=\"p3.html\">›</a>";
  ShowLinks({MakeLink("‹"), link});
  Set(SetIndex::Next) = {"[代码]class=next"};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:[代码]class=next"));
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, CodeRuleOnMadeUpMarkupIsToldOnceAndStillRuns) {
  auto link = MakeLink("›", "http://bbs.example/p3.html");
  link->outerHtml = "<a href=\"http://bbs.example/p3.html\">›</a>";
  auto page = ShowLinks({MakeLink("‹"), link});
  page->document->servesMarkup = false;
  Set(SetIndex::Next) = {"[代码]p3.html"};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    页面未提供源代码,[代码]规则按链接的地址和文字合成的代码匹配",
                                     "    执行指令:[代码]p3.html"));
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, MadeUpMarkupIsNotToldWithoutACodeRuleOrWithRealMarkup) {
  ShowLinks({MakeLink("续篇")})->document->servesMarkup = false;
  Set(SetIndex::Next) = {"*续"};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令*续"));

  log.lines.clear();
  ShowLinks({MakeLink("下一页")});
  Set(SetIndex::Next) = {"[代码]nothing-here"};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:下一页"));
}

TEST_F(ExecutorTest, PageNumberRuleLogsTheStoredLine) {
  auto link = MakeLink("跳到第7页");
  ShowLinks({MakeLink("第6页"), link});
  Set(SetIndex::Page) = {"*第$页"};
  Run("7");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 定位到第7页", "    执行指令*第$页"));
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, SpecialRuleNavigatesTheActingBrowserInItsOwnFrame) {
  // A text the keyword lists do not know, else the keyword would click first.
  auto link = MakeLink("继续下一页", "/p3.html");
  auto page = ShowLinks({link});
  Set(SetIndex::Next) = {"[特别=http://s.example/]*下一页"};
  Run("next");
  EXPECT_THAT(log.lines,
              ElementsAre("接收到指令: 下一页", "    执行指令,特别处理: http://s.example/p3.html"));
  EXPECT_THAT(page->record->navigations,
              ElementsAre(std::pair<std::string, std::string>{"http://s.example/p3.html", "_self"}));
  EXPECT_EQ(link->record->clicks, 0);
}

TEST_F(ExecutorTest, SpecialRuleOnALinkWithoutAddressEndsTheCommandQuietly) {
  auto link = MakeLink("继续下一页");
  link->href = std::nullopt;
  auto keyword = MakeLink("下一页");
  auto page = ShowLinks({link, keyword});
  Set(SetIndex::Next) = {"[特别=http://s.example/]*继续"};
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页"));
  EXPECT_THAT(page->record->navigations, IsEmpty());
  EXPECT_EQ(link->record->clicks, 0);
  EXPECT_EQ(keyword->record->clicks, 0);
  EXPECT_THAT(messenger.posted, IsEmpty());
}

// A failed action still means the command found its link: no fallback follows.
TEST_F(ExecutorTest, FailedActionsEndTheCommandAsFound) {
  inputs.fixedPositionLines = {kNextXyLine};

  auto clickFails = MakeLink("下一页");
  clickFails->clickFails = true;
  ShowLinks({clickFails, MakeLink("下一页")});
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:下一页"));

  log.lines.clear();
  auto special = MakeLink("继续", "http://t.example/3");
  auto page = ShowLinks({special});
  page->navigateFails = true;
  Set(SetIndex::Next) = {"[特别=http://s.example/]继续"};
  Run("next");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令,特别处理: http://t.example/3"));
  EXPECT_THAT(messenger.posted, IsEmpty());
}

TEST_F(ExecutorTest, RaisingActionsAndLogAreSwallowed) {
  auto page = std::make_shared<ScriptedPage>();
  page->length = 1;
  page->item = [](long) {
    auto link = std::make_unique<ThrowingLink>();
    link->throwOnRead = false;  // readable, so it matches; its actions raise
    return link;
  };
  discovery.browser = page;
  inputs.fixedPositionLines = {kNextXyLine};
  EXPECT_NO_THROW(Run("next"));
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:下一页"));
  EXPECT_THAT(messenger.posted, IsEmpty());

  ThrowingLog badLog;
  auto link = MakeLink("下一页");
  ShowLinks({link});
  CommandExecutor other{discovery, messenger, badLog};
  EXPECT_NO_THROW(other.ReceiveCommand("next", Origin::Keyboard, inputs));
  EXPECT_EQ(link->record->clicks, 1);
}

// --- Stage order and tie-breaks ---

TEST_F(ExecutorTest, RuleOnAnEarlyLinkBeatsKeywordOnALaterLink) {
  auto early = MakeLink("继续阅读");
  auto keyword = MakeLink("下一页");
  ShowLinks({early, keyword});
  Set(SetIndex::Next) = {"*继续"};
  Run("next");
  EXPECT_EQ(early->record->clicks, 1);
  EXPECT_EQ(keyword->record->clicks, 0);
  EXPECT_THAT(Actions(), ElementsAre("    执行指令*继续"));
}

TEST_F(ExecutorTest, FirstOfTwoMatchingLinksIsClicked) {
  auto top = MakeLink("下一页");
  auto bottom = MakeLink("下一页");
  ShowLinks({MakeLink("目录"), top, bottom});
  Run("next");
  EXPECT_EQ(top->record->clicks, 1);
  EXPECT_EQ(bottom->record->clicks, 0);
}

TEST_F(ExecutorTest, CommandReadsTheSetOfItsOwn) {
  auto link = MakeLink("往前翻");
  ShowLinks({link});
  Set(SetIndex::Next) = {"往前翻"};
  Set(SetIndex::First) = {"往前翻"};
  Set(SetIndex::Last) = {"往前翻"};
  Set(SetIndex::Page) = {"往前翻"};
  Run("prev");
  EXPECT_EQ(link->record->clicks, 0);
  Set(SetIndex::Prev) = {"往前翻"};
  Run("prev");
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, MissingActiveSetsLeaveTheKeywords) {
  auto link = MakeLink("末页");
  ShowLinks({link});
  inputs.activeSets = nullptr;
  Run("last");
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, TemplateResolvesAPageNumberNoLinkMatched) {
  auto page = Show(MakePage("http://s.example/t-123-5.html", {MakeLink("目录")}));
  const std::string line = "[网址=http://s.example/]http://s.example/t-*-计算[$].html";
  Set(SetIndex::Page) = {line};
  Run("7");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 定位到第7页",
                                     "    执行指令" + line + ",转到网址: http://s.example/t-123-7.html"));
  EXPECT_THAT(page->record->navigations,
              ElementsAre(std::pair<std::string, std::string>{"http://s.example/t-123-7.html", "_self"}));
}

TEST_F(ExecutorTest, TemplateIsNotTriedWhenALinkMatched) {
  auto seven = MakeLink("[7]");
  auto page = Show(MakePage("http://s.example/t-123-5.html", {MakeLink("6"), seven}));
  Set(SetIndex::Page) = {"[网址=http://s.example/]http://s.example/t-*-计算[$].html"};
  Run("7");
  EXPECT_EQ(seven->record->clicks, 1);
  EXPECT_THAT(seven->record->targets, ElementsAre("_self"));
  EXPECT_THAT(Actions(), ElementsAre("    执行指令:[7]"));
  EXPECT_THAT(page->record->navigations, IsEmpty());
}

TEST_F(ExecutorTest, TemplatesServePageNumbersOnly) {
  auto page = Show(MakePage("http://s.example/t-123-5.html", {MakeLink("目录")}));
  const std::string line = "[网址=http://s.example/]http://s.example/t-*-计算[$].html";
  for (auto i : {SetIndex::Prev, SetIndex::Next, SetIndex::First, SetIndex::Last, SetIndex::Page}) {
    Set(i) = {line};
  }
  for (const char* command : {"prev", "next", "first", "last"}) Run(command);
  EXPECT_THAT(page->record->navigations, IsEmpty());
  EXPECT_EQ(log.lines.size(), 4u);
}

TEST_F(ExecutorTest, PageNumberWithNothingApplicableLogsOnlyTheReceipt) {
  Show(MakePage("http://s.example/t-123-5.html", {MakeLink("目录"), MakeLink("3")}));
  Set(SetIndex::Page) = {"[网址=http://t.example/]http://t.example/计算[$]", "*第$页"};
  inputs.fixedPositionLines = {"下一页,100,200,http://s.example/*"};
  Run("12");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 定位到第12页"));
  EXPECT_THAT(messenger.posted, IsEmpty());
}

TEST_F(ExecutorTest, FixedPositionClicksForNextWhenNoLinkMatched) {
  ShowLinks({MakeLink("目录")});
  inputs.fixedPositionLines = {"#指令格式: 动作,x,y,网址模式", "上一页,1,2,http://s.example/*",
                               kNextXyLine};
  Run("next");
  EXPECT_THAT(log.lines,
              ElementsAre("接收到指令: 下一页", std::string("    执行指令: ") + kNextXyLine));
  ASSERT_FALSE(messenger.posted.empty());
  for (const auto& m : messenger.posted) EXPECT_EQ(m.window, 0x1000u);

  log.lines.clear();
  Run("prev");
  EXPECT_THAT(Actions(), ElementsAre("    执行指令: 上一页,1,2,http://s.example/*"));
}

TEST_F(ExecutorTest, FixedPositionIsNotUsedWhenALinkMatchedOrForOtherCommands) {
  auto link = MakeLink("下一页");
  ShowLinks({link});
  inputs.fixedPositionLines = {kNextXyLine, "上一页,1,2,http://s.example/*"};
  Run("next");
  EXPECT_EQ(link->record->clicks, 1);
  ShowLinks({MakeLink("目录")});
  for (const char* command : {"first", "last", "7"}) Run(command);
  EXPECT_THAT(messenger.posted, IsEmpty());
}

// --- Disable lists, history ---

TEST_F(ExecutorTest, DisableListOfTheOriginRefusesTheCommand) {
  auto link = MakeLink("下一页");
  ShowLinks({link});
  inputs.keyboardDisable = {"http://s.example/"};
  Run("next", Origin::Keyboard);
  EXPECT_THAT(log.lines,
              ElementsAre("接收到指令: 下一页", std::string("    指令不执行，对应禁用网址: ") + kSite));
  EXPECT_EQ(link->record->clicks, 0);

  Run("next", Origin::Mouse);
  EXPECT_EQ(link->record->clicks, 1);

  inputs.mouseDisable = {"http://s.example/a"};
  Run("next", Origin::Mouse);
  EXPECT_EQ(link->record->clicks, 1);
  EXPECT_EQ(log.lines.back(), std::string("    指令不执行，对应禁用网址: ") + kSite);
}

TEST_F(ExecutorTest, BackIsRefusedByKeyboardListButNotByEmptyMouseList) {
  auto page = ShowLinks({});
  inputs.keyboardDisable = {"http://s.example/"};
  Run("back", Origin::Keyboard);
  EXPECT_EQ(page->record->backs, 0);
  EXPECT_EQ(log.lines.back(), std::string("    指令不执行，对应禁用网址: ") + kSite);
  log.lines.clear();
  Run("back", Origin::Mouse);
  EXPECT_EQ(page->record->backs, 1);
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 浏览器回退"));
}

TEST_F(ExecutorTest, DisableCommentsAndTrimmedLines) {
  auto link = MakeLink("下一页");
  ShowLinks({link});
  inputs.keyboardDisable = {"#http://s.example/", ""};
  Run("next");
  EXPECT_EQ(link->record->clicks, 1);
  inputs.keyboardDisable = {"  http://s.example/\t"};
  Run("next");
  EXPECT_EQ(link->record->clicks, 1);
  EXPECT_EQ(log.lines.back(), std::string("    指令不执行，对应禁用网址: ") + kSite);
}

TEST_F(ExecutorTest, DisableTestReadsTheBrowserAddressNotTheDocument) {
  auto link = MakeLink("下一页");
  auto page = ShowLinks({link});
  page->locationUrl = "http://other.example/frame-host.html";
  inputs.keyboardDisable = {"http://s.example/"};
  Run("next");
  EXPECT_EQ(link->record->clicks, 1);
  EXPECT_EQ(executor.curURL(), "http://other.example/frame-host.html");

  inputs.keyboardDisable = {"http://other.example/"};
  Run("next");
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, UnreadableAddressClearsCurUrlAndDisablesNothing) {
  auto link = MakeLink("下一页");
  auto page = ShowLinks({link});
  Run("12");
  EXPECT_EQ(executor.curURL(), kSite);
  page->locationUrl = std::nullopt;
  inputs.keyboardDisable = {"http"};
  Run("next");
  EXPECT_EQ(executor.curURL(), "");
  EXPECT_EQ(link->record->clicks, 1);
}

TEST_F(ExecutorTest, BackAndForwardUseHistoryOnly) {
  auto link = MakeLink("下一页");
  auto page = ShowLinks({link});
  inputs.fixedPositionLines = {kNextXyLine};
  Run("back");
  Run("forward");
  EXPECT_EQ(page->record->backs, 1);
  EXPECT_EQ(page->record->forwards, 1);
  EXPECT_EQ(link->record->clicks, 0);
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 浏览器回退", "接收到指令: 浏览器前进"));

  page->historyFails = true;
  page->document = nullptr;
  Run("back");
  EXPECT_EQ(page->record->backs, 1);
  EXPECT_EQ(log.lines.size(), 3u);
}

// --- Failures while reading the page ---

struct PageFault {
  const char* name;
  void (*apply)(FakeBrowserData&);
};

class PageFaultTest : public ExecutorTest, public ::testing::WithParamInterface<PageFault> {};

// Without a page to read, the command ends there: not even a fallback stage runs.
TEST_P(PageFaultTest, StopsSilentlyWithoutFallback) {
  auto link = MakeLink("下一页");
  auto page = Show(MakePage("http://s.example/t-123-5.html", {link}));
  GetParam().apply(*page);
  Set(SetIndex::Page) = {"[网址=http://s.example/]http://s.example/t-*-计算[$].html"};
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  Run("7");
  EXPECT_THAT(log.lines, ElementsAre("接收到指令: 下一页", "接收到指令: 定位到第7页"));
  EXPECT_EQ(link->record->clicks, 0);
  EXPECT_THAT(page->record->navigations, IsEmpty());
  EXPECT_THAT(messenger.posted, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Executor, PageFaultTest,
    ::testing::Values(PageFault{"NoDocument", [](FakeBrowserData& p) { p.document = nullptr; }},
                      PageFault{"NoLinks", [](FakeBrowserData& p) { p.document->links.clear(); }},
                      PageFault{"LinksFail", [](FakeBrowserData& p) { p.document->linksFail = true; }},
                      PageFault{"LengthFails",
                                [](FakeBrowserData& p) { p.document->lengthFails = true; }},
                      PageFault{"UrlFails", [](FakeBrowserData& p) { p.document->url = std::nullopt; }}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(ExecutorTest, FailedItemEndsTheLinkStageAndFallbackRuns) {
  auto next = MakeLink("下一页");
  auto page = ShowLinks({MakeLink("目录"), next});
  page->document->itemFailsAt = 1;
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  EXPECT_EQ(next->record->clicks, 0);
  EXPECT_THAT(Actions(), ElementsAre(std::string("    执行指令: ") + kNextXyLine));
}

TEST_F(ExecutorTest, UnreadableLinkTextEndsTheLinkStageAndFallbackRuns) {
  auto broken = MakeLink("x");
  broken->outerText = std::nullopt;
  auto next = MakeLink("下一页");
  ShowLinks({broken, next});
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  EXPECT_EQ(next->record->clicks, 0);
  EXPECT_THAT(Actions(), ElementsAre(std::string("    执行指令: ") + kNextXyLine));
}

TEST_F(ExecutorTest, RaisingLinkReadIsAReadFailure) {
  auto page = std::make_shared<ScriptedPage>();
  page->length = 2;
  page->item = [](long i) -> std::unique_ptr<LinkElement> {
    if (i == 0) return std::make_unique<ThrowingLink>();
    return std::make_unique<FakeLinkElement>(MakeLink("下一页"));
  };
  discovery.browser = page;
  inputs.fixedPositionLines = {kNextXyLine};
  EXPECT_NO_THROW(Run("next"));
  EXPECT_EQ(page->itemCalls, 1);
  EXPECT_THAT(Actions(), ElementsAre(std::string("    执行指令: ") + kNextXyLine));
}

TEST_F(ExecutorTest, RaisingBrowserEndsTheCommandSilently) {
  discovery.browser = std::make_shared<ThrowingBrowser>();
  inputs.fixedPositionLines = {kNextXyLine};
  for (const char* command : {"next", "back", "forward", "7"}) {
    EXPECT_NO_THROW(Run(command));
  }
  EXPECT_EQ(log.lines.size(), 4u);
  EXPECT_EQ(executor.curURL(), "");
  EXPECT_THAT(messenger.posted, IsEmpty());
}

TEST_F(ExecutorTest, NegativeLinkCountIsNoLinks) {
  auto page = std::make_shared<ScriptedPage>();
  page->length = -5;
  page->item = [](long) { return std::make_unique<FakeLinkElement>(MakeLink("下一页")); };
  discovery.browser = page;
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  EXPECT_EQ(page->itemCalls, 0);
  EXPECT_THAT(Actions(), IsEmpty());
}

TEST_F(ExecutorTest, HugeLinkCountWithFailingItemsEndsTheLinkStage) {
  auto page = std::make_shared<ScriptedPage>();
  page->length = LONG_MAX;
  page->item = [](long i) -> std::unique_ptr<LinkElement> {
    if (i >= 3) return nullptr;
    return std::make_unique<FakeLinkElement>(MakeLink("目录"));
  };
  discovery.browser = page;
  inputs.fixedPositionLines = {kNextXyLine};
  Run("next");
  EXPECT_EQ(page->itemCalls, 4);
  EXPECT_THAT(Actions(), ElementsAre(std::string("    执行指令: ") + kNextXyLine));
}

TEST_F(ExecutorTest, HugeLinkCountWithEndlessItemsIsWalkedOnlySoFar) {
  auto page = std::make_shared<ScriptedPage>();
  page->length = LONG_MAX;
  page->item = [](long) { return std::make_unique<FakeLinkElement>(MakeLink("目录")); };
  discovery.browser = page;
  Run("first");
  EXPECT_GT(page->itemCalls, 1000);
  EXPECT_LE(page->itemCalls, 100000);
  EXPECT_THAT(Actions(), IsEmpty());
}

// --- Frames ---

TEST_F(ExecutorTest, FramesOptionActsOnTheChosenFrame) {
  auto tabLink = MakeLink("下一页");
  auto tab = ShowLinks({tabLink});
  auto frameLink = MakeLink("下一页");
  auto frame0 = MakePage("http://s.example/menu.html", {});
  auto frame1 = MakePage("http://s.example/body.html", {frameLink});
  discovery.frames = {std::make_shared<FakeBrowser>(frame0), std::make_shared<FakeBrowser>(frame1)};
  inputs.framesOption = true;
  inputs.frameIndex = 1;
  Run("next");
  EXPECT_EQ(frameLink->record->clicks, 1);
  EXPECT_EQ(tabLink->record->clicks, 0);
  EXPECT_EQ(executor.curURL(), "http://s.example/body.html");
  EXPECT_EQ(executor.curBrowser(), discovery.browser);

  Run("back");
  EXPECT_EQ(frame1->record->backs, 1);
  EXPECT_EQ(tab->record->backs, 0);
}

TEST_F(ExecutorTest, SpecialRuleInAFrameNavigatesTheFrame) {
  auto tab = ShowLinks({});
  auto frame = MakePage("http://s.example/body/1.html", {MakeLink("继续", "2.html")});
  discovery.frames = {std::make_shared<FakeBrowser>(frame)};
  inputs.framesOption = true;
  inputs.frameIndex = 0;
  Set(SetIndex::Next) = {"[特别=http://s.example/]继续"};
  Run("next");
  EXPECT_THAT(frame->record->navigations,
              ElementsAre(std::pair<std::string, std::string>{"http://s.example/body/2.html", "_self"}));
  EXPECT_THAT(tab->record->navigations, IsEmpty());
}

TEST_F(ExecutorTest, MissingFrameFallsBackToTheTab) {
  auto tabLink = MakeLink("下一页");
  ShowLinks({tabLink});
  auto frameLink = MakeLink("下一页");
  discovery.frames = {std::make_shared<FakeBrowser>(MakePage("http://f.example/", {frameLink}))};
  inputs.framesOption = true;
  inputs.frameIndex = 3;
  Run("next");
  inputs.frameIndex = -1;
  Run("next");
  inputs.frameIndex = 0;
  inputs.framesOption = false;
  Run("next");
  EXPECT_EQ(tabLink->record->clicks, 3);
  EXPECT_EQ(frameLink->record->clicks, 0);
  EXPECT_EQ(executor.curURL(), kSite);
}

TEST_F(ExecutorTest, RaisingFrameLookupFallsBackToTheTab) {
  auto tabLink = MakeLink("下一页");
  ShowLinks({tabLink});
  discovery.framesRaise = true;
  inputs.framesOption = true;
  inputs.frameIndex = 0;
  EXPECT_NO_THROW(Run("next"));
  EXPECT_EQ(tabLink->record->clicks, 1);
}

}  // namespace
}  // namespace paginor
