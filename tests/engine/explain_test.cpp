// The smart stage inside the executor, and explanations that tell what the executor does.

#include "engine/explain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/definition_sets.h"
#include "engine/fakes.h"

namespace paginor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::FakeBrowser;
using testing::FakeDiscovery;
using testing::FakeLinkData;
using testing::FakeMessenger;
using testing::MakeLink;
using testing::MakePage;
using testing::RecordingLog;

constexpr const char* kSite = "http://s.example/list?page=2";

struct Desk {
  std::shared_ptr<testing::FakeBrowserData> page;
  FakeDiscovery discovery;
  FakeMessenger messenger;
  RecordingLog log;
  DefinitionSets sets;
  ExecutorInputs inputs;

  explicit Desk(std::vector<std::shared_ptr<FakeLinkData>> links, std::string url = kSite)
      : page(MakePage(url, std::move(links))) {
    discovery.browser = std::make_shared<FakeBrowser>(page);
    inputs.activeSets = &sets;
  }
  int Clicks() const {
    int clicks = 0;
    for (const auto& link : page->document->links) clicks += link->record->clicks;
    return clicks;
  }
  void Run(std::string_view command) {
    CommandExecutor executor(discovery, messenger, log);
    executor.ReceiveCommand(command, Origin::Keyboard, inputs);
  }
  Explanation Explain(std::string_view command) {
    return ExplainCommand(command, Origin::Keyboard, inputs, discovery, messenger);
  }
};

std::vector<std::shared_ptr<FakeLinkData>> BlogPage() {
  return {MakeLink("Home", "/"), MakeLink("Older posts", "http://s.example/list?page=3"),
          MakeLink("Newer posts", "http://s.example/list?page=1")};
}

TEST(SmartStageTest, OffChangesNothing) {
  Desk desk(BlogPage());
  desk.Run("next");
  EXPECT_THAT(desk.log.lines, ElementsAre("接收到指令: 下一页"));
  EXPECT_EQ(desk.Clicks(), 0);
  EXPECT_THAT(desk.page->record->navigations, IsEmpty());
  // Nor does it make a page without links reach any stage.
  Desk bare({});
  bare.Run("next");
  EXPECT_THAT(bare.log.lines, ElementsAre("接收到指令: 下一页"));
  EXPECT_THAT(bare.page->record->navigations, IsEmpty());
}

TEST(SmartStageTest, OnItActsLikeAKeywordWhenNothingElseFound) {
  Desk desk(BlogPage());
  desk.inputs.smartFallback = true;
  desk.Run("next");
  EXPECT_THAT(desk.log.lines, ElementsAre("接收到指令: 下一页", "    智能翻页,链接文字: Older posts"));
  EXPECT_EQ(desk.page->document->links[1]->record->clicks, 1);
  EXPECT_THAT(desk.page->document->links[1]->record->targets, ElementsAre("_self"));
  // A page without links: its address alone.
  Desk bare({});
  bare.inputs.smartFallback = true;
  bare.Run("next");
  EXPECT_THAT(bare.log.lines, ElementsAre("接收到指令: 下一页", "    智能翻页,网址页码: http://s.example/list?page=3"));
  EXPECT_THAT(bare.page->record->navigations,
              ElementsAre(std::pair<std::string, std::string>("http://s.example/list?page=3", "_self")));
}

