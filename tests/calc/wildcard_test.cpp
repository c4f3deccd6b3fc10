// "like" and "wildcard", and the mask matcher behind them.

#include "calc/wildcard.h"

#include <gtest/gtest.h>

#include <string>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

constexpr std::size_t kPlenty = 1'000'000;

WildcardResult Match(std::string_view text, std::string_view pattern) {
  return MatchWildcard(text, pattern, kPlenty).result;
}

TEST(WildcardTest, StarQuestionMarkAndSets) {
  EXPECT_EQ(Match("abc", "a*"), WildcardResult::kMatch);
  EXPECT_EQ(Match("abc", "*c"), WildcardResult::kMatch);
  EXPECT_EQ(Match("abc", "*d"), WildcardResult::kNoMatch);
  EXPECT_EQ(Match("abc", "a?c"), WildcardResult::kMatch);
  EXPECT_EQ(Match("abc", "a?"), WildcardResult::kNoMatch);
  EXPECT_EQ(Match("", "*"), WildcardResult::kMatch);
  EXPECT_EQ(Match("", ""), WildcardResult::kMatch);
  EXPECT_EQ(Match("a", ""), WildcardResult::kNoMatch);
  EXPECT_EQ(Match("abcbc", "a*bc"), WildcardResult::kMatch);
  EXPECT_EQ(Match("page7.html", "page[0-9].html"), WildcardResult::kMatch);
  EXPECT_EQ(Match("pageX.html", "page[0-9].html"), WildcardResult::kNoMatch);
  EXPECT_EQ(Match("pageX.html", "page[!0-9].html"), WildcardResult::kMatch);
  EXPECT_EQ(Match("b", "[abc]"), WildcardResult::kMatch);
  EXPECT_EQ(Match("-", "[a-]"), WildcardResult::kMatch);
  EXPECT_EQ(Match("-", "[-a]"), WildcardResult::kMatch);
}

TEST(WildcardTest, AsciiLettersIgnoreCaseAndCharactersAreWhole) {
  EXPECT_EQ(Match("ABC", "a?c"), WildcardResult::kMatch);
  EXPECT_EQ(Match("Q", "[a-z]"), WildcardResult::kMatch);
  EXPECT_EQ(Match("\xe4\xb8\xad\xe6\x96\x87", "??"), WildcardResult::kMatch);  // 中文
  EXPECT_EQ(Match("\xe4\xb8\xad", "[\xe4\xb8\x80-\xe9\xbe\xa5]"), WildcardResult::kMatch);
  EXPECT_EQ(Match("\xce\xb1", "\xce\x91"), WildcardResult::kNoMatch);  // Greek is not folded
}

TEST(WildcardTest, AnUnclosedOrEmptySetIsMalformed) {
  EXPECT_EQ(Match("a", "[a"), WildcardResult::kMalformed);
  EXPECT_EQ(Match("a", "[]"), WildcardResult::kMalformed);
  EXPECT_EQ(Match("a", "[!]"), WildcardResult::kMalformed);
}

TEST(WildcardTest, StopsAtItsStepLimit) {
  const std::string text(2000, 'a');
  const std::string pattern = "*" + std::string(1000, 'a') + "b";
  const WildcardOutcome outcome = MatchWildcard(text, pattern, 10000);
  EXPECT_EQ(outcome.result, WildcardResult::kTooComplex);
  EXPECT_GT(outcome.steps, 10000U);
}

TEST(WildcardTest, LikeReadsPercentAndUnderscore) {
  EXPECT_EQ(Eval("\"abc\" like \"a%\""), "1");
  EXPECT_EQ(Eval("\"abc\" like \"A_C\""), "1");
  EXPECT_EQ(Eval("\"abc\" like \"a*\""), "1");
  EXPECT_EQ(Eval("\"a_c\" like \"a[_]c\""), "0");  // the set holds "?" now
  EXPECT_EQ(Eval("\"a?c\" like \"a[_]c\""), "1");
  EXPECT_EQ(Eval("\"abc\" wildcard \"*d\""), "0");
  EXPECT_EQ(Eval("\"abc\" wildcard \"a%\""), "0");
  EXPECT_EQ(Eval("\"a%\" wildcard \"a%\""), "1");
  EXPECT_EQ(Eval("\"abc\" wildcard \"[a\""), "ERROR: invalid formule");
  EXPECT_EQ(Eval("x wildcard \"1?\"", "x=12"), "1");
}

}  // namespace
}  // namespace paginor::calc::test
