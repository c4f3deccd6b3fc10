#include "engine/link_text.h"

#include <gtest/gtest.h>

namespace paginor {
namespace {

TEST(NormalizeLinkTextTest, DropsBracketsBlanksAndEntities) {
  EXPECT_EQ(NormalizeLinkText("[ 下一页 ]"), "下一页");
  EXPECT_EQ(NormalizeLinkText("Next &gt;&gt;"), "next");
  EXPECT_EQ(NormalizeLinkText("&lt;&lt; Prev"), "prev");
  EXPECT_EQ(NormalizeLinkText("【下一页】"), "下一页");
  EXPECT_EQ(NormalizeLinkText("\t(2)\r\n&nbsp;"), "2");
  EXPECT_EQ(NormalizeLinkText("&NBSP;Last&GT;"), "last");  // lowercased before replacing
  EXPECT_EQ(NormalizeLinkText("&nb&nbsp;sp;next"), "next");
  EXPECT_EQ(NormalizeLinkText(" \t "), "");
  EXPECT_EQ(NormalizeLinkText("下一页\u00A0"), "下一页");
  EXPECT_EQ(NormalizeLinkText("\u3000下\u3000一\u3000页\u3000"), "下一页");
}

TEST(NormalizeLinkTextTest, LowercasesOnlyAsciiLettersAndKeepsOtherBytes) {
  EXPECT_EQ(NormalizeLinkText("ÄÖ-Page_2"), "ÄÖ-page_2");
  EXPECT_EQ(NormalizeLinkText("第Ⅱ页"), "第Ⅱ页");
  EXPECT_EQ(NormalizeLinkText("a&amp;b"), "a&amp;b");
}

TEST(TrimBlanksTest, TrimsBlanksAndControlCharactersOnly) {
  EXPECT_EQ(TrimBlanks("\x01 \t *下一章 \r\n"), "*下一章");
  EXPECT_EQ(TrimBlanks("  "), "");
  EXPECT_EQ(TrimBlanks("页"), "页");
}

}  // namespace
}  // namespace paginor
