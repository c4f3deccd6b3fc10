// The one-argument functions with numeric results.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(NumericFunctionsTest, Trigonometry) {
  EXPECT_EQ(Eval("cos(0)"), "1");
  EXPECT_EQ(Eval("sin(0)"), "0");
  EXPECT_EQ(Eval("sin(1)"), "0.841470984808");
  EXPECT_EQ(Eval("tg(1)"), "1.557407724655");
  EXPECT_EQ(Eval("ctg(1)"), "0.642092615934");
  EXPECT_EQ(Eval("ctg(0)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("arcsin(1)"), "1.570796326795");
  EXPECT_EQ(Eval("arcsin(-1)"), "-1.570796326795");
  EXPECT_EQ(Eval("arcsin(1.5)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("arccos(-1)"), "3.14159265359");
  EXPECT_EQ(Eval("arccos(1)"), "0");
  EXPECT_EQ(Eval("arctg(1)"), "0.785398163397");
  EXPECT_EQ(Eval("arcctg(0)"), "1.570796326795");
}

// From 2^63 on the angle has no meaningful fraction of a turn left: 0, and so the
// cotangent fails.
TEST(NumericFunctionsTest, HugeAnglesGiveZero) {
  EXPECT_EQ(Eval("cos(1e19)"), "0");
  EXPECT_EQ(Eval("sin(-1e19)"), "0");
  EXPECT_EQ(Eval("tg(1e19)"), "0");
  EXPECT_EQ(Eval("ctg(1e19)"), "ERROR: invalid formule");
  EXPECT_NE(Eval("sin(1e18)"), "0");
}

TEST(NumericFunctionsTest, AbsSignAndHeaviside) {
  EXPECT_EQ(Eval("abs(-2.5)"), "2.5");
  EXPECT_EQ(Eval("sign(0.000000005)"), "0");
  EXPECT_EQ(Eval("sign(-0.00000005)"), "0");
  EXPECT_EQ(Eval("sign(0.00000002)"), "1");
  EXPECT_EQ(Eval("sign(-0.0000002)"), "-1");
  EXPECT_EQ(Eval("heaviside(0)"), "1");
  EXPECT_EQ(Eval("h(-0.1)"), "0");
}

TEST(NumericFunctionsTest, RootsLogarithmsAndExponentials) {
  EXPECT_EQ(Eval("sqrt(16)"), "4");
  EXPECT_EQ(Eval("sqrt(0)"), "0");
  EXPECT_EQ(Eval("sqrt(-1)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("ln(1)"), "0");
  EXPECT_EQ(Eval("ln(0)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("ln(-2)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("exp(1)"), "2.718281828459");
  EXPECT_EQ(Eval("exp(100000)"), "ERROR: invalid formule");
}

TEST(NumericFunctionsTest, Hyperbolic) {
  EXPECT_EQ(Eval("sh(0)"), "0");
  EXPECT_EQ(Eval("sh(1)"), "1.175201193644");
  EXPECT_EQ(Eval("ch(0)"), "1");
  EXPECT_EQ(Eval("th(0)"), "0");
  EXPECT_EQ(Eval("th(1000)"), "1");
  EXPECT_EQ(Eval("th(20000)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("cth(1)"), "1.313035285499");
  EXPECT_EQ(Eval("cth(0)"), "ERROR: invalid formule");
}

TEST(NumericFunctionsTest, FracAndTruncKeepTheSign) {
  EXPECT_EQ(Eval("frac(-2.5)"), "-0.5");
  EXPECT_EQ(Eval("frac(3)"), "0");
  EXPECT_EQ(Eval("trunc(-2.7)"), "-2");
  EXPECT_EQ(Eval("trunc(2.7)"), "2");
}

TEST(NumericFunctionsTest, NotAndLogic) {
  EXPECT_EQ(Eval("not(0.5)"), "1");
  EXPECT_EQ(Eval("not(1)"), "0");
  EXPECT_EQ(Eval("logic(0.99999995)"), "1");
  EXPECT_EQ(Eval("logic(0.9999998)"), "0");
  EXPECT_EQ(Eval("logic(-5)"), "0");
  EXPECT_EQ(Eval("logic(\"x\")"), "ERROR: Error, convert to numeric value:x");
}

TEST(NumericFunctionsTest, NumericRemovesBlanksAndReadsCommasAsPoints) {
  EXPECT_EQ(Eval("numeric(\" 1 234,5 \")"), "1234.5");
  EXPECT_EQ(Eval("numeric(\"12x\")"), "ERROR: Error, convert to numeric value:12x");
}

TEST(NumericFunctionsTest, LengthCountsBytes) {
  EXPECT_EQ(Eval("length(\"abc\")"), "3");
  EXPECT_EQ(Eval("length(\"\xe4\xb8\xad\")"), "3");
  EXPECT_EQ(Eval("length(12.50)"), "5");
  EXPECT_EQ(Eval("length(\"\")"), "0");
}

TEST(NumericFunctionsTest, AsciiGivesTheCodeOfTheFirstCharacter) {
  EXPECT_EQ(Eval("ascii(\"A\")"), "65");
  EXPECT_EQ(Eval("ascii(\"\")"), "");
  EXPECT_EQ(Eval("ascii(char(233))"), "233");
  EXPECT_EQ(Eval("ascii(char(128))"), "128");
  EXPECT_EQ(Eval("ascii(\"\xe4\xb8\xad\")"), "228");  // beyond 255: the first byte
}

TEST(NumericFunctionsTest, ACommaInAOneArgumentFunctionFails) {
  EXPECT_EQ(Eval("sin(1,2)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("length(\"a\",\"b\")"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("(1,2)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("copy(\"abc\",abs(1,2))"), "ERROR: invalid formule");
}

}  // namespace
}  // namespace paginor::calc::test
