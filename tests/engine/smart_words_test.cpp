#include "engine/smart_words.h"

#include <gtest/gtest.h>

namespace paginor {
namespace {

int Score(std::string_view text, std::string_view command) {
  return ScorePageText(ReadPageText(text), command).score;
}

TEST(SmartWordsTest, DecorationsAndArrowsAroundTheWordsAreTakenOff) {
  const PageText text = ReadPageText("  [ Next page &raquo; ]\n");
  EXPECT_EQ(text.core, "next page");
  EXPECT_EQ(text.forward, 1);
  EXPECT_EQ(text.backward, 0);
  EXPECT_TRUE(text.doubled);

  EXPECT_EQ(ReadPageText("【下一章】").core, "下一章");
  EXPECT_EQ(ReadPageText("« 前へ").backward, 1);
  EXPECT_TRUE(ReadPageText(">|").edge);
  EXPECT_EQ(ReadPageText("Older\u00a0\u00a0 posts").core, "older posts");
}

TEST(SmartWordsTest, PageNumbersAloneOrInWords) {
  EXPECT_EQ(ReadPageText("[7]").number, 7);
  EXPECT_TRUE(ReadPageText("7").bareNumber);
  EXPECT_EQ(ReadPageText("第 12 页").number, 12);
  EXPECT_FALSE(ReadPageText("第 12 页").bareNumber);
  EXPECT_EQ(ReadPageText("Page 3").number, 3);
  EXPECT_FALSE(ReadPageText("0").number);
  EXPECT_FALSE(ReadPageText("123456").number);  // an id, not a page
  EXPECT_FALSE(ReadPageText("2026年").number);
}

TEST(SmartWordsTest, CapitalsOfOtherScriptsAreLowercased) {
  EXPECT_EQ(LowercaseWords("СЛЕДУЮЩАЯ"), "следующая");
  EXPECT_EQ(LowercaseWords("NÄCHSTE Seite"), "nächste seite");
  EXPECT_EQ(LowercaseWords("PRÉCÉDENT ×"), "précédent ×");
  EXPECT_EQ(LowercaseWords("ЁЖ下一页"), "ёж下一页");
  EXPECT_GT(Score("Следующая →", "next"), 0);
  EXPECT_GT(Score("PÁGINA SIGUIENTE", "next"), 0);
}

TEST(SmartWordsTest, TheWholeWordBeatsATextThatBeginsWithIt) {
  const int whole = Score("下一章", "next");
  const int begins = Score("下一章：第十二回 风起", "next");
  EXPECT_GT(whole, begins);
  EXPECT_GT(begins, 0);
  // A Latin word ends where a word ends.
  EXPECT_EQ(Score("nextdoor neighbours", "next"), 0);
  EXPECT_GT(Score("Next: the harbour", "next"), 0);
  // An agreeing arrow adds a little.
  EXPECT_GT(Score("Older posts →", "next"), Score("Older posts", "next"));
}

TEST(SmartWordsTest, EachCommandHasItsOwnWordsInManyLanguages) {
  for (const char* next : {"下一页", "下页 »", "后一页", "下一张", "下一篇", "Next page", "Older posts",
                           "次へ", "次のページ", "다음", "Weiter", "Nächste", "Suivant", "Siguiente",
                           "Próximo", "Далее", "Continue"}) {
    EXPECT_GT(Score(next, "next"), 0) << next;
    EXPECT_EQ(Score(next, "prev"), 0) << next;
    EXPECT_TRUE(MayNamePage(ReadPageText(next))) << next;
    EXPECT_TRUE(MayMatter(next)) << next;
    EXPECT_TRUE(MayMatter(LowercaseWords(next) == next ? " " + std::string(next) : next)) << next;
  }
  for (const char* prev : {"上一页", "前一页", "上一章", "Previous", "Newer posts", "前へ", "이전",
                           "Zurück", "Précédent", "Anterior", "Назад"}) {
    EXPECT_GT(Score(prev, "prev"), 0) << prev;
    EXPECT_EQ(Score(prev, "next"), 0) << prev;
    EXPECT_TRUE(MayNamePage(ReadPageText(prev))) << prev;
  }
  EXPECT_GT(Score("尾页", "last"), 0);
  EXPECT_TRUE(MayNamePage(ReadPageText("尾页")));
  EXPECT_TRUE(MayNamePage(ReadPageText("›")));
  EXPECT_FALSE(MayNamePage(ReadPageText("帖子标题：第42个讨论")));
  EXPECT_FALSE(MayNamePage(ReadPageText("[42]")));
  // The quick look agrees with the full reading on what can matter.
  for (const char* text : {"СЛЕДУЮЩАЯ", "NEXT", "[ 7 ]", "»", "帖子标题", "作者 回复", "Home", "第三章"}) {
    const PageText full = ReadPageText(text);
    EXPECT_EQ(MayMatter(text), MayNamePage(full) || full.number.has_value()) << text;
  }
  EXPECT_GT(Score("« Primera", "first"), 0);
  EXPECT_EQ(Score("首页", "last"), 0);
}

TEST(SmartWordsTest, ArrowsAloneTakeTheirDirection) {
  EXPECT_GT(Score("›", "next"), 0);
  EXPECT_GT(Score(">>", "next"), 0);
  EXPECT_GT(Score("←", "prev"), 0);
  EXPECT_EQ(Score("›", "prev"), 0);
  // Beside single arrows a pager's double arrows usually go to the ends.
  EXPECT_GT(Score("›", "next"), Score("»", "next"));
  EXPECT_GT(Score(">|", "last"), 0);
  EXPECT_EQ(Score(">|", "next"), 0);
  EXPECT_GT(Score("|<", "first"), 0);
  EXPECT_EQ(Score("<>", "next"), 0);  // both ways: neither
}

TEST(SmartWordsTest, PageNumberCommandsTakeTheirNumberInAnyForm) {
  EXPECT_GT(Score("…7…", "7"), 0);
  EXPECT_GT(Score("Page 7", "7"), 0);
  EXPECT_GT(Score("第7页", "07"), 0);
  EXPECT_EQ(Score("17", "7"), 0);
  EXPECT_EQ(Score("下一页", "7"), 0);
}

}  // namespace
}  // namespace paginor
