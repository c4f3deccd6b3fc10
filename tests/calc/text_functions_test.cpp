// The one-argument functions with text results, and eval(.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(TextFunctionsTest, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Eval("trim(\"  a b \t\")"), "\"a b\"");
  EXPECT_EQ(Eval("trimleft(\"  a  \")"), "\"a  \"");
  EXPECT_EQ(Eval("trimright(\"  a  \")"), "\"  a\"");
  EXPECT_EQ(Eval("trim(\"   \")"), "\"\"");
}

TEST(TextFunctionsTest, CharTakesTheLowEightBits) {
  EXPECT_EQ(Eval("char(65)"), "\"A\"");
  EXPECT_EQ(Eval("char(321)"), "\"A\"");
  EXPECT_EQ(Eval("char(0-191)"), "\"A\"");
  EXPECT_EQ(Eval("char(65.99999995)"), "\"B\"");
  EXPECT_EQ(Eval("1*char(65)"), "ERROR: Error, convert to numeric value:A");
  EXPECT_EQ(Eval("char(\"x\")"), "ERROR: Error, convert to numeric value:x");
}

// Codes 128 to 255 give the Unicode character of that code.
TEST(TextFunctionsTest, CharAboveAsciiGivesTheLatin1Character) {
  EXPECT_EQ(Eval("char(233)"), "\"\xc3\xa9\"");
  EXPECT_EQ(Eval("char(255)"), "\"\xc3\xbf\"");
  EXPECT_EQ(Eval("length(char(128))"), "2");
}

TEST(TextFunctionsTest, UpperAndLowerLeaveChineseAlone) {
  EXPECT_EQ(Eval("upper(\"abc\xe4\xb8\xad\")"), "\"ABC\xe4\xb8\xad\"");
  EXPECT_EQ(Eval("lower(\"ABC\xe4\xb8\xad\")"), "\"abc\xe4\xb8\xad\"");
  EXPECT_EQ(Eval("upper(\"\xce\xb1\xce\xb2\")"), "\"\xce\x91\xce\x92\"");  // Greek
}

TEST(TextFunctionsTest, StringMakesTheResultAText) {
  EXPECT_EQ(Eval("string(12)"), "\"12\"");
  EXPECT_EQ(Eval("string(1+1)"), "\"2\"");
  EXPECT_EQ(Eval("string(\"\"\"a\"\"\")"), "\"a\"");  // already in quotes
}

TEST(TextFunctionsTest, EvalCalculatesItsArgument) {
  EXPECT_EQ(Eval("eval(\"1+2\")"), "3");
  EXPECT_EQ(Eval("eval(\"[1+2]\")"), "3");
  EXPECT_EQ(Eval("eval(\" [ 1+2 ] \")"), "3");
  EXPECT_EQ(Eval("eval(\"\"\"a\"\"|\"\"b\"\"\")"), "\"ab\"");
  EXPECT_EQ(Eval("eval(\"1\"|\"+\"|\"1\")*2"), "4");
  EXPECT_EQ(Calc("eval(\"1+2\")").kind, ValueKind::kNumber);
}

TEST(TextFunctionsTest, AFailedEvalIsEmptyAndLeavesNoError) {
  const CalcRun run = Calc("eval(\"1/\")");
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.result, "");
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(Eval("eval(\"nosuch\")|\"x\""), "\"x\"");
}

}  // namespace
}  // namespace paginor::calc::test
