// The engine over an accessibility tree: the tab on show, its links in document order,
// clicks and typed addresses, and trees a broken browser might serve.

#include "browser/accessible_browser.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "browser/remembered_tree.h"
#include "engine/executor.h"
#include "engine_stand_ins.h"
#include "fake_accessible.h"

namespace paginor::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using namespace msaa;

// A window with two tabs: the one on show is a forum page with a frame.
struct Tabs {
  Journal journal;
  std::shared_ptr<Node> root = std::make_shared<Node>(0x09, "Forum - Chromium");
  std::shared_ptr<Node> shown;

  Tabs() {
    root->SetJournal(&journal);
    auto background = root->Add(kRoleDocument, "Other", "http://other/", kStateInvisible);
    background->Add(kRoleLink, "下一页", "http://other/2");
    shown = root->Add(0x10, "")->Add(kRoleDocument, "Forum", "http://forum/t-1.html");
    auto para = shown->Add(0x2B, "");
    para->Add(kRoleStaticText, "Pages: ");
    para->Add(kRoleLink, "1", "http://forum/t-1.html");
    auto two = para->Add(kRoleLink, "2", "http://forum/t-2.html");
    two->Add(kRoleStaticText, "2");
    auto frame = shown->Add(kRoleDocument, "Ad", "http://ads/");
    frame->Add(kRoleLink, "next", "http://ads/next");
    auto next = shown->Add(kRoleLink, "下一页", "http://forum/t-2.html?a=1&b=\"2\"");
    next->Add(kRoleGraphic, "arrow");
    shown->Add(kRoleText, "reply text", "", kStateFocused | kStateFocusable);
  }
};

std::vector<std::string> Names(const std::vector<AccessiblePtr>& nodes) {
  std::vector<std::string> names;
  for (const AccessiblePtr& n : nodes) names.push_back(n->Name().value_or("?"));
  return names;
}

TEST(AccessibleBrowser, TheShownTabsLinksInDocumentOrderWithoutFramesOrBackgroundTabs) {
  Tabs tabs;
  const AccessiblePtr document = FindActiveDocument(tabs.root);
  ASSERT_EQ(document, tabs.shown);
  EXPECT_THAT(Names(CollectLinks(document)), ElementsAre("1", "2", "下一页"));
}

TEST(AccessibleBrowser, ParentTextAndMarkupAreBuiltFromTheTree) {
  Tabs tabs;
  const auto links = CollectLinks(tabs.shown);
  AccessibleBrowser browser(tabs.shown, 7, std::make_shared<RecordingKeys>(tabs.journal));
  auto collection = browser.GetDocument()->Links();
  ASSERT_EQ(collection->Length(), 3);
  auto next = collection->Item(2);
  EXPECT_EQ(next->OuterHtml(),
            "<a href=\"http://forum/t-2.html?a=1&amp;b=&quot;2&quot;\">下一页</a>");
  EXPECT_EQ(collection->Item(1)->ParentElement()->OuterText(), "Pages: 12");
  // The editable field's content is not page text; the frame's markup is kept apart.
  const std::string html = *next->ParentElement()->OuterHtml();
  EXPECT_THAT(html, HasSubstr("Pages: <a href=\"http://forum/t-1.html\">1</a>"));
  EXPECT_THAT(html, Not(HasSubstr("reply text")));
  EXPECT_EQ(collection->Item(3), nullptr);
  // A picture inside a link gives its name; the tree has no markup attributes.
  EXPECT_EQ(next->ImageText(), "arrow");
  EXPECT_EQ(collection->Item(0)->ImageText(), std::nullopt);
  EXPECT_EQ(next->Attribute("rel"), std::nullopt);
}

TEST(AccessibleBrowser, NavigateFollowsALinkOfThePageElseTypesTheAddress) {
  Tabs tabs;
  AccessibleBrowser browser(tabs.shown, 7, std::make_shared<RecordingKeys>(tabs.journal));
  EXPECT_EQ(browser.LocationUrl(), "http://forum/t-1.html");
  EXPECT_TRUE(browser.Navigate("http://forum/t-2.html", "_self"));
  EXPECT_TRUE(browser.Navigate("http://forum/t-9.html", "_self"));
  EXPECT_TRUE(browser.GoBack());
  EXPECT_TRUE(browser.GoForward());
  EXPECT_THAT(tabs.journal.events,
              ElementsAre("click 2", "type http://forum/t-9.html", "alt+left", "alt+right"));
}

