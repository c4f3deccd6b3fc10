#include "calc/bracketing.h"

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(BracketArgumentsTest, EnclosesEachArgumentOfAList) {
  EXPECT_EQ(BracketArguments("copy(s,1,2)"), "copy((s),(1),(2))");
  EXPECT_EQ(BracketArguments("copy(s,copy(t,1,2),3)"), "copy((s),(copy((t),(1),(2))),(3))");
  EXPECT_EQ(BracketArguments("f(a, (b+c)*2)"), "f((a),( (b+c)*2))");
}

TEST(BracketArgumentsTest, LeavesTextsWithoutCommasAlone) {
  EXPECT_EQ(BracketArguments("sin(1)+(2*3)"), "sin(1)+(2*3)");
  EXPECT_EQ(BracketArguments(""), "");
  EXPECT_EQ(BracketArguments("f(g(1),2)+(3)"), "f((g(1)),(2))+(3)");
}

TEST(BracketArgumentsTest, QuotedTextsAndSetsAreOpaque) {
  EXPECT_EQ(BracketArguments("copy(\"a,b\",1,1)"), "copy((\"a,b\"),(1),(1))");
  EXPECT_EQ(BracketArguments("pos(\")\",\"a)\")"), "pos((\")\"),(\"a)\"))");
  EXPECT_EQ(BracketArguments("x in [1,(2]"), "x in [1,(2]");
  EXPECT_EQ(BracketArguments("iff(x in [1,2],3,4)"), "iff((x in [1,2]),(3),(4))");
  EXPECT_EQ(BracketArguments("\"a\"\"(,\""), "\"a\"\"(,\"");
}

TEST(BracketArgumentsTest, ACommaOutsideEveryPairUnbalancesTheFormula) {
  EXPECT_EQ(BracketArguments("1,2"), "1),(2");
  EXPECT_EQ(BracketArguments("f(1,2"), "f((1),(2");
  EXPECT_EQ(BracketArguments(")1,2("), ")1),(2(");
}

TEST(BracketArgumentsTest, ParenthesesAndCommasInsideTextsDoNotDisturbTheArguments) {
  EXPECT_EQ(Eval("copy(\"a,b\",1,1)"), "\"a\"");
  EXPECT_EQ(Eval("copy(\"(\",1,1)"), "\"(\"");
  EXPECT_EQ(Eval("pos(\")\",\"a)\")"), "2");
  EXPECT_EQ(Eval("1,2"), "ERROR: Invalid formula (..)");
}

TEST(BracketArgumentsTest, IsLinearOnLongTexts) {
  std::string text = "f(";
  for (int i = 0; i < 100000; ++i) text += "1,";
  text += "1)";
  const std::string bracketed = BracketArguments(text);
  EXPECT_EQ(bracketed.size(), text.size() + 2 * 100000 + 2);
  EXPECT_EQ(bracketed.substr(0, 9), "f((1),(1)");
}

}  // namespace
}  // namespace paginor::calc::test
