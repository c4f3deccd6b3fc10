#include "engine/link_search.h"

#include <gtest/gtest.h>

#include "engine/fakes.h"

namespace paginor {
namespace {

using testing::FakeLinkData;
using testing::FakeLinkElement;
using testing::MakeLink;

constexpr std::string_view kPage = "http://s.example/a/p1.html";

LinkMatch Match(std::string_view command, const std::shared_ptr<FakeLinkData>& data,
                const RuleSet& set = {}, std::string_view docURL = kPage) {
  FakeLinkElement link(data);
  return MatchLink(command, link, set, docURL);
}

MatchKind Kind(std::string_view command, const std::string& text, const RuleSet& set = {}) {
  return Match(command, MakeLink(text), set).kind;
}

std::shared_ptr<FakeLinkData> WithParent(const std::string& text, const std::string& parentText) {
  auto link = MakeLink(text);
  link->parent = MakeLink(parentText);
  return link;
}

TEST(LinkKeywordTest, RecognisesTheUsualPageLinkTexts) {
  EXPECT_EQ(Kind("next", "下一页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("next", "[下一页]"), MatchKind::Keyword);
  EXPECT_EQ(Kind("next", "Next"), MatchKind::Keyword);
  EXPECT_EQ(Kind("next", "next page"), MatchKind::None);
  EXPECT_EQ(Kind("first", "first"), MatchKind::Keyword);
  EXPECT_EQ(Kind("last", "last"), MatchKind::Keyword);
  EXPECT_EQ(Kind("first", "首页"), MatchKind::None);
  EXPECT_EQ(Kind("prev", "« Previous"), MatchKind::None);  // "«" stays in the text
  EXPECT_EQ(Kind("prev", "&lt;&lt; Previous"), MatchKind::Keyword);
  EXPECT_EQ(Kind("prev", "下一页"), MatchKind::None);
}

TEST(LinkKeywordTest, TailsOfListedWordsMatchToo) {
  EXPECT_EQ(Kind("prev", "一页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("next", "一页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("first", "一页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("last", "页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("prev", "ious"), MatchKind::Keyword);
  EXPECT_EQ(Kind("first", "1"), MatchKind::Keyword);
  EXPECT_EQ(Kind("next", "nex"), MatchKind::None);  // a head is not a tail
}

TEST(LinkKeywordTest, PageNumbersMatchTheNumberOrItsChineseForm) {
  EXPECT_EQ(Kind("12", "12"), MatchKind::Keyword);
  EXPECT_EQ(Kind("12", "第12页"), MatchKind::Keyword);
  EXPECT_EQ(Kind("12", "[12]"), MatchKind::Keyword);
  EXPECT_EQ(Kind("12", "123"), MatchKind::None);
  EXPECT_EQ(Kind("12", "第 1 2 页"), MatchKind::Keyword);
}

TEST(LinkKeywordTest, AnEmptyTextIsNoKeyword) {
  // "" followed by a blank occurs in every keyword string.
  for (const char* command : {"prev", "next", "first", "last"}) {
    EXPECT_EQ(Kind(command, " [ ] "), MatchKind::None) << command;
  }
}

TEST(LinkRuleTest, PlainRulesCompareWholeTextsOrFragments) {
  const RuleSet set{"#*下一章", "", "   ", "*", "  *下一章 ", "第二章"};
  const LinkMatch hit = Match("next", MakeLink("进入下一章吧"), set);
  EXPECT_EQ(hit.kind, MatchKind::PlainRule);
  EXPECT_EQ(hit.setLine, "  *下一章 ");
  EXPECT_EQ(Match("next", MakeLink("第二章"), set).setLine, "第二章");
  EXPECT_EQ(Kind("next", "第二章节", set), MatchKind::None);
  EXPECT_EQ(Kind("next", "anything", {"*"}), MatchKind::None);
  EXPECT_EQ(Kind("next", "", {"*"}), MatchKind::None);
}

TEST(LinkRuleTest, RulesAreLowercasedAndCommentsTestedAsStored) {
  EXPECT_EQ(Kind("next", "NextChapter", {"*NEXTCH"}), MatchKind::PlainRule);
  EXPECT_EQ(Kind("next", "#x", {"#x"}), MatchKind::None);
  EXPECT_EQ(Match("next", MakeLink("#x"), {" #x"}).setLine, " #x");
}

TEST(LinkRuleTest, KeywordComesFirstAndTheFirstHittingRuleWins) {
  EXPECT_EQ(Kind("next", "下一页", {"下一页"}), MatchKind::Keyword);
  const RuleSet set{"*章", "*下一章", "下一章"};
  EXPECT_EQ(Match("next", MakeLink("下一章"), set).setLine, "*章");
}

TEST(LinkRuleTest, PageNumberRulesPutTheNumberForDollar) {
  const RuleSet set{"[网址=http://s.example/]*第$页", "*第$页", "*$$"};
  const LinkMatch hit = Match("7", MakeLink("去第7页"), set);
  EXPECT_EQ(hit.kind, MatchKind::PageNumberRule);
  EXPECT_EQ(hit.setLine, "*第$页");
  EXPECT_EQ(Kind("7", "去第8页", set), MatchKind::None);
  EXPECT_EQ(Match("7", MakeLink("$9.99"), set).setLine, "*$$");
  EXPECT_EQ(Kind("7", "[网址=http://s.example/]第7页", {"[网址=http://s.example/]第7页"}),
            MatchKind::None);
}

TEST(LinkRuleTest, CodeAndSpecialRulesNeverMatchPageNumbers) {
  auto link = MakeLink("7x", "/p7.html");
  link->outerHtml = "<a class=\"p7\">7x</a>";
  EXPECT_EQ(Match("7", link, {"[代码]class=p$", "[特别=http://s.example/]7x"}).kind,
            MatchKind::None);
}

TEST(LinkRuleTest, ExtendedRulesReadTheParentElement) {
  const RuleSet set{"[扩展]*下一页"};
  EXPECT_EQ(Match("next", WithParent("2", "1 2 下一页"), set).kind, MatchKind::PlainRule);
  EXPECT_EQ(Match("next", WithParent("2", "1 2 3"), set).kind, MatchKind::None);
  // An unreadable parent skips only that rule.
  EXPECT_EQ(Match("next", MakeLink("下一章"), {"[扩展]*下一页", "*下一章"}).setLine, "*下一章");
  auto parentWithoutText = WithParent("2", "");
  parentWithoutText->parent->outerText.reset();
  EXPECT_EQ(Match("next", parentWithoutText, {"[扩展]", "2"}).setLine, "2");
  // The prefix alone leaves a rule that wants an empty parent text.
  EXPECT_EQ(Match("next", WithParent("2", " [ ] "), {"[扩展]"}).kind, MatchKind::PlainRule);
}

TEST(LinkRuleTest, CodeRulesSearchTheHtmlWithoutQuotes) {
  auto link = MakeLink("→");
  link->outerHtml = "<A class=\"Next\" href='/p2.html'>→</A>";
  EXPECT_EQ(Match("next", link, {"[代码]class=next"}).kind, MatchKind::CodeRule);
  EXPECT_EQ(Match("next", link, {"[代码]'href=/p2'"}).kind, MatchKind::CodeRule);
  EXPECT_EQ(Match("next", link, {"[代码]class=prev"}).kind, MatchKind::None);
  EXPECT_EQ(Match("next", link, {"[代码]\"\""}).kind, MatchKind::None);

  auto parent = WithParent("→", "");
  parent->parent->outerHtml = "<div id=\"pager\"><a>→</a></div>";
  EXPECT_EQ(Match("next", parent, {"[扩展][代码]id=pager"}).kind, MatchKind::CodeRule);
  EXPECT_EQ(Match("next", parent, {"[代码]id=pager"}).kind, MatchKind::None);
}

TEST(LinkRuleTest, SpecialRulesNavigateToTheResolvedAddress) {
  const RuleSet set{"[特别=http://s.example/]*下一页"};
  const LinkMatch hit = Match("next", MakeLink("去下一页看看", "./p2.html"), set);
  EXPECT_EQ(hit.kind, MatchKind::SpecialRule);
  EXPECT_EQ(hit.setLine, set[0]);
  EXPECT_EQ(hit.address, "http://s.example/a/p2.html");
  EXPECT_EQ(Match("next", MakeLink("去下一页看看"), set, "http://other.example/").kind,
            MatchKind::None);
}

TEST(LinkRuleTest, SpecialRuleWithoutPatternHitsATextlessLink) {
  const RuleSet set{"[特别=http://s.example/]"};
  EXPECT_EQ(Kind("next", "图", set), MatchKind::None);
  const LinkMatch hit = Match("next", MakeLink("", "http://s.example/a/p2.html"), set);
  EXPECT_EQ(hit.kind, MatchKind::SpecialRule);
  EXPECT_EQ(hit.address, "http://s.example/a/p2.html");
}

TEST(LinkRuleTest, SpecialRuleEdgeCases) {
  auto noHref = MakeLink("去下一页");
  noHref->href.reset();
  const LinkMatch hit = Match("next", noHref, {"[特别=http://s.example/]*下一页"});
  EXPECT_EQ(hit.kind, MatchKind::SpecialRule);
  EXPECT_EQ(hit.address, "");
  // No site, or no "]": the line is no rule.
  EXPECT_EQ(Kind("next", "x", {"[特别=]x", "[特别=http://s.example/x"}), MatchKind::None);
  // The site is lowercased with the rule while the address keeps its case.
  EXPECT_EQ(Match("next", MakeLink("x"), {"[特别=http://S.example/]x"}, "http://S.example/").kind,
            MatchKind::None);
}

TEST(LinkReadFailureTest, UnreadableTextOrOwnHtmlEndsTheLinkStage) {
  auto noText = MakeLink("下一页");
  noText->outerText.reset();
  EXPECT_EQ(Match("next", noText).kind, MatchKind::ReadFailed);

  auto noHtml = MakeLink("x");
  noHtml->outerHtml.reset();
  EXPECT_EQ(Match("next", noHtml, {"[代码]class"}).kind, MatchKind::ReadFailed);
  // A hit before the failing rule stands; an unread parent HTML only skips its rule.
  EXPECT_EQ(Match("next", noHtml, {"x", "[代码]class"}).kind, MatchKind::PlainRule);
  EXPECT_EQ(Match("next", noHtml, {"[扩展][代码]class", "x"}).kind, MatchKind::PlainRule);
  EXPECT_EQ(Match("next", noHtml, {"*y"}).kind, MatchKind::None);
}

TEST(PreparedRulesTest, OnePreparationServesEveryLinkAlike) {
  const RuleSet set{"[扩展]*下一页", "[代码]rel=next", "*下一章", "[特别=http://s.example/]*>>",
                    "第$页"};
  std::vector<std::shared_ptr<FakeLinkData>> links{MakeLink("1"),      WithParent("2", "下一页"),
                                                   MakeLink("下一章"), MakeLink("»", "p9.html"),
                                                   MakeLink("next"),   MakeLink("")};
  links[5]->outerHtml = "<a rel='next'>";
  for (const char* command : {"prev", "next", "first", "last", "9"}) {
    const PreparedRules prepared(command, set);
    for (const auto& data : links) {
      FakeLinkElement once(data);
      FakeLinkElement each(data);
      const LinkMatch a = MatchLink(prepared, once, kPage);
      const LinkMatch b = MatchLink(command, each, set, kPage);
      EXPECT_EQ(a.kind, b.kind);
      EXPECT_EQ(a.setLine, b.setLine);
      EXPECT_EQ(a.address, b.address);
    }
  }
}

}  // namespace
}  // namespace paginor
