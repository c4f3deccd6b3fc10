// The tokenizer, seen through whole formulas: literals, names, operators, and the
// error texts it records.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(TokenizerTest, NumberLiteralsAreReturnedAsWritten) {
  EXPECT_EQ(Eval("7"), "7");
  EXPECT_EQ(Eval("1.50"), "1.50");
  EXPECT_EQ(Eval("1e3"), "1e3");
  EXPECT_EQ(Eval("2.5E-1"), "2.5E-1");
  EXPECT_EQ(Eval("1.50+0"), "1.5");
  EXPECT_EQ(Eval("1e3+0"), "1000");
  EXPECT_EQ(Eval("2.5e+1*1"), "25");
}

TEST(TokenizerTest, AMalformedNumberNamesTheWholeText) {
  EXPECT_EQ(Eval("1.e5"), "ERROR: Wrong number in 1.e5");
  EXPECT_EQ(Eval("1e"), "ERROR: Wrong number in 1e");
  EXPECT_EQ(Eval("2+3e+"), "ERROR: Wrong number in 2+3e+");
  // The text is the one after the argument lists were bracketed.
  EXPECT_EQ(Eval("copy(\"ab\",1.)"), "ERROR: Wrong number in copy((\"ab\"),(1.))");
}

TEST(TokenizerTest, AMinusBeforeADigitIsASignOnlyAtTheStartOrAfterAnOpeningParenthesis) {
  EXPECT_EQ(Eval("-2^2"), "4");
  EXPECT_EQ(Eval("0-2^2"), "-4");
  EXPECT_EQ(Eval("(-2)^2"), "4");
  EXPECT_EQ(Eval("2*(-3)"), "-6");
  EXPECT_EQ(Eval("1--2"), "3");
  EXPECT_EQ(Eval("2*-3"), "ERROR: ? operand ");
  EXPECT_EQ(Eval("- 2^2"), "-4");  // with a blank it is the sign of the term
}

TEST(TokenizerTest, QuotedTextsDoubleTheirQuotes) {
  EXPECT_EQ(Eval("\"abc\""), "\"abc\"");
  EXPECT_EQ(Eval("length(\"a\"\"b\")"), "3");
  EXPECT_EQ(Eval("\"\"\"\"|\"x\""), "\"\"x\"");
  EXPECT_EQ(Eval("\"abc"), "ERROR: String value end error");
  EXPECT_EQ(Eval("1+\"a\"\"b"), "ERROR: String value end error");
}

TEST(TokenizerTest, FunctionNamesNeedTheParenthesisRightAfterThem) {
  EXPECT_EQ(Eval("SIN(0)"), "0");
  EXPECT_EQ(Eval("Abs(-2)"), "2");
  EXPECT_EQ(Eval("sin (0)"), "ERROR: Invalid expression");
  EXPECT_EQ(Eval("foo(1)"), "ERROR: Invalid function foo(...)");
  EXPECT_EQ(Eval("2+Foo_1.x(1)"), "ERROR: Invalid function Foo_1.x(...)");
  // A word operator followed by "(" is looked up as a function.
  EXPECT_EQ(Eval("1 and(1)"), "ERROR: Invalid function and(...)");
}

TEST(TokenizerTest, WordOperatorsIgnoreLetterCase) {
  EXPECT_EQ(Eval("7 DIV 2"), "3");
  EXPECT_EQ(Eval("7 Mod 4"), "3");
  EXPECT_EQ(Eval("1 AND 1"), "1");
  EXPECT_EQ(Eval("0 oR 1"), "1");
  EXPECT_EQ(Eval("\"ab\" LIKE \"a%\""), "1");
  EXPECT_EQ(Eval("\"ab\" WildCard \"a*\""), "1");
  EXPECT_EQ(Eval("2 IN [1,2]"), "1");
}

TEST(TokenizerTest, NamesAreAsciiLettersDigitsUnderscoresAndDots) {
  EXPECT_EQ(Eval("a.b_1*2", "a.b_1=4"), "8");
  EXPECT_EQ(Eval("_x+1", "_x=1"), "2");
  EXPECT_EQ(Eval("X", "x=5"), "5");
}

TEST(TokenizerTest, ControlCharactersBlanksAndBracesSeparateTokens) {
  EXPECT_EQ(Eval("{1}\t+\r\n{ 2 }"), "3");
  EXPECT_EQ(Eval("1\x0b+\x0c"
                 "2"),
            "3");
}

TEST(TokenizerTest, AnUnrecognisedCharacterEndsTheFormula) {
  EXPECT_EQ(Eval("1+2 # anything"), "3");
  EXPECT_EQ(Eval("1+2 ! 5"), "3");
  EXPECT_EQ(Eval("6 % 4"), "6");
  EXPECT_EQ(Eval("3 \x0e 4"), "3");          // a control character above CR
  EXPECT_EQ(Eval("4 \xe4\xb8\xad 4"), "4");  // a Chinese character
  EXPECT_EQ(Eval("x := 5"), "ERROR: Unknown variable:x");
  EXPECT_EQ(Eval("#"), "ERROR: ? operand ");
}

TEST(TokenizerTest, InsideParenthesesAnUnrecognisedCharacterLeavesThemOpen) {
  EXPECT_EQ(Eval("(1 # 2)"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("(1 #)+2"), "ERROR: Invalid formula (..)");
  EXPECT_EQ(Eval("abs(1 ! 2)"), "ERROR: Invalid formula (..)");
}

TEST(TokenizerTest, ConcatenationIsOneOrTwoBars) {
  EXPECT_EQ(Eval("\"a\"|\"b\""), "\"ab\"");
  EXPECT_EQ(Eval("\"a\"||\"b\""), "\"ab\"");
  EXPECT_EQ(Eval("1|||2"), "ERROR: ? operand ");
}

TEST(TokenizerTest, ComparisonOperators) {
  EXPECT_EQ(Eval("1<2"), "1");
  EXPECT_EQ(Eval("2<=2"), "1");
  EXPECT_EQ(Eval("1<>2"), "1");
  EXPECT_EQ(Eval("1>2"), "0");
  EXPECT_EQ(Eval("2>=3"), "0");
  EXPECT_EQ(Eval("2=2"), "1");
}

TEST(TokenizerTest, SetsEndAtABracketFollowedByABlankOrSemicolonOrAtTheEnd) {
  EXPECT_EQ(Eval("[1,2]"), "[1,2]");
  EXPECT_EQ(Eval("2 in [1,2] and 1"), "1");
  EXPECT_EQ(Eval("\"]\" in [\"a]b\",\"]\"]"), "1");
  EXPECT_EQ(Eval("2 in [1,2"), "ERROR: Invalid set parameter [..]");
  EXPECT_EQ(Eval("2 in ["), "ERROR: Invalid set parameter [..]");
}

TEST(TokenizerTest, NamesInSingleQuotesAreRejected) {
  EXPECT_EQ(Eval("'my var'+1", "my var=1"), "ERROR: Invalid varaible name my var");
  EXPECT_EQ(Eval("'x"), "ERROR: Invalid varaible name x");
}

TEST(TokenizerTest, AssignmentsRunToTheNextSemicolonOutsideQuotes) {
  EXPECT_EQ(Eval("x:=5; x*2"), "10");
  EXPECT_EQ(Eval("x:=\"a;b\"; x"), "\"a;b\"");
  EXPECT_EQ(Eval("x:=1+1"), "2");
}

}  // namespace
}  // namespace paginor::calc::test
