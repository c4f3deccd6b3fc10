// Hostile formulas: evaluation that nests without end, exponents in the billions,
// texts that grow without bound. Each ends in a result or a recorded error.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

std::string Repeat(std::string_view text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

TEST(FaultMendingTest, EvaluationThatCallsItselfEndsInAnError) {
  EXPECT_EQ(Eval("eval(a)", "a=\"eval(a)\""), "ERROR: invalid formule");
  EXPECT_EQ(Eval("a:=\"eval(a)\"; eval(a)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("eval(a)", "a=\"eval(b)\"\nb=\"eval(a)\""), "ERROR: invalid formule");
  EXPECT_EQ(Eval("eval(a)", "a=\"1+eval(a)\""), "ERROR: invalid formule");
  // Two calls per level would double the work with every level.
  EXPECT_EQ(Eval("eval(a)", "a=\"eval(a)|eval(a)\""), "ERROR: invalid formule");
  // A bounded nesting still works.
  EXPECT_EQ(Eval("eval(a)", "a=\"eval(b)\"\nb=\"eval(c)\"\nc=\"7\""), "7");
}

// An assignment's own pending line stays with its calculator, so x:=x:=1 no longer
// evaluates that line again and again.
TEST(FaultMendingTest, AnAssignmentInsideAnAssignmentOfTheSameNameEnds) {
  EXPECT_EQ(Eval("x:=x:=1"), "1");
  EXPECT_EQ(Eval("x:=eval(\"x:=2\")+1; x"), "\"3\"");
}

TEST(FaultMendingTest, AssignmentChainsNestOnlySoDeep) {
  EXPECT_EQ(Eval(Repeat("x:=", 20) + "1"), "1");
  EXPECT_EQ(Eval(Repeat("x:=y:=", 10) + "1"), "1");
  EXPECT_EQ(Eval(Repeat("x:=", 500) + "1"), "ERROR: invalid formule");
}

TEST(FaultMendingTest, DeepParenthesesAndCallsAreRefused) {
  EXPECT_EQ(Eval(Repeat("(", 150) + "1" + Repeat(")", 150)), "1");
  EXPECT_EQ(Eval(Repeat("(", 5000) + "1" + Repeat(")", 5000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(Repeat("-(", 3000) + "1" + Repeat(")", 3000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(Repeat("abs(", 150) + "1" + Repeat(")", 150)), "1");
  EXPECT_EQ(Eval(Repeat("abs(", 3000) + "1" + Repeat(")", 3000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(Repeat("copy(", 3000) + "1" + Repeat(",1)", 3000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(Repeat("(", 100000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(Repeat("- ", 5000) + "1"), "ERROR: ? operand ");
}

TEST(FaultMendingTest, LongOperatorChainsNestOnlySoDeep) {
  EXPECT_EQ(Eval("1" + Repeat("+1", 899)), "900");
  EXPECT_EQ(Eval("1" + Repeat("+1", 3000)), "ERROR: invalid formule");
  EXPECT_EQ(Eval("sumval(1" + Repeat(",1", 499) + ")"), "500");
}

TEST(FaultMendingTest, HugeIntegralExponentsAreComputedBySquaring) {
  EXPECT_EQ(Eval("1^2147483647"), "1");
  EXPECT_EQ(Eval("(-1)^2147483647"), "-1");
  EXPECT_EQ(Eval("(-1)^2147483646"), "1");
  EXPECT_EQ(Eval("0.5^2147483647"), "0");
  EXPECT_EQ(Eval("1^x", "x=-2147483647"), "1");
  EXPECT_EQ(Eval("2^2147483647"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("0.5^x", "x=-2147483647"), "ERROR: invalid formule");
  EXPECT_TRUE(Calc("1.0000001^2147483647").ok);
  EXPECT_EQ(Eval("3^40"), "12157665459056928800");  // 18 significant digits
}

TEST(FaultMendingTest, TextsGrowOnlyTo64KiB) {
  const std::string seed = "a:=\"0123456789abcdef\"";
  EXPECT_EQ(Eval(seed + Repeat("; a:=a|a", 11) + "; 1*length(a)"), "32768");
  EXPECT_EQ(Eval(seed + Repeat("; a:=a|a", 40) + "; length(a)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("a:=\"aaaaaaaaaaaaaaaa\"" + Repeat("; a:=replace(a,\"a\",a)", 10) + "; 1"),
            "ERROR: invalid formule");
  EXPECT_EQ(Eval(seed + Repeat("; a:=insert(a,a,2)", 40) + "; 1"), "ERROR: invalid formule");
  EXPECT_EQ(Eval(seed + Repeat("; a:=a|eval(\"a\")", 40) + "; 1"), "ERROR: invalid formule");
}

TEST(FaultMendingTest, WorkOnHugeTextsIsBounded) {
  const std::string big = "a:=\"aaaaaaaaaaaaaaaa\"" + Repeat("; a:=a|a", 11);  // 32 KiB
  EXPECT_EQ(Eval(big + "; a wildcard \"*" + Repeat("a*", 200) + "b\""), "0");
  EXPECT_EQ(Eval(big + "; a wildcard \"*" + Repeat("a", 1000) + "b\""), "ERROR: invalid formule");
  EXPECT_EQ(Eval(big + "; 1*pos(copy(a,1,10000)|\"b\",a)"), "0");
  // Each lookup copies the 32 KiB: 600 of them are more work than one run may do.
  EXPECT_EQ(Eval(big + Repeat("; length(a)", 600)), "ERROR: invalid formule");
  EXPECT_EQ(Eval(big + Repeat("; length(a)", 100)), "\"32768\"");
}

TEST(FaultMendingTest, EvaluatingLongFormulasAgainAndAgainIsBounded) {
  const std::string sum = "a=\"1" + Repeat("+1", 299) + "\"";
  EXPECT_EQ(Eval("eval(a)" + Repeat("+eval(a)", 4), sum), "1500");
  EXPECT_EQ(Eval("eval(a)" + Repeat("+eval(a)", 60), sum), "ERROR: invalid formule");
}

// The work limit holds for one run; the next run of the same calculator starts afresh.
TEST(FaultMendingTest, EveryRunHasItsOwnWorkLimit) {
  TCalcul calc(&TestClock());
  calc.SetVariablesText("a=\"1" + Repeat("+1", 299) + "\"");
  calc.SetFormula("eval(a)" + Repeat("+eval(a)", 4));
  for (int run = 0; run < 10; ++run) {
    std::string result;
    ASSERT_TRUE(calc.Calculate(result)) << run;
    EXPECT_EQ(result, "1500");
  }
}

TEST(FaultMendingTest, ChainedTextComparisonsStayLinear) {
  std::string formula = "\"a\"";
  for (int i = 0; i < 300; ++i) formula += "<\"b\"";
  EXPECT_EQ(Eval(formula), "1");
}

TEST(FaultMendingTest, ManyAssignmentsInOneFormula) {
  EXPECT_EQ(Eval(Repeat("x:=x+1;", 600) + "x", "x=0"), "600");
}

// A deterministic stream of formulas from pieces of the language: each must end in a
// result with no error or in a failure with one.
TEST(FaultMendingTest, AnyInputEndsInAResultOrARecordedError) {
  const char* const pieces[] = {"1",        "2.5",   "-",
                                "+",        "*",     "/",
                                "^",        "(",     ")",
                                ",",        ";",     "\"",
                                "x",        "x:=",   "[",
                                "]",        "|",     "<",
                                "=",        " in ",  " like ",
                                "copy(",    "eval(", "sumval(",
                                "char(",    "iff(",  "'",
                                "e",        ".",     "\"a\"",
                                "replace(", "date",  "\xe4\xb8\xad",
                                " ",        "mod ",  "0"};
  std::uint32_t state = 12345;
  int failures = 0;
  for (int n = 0; n < 3000; ++n) {
    std::string formula;
    const int length = 1 + static_cast<int>(state % 24);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      formula += pieces[(state >> 16) % std::size(pieces)];
    }
    const CalcRun run = Calc(formula, "x=3");
    EXPECT_EQ(run.ok, run.error.empty()) << formula;
    if (!run.ok) {
      EXPECT_EQ(run.result, "<untouched>") << formula;
      ++failures;
    }
  }
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, 3000);
}

}  // namespace
}  // namespace paginor::calc::test
