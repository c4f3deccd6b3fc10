#include "engine/fixed_position.h"

#include <gtest/gtest.h>

#include "engine/fakes.h"

namespace paginor {
namespace {

using testing::FakeMessenger;
using testing::PostedMessage;
using testing::RecordingLog;

constexpr std::string_view kPage = "http://s.example/p2.html";

std::optional<FixedPositionHit> Match(std::string_view command,
                                      const std::vector<std::string>& lines,
                                      std::string_view docURL = kPage) {
  return MatchFixedPosition(command, docURL, lines);
}

TEST(GenerateFixedPositionLineTest, BuildsTheLineFromTheFields) {
  EXPECT_EQ(GenerateFixedPositionLine("100", "200", "http://s.example/*", true),
            "上一页,100,200,http://s.example/*");
  EXPECT_EQ(GenerateFixedPositionLine("x", "y", "p", false), "下一页,x,y,p");
  EXPECT_FALSE(GenerateFixedPositionLine("", "200", "p", true));
  EXPECT_FALSE(GenerateFixedPositionLine("100", "", "p", true));
  EXPECT_FALSE(GenerateFixedPositionLine("100", "200", "", true));
}

TEST(MatchFixedPositionTest, ChoosesTheLineOfTheCommandsAction) {
  const std::vector<std::string> lines{"#指令格式: 动作,x,y,网址模式",
                                       "上一页,100,200,http://s.example/*"};
  const auto hit = Match("prev", lines);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->line, lines[1]);
  EXPECT_EQ(hit->x, 100);
  EXPECT_EQ(hit->y, 200);
  EXPECT_FALSE(Match("next", lines));
  for (const char* command : {"first", "last", "12", "back"}) EXPECT_FALSE(Match(command, lines));
}

TEST(MatchFixedPositionTest, FirstUsableLineWinsAndIsReturnedAsStored) {
  const std::vector<std::string> lines{
      " #下一页,1,1,http://s.example/*",  // not a comment, but no action either
      "下一页,-5,20,http://s.example/*",  // left of the primary monitor
      "下一页,5,-1,http://s.example/*",
      "下一页,x5,20,http://s.example/*",
      "下一页,5 ,20,http://s.example/*",
      "下一页,99999999999,20,http://s.example/*",
      "下一页,5,20,",
      "下一页,5,20",
      "下一页,5,20,http://other.example/*",
      "\t下一页, 7,+8,http://s.example/* \r",
      "下一页,9,9,http://s.example/*"};
  const auto hit = Match("next", lines);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->line, lines[9]);
  EXPECT_EQ(hit->x, 7);
  EXPECT_EQ(hit->y, 8);
}

TEST(MatchFixedPositionTest, ThePatternIsEverythingAfterTheThirdComma) {
  const auto hit = Match("next", {"下一页,10,20,http://s.example/a,b*"}, "http://s.example/a,b/3");
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->x, 10);
  EXPECT_FALSE(Match("next", {"下一页,10,20,http://s.example/a,b*"}, "http://s.example/a/3"));
}

TEST(MatchFixedPositionTest, APatternWithoutWildcardFitsOnlyTheAddressItNames) {
  const std::vector<std::string> lines{"下一页,1,2,http://s.example/p2.html"};
  EXPECT_TRUE(Match("next", lines));
  EXPECT_TRUE(Match("next", lines, "http://s.example/p2.html#comments"));
  EXPECT_FALSE(Match("next", lines, "http://other.example/"));
  EXPECT_FALSE(Match("next", lines, "http://s.example/p2.html?x=1"));
  EXPECT_FALSE(Match("next", lines, "http://s.example/"));
  const std::vector<std::string> anchored{"下一页,1,2,http://s.example/p2.html#a"};
  EXPECT_TRUE(Match("next", anchored, "http://s.example/p2.html#a"));
  EXPECT_FALSE(Match("next", anchored, "http://s.example/p2.html#b"));
  EXPECT_FALSE(Match("next", anchored, "http://s.example/p2.html"));
}

TEST(MatchFixedPositionTest, AComputedPartNeitherHangsNorFits) {
  EXPECT_FALSE(Match("next", {"下一页,1,2,http://s.example/p计算[$+1].html"}));
  EXPECT_FALSE(Match("next", {"下一页,1,2,http://s.example/*计算[$]"}));
}

