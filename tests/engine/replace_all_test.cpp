#include "engine/replace_all.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace paginor {
namespace {

std::string Replaced(std::string text, std::string_view old, std::string_view replacement) {
  ReplaceAll(text, old, replacement);
  return text;
}

// The loop as it has always been written; only called where it is known to end.
std::string Rescanning(std::string text, const std::string& old, const std::string& replacement) {
  for (auto at = text.find(old); at != std::string::npos; at = text.find(old)) {
    text.replace(at, old.size(), replacement);
  }
  return text;
}

TEST(ReplaceAllTest, ReplacesEveryOccurrenceAndLeavesOtherTextAlone) {
  EXPECT_EQ(Replaced("a&gt;b&gt;&gt;", "&gt;", ">"), "a>b>>");
  EXPECT_EQ(Replaced("no match here", "&gt;", ">"), "no match here");
  EXPECT_EQ(Replaced("", "x", "y"), "");
  EXPECT_EQ(Replaced("abc", "", "zz"), "abc");
  EXPECT_EQ(Replaced("【下一页】", "【", ""), "下一页】");
}

TEST(ReplaceAllTest, SearchesAgainFromTheStartAfterEachReplacement) {
  // Removing the inner entity joins its neighbours into a new one.
  EXPECT_EQ(Replaced("&nb&nbsp;sp;x", "&nbsp;", ""), "x");
  EXPECT_EQ(Replaced("aaab", "ab", "b"), "b");
  EXPECT_EQ(Replaced("aabb", "ab", "ba"), "bbaa");
  EXPECT_EQ(Replaced("$$$", "$$", "(p)"), "(p)$");
}

TEST(ReplaceAllTest, AgreesWithTheRescanningLoopWhereverThatLoopEnds) {
  std::mt19937 random(20240611);
  const auto word = [&](std::size_t maxLength) {
    std::string s(random() % (maxLength + 1), 'a');
    for (char& c : s) c = static_cast<char>('a' + random() % 3);
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    std::string old = word(3);
    if (old.empty()) old = "a";
    std::string replacement = word(old.size() - 1);  // shorter: the loop always ends
    const std::string text = word(24);
    ASSERT_EQ(Replaced(text, old, replacement), Rescanning(text, old, replacement))
        << text << " / " << old << " -> " << replacement;
  }
}

TEST(ReplaceAllTest, EndsWhenTheReplacementContainsOld) {
  EXPECT_EQ(Replaced("$+1", "$", "$"), "$+1");
  EXPECT_EQ(Replaced("aba", "a", "aa"), "aabaa");
  EXPECT_EQ(Replaced("x$y$", "$", "<$>"), "x<$>y<$>");
}

TEST(ReplaceAllTest, EndsWhenTheReplacementKeepsRebuildingOld) {
  // "aab" -> "abbaa" -> "bbaabaa" -> ... grows for ever under the rescanning loop.
  EXPECT_EQ(Replaced("aab", "ab", "bbaa"), "abbaa");
}

TEST(ReplaceAllTest, HandlesLongTextsWithManyOccurrences) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "&nb&nbsp;sp;.";
  ReplaceAll(text, "&nbsp;", "");
  EXPECT_EQ(text, std::string(40000, '.'));
}

}  // namespace
}  // namespace paginor