// Firefox's text leaves are read-only text, and only focusable text that can be written
// is a field; Chromium's shapes are checked on captured trees (compare_ax_trees.sh).
TEST(AccessibleBrowser, ReadOnlyTextIsALeafFocusableTextAFieldOtherTextIsWalked) {
  auto page = std::make_shared<Node>(kRoleDocument, "News", "http://news/1");
  page->Add(kRoleText, "", "", kStateFocusable)->Add(kRoleLink, "typed", "http://typed/");
  page->Add(kRoleText, "leaf", "", kStateReadOnly)->Add(kRoleLink, "no", "http://no/");
  page->Add(kRoleText, "")->Add(kRoleLink, "下一页", "http://news/2");
  EXPECT_THAT(Names(CollectLinks(page)), ElementsAre("下一页"));
  EXPECT_EQ(AccessibleText(page), "leaf下一页");
}

// A tree that contains itself, as a broken provider may serve, still ends.
class Loop : public AccessibleNode {
 public:
  int reads = 0;
  std::optional<long> Role() override { return 0x14; }
  std::optional<std::string> Name() override { return "x"; }
  std::optional<std::string> Value() override { return std::nullopt; }
  std::optional<std::uint32_t> State() override { return std::nullopt; }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    ++reads;
    return std::vector<AccessiblePtr>{self.lock(), self.lock()};
  }
  AccessiblePtr Parent() override { return self.lock(); }
  bool DoDefaultAction() override { return false; }
  std::weak_ptr<Loop> self;
};

TEST(AccessibleBrowser, CyclicOrEndlessTreesEndWithinTheirBounds) {
  auto loop = std::make_shared<Loop>();
  loop->self = loop;
  EXPECT_EQ(FindActiveDocument(loop), nullptr);
  EXPECT_TRUE(CollectLinks(loop).empty());
  EXPECT_TRUE(AccessibleText(loop).empty());
  EXPECT_FALSE(SynthesizedMarkup(loop).empty());
  EXPECT_LE(loop->reads, static_cast<int>(4 * kMaxAccessibleNodes));
}

TEST(AccessibleBrowser, TheEngineTurnsPagesOverTheTree) {
  Tabs tabs;
  OneTab discovery(std::make_shared<AccessibleBrowser>(tabs.shown, 7,
                                                       std::make_shared<RecordingKeys>(tabs.journal)));
  NoWindows messenger;
  Lines log;
  CommandExecutor executor(discovery, messenger, log);
  DefinitionSets sets;
  sets[SetIndex::Page] = {"[网址=http://forum/]http://forum/t-计算[$].html"};
  ExecutorInputs inputs;
  inputs.activeSets = &sets;

  executor.ReceiveCommand("next", Origin::Keyboard, inputs);
  executor.ReceiveCommand("2", Origin::Keyboard, inputs);
  executor.ReceiveCommand("5", Origin::Keyboard, inputs);
  executor.ReceiveCommand("back", Origin::Keyboard, inputs);
  EXPECT_THAT(tabs.journal.events, ElementsAre("click 下一页", "click 2",
                                               "type http://forum/t-5.html", "alt+left"));
}

}  // namespace
}  // namespace paginor::test

namespace paginor::test {
namespace {

// The forum tab as discovery hands it to the engine, commands run on it one by one.
struct Commands {
  Tabs tabs;
  std::shared_ptr<Node> toolbar;
  OneTab discovery{nullptr};
  NoWindows messenger;
  Lines log;
  DefinitionSets sets;

