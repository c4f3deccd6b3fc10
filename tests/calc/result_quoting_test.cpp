// The kind of the whole result, its double quotes, the calling sequence of Calculate
// and EvaluateFormula as the URL templates use it.

#include <gtest/gtest.h>

#include <string>

#include "calc/evaluate_formula.h"
#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(ResultQuotingTest, TextResultsAreEnclosedInDoubleQuotes) {
  EXPECT_EQ(Eval("\"abc\""), "\"abc\"");
  EXPECT_EQ(Eval("\"a\"|\"b\""), "\"ab\"");
  EXPECT_EQ(Eval("char(65)"), "\"A\"");  // no double quote in the formula
  EXPECT_EQ(Eval("\"\""), "\"\"");
  EXPECT_EQ(Eval("\" x \""), "\" x \"");
  EXPECT_EQ(Calc("\"abc\"").kind, ValueKind::kText);
}

TEST(ResultQuotingTest, AResultAlreadyInDoubleQuotesIsLeftAsItIs) {
  EXPECT_EQ(Eval("\"\"\"a\"\"\""), "\"a\"");
  EXPECT_EQ(Eval("\" \"\"a\"\" \""), " \"a\" ");  // judged after trimming
  EXPECT_EQ(Eval("\"\"\"\""), "\"");              // one double quote counts as both ends
  EXPECT_EQ(Eval("\"\"\"a\""), "\"\"a\"");
}

TEST(ResultQuotingTest, NumericOperationsGiveBareNumbers) {
  EXPECT_EQ(Eval("length(\"abc\")"), "3");
  EXPECT_EQ(Eval("\"2\"*3"), "6");
  EXPECT_EQ(Eval("\"b\" in [\"a\",\"b\"]"), "1");
  EXPECT_EQ(Eval("\"abc\" like \"a%\""), "1");
  EXPECT_EQ(Calc("\"abc\" like \"a%\"").kind, ValueKind::kNumber);
}

// A literal, a set, a sequence or a comma at the root keep the guess: text when the
// formula has a double quote anywhere.
TEST(ResultQuotingTest, OtherRootsFollowTheDoubleQuotesOfTheFormula) {
  EXPECT_EQ(Eval("12"), "12");
  EXPECT_EQ(Eval("1;\"a\""), "\"a\"");
  EXPECT_EQ(Eval("\"a\";1"), "\"1\"");
  EXPECT_EQ(Eval("x:=\"a\"; 1"), "\"1\"");
  EXPECT_EQ(Calc("x", "x=\"abc\"").kind, ValueKind::kText);
}

TEST(ResultQuotingTest, CalculateShortensTheFormulaAndKeepsTheCallersResultOnFailure) {
  TCalcul calc(&TestClock());
  calc.SetFormula("1+2 ;; ;  ");
  std::string result;
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "3");
  EXPECT_EQ(calc.Formula(), "1+2");
  EXPECT_EQ(calc.ResultKind(), ValueKind::kNumber);

  calc.SetFormula("1+");
  result = "previous";
  EXPECT_FALSE(calc.Calculate(result));
  EXPECT_EQ(result, "previous");
  EXPECT_TRUE(calc.ErrorFlag());
  EXPECT_EQ(calc.ErrorText(), "? operand ");

  // The next run starts clean.
  calc.SetFormula("2");
  EXPECT_TRUE(calc.Calculate(result));
  EXPECT_FALSE(calc.ErrorFlag());
  EXPECT_EQ(calc.ErrorText(), "");
}

TEST(ResultQuotingTest, EvaluateFormulaGivesTheResultOrNothing) {
  EXPECT_EQ(EvaluateFormula("7*20-20", TestClock()), "120");
  EXPECT_EQ(EvaluateFormula("7*", TestClock()), "");
  EXPECT_EQ(EvaluateFormula("\"p\"|7", TestClock()), "\"p7\"");
  EXPECT_EQ(EvaluateFormula("year(date)", TestClock()), "2024");
  EXPECT_EQ(EvaluateFormula("ascii(\"\")", TestClock()), "");
  EXPECT_EQ(EvaluateFormula("(\xe4\xb8\x8d\xe5\x8f\xaf\xe8\x83\xbd"
                            "2!)",
                            TestClock()),
            "");
  EXPECT_EQ(EvaluateFormula("3*2"), "6");  // the system clock
}

}  // namespace
}  // namespace paginor::calc::test
