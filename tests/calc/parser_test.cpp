// The grammar: precedence, signs, parentheses, the exponent rule, parse errors and the
// node registry.

#include <gtest/gtest.h>

#include <string>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(ParserTest, TheFormulaAfterCreationIsZeroAndAnEmptyOneLacksAnOperand) {
  TCalcul calc(&TestClock());
  EXPECT_EQ(calc.Formula(), "0");
  std::string result;
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "0");
  EXPECT_EQ(Eval(""), "ERROR: ? operand ");
  EXPECT_EQ(Eval("   ;;"), "ERROR: ? operand ");
}

TEST(ParserTest, PlusAndMinusBindLooserThanEveryOtherOperator) {
  EXPECT_EQ(Eval("1+2*3"), "7");
  EXPECT_EQ(Eval("1+2=3"), "1");  // 1+(2=3)
  EXPECT_EQ(Eval("(1+2)=3"), "1");
  EXPECT_EQ(Eval("1+1=2"), "1");  // 1+(1=2) = 1+0
  EXPECT_EQ(Eval("10-2-3"), "5");
  EXPECT_EQ(Eval("2*3 div 4"), "1");                // (2*3) div 4
  EXPECT_EQ(Eval("a=1 and b=2", "a=1\nb=1"), "0");  // ((a=1) and b)=2
  EXPECT_EQ(Eval("a=1 and b=1", "a=1\nb=1"), "1");
}

TEST(ParserTest, ALeadingSignAppliesToTheWholeTerm) {
  EXPECT_EQ(Eval("-x*3", "x=2"), "-6");
  EXPECT_EQ(Eval("+x*3", "x=2"), "6");
  EXPECT_EQ(Eval("1-x*3", "x=2"), "-5");
  EXPECT_EQ(Eval("(-x)"), "ERROR: Unknown variable:x");
  EXPECT_EQ(Eval("2+-x", "x=1"), "1");
  EXPECT_EQ(Eval("--1"), "ERROR: ? operand ");
}