TEST(SmartStageTest, EveryEarlierStageComesFirst) {
  // A keyword link, a rule, a URL template and a fixed position each end the command.
  Desk keyword({MakeLink("Older posts", "http://s.example/list?page=3"), MakeLink("下一页", "/k")});
  keyword.inputs.smartFallback = true;
  keyword.Run("next");
  EXPECT_EQ(keyword.page->document->links[1]->record->clicks, 1);
  EXPECT_EQ(keyword.page->document->links[0]->record->clicks, 0);

  Desk rule(BlogPage());
  rule.inputs.smartFallback = true;
  rule.sets[SetIndex::Next] = {"Home"};
  rule.Run("next");
  EXPECT_EQ(rule.page->document->links[0]->record->clicks, 1);
  EXPECT_EQ(rule.Clicks(), 1);

  Desk position(BlogPage());
  position.inputs.smartFallback = true;
  position.inputs.fixedPositionLines = {"下一页,10,20,http://s.example/*"};
  position.Run("next");
  EXPECT_EQ(position.Clicks(), 0);
  EXPECT_FALSE(position.messenger.posted.empty());

  Desk tmpl({MakeLink("Home", "/")});
  tmpl.inputs.smartFallback = true;
  tmpl.sets[SetIndex::Page] = {"[网址=http://s.example/]http://s.example/list?page=计算[$*10]"};
  tmpl.Run("4");
  EXPECT_THAT(tmpl.page->record->navigations,
              ElementsAre(std::pair<std::string, std::string>("http://s.example/list?page=40", "_self")));
}

TEST(SmartStageTest, NotForHistoryNorDisabledPages) {
  Desk desk(BlogPage());
  desk.inputs.smartFallback = true;
  desk.inputs.keyboardDisable = {"http://s.example/"};
  desk.Run("next");
  EXPECT_EQ(desk.Clicks(), 0);
  desk.inputs.keyboardDisable.clear();
  desk.Run("back");
  EXPECT_EQ(desk.Clicks(), 0);
  EXPECT_EQ(desk.page->record->backs, 1);
}

// The explanation's log lines and actions are those of the real run, on every kind of
// decision, and explaining does nothing to the page.
TEST(ExplainTest, AgreesWithTheCommandAndDoesNotAct) {
  struct Case {
    const char* command;
    bool smart;
    std::vector<std::string> xy;
    RuleSet nextSet;
  };
  const std::vector<Case> cases = {
      {"next", false, {}, {}},         {"next", true, {}, {}},
      {"prev", true, {}, {}},          {"first", true, {}, {}},
      {"7", true, {}, {}},             {"next", false, {"下一页,10,20,http://s.example/*"}, {}},
      {"next", true, {}, {"*older"}},  {"back", true, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + (c.smart ? " smart" : ""));
    Desk shown(BlogPage());
    Desk done(BlogPage());
    for (Desk* desk : {&shown, &done}) {
      desk->inputs.smartFallback = c.smart;
      desk->inputs.fixedPositionLines = c.xy;
      desk->sets[SetIndex::Next] = c.nextSet;
    }
    const Explanation explanation = shown.Explain(c.command);
    done.Run(c.command);
    EXPECT_EQ(explanation.log, done.log.lines);
    EXPECT_EQ(shown.Clicks(), 0);
    EXPECT_THAT(shown.page->record->navigations, IsEmpty());
    EXPECT_EQ(shown.page->record->backs, 0);
    EXPECT_THAT(shown.messenger.posted, IsEmpty());
    EXPECT_THAT(shown.log.lines, IsEmpty());

    std::size_t clicks = 0, navigations = 0, posts = 0;
    for (const std::string& action : explanation.actions) {
      clicks += action.starts_with("click link") ? 1 : 0;
      navigations += action.starts_with("navigate to") ? 1 : 0;
      posts += action.starts_with("post a click") ? 1 : 0;
    }
    EXPECT_EQ(clicks, static_cast<std::size_t>(done.Clicks()));
    EXPECT_EQ(navigations, done.page->record->navigations.size());
    EXPECT_EQ(posts > 0, !done.messenger.posted.empty());
  }
}

