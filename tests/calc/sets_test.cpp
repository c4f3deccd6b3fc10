// Set membership with "in".

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(SetsTest, TextsAndNumbersAreFoundAmongTheItems) {
  EXPECT_EQ(Eval("\"b\" in [\"a\",\"b\"]"), "1");
  EXPECT_EQ(Eval("\"c\" in [\"a\",\"b\"]"), "0");
  EXPECT_EQ(Eval("2 in [1, 2.0, 3]"), "1");
  EXPECT_EQ(Eval("x:=2.0; x in [1,2]"), "1");
  EXPECT_EQ(Eval("2.00 in [1,2]"), "1");
  EXPECT_EQ(Eval("2 in [1,2.00]"), "1");
  EXPECT_EQ(Eval("1 in [1]"), "1");
  EXPECT_EQ(Eval("1 in [11,21]"), "0");
  EXPECT_EQ(Eval("\"\" in [a,,b]"), "1");
}

TEST(SetsTest, OnlyTheFirstEndingOfTheValueCounts) {
  EXPECT_EQ(Eval("x in [2]", "x=2.000"), "0");
  EXPECT_EQ(Eval("x in [1.0]", "x=1.0.0"), "0");
}

TEST(SetsTest, ASetMayComeFromAVariable) {
  EXPECT_EQ(Eval("3 in s", "s= [1,2,3] "), "1");
  EXPECT_EQ(Eval("\"x\" in s", "s=\"[x,y]\""), "1");
}

TEST(SetsTest, TheRightOperandMustBeEnclosedInBrackets) {
  EXPECT_EQ(Eval("1 in 1"), "ERROR: Invalid parameter for operation in [..]");
  EXPECT_EQ(Eval("1 in s", "s=[1"), "ERROR: Invalid parameter for operation in [..]");
  EXPECT_EQ(Eval("1 in nosuch"), "ERROR: Unknown variable:nosuch");
}

TEST(SetsTest, ASetAloneIsItsText) {
  EXPECT_EQ(Eval("[a, b]"), "[a, b]");
  EXPECT_EQ(Eval("[\"a\"]"), "\"[\"a\"]\"");
}

}  // namespace
}  // namespace paginor::calc::test
