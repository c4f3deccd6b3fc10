#include "engine/definition_file.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/text_file.h"

namespace paginor {
namespace {

DefinitionSets Sets(RuleSet prev, RuleSet next, RuleSet first, RuleSet last, RuleSet page) {
  DefinitionSets sets;
  sets[SetIndex::Prev] = std::move(prev);
  sets[SetIndex::Next] = std::move(next);
  sets[SetIndex::First] = std::move(first);
  sets[SetIndex::Last] = std::move(last);
  sets[SetIndex::Page] = std::move(page);
  return sets;
}

TEST(DefinitionHeadersTest, AreTheFiveHeadersInSetOrder) {
  EXPECT_EQ(SectionOfHeader("**上页配置**"), SetIndex::Prev);
  EXPECT_EQ(SectionOfHeader("**下页配置**"), SetIndex::Next);
  EXPECT_EQ(SectionOfHeader("**首页配置**"), SetIndex::First);
  EXPECT_EQ(SectionOfHeader("**末页配置**"), SetIndex::Last);
  EXPECT_EQ(SectionOfHeader("**某页配置**"), SetIndex::Page);
  EXPECT_FALSE(SectionOfHeader("**下页配置** "));
  EXPECT_FALSE(SectionOfHeader(" **下页配置**"));
  EXPECT_FALSE(SectionOfHeader("**下页配置**\t"));
  EXPECT_FALSE(SectionOfHeader(""));
}

TEST(SplitLinesTest, EachKindOfLineBreakEndsALine) {
  EXPECT_EQ(SplitLines(""), RuleSet{});
  EXPECT_EQ(SplitLines("a"), RuleSet{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), RuleSet{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (RuleSet{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (RuleSet{"a", ""}));
  EXPECT_EQ(SplitLines("\n\r"), (RuleSet{"", ""}));  // LF CR is two breaks
  EXPECT_EQ(SplitLines("\r\r\n\n"), (RuleSet{"", "", ""}));
  EXPECT_EQ(SplitLines(" a \t"), RuleSet{" a \t"});
}

TEST(JoinLinesTest, JoinsWithCrLfAndSplitsBack) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb");
  const RuleSet lines = {"下一页", "", " x "};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

TEST(ParseDefinitionTextTest, DropsLinesBeforeTheFirstHeader) {
  const DefinitionSets sets =
      ParseDefinitionText("stray\r\n**下页配置** \r\n**上页配置**\r\n上一页\r\n");
  EXPECT_EQ(sets, Sets({"上一页"}, {}, {}, {}, {}));
}

TEST(ParseDefinitionTextTest, RepeatedSectionsAppendInFileOrder) {
  const DefinitionSets sets = ParseDefinitionText(
      "**下页配置**\r\nn1\r\n**某页配置**\r\n[网址=x]\r\n**下页配置**\r\nn2\r\nn3\r\n");
  EXPECT_EQ(sets, Sets({}, {"n1", "n2", "n3"}, {}, {}, {"[网址=x]"}));
}

TEST(ParseDefinitionTextTest, HeaderWithTrailingBlankIsARuleLine) {
  const DefinitionSets sets = ParseDefinitionText("**首页配置**\r\n**末页配置** \r\nfirst\r\n");
  EXPECT_EQ(sets, Sets({}, {}, {"**末页配置** ", "first"}, {}, {}));
}

TEST(ParseDefinitionTextTest, KeepsLinesVerbatimWhateverTheLineBreaks) {
  const DefinitionSets sets =
      ParseDefinitionText("**末页配置**\r  end \n\n#comment\r\n\t[扩展]x\r**首页配置**");
  EXPECT_EQ(sets, Sets({}, {}, {}, {"  end ", "", "#comment", "\t[扩展]x"}, {}));
}

TEST(ParseDefinitionTextTest, EmptyTextGivesEmptySets) {
  EXPECT_EQ(ParseDefinitionText(""), DefinitionSets{});
  EXPECT_EQ(ParseDefinitionText("no header at all\r\n"), DefinitionSets{});
}

TEST(FormatDefinitionTextTest, EmptySetsGiveExactlyTheFiveHeaders) {
  EXPECT_EQ(FormatDefinitionText(DefinitionSets{}),
            "**上页配置**\r\n**下页配置**\r\n**首页配置**\r\n**末页配置**\r\n**某页配置**\r\n");
}

TEST(FormatDefinitionTextTest, WritesEverySetAfterItsHeaderAndReadsBack) {
  const DefinitionSets sets =
      Sets({"上一页", ""}, {"下一页", " >> "}, {}, {"[代码]last"}, {"[网址=a计算[1+1]b]"});
  const std::string text = FormatDefinitionText(sets);
  EXPECT_EQ(text,
            "**上页配置**\r\n上一页\r\n\r\n**下页配置**\r\n下一页\r\n >> \r\n**首页配置**\r\n"
            "**末页配置**\r\n[代码]last\r\n**某页配置**\r\n[网址=a计算[1+1]b]\r\n");
  EXPECT_EQ(ParseDefinitionText(text), sets);
}

// A GBK file written by the program is read and written again unchanged.
TEST(DefinitionFileBytesTest, GbkFileRoundTripsByteForByte) {
  const std::string gbk =
      "**\xC9\xCF\xD2\xB3\xC5\xE4\xD6\xC3**\r\n\xC9\xCF\xD2\xBB\xD2\xB3\r\n"  // 上页 上一页
      "**\xCF\xC2\xD2\xB3\xC5\xE4\xD6\xC3**\r\n\xCF\xC2\xD2\xBB\xD2\xB3\r\n"  // 下页 下一页
      "**\xCA\xD7\xD2\xB3\xC5\xE4\xD6\xC3**\r\n"                              // 首页
      "**\xC4\xA9\xD2\xB3\xC5\xE4\xD6\xC3**\r\n"                              // 末页
      "**\xC4\xB3\xD2\xB3\xC5\xE4\xD6\xC3**\r\n";                             // 某页
  const DefinitionSets sets = ParseDefinitionText(DecodeTextFile(gbk));
  EXPECT_EQ(sets, Sets({"上一页"}, {"下一页"}, {}, {}, {}));
  EXPECT_EQ(EncodeTextFile(FormatDefinitionText(sets)), gbk);
}

TEST(DefinitionFileBytesTest, NulEndsTheText) {
  using namespace std::string_literals;
  const std::string bytes = "**\xCF\xC2\xD2\xB3\xC5\xE4\xD6\xC3**\r\nkept\r\nhalf\0lost\r\nlost\r\n"s;
  EXPECT_EQ(ParseDefinitionText(DecodeTextFile(bytes)), Sets({}, {"kept", "half"}, {}, {}, {}));
}

}  // namespace
}  // namespace paginor