TEST(ParseCoordinateTest, AcceptsNonNegativeDecimalsWithLeadingBlanks) {
  EXPECT_EQ(ParseCoordinate("0"), 0);
  EXPECT_EQ(ParseCoordinate("  42"), 42);
  EXPECT_EQ(ParseCoordinate("-0"), 0);
  EXPECT_EQ(ParseCoordinate("2147483647"), 2147483647);
  EXPECT_FALSE(ParseCoordinate("2147483648"));
  EXPECT_FALSE(ParseCoordinate("-1"));
  EXPECT_FALSE(ParseCoordinate(""));
  EXPECT_FALSE(ParseCoordinate(" "));
  EXPECT_FALSE(ParseCoordinate("+"));
  EXPECT_FALSE(ParseCoordinate("$1F"));
  EXPECT_FALSE(ParseCoordinate("12 "));
}

class ClickAtTest : public ::testing::Test {
 protected:
  static constexpr WindowHandle kContent = 0x1000;
  static constexpr WindowHandle kChild = 0x2000;
  FakeMessenger messenger;
  void SetUp() override { messenger.windows = {{kContent, {100, 50}}, {kChild, {120, 80}}}; }
};

TEST_F(ClickAtTest, PostsTheClickToTheWindowAndToTheChildUnderThePoint) {
  messenger.childUnderPoint = kChild;
  ClickAt(messenger, kContent, 300, 400);
  const std::intptr_t inWindow = 350 * 65536 + 200;
  const std::intptr_t inChild = 320 * 65536 + 180;
  const std::vector<PostedMessage> expected{{kContent, kWmLButtonDown, kMkLButton, 65537},
                                            {kContent, kWmMouseMove, 0, inWindow},
                                            {kContent, kWmLButtonDown, kMkLButton, inWindow},
                                            {kContent, kWmLButtonUp, kMkLButton, inWindow},
                                            {kChild, kWmMouseMove, 0, inChild},
                                            {kChild, kWmLButtonDown, kMkLButton, inChild},
                                            {kChild, kWmLButtonUp, kMkLButton, inChild}};
  EXPECT_EQ(messenger.posted, expected);
  EXPECT_EQ(messenger.lastChildFlags, kCwpSkipInvisible | kCwpSkipDisabled);
}

TEST_F(ClickAtTest, WithoutAChildOnlyTheWindowIsClicked) {
  for (const WindowHandle child : {WindowHandle{0}, kContent}) {
    messenger.posted.clear();
    messenger.childUnderPoint = child;
    ClickAt(messenger, kContent, 300, 400);
    const std::intptr_t inWindow = 350 * 65536 + 200;
    const std::vector<PostedMessage> expected{{kContent, kWmLButtonDown, kMkLButton, 65537},
                                              {kContent, kWmMouseMove, 0, inWindow},
                                              {kContent, kWmLButtonDown, kMkLButton, inWindow},
                                              {kContent, kWmLButtonUp, kMkLButton, inWindow}};
    EXPECT_EQ(messenger.posted, expected);
  }
}

TEST_F(ClickAtTest, APointLeftOfTheClientAreaKeepsItsRow) {
  ClickAt(messenger, kContent, 90, 60);  // client (-10, 10)
  EXPECT_EQ(messenger.posted[1].lParam, 10 * 65536 + 0xFFF6);
}

TEST(FixedPositionStageTest, LogsTheStoredLineAndClicks) {
  FakeMessenger messenger;
  RecordingLog log;
  const std::vector<std::string> lines{"下一页,10,20,http://s.example/* "};
  EXPECT_TRUE(RunFixedPositionStage("next", kPage, lines, 0x1000, messenger, log));
  EXPECT_EQ(log.lines, std::vector<std::string>{"    执行指令: 下一页,10,20,http://s.example/* "});
  ASSERT_EQ(messenger.posted.size(), 4u);
  EXPECT_EQ(messenger.posted[1].lParam, 20 * 65536 + 10);

  FakeMessenger untouched;
  RecordingLog silent;
  EXPECT_FALSE(RunFixedPositionStage("prev", kPage, lines, 0x1000, untouched, silent));
  EXPECT_TRUE(silent.lines.empty());
  EXPECT_TRUE(untouched.posted.empty());
}

}  // namespace
}  // namespace paginor
