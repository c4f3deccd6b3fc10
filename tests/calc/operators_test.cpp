// Arithmetic, integer division, powers, logic, comparisons and concatenation.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(OperatorsTest, ArithmeticWritesNumbersWithTwelveDecimalsAtMost) {
  EXPECT_EQ(Eval("1/3"), "0.333333333333");
  EXPECT_EQ(Eval("2/3*3"), "2");
  EXPECT_EQ(Eval("1/3*3"), "1");
  EXPECT_EQ(Eval("(1/3)*3<1"), "0");
  EXPECT_EQ(Eval("sin(2/3*3)=sin(2)"), "1");
  EXPECT_EQ(Eval("(2/3*3) div 1"), "2");
  // Between calculators a value travels as its text.
  EXPECT_EQ(Eval("x:=2/3; x*3"), "2.000000000001");
  EXPECT_EQ(Eval("0.1+0.2"), "0.3");
  EXPECT_EQ(Eval("10/4"), "2.5");
  EXPECT_EQ(Eval("7*20-20"), "120");
  EXPECT_EQ(Eval("1,5+1"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("x+1", "x=1,5"), "2.5");  // a comma in a value reads as a point
}

TEST(OperatorsTest, DivisionByAlmostZeroGivesZeroWithoutTheDividend) {
  EXPECT_EQ(Eval("10/0"), "0");
  EXPECT_EQ(Eval("10/0.000000001"), "0");
  EXPECT_EQ(Eval("10/0.00000001"), "1000000000");
  EXPECT_EQ(Eval("nosuch/0"), "0");
  EXPECT_EQ(Eval("1/nosuch"), "ERROR: Unknown variable:nosuch");
}

TEST(OperatorsTest, DivAndModTruncateTowardZero) {
  EXPECT_EQ(Eval("7 div 2"), "3");
  EXPECT_EQ(Eval("-7 div 2"), "-3");
  EXPECT_EQ(Eval("7 div 0"), "0");
  EXPECT_EQ(Eval("nosuch div 0"), "0");
  EXPECT_EQ(Eval("7 mod 3"), "1");
  EXPECT_EQ(Eval("-7 mod 3"), "-1");
  EXPECT_EQ(Eval("7 mod (-3)"), "1");
  EXPECT_EQ(Eval("7 mod -3"), "ERROR: ? operand ");  // "-" after an operator is no sign
  EXPECT_EQ(Eval("7 mod 0"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("7.99999995 div 2"), "4");  // integers are nudged by 1e-7
  EXPECT_EQ(Eval("x div y", "x=-2147483648\ny=-1"), "2147483648");
  EXPECT_EQ(Eval("x mod y", "x=-2147483648\ny=-1"), "0");
}

TEST(OperatorsTest, IntegersKeepTheLowThirtyTwoBits) {
  EXPECT_EQ(Eval("4294967297 div 1"), "1");
  EXPECT_EQ(Eval("2147483648 div 1"), "-2147483648");
  EXPECT_EQ(Eval("1e19 div 1"), "ERROR: invalid formule");
}

TEST(OperatorsTest, Powers) {
  EXPECT_EQ(Eval("0^0"), "1");
  EXPECT_EQ(Eval("0^5"), "0");
  EXPECT_EQ(Eval("0^(-1)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("2^10"), "1024");
  EXPECT_EQ(Eval("2^(-2)"), "0.25");
  EXPECT_EQ(Eval("(-2)^3"), "-8");
  EXPECT_EQ(Eval("2^0.5"), "1.414213562373");
  EXPECT_EQ(Eval("(-8)^(0.5)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("10^5000"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("10^(-5000)"), "ERROR: invalid formule");
}

TEST(OperatorsTest, AndOrEvaluateTheRightOperandOnlyWhenNeeded) {
  EXPECT_EQ(Eval("0 and y"), "0");
  EXPECT_EQ(Eval("1 or y"), "1");
  EXPECT_EQ(Eval("0 or y"), "ERROR: Unknown variable:y");
  EXPECT_EQ(Eval("1 and y"), "ERROR: Unknown variable:y");
  EXPECT_EQ(Eval("2 and 0.5"), "0");
  EXPECT_EQ(Eval("0.5 or 1"), "1");
  EXPECT_EQ(Eval("\"a\" and 1"), "ERROR: Error, convert to numeric value:a");
}

TEST(OperatorsTest, EqualityComparesTextsByteForByte) {
  EXPECT_EQ(Eval("3=3.0"), "0");
  EXPECT_EQ(Eval("3<>3.0"), "1");
  EXPECT_EQ(Eval("\"a\"=\"a\""), "1");
  EXPECT_EQ(Eval("\"a\"=\"A\""), "0");
}

TEST(OperatorsTest, OrderComparesNumbersAndFallsBackToTexts) {
  EXPECT_EQ(Eval("2<10"), "1");
  EXPECT_EQ(Eval("\"2\"<\"10\""), "1");
  EXPECT_EQ(Eval("3>=3.0"), "1");
  EXPECT_EQ(Eval("\"b\"<\"a\""), "0");
  EXPECT_EQ(Eval("\"a\"<\"b\""), "1");
  EXPECT_EQ(Eval("\"a\"<=\"a\""), "1");
  EXPECT_EQ(Eval("\"B\">\"a\""), "1");
  EXPECT_EQ(Eval("\"10\"<\"a\""), "1");
  // No error stays behind after the fallback.
  const CalcRun run = Calc("\"b\">\"a\"");
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(Eval("nosuch<1"), "ERROR: Unknown variable:nosuch");
}

// Each operand of a comparison is evaluated once, so its side effects happen once.
TEST(OperatorsTest, ATextComparisonEvaluatesItsOperandsOnce) {
  EXPECT_EQ(Eval("freevar(\"x\")<\"a\"; existvar(\"x\")", "x=1\nx=2"), "\"1\"");
  EXPECT_EQ(Eval("(freevar(\"x\")<\"a\")+freevar(\"x\")", "x=1\nx=2"), "2");
}

TEST(OperatorsTest, ConcatenationJoinsTexts) {
  EXPECT_EQ(Eval("\"a\"|\"b\""), "\"ab\"");
  EXPECT_EQ(Eval("1|2"), "\"12\"");
  EXPECT_EQ(Eval("1|2+1"), "13");  // "|" binds tighter than "+"
  EXPECT_EQ(Eval("(1|2)*2"), "24");
}

TEST(OperatorsTest, TheSequenceOperatorKeepsTheRightValue) {
  EXPECT_EQ(Eval("1;2"), "2");
  EXPECT_EQ(Eval("x:=3;y:=4;x*y"), "12");
}

}  // namespace
}  // namespace paginor::calc::test
