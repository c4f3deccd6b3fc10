// The link list through UI Automation above its COM seam: the shown tab's links without
// its frames', the MSAA walk whenever UI Automation cannot answer, the same log and the
// same link acted on as over MSAA, and every call made on the accessibility worker.

#include "browser/automation_links.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>
#include <thread>

#include "browser/timed_accessible.h"
#include "engine/executor.h"
#include "browser/modern_discovery.h"
#include "engine_stand_ins.h"
#include "fake_accessible.h"
#include "fake_windows.h"

namespace paginor::test {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;
using namespace msaa;

// A UI Automation element answering searches from a table, recording what was asked.
class FakeElement : public AutomationElement {
 public:
  FakeElement(Journal* journal, std::string name, std::string value = "", bool offscreen = false,
              std::vector<int> runtimeId = {})
      : journal_(journal) {
    properties_ = {std::move(name), std::move(value), offscreen, std::move(runtimeId)};
  }
  const AutomationProperties& Properties() const override { return properties_; }
  std::optional<std::vector<AutomationPtr>> FindAll(long controlType) override {
    journal_->events.push_back("find " + properties_.name + (controlType == uia::kDocument ? " documents" : " links"));
    const auto it = found.find(controlType);
    if (it == found.end()) return std::vector<AutomationPtr>{};
    return it->second;
  }
  bool Invoke() override {
    journal_->events.push_back("invoke " + properties_.name);
    return invokes;
  }
  std::map<long, std::optional<std::vector<AutomationPtr>>> found;
  bool invokes = true;  // false: no Invoke pattern

 private:
  Journal* journal_;
  AutomationProperties properties_;
};

class FakeAutomation : public Automation {
 public:
  AutomationPtr FromWindow(WindowHandle window) override {
    asked.push_back(window);
    return root;
  }
  AutomationPtr root;
  std::vector<WindowHandle> asked;
};

// One forum page in both trees: the tab on show, a background tab, a frame with a link.
struct Page {
  Journal msaa;
  Journal uia;
  std::shared_ptr<Node> msaaRoot = std::make_shared<Node>(0x09, "Forum - Chromium");
  std::shared_ptr<Node> msaaShown;
  FakeAutomation automation;
  std::shared_ptr<FakeElement> window, background, shown, frame;

  // inOrder: both trees write to one journal, so that their acts keep their order.
  explicit Page(bool inOrder = false) {
    Journal* j = inOrder ? &msaa : &uia;
    window = std::make_shared<FakeElement>(j, "window");
    background = std::make_shared<FakeElement>(j, "Other", "http://other/", true);
    shown = std::make_shared<FakeElement>(j, "Forum", "http://forum/t-1.html");
    frame = std::make_shared<FakeElement>(j, "Ad", "http://ads/");
    msaaRoot->SetJournal(&msaa);
    msaaRoot->Add(kRoleDocument, "Other", "http://other/", kStateInvisible)->Add(kRoleLink, "下一页", "http://other/2");
    msaaShown = msaaRoot->Add(kRoleDocument, "Forum", "http://forum/t-1.html");
    auto para = msaaShown->Add(0x2B, "");
    para->Add(kRoleStaticText, "Pages: ");
    para->Add(kRoleLink, "1", "http://forum/t-1.html");
    para->Add(kRoleLink, "2", "http://forum/t-2.html");
    msaaShown->Add(kRoleDocument, "Ad", "http://ads/")->Add(kRoleLink, "next", "http://ads/next");
    msaaShown->Add(kRoleLink, "下一页", "http://forum/t-2.html?a=1&b=\"2\"");

    auto link = [&](std::string name, std::string value, int id) {
      return std::make_shared<FakeElement>(j, std::move(name), std::move(value), false, std::vector<int>{42, id});
    };
    const auto frameLink = link("next", "http://ads/next", 3);
    background->found[uia::kHyperlink] = std::vector<AutomationPtr>{link("下一页", "http://other/2", 9)};
    window->found[uia::kDocument] = std::vector<AutomationPtr>{background, shown, frame};
    shown->found[uia::kHyperlink] = std::vector<AutomationPtr>{
        link("1", "http://forum/t-1.html", 1), link("2", "http://forum/t-2.html", 2), frameLink,
        link("下一页", "http://forum/t-2.html?a=1&b=\"2\"", 4)};
    shown->found[uia::kDocument] = std::vector<AutomationPtr>{frame};
    frame->found[uia::kHyperlink] = std::vector<AutomationPtr>{frameLink};
    automation.root = window;
  }

