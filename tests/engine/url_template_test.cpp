#include "engine/url_template.h"

#include <gtest/gtest.h>

#include "engine/fakes.h"

namespace paginor {
namespace {

using testing::FakeBrowser;
using testing::MakePage;
using testing::RecordingLog;

constexpr std::string_view kArticle = "http://s.example/t-123-5.html";
constexpr std::string_view kNumbered = "http://s.example/t-*-计算[$].html";

TEST(ExpandUrlTemplateTest, MatchesWildcardsAndComputesParts) {
  EXPECT_EQ(ExpandUrlTemplate(kNumbered, kArticle, "7"), "http://s.example/t-123-7.html");
  // Text after the last constant is not carried over.
  EXPECT_EQ(ExpandUrlTemplate(kNumbered, "http://s.example/t-123-5.html#top", "7"),
            "http://s.example/t-123-7.html");
  // Nor is text before the first constant.
  EXPECT_EQ(ExpandUrlTemplate("s.example/t-*-计算[$].html", kArticle, "7"),
            "s.example/t-123-7.html");
  EXPECT_EQ(
      ExpandUrlTemplate("http://s.example/*/list_*.html", "http://s.example/bbs/list_9.html", "2"),
      "http://s.example/bbs/list_9.html");
}

TEST(ExpandUrlTemplateTest, WithoutWildcardsTheAddressIsIgnored) {
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/list.php?page=计算[$*20-20]", "about:blank", "7"),
            "http://s.example/list.php?page=120");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/x.html", "http://elsewhere/", "7"),
            "http://s.example/x.html");
  EXPECT_EQ(ExpandUrlTemplate("", kArticle, "7"), "");
}

TEST(ExpandUrlTemplateTest, EscapesAndPlainDollars) {
  EXPECT_EQ(ExpandUrlTemplate("a**b", kArticle, "7"), "a*b");
  EXPECT_EQ(ExpandUrlTemplate("a$$b", kArticle, "7"), "a$b");
  EXPECT_EQ(ExpandUrlTemplate("a$b", kArticle, "7"), "a$b");
  // An escaped star is matched as the star it stands for.
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/a**b/*", "http://s.example/a*b/3", "7"),
            "http://s.example/a*b/3");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/a**b/*", "http://s.example/ab/3", "7"), "");
}

TEST(ExpandUrlTemplateTest, FailuresYieldNothing) {
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/计算[$+1", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/计算[$$]", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/计算[nonsense(]", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("*.html", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/t-*计算[$].html", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/t-计算[$]*.html", kArticle, "7"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/t-**.html", kArticle, "7"),
            "http://s.example/t-*.html");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/t-*-*.htm", "http://s.example/t-1.htm", "7"), "");
  // Constants must occur in order.
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/*.html?x", "http://s.example/?x.html", "7"), "");
}

TEST(ExpandUrlTemplateTest, DollarAsValueLeavesTheExpressionAlone) {
  // The fixed-position test passes "$": the computed part then cannot evaluate, and must
  // not hang on the way.
  EXPECT_EQ(ExpandUrlTemplate(kNumbered, kArticle, "$"), "");
  EXPECT_EQ(ExpandUrlTemplate("http://s.example/p计算[2+3]", kArticle, "$"), "http://s.example/p5");
}

TEST(ExpandUrlTemplateTest, LongHostileTemplatesNeitherOverflowNorHang) {
  std::string tmpl;
  std::string address;
  for (int i = 0; i < 2000; ++i) {
    tmpl += "x*";
    address += "x" + std::to_string(i);
  }
  tmpl += "x";
  address += "x";
  EXPECT_EQ(ExpandUrlTemplate(tmpl, address, "1"), address);
  EXPECT_EQ(ExpandUrlTemplate(tmpl, address.substr(1), "1"), "");
  std::string computed = "p";
  for (int i = 0; i < 300; ++i) computed += "计算[$]";
  EXPECT_EQ(ExpandUrlTemplate(computed, "", "1"), "p" + std::string(300, '1'));
}

TEST(MatchSegmentsTest, ConstantsAreFoundAtTheirFirstOccurrenceInOrder) {
  std::vector<UrlSegment> segments{
      {'c', "a", {}}, {'*', {}, {}}, {'c', "-", {}}, {'*', {}, {}}, {'c', ".", {}}};
  ASSERT_TRUE(MatchSegments("za1-2-3.4.5", segments, 0, segments.size() - 1));
  EXPECT_EQ(segments[1].output, "1");
  EXPECT_EQ(segments[3].output, "2-3");
  std::vector<UrlSegment> one{{'c', "abc", {}}};
  EXPECT_FALSE(MatchSegments("abcd", one, 0, 0));
}

class UrlTemplateStageTest : public ::testing::Test {
 protected:
  bool Run(const RuleSet& set, std::string_view command = "7") {
    return RunUrlTemplateStage(browser, kArticle, command, set, log);
  }
  std::shared_ptr<testing::FakeBrowserData> page = MakePage(std::string(kArticle), {});
  FakeBrowser browser{page};
  RecordingLog log;
};

TEST_F(UrlTemplateStageTest, LogsTheLineAndNavigates) {
  const std::string line = "[网址=http://s.example/]http://s.example/t-*-计算[$].html";
  EXPECT_TRUE(Run({"*第$页", line}));
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines[0],
            "    执行指令[网址=http://s.example/]http://s.example/t-*-计算[$].html,"
            "转到网址: http://s.example/t-123-7.html");
  ASSERT_EQ(page->record->navigations.size(), 1u);
  EXPECT_EQ(page->record->navigations[0].first, "http://s.example/t-123-7.html");
  EXPECT_EQ(page->record->navigations[0].second, "_self");
}

TEST_F(UrlTemplateStageTest, SkipsLinesThatDoNotApplyAndTakesTheFirstThatDoes) {
  const RuleSet set{" [网址=http://s.example/]http://s.example/a",        // not at the very start
                    "[网址=http://s.example/http://s.example/b",          // no "]"
                    "[网址=]http://s.example/c",                          // empty site
                    "[网址=http://S.example/]http://s.example/d",         // case-sensitive site
                    "[网址=http://s.example/]",                           // empty template
                    "[网址=http://s.example/]http://s.example/q-*.html",  // does not fit
                    "[网址=http://s.example/t]http://s.example/list?p=计算[$-1]",
                    "[网址=http://s.example/]http://s.example/z"};
  EXPECT_TRUE(Run(set));
  ASSERT_EQ(page->record->navigations.size(), 1u);
  EXPECT_EQ(page->record->navigations[0].first, "http://s.example/list?p=6");
}

TEST_F(UrlTemplateStageTest, FindsNothingWithoutAnApplicableLine) {
  EXPECT_FALSE(Run({"[网址=http://other.example/]http://other.example/x", "*第$页"}));
  EXPECT_TRUE(log.lines.empty());
  EXPECT_TRUE(page->record->navigations.empty());
}

TEST_F(UrlTemplateStageTest, AFailedNavigationStillCountsAsFound) {
  page->navigateFails = true;
  EXPECT_TRUE(Run({"[网址=http://s.example/]http://s.example/p计算[$]"}));
  EXPECT_EQ(log.lines.size(), 1u);
}

}  // namespace
}  // namespace paginor