TEST(ExplainTest, EveryRuleLineGetsItsVerdict) {
  auto parentless = MakeLink("2", "http://s.example/list?page=3");
  Desk desk({MakeLink("Home", "/"), parentless, MakeLink("下一章", "http://s.example/c")});
  desk.sets[SetIndex::Next] = {"# note", "", "*", "[特别=]x", "[特别=http://other.example/]*下一章",
                               "[扩展]*下一页", "[代码]class=next", "*下一章", "*never"};
  const Explanation e = desk.Explain("next");
  ASSERT_TRUE(e.linkStage);
  EXPECT_EQ(e.setName, "下页");
  using V = RuleVerdict;
  const std::vector<RuleTrial> fixed = e.setVerdicts;
  ASSERT_EQ(fixed.size(), 4u);
  EXPECT_EQ(fixed[0].verdict, V::Comment);
  EXPECT_EQ(fixed[1].verdict, V::Blank);
  EXPECT_EQ(fixed[2].verdict, V::NeverHits);
  EXPECT_EQ(fixed[3].verdict, V::Malformed);
  ASSERT_EQ(e.links.size(), 3u);  // the third link hits; none after it is asked
  const LinkTrace& hit = e.links[2];
  EXPECT_EQ(hit.seen.text, "下一章");
  EXPECT_EQ(hit.address, "http://s.example/c");
  EXPECT_FALSE(hit.seen.keyword);
  EXPECT_EQ(hit.kind, MatchKind::PlainRule);
  std::vector<std::pair<std::size_t, V>> verdicts;
  for (const RuleTrial& t : hit.seen.rules) verdicts.emplace_back(t.line, t.verdict);
  EXPECT_THAT(verdicts, ElementsAre(std::pair(std::size_t{4}, V::WrongSite),
                                    std::pair(std::size_t{5}, V::ParentUnreadable),
                                    std::pair(std::size_t{6}, V::NoMatch),
                                    std::pair(std::size_t{7}, V::Hit)));
  const std::string text = ExplanationText(e);
  EXPECT_THAT(text, HasSubstr("line 9 \"*never\": no match on 2 links\n"));
  EXPECT_THAT(text, HasSubstr("2 links matched nothing (--all lists them)"));
  EXPECT_THAT(ExplanationText(e, {true}), HasSubstr("link 0 \"home\" /: keyword no"));
}

TEST(ExplainTest, StopsAreToldAndJsonIsOneDocument) {
  Desk desk(BlogPage());
  desk.discovery.foundKind = "360";
  Explanation e = desk.Explain("next");
  EXPECT_THAT(e.log, ElementsAre("接收到指令: 下一页", "没有发现目标浏览器:ie"));
  ASSERT_FALSE(e.notes.empty());
  EXPECT_THAT(e.notes.back(), HasSubstr("no browser tab of the kind \"ie\""));
  EXPECT_FALSE(e.linkStage);
  const std::string json = ExplanationJson(e);
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.substr(json.size() - 2), "}\n");
  EXPECT_THAT(json, HasSubstr("\"links\":null"));
  EXPECT_THAT(json, HasSubstr("\"no browser tab of the kind \\\"ie\\\" was found: the command stops\""));

  auto tab = std::make_shared<FakeBrowser>(MakePage(kSite, {}));
  e = ExplainOnBrowser("next", Origin::Mouse, desk.inputs, tab, 0x42, desk.messenger);
  EXPECT_THAT(e.notes, ::testing::Contains(HasSubstr("the page has no links")));
  EXPECT_THAT(e.actions, IsEmpty());
}

TEST(ExplainTest, JsonStaysValidForAnyPageText) {
  Desk desk({MakeLink("bad \xFF\xC3(\t\"q\"\\", "/x"), MakeLink("下一页", "/n")});
  const std::string json = ExplanationJson(desk.Explain("next"), {true});
  EXPECT_THAT(json, HasSubstr("\"text\":\"bad\xEF\xBF\xBD\xEF\xBF\xBD\\\"q\\\"\\\\\""));
  EXPECT_THAT(json, HasSubstr("\"text\":\"下一页\""));
  EXPECT_EQ(json.find('\xFF'), std::string::npos);
  EXPECT_EQ(json.find('\t'), std::string::npos);
}

}  // namespace
}  // namespace paginor