  std::shared_ptr<AccessibleBrowser> Browser(bool withAutomation) {
    std::shared_ptr<Automation> source(&automation, [](Automation*) {});
    return std::make_shared<AccessibleBrowser>(msaaShown, 7, std::make_shared<RecordingKeys>(msaa),
                                               withAutomation ? source : nullptr);
  }
};

std::vector<std::string> Texts(LinkCollection& links) {
  std::vector<std::string> texts;
  for (long i = 0; i < links.Length().value_or(0); ++i) texts.push_back(*links.Item(i)->OuterText());
  return texts;
}

TEST(AutomationLinks, TheShownTabsLinksWithoutItsFramesInAFewSearchesAndAClickInvokesTheLink) {
  Page page;
  auto links = page.Browser(true)->GetDocument()->Links();
  EXPECT_THAT(Texts(*links), ElementsAre("1", "2", "下一页"));
  EXPECT_EQ(page.automation.asked, std::vector<WindowHandle>{7});
  // One search for the documents, one for the links, one per frame: never one per link.
  EXPECT_THAT(page.uia.events,
              ElementsAre("find window documents", "find Forum links", "find Forum documents", "find Ad links"));

  auto next = links->Item(2);
  EXPECT_EQ(next->Href(), "http://forum/t-2.html?a=1&b=\"2\"");
  EXPECT_EQ(next->OuterHtml(), SynthesizedMarkup(page.msaaShown->children_.back()));
  EXPECT_TRUE(next->Click());
  EXPECT_EQ(page.uia.events.back(), "invoke 下一页");
  EXPECT_TRUE(page.msaa.events.empty());
  // The parent is read from the MSAA tree, where the same links stand.
  EXPECT_EQ(links->Item(1)->ParentElement()->OuterText(), "Pages: 12");
  EXPECT_EQ(links->Item(3), nullptr);
}

TEST(AutomationLinks, ALinkWithoutTheInvokePatternIsClickedThroughMsaa) {
  Page page;
  std::static_pointer_cast<FakeElement>(page.shown->found[uia::kHyperlink]->back())->invokes = false;
  EXPECT_TRUE(page.Browser(true)->GetDocument()->Links()->Item(2)->Click());
  EXPECT_EQ(page.uia.events.back(), "invoke 下一页");
  EXPECT_THAT(page.msaa.events, ElementsAre("click 下一页"));
}

TEST(AutomationLinks, WithoutTheSameLinksInTheMsaaTreeALinkHasNoParent) {
  Page page;
  page.msaaShown->children_.pop_back();  // the MSAA tree lost a link meanwhile
  auto links = page.Browser(true)->GetDocument()->Links();
  ASSERT_EQ(links->Length(), 3);
  EXPECT_EQ(links->Item(1)->ParentElement(), nullptr);
  EXPECT_EQ(links->Item(1)->OuterText(), "2");
}

TEST(AutomationLinks, TheMsaaWalkAnswersWheneverUiAutomationCannot) {
  const std::vector<std::pair<std::string, std::function<void(Page&)>>> breakages = {
      {"not offered", [](Page& p) { p.automation.root = nullptr; }},
      {"documents search fails", [](Page& p) { p.window->found[uia::kDocument] = std::nullopt; }},
      {"every document off screen",
       [](Page& p) { p.window->found[uia::kDocument] = std::vector<AutomationPtr>{p.background}; }},
      {"another tab than discovery's",
       [](Page& p) { p.window->found[uia::kDocument] = std::vector<AutomationPtr>{p.frame}; }},
      {"links search fails", [](Page& p) { p.shown->found[uia::kHyperlink] = std::nullopt; }},
      {"frames search fails", [](Page& p) { p.shown->found[uia::kDocument] = std::nullopt; }},
      {"a frame's links search fails", [](Page& p) { p.frame->found[uia::kHyperlink] = std::nullopt; }},
      {"links without runtime ids beside frames",
       [](Page& p) {
         p.shown->found[uia::kHyperlink] = std::vector<AutomationPtr>{std::make_shared<FakeElement>(&p.uia, "x")};
       }},
  };
  for (const auto& [name, breakage] : breakages) {
    Page page;
    breakage(page);
    auto links = page.Browser(true)->GetDocument()->Links();
    EXPECT_THAT(Texts(*links), ElementsAre("1", "2", "下一页")) << name;
    EXPECT_TRUE(links->Item(2)->Click());
    EXPECT_THAT(page.msaa.events, ElementsAre("click 下一页")) << name;
  }
}

TEST(AutomationLinks, AnEmptyListFromTheShownDocumentStandsAndNavigateThenTypes) {
  Page page;
  page.shown->found[uia::kHyperlink] = std::vector<AutomationPtr>{};
  page.frame->found[uia::kHyperlink] = std::vector<AutomationPtr>{};
  auto browser = page.Browser(true);
  EXPECT_EQ(browser->GetDocument()->Links()->Length(), 0);
  EXPECT_TRUE(browser->Navigate("http://forum/t-2.html", "_self"));
  EXPECT_THAT(page.msaa.events, ElementsAre("type http://forum/t-2.html"));
}

// The log and the links acted on, with a click and an invoke counted as the same act.
std::pair<std::vector<std::string>, std::vector<std::string>> Turn(bool withAutomation) {
  Page page(true);
  OneTab discovery(page.Browser(withAutomation));
  NoWindows messenger;
  Lines log;
  CommandExecutor executor(discovery, messenger, log);
  DefinitionSets sets;
  sets[SetIndex::Prev] = {"[代码]a=1&amp;b="};
  sets[SetIndex::First] = {"[扩展]*Pages:"};
  sets[SetIndex::Last] = {"[特别=http://forum/]*下一页"};
  sets[SetIndex::Page] = {"[网址=http://forum/]http://forum/t-计算[$].html"};
  ExecutorInputs inputs;
  inputs.activeSets = &sets;
  for (const char* command : {"next", "prev", "first", "last", "2", "5"}) {
    executor.ReceiveCommand(command, Origin::Keyboard, inputs);
  }
  std::vector<std::string> acts;
  for (const std::string& e : page.msaa.events) {
    if (e.rfind("find ", 0) == 0) continue;
    acts.push_back(e.rfind("invoke ", 0) == 0 ? "click " + e.substr(7) : e);
  }
  return {log.lines, acts};
}

TEST(AutomationLinks, TheEngineLogsAndActsAsOverMsaa) {
  const auto [msaaLog, msaaActs] = Turn(false);
  const auto [uiaLog, uiaActs] = Turn(true);
  EXPECT_EQ(uiaLog, msaaLog);
  EXPECT_EQ(uiaActs, msaaActs);
  EXPECT_THAT(msaaActs, ElementsAre("click 下一页", "click 下一页", "click 1", "click 下一页", "click 2",
                                    "type http://forum/t-5.html"));
}

class OneTree : public AccessibleWindows {
 public:
  explicit OneTree(AccessiblePtr root) : root_(std::move(root)) {}
  AccessiblePtr FromWindow(WindowHandle) override { return root_; }