  Commands() {
    // The browser's own controls come before the page in tree order.
    toolbar = tabs.root->Add(0x16, "Navigation");
    toolbar->Add(0x2B, "Back");
    std::rotate(tabs.root->children_.begin(), tabs.root->children_.end() - 1, tabs.root->children_.end());
    const AccessiblePtr document = FindActiveDocument(Remembered(tabs.root));
    discovery = OneTab(std::make_shared<AccessibleBrowser>(document, 7,
                                                           std::make_shared<RecordingKeys>(tabs.journal)));
  }
  void Run(std::string_view command) {
    CommandExecutor executor(discovery, messenger, log);
    ExecutorInputs inputs;
    inputs.activeSets = &sets;
    executor.ReceiveCommand(command, Origin::Keyboard, inputs);
  }
  std::shared_ptr<Node> Para() const { return tabs.shown->children_[0]; }
};

TEST(AccessibleBrowser, ACommandAsksEveryNodeEachThingOnceAndNothingBelowLeaves) {
  Commands page;
  // Rules that read each link's parent text and markup before the keyword link hits.
  page.sets[SetIndex::Next] = {"[扩展]*nothing", "[代码]nothing", "[扩展][代码]nothing"};
  page.Run("next");
  EXPECT_THAT(page.tabs.journal.events, ElementsAre("click 下一页"));
  for (const auto& [read, times] : page.tabs.journal.reads) EXPECT_EQ(times, 1) << read.second;
  const auto& journal = page.tabs.journal;
  EXPECT_EQ(journal.Reads(page.toolbar.get(), "children"), 0);
  EXPECT_EQ(journal.Reads(page.Para()->children_[0].get(), "children"), 0);  // "Pages: "
  // A link's text is what it shows: its text leaf, read once.
  const auto two = page.Para()->children_[2];
  EXPECT_EQ(journal.Reads(two.get(), "children"), 1);
  EXPECT_EQ(journal.Reads(two->children_[0].get(), "name"), 1);
  // A link's parent is the node the walk came from: the browser is not asked.
  EXPECT_EQ(journal.Reads(two.get(), "parent"), 0);

  // Nothing is kept for the next command: the page may have changed.
  page.Run("next");
  EXPECT_EQ(journal.Reads(two.get(), "role"), 2);
  EXPECT_EQ(journal.Reads(page.tabs.shown.get(), "value"), 2);
}

TEST(AccessibleBrowser, OnlyTheAddressOfTheFollowedLinkIsRead) {
  Commands page;
  page.sets[SetIndex::Next] = {"[特别=http://forum/]2"};
  page.Run("next");
  EXPECT_THAT(page.log.lines, ElementsAre("接收到指令: 下一页", "    执行指令,特别处理: http://forum/t-2.html"));
  EXPECT_THAT(page.tabs.journal.events, ElementsAre("click 2"));
  const auto& journal = page.tabs.journal;
  EXPECT_EQ(journal.Reads(page.Para()->children_[1].get(), "value"), 0);
  EXPECT_EQ(journal.Reads(page.Para()->children_[2].get(), "value"), 1);
  EXPECT_EQ(journal.Reads(page.tabs.shown->children_[2].get(), "value"), 0);  // 下一页

  // An address no link was read for yet: every link is asked once, then it is typed.
  page.sets[SetIndex::Page] = {"[网址=http://forum/]http://forum/t-计算[$].html"};
  page.Run("5");
  EXPECT_THAT(page.tabs.journal.events, ElementsAre("click 2", "type http://forum/t-5.html"));
  EXPECT_EQ(journal.Reads(page.tabs.shown->children_[2].get(), "value"), 1);
}

TEST(AccessibleBrowser, ALinkIsWhatItShowsAndAnAnchorServedAsAButtonIsALink) {
  auto document = std::make_shared<Node>(msaa::kRoleDocument, "page", "http://p/");
  document->Add(msaa::kRoleLink, "Page 2", "http://p/2")->Add(msaa::kRoleStaticText, "2");
  document->Add(msaa::kRolePushButton, "下一页")->attributes = "display:inline-block;tag:a;";
  document->Add(msaa::kRolePushButton, "Menu")->attributes = "tag:button;";
  const auto links = CollectLinks(document);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(AccessibleLinkElement(links[0])->OuterText(), "2");
  EXPECT_EQ(AccessibleLinkElement(links[1])->OuterText(), "下一页");
}

}  // namespace
}  // namespace paginor::test
