// Functions over stamps and date and time texts.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(DateFunctionsTest, PartsOfADateAndTime) {
  EXPECT_EQ(Eval("weekday(\"2024/1/1\")"), "1");
  EXPECT_EQ(Eval("weekday(\"2024/1/7\")"), "7");
  EXPECT_EQ(Eval("weekday(\"abc\")"), "6");  // 1899-12-30, a Saturday
  EXPECT_EQ(Eval("year(\"2024/3/5 13:45:10\")"), "2024");
  EXPECT_EQ(Eval("month(\"2024/3/5 13:45:10\")"), "3");
  EXPECT_EQ(Eval("day(\"2024/3/5 13:45:10\")"), "5");
  EXPECT_EQ(Eval("hour(\"2024/3/5 13:45:10\")"), "13");
  EXPECT_EQ(Eval("minute(\"2024/3/5 13:45:10\")"), "45");
  EXPECT_EQ(Eval("sec(\"2024/3/5 13:45:10\")"), "10");
  EXPECT_EQ(Eval("month(\"2024/14/1\")"), "2");
}

TEST(DateFunctionsTest, StampsAndTheirTexts) {
  EXPECT_EQ(Eval("strtostamp(\"2025/01/01\")"), "45658");
  EXPECT_EQ(Eval("strtostamp(\"2025/1/1 12:00\")"), "45658.5");
  EXPECT_EQ(Eval("stamptodatestr(45658)"), "\"2025/01/01\"");
  EXPECT_EQ(Eval("stamptotimestr(0.5)"), "\"12:00:00.000\"");
  EXPECT_EQ(Eval("stamptostr(45658.5)"), "\"2025/01/01 12:00:00.000\"");
  EXPECT_EQ(Eval("stamptodatestr(strtostamp(date)+1)"), "\"2024/03/16\"");
}

TEST(DateFunctionsTest, LastDayOfTheMonth) {
  EXPECT_EQ(Eval("lastday(strtostamp(\"2024/2/10\"))"), "29");
  EXPECT_EQ(Eval("lastday(strtostamp(\"2100/2/10\"))"), "28");
  EXPECT_EQ(Eval("lastday(0)"), "31");
}

TEST(DateFunctionsTest, CalendarValuesOutOfRangeFail) {
  EXPECT_EQ(Eval("year(\"9999/13/1\")"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("stamptodatestr(99999999)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("stamptotimestr(x)", "x=-1e9"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("lastday(9999999)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("stamptodatestr(\"x\")"), "ERROR: Error, convert to numeric value:x");
}

}  // namespace
}  // namespace paginor::calc::test