 private:
  AccessiblePtr root_;
};

class NoEngine : public BrowserDiscovery {
 public:
  bool FindBrowserWindow(BrowserPtr&, WindowHandle&, std::string_view) override { return false; }
  BrowserPtr GetFrameBrowser(int, const BrowserPtr&) override { return nullptr; }
};

TEST(AutomationLinks, DiscoveryHandsUiAutomationOfTheTabsWindowToTheBrowser) {
  Page page;
  FakeWindows windows;
  const WindowHandle chrome = windows.Add(0, "Chrome_WidgetWin_1");
  windows.SetProcess(chrome, 7, "chrome.exe");
  OneTree tree(page.msaaRoot);
  NoEngine engine;
  CombinedDiscovery discovery(
      engine, windows, tree, [] { return std::make_shared<AccessibleWorker>(nullptr, nullptr); }, nullptr,
      &page.automation);
  BrowserPtr browser;
  WindowHandle window = 0;
  ASSERT_TRUE(discovery.FindBrowserWindow(browser, window, "modern"));
  EXPECT_THAT(Texts(*browser->GetDocument()->Links()), ElementsAre("1", "2", "下一页"));
  EXPECT_EQ(page.automation.asked, std::vector<WindowHandle>{chrome});
  EXPECT_EQ(page.uia.events.front(), "find window documents");

  // Firefox: the MSAA walk alone.
  FakeWindows firefoxWindows;
  firefoxWindows.SetProcess(firefoxWindows.Add(0, "MozillaWindowClass"), 8, "firefox.exe");
  CombinedDiscovery firefox(
      engine, firefoxWindows, tree, [] { return std::make_shared<AccessibleWorker>(nullptr, nullptr); }, nullptr,
      &page.automation);
  ASSERT_TRUE(firefox.FindBrowserWindow(browser, window, "modern"));
  EXPECT_THAT(Texts(*browser->GetDocument()->Links()), ElementsAre("1", "2", "下一页"));
  EXPECT_EQ(page.automation.asked.size(), 1u);
}

// An element that notes the thread of every call and of its release, and can hang.
struct Threads {
  std::thread::id worker;
  std::atomic<int> wrong{0};
  std::atomic<int> released{0};
  std::promise<void> release;
  std::shared_future<void> released_hang = release.get_future().share();
};

class ThreadElement : public AutomationElement {
 public:
  ThreadElement(std::shared_ptr<Threads> threads, bool hangs) : threads_(std::move(threads)), hangs_(hangs) {}
  ~ThreadElement() override {
    Check();
    ++threads_->released;
  }
  const AutomationProperties& Properties() const override { return properties_; }
  std::optional<std::vector<AutomationPtr>> FindAll(long) override {
    Check();
    if (hangs_) threads_->released_hang.wait();
    return std::vector<AutomationPtr>{std::make_shared<ThreadElement>(threads_, true)};
  }
  bool Invoke() override {
    Check();
    return true;
  }

