// The variable store, variable lookup, assignments and the clock variables.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

using ::testing::ElementsAre;

TEST(VariablesTest, SetVariablesTextSplitsAtEveryKindOfLineEnd) {
  TCalcul calc(&TestClock());
  calc.SetVariablesText("a=1\r\nb=2\rc=3\nd=4\n");
  EXPECT_EQ(calc.Variables(), (std::vector<std::string>{"a=1", "b=2", "c=3", "d=4"}));
  calc.SetVariablesText("a=1\n\nb=2");
  EXPECT_EQ(calc.Variables(), (std::vector<std::string>{"a=1", "", "b=2"}));
  calc.SetVariablesText("");
  EXPECT_TRUE(calc.Variables().empty());
}

TEST(VariablesTest, ValuesInDoubleQuotesAreTexts) {
  EXPECT_EQ(Eval("x", "x=\"abc\""), "\"abc\"");
  EXPECT_EQ(Eval("x", "x=  \"abc\""), "\"abc\"");
  EXPECT_EQ(Eval("x", "x=\"abc"), "\"abc\"");
  EXPECT_EQ(Eval("x", "x=\""), "\"\"");
  EXPECT_EQ(Eval("x", "x=12"), "12");
  EXPECT_EQ(Eval("x", "x= 12 "), "12 ");
  EXPECT_EQ(Eval("x", "x="), "\"\"");
  EXPECT_EQ(Eval("x|1", "x=1"), "\"11\"");
  EXPECT_EQ(Calc("x", "x=abc").kind, ValueKind::kNumber);
  EXPECT_EQ(Calc("x", "x=\"1\"").kind, ValueKind::kText);
}

TEST(VariablesTest, NamesIgnoreLetterCaseAndTheFirstLineWins) {
  EXPECT_EQ(Eval("ABC", "abc=1\nAbc=2"), "1");
  EXPECT_EQ(Eval("x", "x=a=b"), "a=b");
  EXPECT_EQ(Eval("x", "x\nx=2"), "2");  // a line without "=" has no name
  EXPECT_EQ(Eval("y", "x=1"), "ERROR: Unknown variable:y");
}

TEST(VariablesTest, AssignmentsTakeEffectInOrder) {
  EXPECT_EQ(Eval("x:=5; x*2"), "10");
  EXPECT_EQ(Eval("x:=2; x*3"), "6");
  EXPECT_EQ(Eval("x:=1; x:=x+1; x"), "2");
  EXPECT_EQ(Eval("x:=\"ab\"; string(x|x)"), "\"abab\"");
  // "|" evaluates its right operand first, before the assignment on its left.
  EXPECT_EQ(Eval("x:=\"ab\"; x|x"), "ERROR: Unknown variable:x");
  EXPECT_EQ(Eval("x:=copy(\"abc\",2,1); x"), "\"b\"");
  EXPECT_EQ(Eval("X:=1; x"), "1");
}

TEST(VariablesTest, AFailedAssignmentGivesAnEmptyValueAndNoError) {
  EXPECT_EQ(Eval("x:=1/; 5"), "5");
  // The sequence takes the kind guessed from the formula: no double quote, a number.
  EXPECT_EQ(Eval("x:=nosuch; x"), "");
  EXPECT_EQ(Eval("x:=nosuch; x*1"), "ERROR: Error, convert to numeric value:");
}

TEST(VariablesTest, AssignmentsStayInTheStoreForLaterRuns) {
  TCalcul calc(&TestClock());
  calc.SetFormula("n:=4; n*2");
  std::string result;
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "8");
  EXPECT_THAT(calc.Variables(),
              ElementsAre("date=\"2024/03/15\"", "now=\"2024/03/15 10:20:30.000\"",
                          "time=\"10:20:30.000\"", "n=4"));
  calc.SetFormula("n+1");
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "5");
}

TEST(VariablesTest, TheClockVariablesAreTextsInEveryRun) {
  EXPECT_EQ(Eval("date"), "\"2024/03/15\"");
  EXPECT_EQ(Eval("now"), "\"2024/03/15 10:20:30.000\"");
  EXPECT_EQ(Eval("time"), "\"10:20:30.000\"");
  EXPECT_EQ(Eval("year(date)"), "2024");
  EXPECT_EQ(Eval("weekday(date)"), "5");
  EXPECT_EQ(Eval("hour(now)*100+minute(time)"), "1020");
  // A stored line of the same name is replaced, not shadowed.
  EXPECT_EQ(Eval("date", "DATE=1"), "\"2024/03/15\"");
}

TEST(VariablesTest, NestedCalculatorsReadTheSameClock) {
  EXPECT_EQ(Eval("eval(\"date\")"), "\"2024/03/15\"");
  EXPECT_EQ(Eval("x:=time; x"), "10:20:30.000");  // no double quote: the sequence is no text
  EXPECT_EQ(Eval("x:=eval(\"year(date)\"); x+1"), "2025");
}

// A clock one second further on at every reading.
class TickingClock final : public Clock {
 public:
  Extended Now() const override { return 45366.0L + static_cast<Extended>(++readings) / 86400; }
  mutable int readings = 0;
};

TEST(VariablesTest, EveryRunReadsTheClockOnce) {
  TickingClock clock;
  TCalcul calc(&clock);
  calc.SetFormula("x:=now; y:=eval(\"now\"); (x=now)+(y=x)");
  std::string result;
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "2");
  EXPECT_EQ(clock.readings, 1);
  calc.SetFormula("now");
  ASSERT_TRUE(calc.Calculate(result));
  EXPECT_EQ(result, "\"2024/03/15 00:00:02.000\"");
}

TEST(VariablesTest, ExistvarAndFreevar) {
  EXPECT_EQ(Eval("existvar(\"date\")"), "1");
  EXPECT_EQ(Eval("existvar(\"x\")", "X=1"), "1");
  EXPECT_EQ(Eval("freevar(\"nosuch\")"), "0");
  EXPECT_EQ(Eval("freevar(\"x\")+freevar(\"x\")+freevar(\"x\")", "x=1\nx=2"), "2");
  EXPECT_EQ(Eval("freevar(\"x\"); x", "x=1\nx=2"), "\"2\"");
  EXPECT_EQ(Eval("freevar(\"x\"); x", "x=1"), "ERROR: Unknown variable:x");
}

TEST(VariablesTest, NestedCalculatorsWorkOnACopyOfTheStore) {
  EXPECT_EQ(Eval("eval(\"y:=5\"); existvar(\"y\")"), "\"0\"");
  EXPECT_EQ(Eval("eval(\"x+1\")", "x=41"), "42");
  EXPECT_EQ(Eval("x:=eval(\"x\")+1; x", "x=1"), "\"2\"");
  // A value with a line break survives the copy.
  EXPECT_EQ(Eval("x:=\"a\"|char(10)|\"b\"; 1*length(eval(\"x\"))"), "5");
}

}  // namespace
}  // namespace paginor::calc::test
