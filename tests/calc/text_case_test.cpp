#include "calc/text_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace paginor::calc {
namespace {

TEST(LetterCase, ChangesTheLettersOfTheChineseCodePage) {
  EXPECT_EQ(UpperText("abc xyz-09"), "ABC XYZ-09");
  EXPECT_EQ(LowerText("ABC XYZ-09"), "abc xyz-09");
  EXPECT_EQ(UpperText("ａｂｚ"), "ＡＢＺ");
  EXPECT_EQ(LowerText("ＡＢＺ"), "ａｂｚ");
  EXPECT_EQ(UpperText("αβγσω"), "ΑΒΓΣΩ");
  EXPECT_EQ(LowerText("ΑΒΓΣΩ"), "αβγσω");
  EXPECT_EQ(UpperText("абвяё"), "АБВЯЁ");
  EXPECT_EQ(LowerText("АБВЯЁ"), "абвяё");
  EXPECT_EQ(UpperText("ⅰⅴⅹ"), "ⅠⅤⅩ");
  EXPECT_EQ(LowerText("ⅠⅤⅩ"), "ⅰⅴⅹ");
  EXPECT_EQ(UpperText("第ⅲ章 Abc 中文"), "第Ⅲ章 ABC 中文");
}

TEST(LetterCase, LeavesEverythingElseByteForByte) {
  // Final sigma, pinyin with tones, Latin-1 letters, Ⅺ, Chinese and full-width digits have
  // no case pair in the code page.
  for (const std::string text : {"ς", "ǎéü", "ÀÉß", "ⅪⅫ", "中文页码", "０９", "Ǎ", "\u03a2"}) {
    EXPECT_EQ(UpperText(text), text) << text;
    EXPECT_EQ(LowerText(text), text) << text;
  }
  EXPECT_EQ(UpperText(""), "");
}

TEST(LetterCase, InvalidUtf8PassesUnchanged) {
  EXPECT_EQ(UpperText("\xff\xfe" "ab\xc3"), "\xff\xfe" "AB\xc3");
  EXPECT_EQ(UpperText("\xc1\x81"), "\xc1\x81");            // overlong "A"
  EXPECT_EQ(UpperText("\xe0\x81\x81z"), "\xe0\x81\x81Z");  // overlong, then a letter
  EXPECT_EQ(UpperText("\xed\xa0\x80"), "\xed\xa0\x80");    // surrogate
  EXPECT_EQ(UpperText("\xd0"), "\xd0");                    // cut-off Cyrillic letter
  EXPECT_EQ(LowerText("\xd0\x90\xd0"), "\xd0\xb0\xd0");
  EXPECT_EQ(UpperText(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(LetterCase, UpperThenLowerRestoresSmallLetters) {
  const std::string text = "abcdefghijklmnopqrstuvwxyz αβγδεζηθικλμνξοπρστυφχψω абвгдеёжзийклмнопрстуфхцчшщъыьэюя ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ ａｑｚ";
  EXPECT_EQ(LowerText(UpperText(text)), text);
  EXPECT_NE(UpperText(text), text);
}

TEST(Collation, LettersFirstThenSmallBeforeCapital) {
  EXPECT_LT(CollateText("a", "A"), 0);
  EXPECT_LT(CollateText("A", "b"), 0);
  EXPECT_LT(CollateText("a", "b"), 0);
  EXPECT_GT(CollateText("b", "a"), 0);
  EXPECT_LT(CollateText("A", "ab"), 0);
  EXPECT_LT(CollateText("ab", "Ab"), 0);
  EXPECT_GT(CollateText("Ab", "aB"), 0);  // the first difference in case decides
  EXPECT_LT(CollateText("abc", "abd"), 0);
  EXPECT_LT(CollateText("", "a"), 0);
  EXPECT_EQ(CollateText("", ""), 0);
  EXPECT_EQ(CollateText("页码ABC", "页码ABC"), 0);
  EXPECT_LT(CollateText("а", "Б"), 0);
  EXPECT_LT(CollateText("ａ", "Ｂ"), 0);
  EXPECT_LT(CollateText("_", "a"), 0);
}

TEST(Collation, SortsConsistently) {
  std::vector<std::string> words = {"b", "B", "A", "a", "ab", "Ab", "aB", "", "中", "1", "ä", "\xff"};
  const std::vector<std::string> expected = {"", "1", "a", "A", "ab", "aB", "Ab", "b", "B", "ä", "中", "\xff"};
  std::sort(words.begin(), words.end(),
            [](const std::string& x, const std::string& y) { return CollateText(x, y) < 0; });
  EXPECT_EQ(words, expected);
  for (const auto& x : expected) {
    for (const auto& y : expected) {
      const int forward = CollateText(x, y);
      const int backward = CollateText(y, x);
      EXPECT_EQ(forward > 0, backward < 0) << x << " / " << y;
      EXPECT_EQ(forward == 0, x == y) << x << " / " << y;
    }
  }
}

}  // namespace
}  // namespace paginor::calc