 private:
  void Check() const {
    if (std::this_thread::get_id() != threads_->worker) ++threads_->wrong;
  }
  std::shared_ptr<Threads> threads_;
  bool hangs_;
  AutomationProperties properties_{"n", "v", false, {1}};
};

class ThreadAutomation : public Automation {
 public:
  explicit ThreadAutomation(std::shared_ptr<Threads> threads) : threads_(std::move(threads)) {}
  AutomationPtr FromWindow(WindowHandle) override {
    if (std::this_thread::get_id() != threads_->worker) ++threads_->wrong;
    return std::make_shared<ThreadElement>(threads_, false);
  }

 private:
  std::shared_ptr<Threads> threads_;
};

TEST(AutomationLinks, CallsAndReleasesRunOnTheWorkerAndAHungSearchGivesItUp) {
  auto threads = std::make_shared<Threads>();
  std::promise<std::thread::id> started;
  auto worker = std::make_shared<AccessibleWorker>(
      [&started] { started.set_value(std::this_thread::get_id()); }, nullptr, 200ms);
  threads->worker = started.get_future().get();
  ThreadAutomation inner(threads);  // only an element's search hangs, not this

  auto automation = AutomationOnWorker(worker, inner);
  AutomationPtr root = automation->FromWindow(7);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Properties().name, "n");
  auto found = root->FindAll(uia::kHyperlink);
  ASSERT_TRUE(found && found->size() == 1);
  EXPECT_TRUE((*found)[0]->Invoke());

  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ((*found)[0]->FindAll(uia::kHyperlink), std::nullopt);  // hangs: timed out
  EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
  EXPECT_FALSE(root->Invoke());  // at once, the worker given up
  EXPECT_EQ(automation->FromWindow(7), nullptr);

  found.reset();
  root.reset();
  automation.reset();
  worker.reset();
  threads->release.set_value();  // the hung call ends after everyone has gone
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(threads->wrong.load(), 0);
}

// UI Automation that never answers leaves the MSAA walk its own worker.
TEST(AutomationLinks, AHungSearchLeavesTheMsaaWalkItsWorkerWithinTheSameCommand) {
  Page page;
  FakeWindows windows;
  windows.SetProcess(windows.Add(0, "Chrome_WidgetWin_1"), 7, "chrome.exe");
  OneTree tree(page.msaaRoot);
  NoEngine engine;
  struct Hung : Automation {
    std::promise<void> release;
    AutomationPtr FromWindow(WindowHandle) override {
      release.get_future().wait();
      return nullptr;
    }
  };
  static Hung hung;  // a call that timed out may still reach it
  CombinedDiscovery discovery(
      engine, windows, tree, [] { return std::make_shared<AccessibleWorker>(nullptr, nullptr, 200ms); }, nullptr,
      &hung);
  BrowserPtr browser;
  WindowHandle window = 0;
  ASSERT_TRUE(discovery.FindBrowserWindow(browser, window, "modern"));
  EXPECT_THAT(Texts(*browser->GetDocument()->Links()), ElementsAre("1", "2", "下一页"));
  hung.release.set_value();
}

}  // namespace
}  // namespace paginor::test