TEST(ParserTest, ExponentsAreSingleOperandsAndChainToTheLeft) {
  EXPECT_EQ(Eval("2^3^2"), "64");
  EXPECT_EQ(Eval("2^(3)"), "8");
  EXPECT_EQ(Eval("2^(-1)"), "0.5");
  EXPECT_EQ(Eval("2^x", "x=10"), "1024");
  EXPECT_EQ(Eval("2^\"3\""), "8");
  EXPECT_EQ(Eval("3*2^2"), "12");
  EXPECT_EQ(Eval("2^(1+1)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("2^-1"), "ERROR: Invalid values");
  EXPECT_EQ(Eval("2^sin(0)"), "ERROR: Invalid values");
  EXPECT_EQ(Eval("^2"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("^(2)"), "ERROR: Invalid formula (..)");
}

TEST(ParserTest, UnbalancedParenthesesFailAtEvaluation) {
  EXPECT_EQ(Eval("(1+2"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("1+2)"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("((1)"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("(((2)))*((3))"), "6");
}

TEST(ParserTest, AnOperandAfterAnOperandIsNotUnderstood) {
  EXPECT_EQ(Eval("1 2"), "ERROR: Invalid expression");
  EXPECT_EQ(Eval("1 \"a\""), "ERROR: Invalid expression");
  EXPECT_EQ(Eval("1 x", "x=1"), "ERROR: Invalid expression");
  EXPECT_EQ(Eval("(1)(2)"), "ERROR: Invalid expression");
}

TEST(ParserTest, AMissingOperandIsReported) {
  EXPECT_EQ(Eval("1+"), "ERROR: ? operand ");
  EXPECT_EQ(Eval("*2"), "ERROR: ? operand ");
  EXPECT_EQ(Eval("()"), "ERROR: ? operand ");
  EXPECT_EQ(Eval("sin()"), "ERROR: ? operand ");
  EXPECT_EQ(Eval("1 and"), "ERROR: ? operand ");
}

TEST(ParserTest, TheFirstErrorOfARunWins) {
  EXPECT_EQ(Eval("foo(1)+\"x"), "ERROR: Invalid function foo(...)");
  EXPECT_EQ(Eval("1.e+\"x"), "ERROR: Wrong number in 1.e+\"x");
}

TEST(ParserTest, ParseReturnsTheNodeCountOrMinusOne) {
  TCalcul calc(&TestClock());
  EXPECT_EQ(calc.Parse("1+2*3", false), 5);
  EXPECT_EQ(calc.NodeCount(), 5);
  EXPECT_FALSE(calc.ErrorFlag());
  EXPECT_EQ(calc.Parse("-x", false), 2);
  EXPECT_EQ(calc.Parse("sin(1)", false), 2);
  EXPECT_EQ(calc.Parse("1+", false), -1);
  EXPECT_TRUE(calc.ErrorFlag());
  EXPECT_EQ(calc.ErrorText(), "? operand ");
  EXPECT_EQ(calc.NodeCount(), 0);
  // Unbalanced: a failure without a message.
  EXPECT_EQ(calc.Parse("(1", false), -1);
  EXPECT_FALSE(calc.ErrorFlag());
  EXPECT_EQ(calc.Parse("2", false), 1);  // a new parse clears the flag
  EXPECT_FALSE(calc.ErrorFlag());
}

TEST(ParserTest, ParseSetsTheClockVariablesOnlyWhenAsked) {
  TCalcul calc(&TestClock());
  calc.Parse("1", false);
  EXPECT_TRUE(calc.Variables().empty());
  calc.Parse("1", true);
  ASSERT_EQ(calc.Variables().size(), 3U);
  EXPECT_EQ(calc.Variables()[0], "date=\"2024/03/15\"");
  EXPECT_EQ(calc.Variables()[1], "now=\"2024/03/15 10:20:30.000\"");
  EXPECT_EQ(calc.Variables()[2], "time=\"10:20:30.000\"");
}

// Formulas of more than 50, 100 and 150 nodes: every node is registered, numbered from
// 1, and all are released when the next parse begins or fails.
TEST(ParserTest, TheNodeRegistryGrowsInStepsOfFiftyAndReleasesEveryNode) {
  const auto sum = [](int terms) {
    std::string text = "1";
    for (int i = 1; i < terms; ++i) text += "+1";
    return text;
  };
  TCalcul calc(&TestClock());
  EXPECT_EQ(calc.Parse(sum(26), false), 51);
  EXPECT_EQ(calc.RegistryCapacity(), 100);
  EXPECT_EQ(calc.Parse(sum(51), false), 101);
  EXPECT_EQ(calc.RegistryCapacity(), 150);
  EXPECT_EQ(calc.Parse(sum(80), false), 159);
  EXPECT_EQ(calc.RegistryCapacity(), 200);
  EXPECT_EQ(calc.Parse(sum(80) + "+", false), -1);
  EXPECT_EQ(calc.NodeCount(), 0);
  EXPECT_EQ(calc.RegistryCapacity(), 0);

  calc.SetFormula(sum(120));
  std::string result;
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "120");
  EXPECT_EQ(calc.NodeCount(), 239);
  EXPECT_EQ(calc.RegistryCapacity(), 250);
}

TEST(ParserTest, AFailedParseInsideCalculateLeavesNoTree) {
  TCalcul calc(&TestClock());
  calc.SetFormula("1+2+3+(4");
  std::string result = "kept";
  EXPECT_FALSE(calc.Calculate(result));
  EXPECT_EQ(result, "kept");
  EXPECT_EQ(calc.ErrorText(), "Invalid formula (..)");
  EXPECT_EQ(calc.NodeCount(), 0);
}

}  // namespace
}  // namespace paginor::calc::test
