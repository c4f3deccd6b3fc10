#include "calc/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace paginor::calc {
namespace {

constexpr Extended kMsDay = 86'400'000.0L;

std::string DateOf(std::string_view text) {
  const auto stamp = TextToDatePart(text);
  return stamp ? DateToText(*stamp).value_or("fault in DateToText") : "fault";
}

std::string StampTextOf(std::string_view text) {
  const auto stamp = TextToStamp(text);
  return stamp ? StampToText(*stamp).value_or("fault in StampToText") : "fault";
}

TEST(StampText, WritesDateAndTimeOfStamps) {
  EXPECT_EQ(DateToText(0), "1899/12/30");
  EXPECT_EQ(DateToText(2), "1900/01/01");
  EXPECT_EQ(DateToText(45658), "2025/01/01");
  EXPECT_EQ(DateToText(-1.25L), "1899/12/29");
  EXPECT_EQ(TimeToText(-1.25L), "06:00:00.000");
  EXPECT_EQ(TimeToText(0.5L), "12:00:00.000");
  EXPECT_EQ(TimeToText(0.25L + 42.0L / kMsDay + 3.0L / 86400 + 5.0L / 1440 - 3.0L / 24),
            "03:05:03.042");
  EXPECT_EQ(StampToText(45658.5L), "2025/01/01 12:00:00.000");
}

TEST(StampText, RoundsToTheMillisecondBeforeSplitting) {
  EXPECT_EQ(TimeToText(0.999999999L), "00:00:00.000");
  EXPECT_EQ(DateToText(0.999999999L), "1899/12/31");
  EXPECT_EQ(TimeToText(1.4L / kMsDay), "00:00:00.001");
  EXPECT_EQ(TimeToText(-1.0L - 999.6L / kMsDay), "00:00:01.000");
  // A fraction alone counts forward, whatever its sign: the whole part is day 0.
  EXPECT_EQ(StampToText(-0.5L), "1899/12/30 12:00:00.000");
}

TEST(StampText, FaultsOutsideYearsOneToNineThousandNineHundredNinetyNine) {
  EXPECT_EQ(DateToText(-693593), "0001/01/01");
  EXPECT_EQ(DateToText(-693593.9L), "0001/01/01");
  EXPECT_EQ(DateToText(2958465.5L), "9999/12/31");
  EXPECT_FALSE(DateToText(-693594));
  EXPECT_FALSE(DateToText(2958466));
  EXPECT_FALSE(TimeToText(1e300L));
  EXPECT_FALSE(StampToText(-1e30L));
  EXPECT_FALSE(StampToText(std::numeric_limits<Extended>::quiet_NaN()));
  EXPECT_FALSE(DateToText(std::numeric_limits<Extended>::infinity()));
}

TEST(StampParts, RoundTripAndValidation) {
  for (const Extended stamp : {-693593.0L, -1.25L, 0.0L, 2.5L, 45658.75L, 2958465.999L}) {
    const auto parts = StampToParts(stamp);
    ASSERT_TRUE(parts);
    const auto back = PartsToStamp(*parts);
    ASSERT_TRUE(back);
    EXPECT_NEAR(static_cast<double>(*back), static_cast<double>(stamp), 1e-9) << stamp;
  }
  const auto parts = StampToParts(45658.0L + (13 * 3600 + 14 * 60 + 15) / 86400.0L + 0.016L / 86400);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->year, 2025);
  EXPECT_EQ(parts->month, 1);
  EXPECT_EQ(parts->day, 1);
  EXPECT_EQ(parts->hour, 13);
  EXPECT_EQ(parts->minute, 14);
  EXPECT_EQ(parts->second, 15);
  EXPECT_EQ(parts->millisecond, 16);

  EXPECT_EQ(PartsToStamp({2024, 2, 29, 0, 0, 0, 0}), 45351.0L);
  EXPECT_EQ(PartsToStamp({1899, 12, 29, 6, 0, 0, 0}), -1.25L);
  EXPECT_FALSE(PartsToStamp({2023, 2, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(PartsToStamp({2024, 13, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(PartsToStamp({2024, 1, 1, 24, 0, 0, 0}));
  EXPECT_FALSE(PartsToStamp({2024, 1, 1, 0, 0, 0, 1000}));
  EXPECT_FALSE(PartsToStamp({0, 12, 31, 0, 0, 0, 0}));
  EXPECT_FALSE(PartsToStamp({10000, 1, 1, 0, 0, 0, 0}));
}

TEST(StampParts, WeekdayRunsFromMondayToSunday) {
  EXPECT_EQ(WeekdayOf(45292), 1);  // 2024-01-01
  EXPECT_EQ(WeekdayOf(45298.9L), 7);
  EXPECT_EQ(WeekdayOf(0), 6);  // 1899-12-30
  EXPECT_EQ(WeekdayOf(-1.5L), 5);
  EXPECT_EQ(WeekdayOf(-693593), 1);  // 0001-01-01
  EXPECT_FALSE(WeekdayOf(-693594));
}

TEST(TextToDate, ReadsYearMonthDayWithCarries) {
  EXPECT_EQ(DateOf("2020/13/5"), "2021/01/05");
  EXPECT_EQ(DateOf("2020/0/1"), "2019/12/01");
  EXPECT_EQ(DateOf("2020/24/1"), "2021/12/01");
  EXPECT_EQ(DateOf("2020/-12/1"), "2018/12/01");
  EXPECT_EQ(DateOf("2020/168/1"), "2033/12/01");
  EXPECT_EQ(DateOf("2024/2/30"), "2024/03/01");
  EXPECT_EQ(DateOf("2024/1/0"), "2023/12/31");
  EXPECT_EQ(DateOf("2024/3/-1"), "2024/02/28");
  EXPECT_EQ(DateOf("2024"), "2024/01/01");
  EXPECT_EQ(DateOf("2024/5"), "2024/01/05");
  EXPECT_EQ(DateOf("0/1/1"), "0001/01/01");
  EXPECT_EQ(DateOf("1/1/-5"), "0001/01/01");
  EXPECT_EQ(DateOf("9999/12/31"), "9999/12/31");
  EXPECT_EQ(DateOf("9999/13/1"), "fault");
  EXPECT_EQ(DateOf("9999/12/32"), "fault");
  EXPECT_EQ(DateOf("10000"), "fault");
}

TEST(TextToDate, CleansBlanksQuotesAndBadCharacters) {
  EXPECT_EQ(DateOf(" \"2025/1/1\" "), "2025/01/01");
  EXPECT_EQ(DateOf("2025 / 1 /2"), "2025/01/02");
  EXPECT_EQ(DateOf("2025/1/3 12:00"), "2025/01/03");
  EXPECT_EQ(DateOf("2025/ab/4"), "2025/01/04");   // month not an integer: stays 1
  EXPECT_EQ(DateOf("2025/2/5x7"), "2025/02/05");  // digits before the bad character
  EXPECT_EQ(DateOf("2025x/3/6"), "2025/03/06");
  EXPECT_EQ(DateOf("2025/2/"), "2025/01/31");     // empty day counts as 0
  EXPECT_EQ(DateOf("12abc"), "0001/01/01");        // a lone non-integer: year stays 1
  EXPECT_EQ(TextToDatePart("abc"), 0.0L);
  EXPECT_EQ(TextToDatePart("-5/1/1"), 0.0L);
  EXPECT_EQ(TextToDatePart(""), 0.0L);
}

TEST(TextToDate, HugeFieldsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(DateOf("99999999999999999999/1/1"), "fault");
  EXPECT_EQ(DateOf("99999999999999999999"), "fault");
  EXPECT_EQ(DateOf("2024/99999999999999999999/1"), "fault");
  EXPECT_EQ(DateOf("2024/1/99999999999999999999"), "fault");
  EXPECT_EQ(DateOf("1/-99999999999999999999/1"), "0001/01/01");
  EXPECT_EQ(DateOf("2024/1/-99999999999999999999"), "0001/01/01");
  EXPECT_EQ(DateOf(std::string(5000, '9') + "/1/1"), "fault");
}

TEST(TextToTime, ReadsFieldsAndNormalisesWithBorrows) {
  EXPECT_EQ(TextToTimePart("12:00"), 0.5L);
  EXPECT_EQ(TextToTimePart("0:0:0.1000"), 1.0L / 86400);
  EXPECT_EQ(TextToTimePart("0:0:-1"), -1 + 86399.0L / 86400);
  EXPECT_EQ(TextToTimePart("0:-60:0"), -1 + 23.0L / 24);
  EXPECT_EQ(TextToTimePart("-1:00"), -1 + 23.0L / 24);
  EXPECT_EQ(TextToTimePart("25:00"), 1 + 1.0L / 24);
  EXPECT_EQ(TextToTimePart("10:70"), (11 * 60 + 10) / 1440.0L);
  EXPECT_EQ(TextToTimePart("6"), 0.25L);
  EXPECT_EQ(TextToTimePart("1:2:3.4"), (3723 * 1000 + 4) / kMsDay);
  EXPECT_EQ(TextToTimePart("\" 1 : 2 : 3 . 4 \""), (3723 * 1000 + 4) / kMsDay);
  EXPECT_EQ(TextToTimePart("2025/1/1  06:00"), 0.25L);
  EXPECT_EQ(TextToTimePart("12:30.5"), 0.5L);  // minute is not an integer: stays 0
  EXPECT_EQ(TextToTimePart("abc"), 0.0L);
  EXPECT_EQ(TextToTimePart(""), 0.0L);
}

TEST(TextToTime, HugeFieldsStayFinite) {
  const auto time = TextToTimePart("99999999999999999999:99999999999:999999999999.9999999999");
  ASSERT_TRUE(time);
  EXPECT_TRUE(std::isfinite(*time));
  EXPECT_GT(*time, 8.9e7L);
  const auto negative = TextToTimePart("-99999999999999999999:-9:-9.-9");
  ASSERT_TRUE(negative);
  EXPECT_LT(*negative, -8.9e7L);
}

TEST(TextToStampTest, ReadsDatesTimesAndBoth) {
  EXPECT_EQ(TextToStamp("2025/01/01"), 45658.0L);
  EXPECT_EQ(TextToStamp("2025/1/1 12:00"), 45658.5L);
  EXPECT_EQ(TextToStamp("12:00"), 0.5L);
  EXPECT_EQ(TextToStamp("\"2025/1/1\""), 45658.0L);
  EXPECT_EQ(TextToStamp("abc"), 0.0L);
  EXPECT_EQ(TextToStamp("2024"), 45292.0L);
  EXPECT_EQ(TextToStamp("9999/13/1 12:00"), std::nullopt);
  EXPECT_EQ(StampTextOf("2025/1/1 25:30"), "2025/01/02 01:30:00.000");
  EXPECT_EQ(StampTextOf("2025/1/1 -1:00"), "2024/12/31 23:00:00.000");
}

TEST(TextToStampTest, TimeOfDayGoesBackwardBeforeTheEpoch) {
  EXPECT_EQ(TextToStamp("1899/12/29 06:00"), -1.25L);
  EXPECT_EQ(StampTextOf("1899/12/29 06:00"), "1899/12/29 06:00:00.000");
  EXPECT_EQ(StampTextOf("1899/12/28 49:00"), "1899/12/30 01:00:00.000");
  EXPECT_EQ(StampTextOf("1899/12/29 -1:00"), "1899/12/28 23:00:00.000");
  EXPECT_EQ(StampTextOf("1899/12/29 -24:00"), "1899/12/28 00:00:00.000");
  EXPECT_EQ(StampTextOf("1899/12/30 -1:00"), "1899/12/29 23:00:00.000");
  EXPECT_EQ(StampTextOf("1800/6/15 00:00:00.001"), "1800/06/15 00:00:00.001");
}

TEST(DaysInMonthTest, CountsLeapYearsAndRejectsBeforeYearOne) {
  EXPECT_EQ(DaysInMonth(*TextToStamp("2024/2/10")), 29);
  EXPECT_EQ(DaysInMonth(*TextToStamp("2100/2/10")), 28);
  EXPECT_EQ(DaysInMonth(*TextToStamp("2000/2/29")), 29);
  EXPECT_EQ(DaysInMonth(*TextToStamp("2023/4/30")), 30);
  EXPECT_EQ(DaysInMonth(*TextToStamp("9999/12/1")), 31);
  EXPECT_EQ(DaysInMonth(*TextToStamp("0001/1/2")), 31);
  EXPECT_EQ(DaysInMonth(-693593), 0);
  EXPECT_FALSE(DaysInMonth(-693594));
  EXPECT_FALSE(DaysInMonth(2958466));
}

TEST(BaseConversion, WritesDigits) {
  EXPECT_EQ(IntToBase(255, 16), "FF");
  EXPECT_EQ(IntToBase(0, 2), "0");
  EXPECT_EQ(IntToBase(5, 2), "101");
  EXPECT_EQ(IntToBase(5, 1), "");
  EXPECT_EQ(IntToBase(5, 17), "");
  EXPECT_EQ(IntToBase(123456789, 10), "123456789");
  EXPECT_EQ(IntToBase(std::numeric_limits<std::int32_t>::max(), 2), std::string(31, '1'));
  EXPECT_EQ(IntToBase(-255, 16), "-FF");
  EXPECT_EQ(IntToBase(std::numeric_limits<std::int32_t>::min(), 2), "-1" + std::string(31, '0'));
  EXPECT_EQ(IntToBase(std::numeric_limits<std::int32_t>::min(), 16), "-80000000");
}

TEST(BaseConversion, ReadsDigits) {
  EXPECT_EQ(BaseToInt("00ff", 16), 255);
  EXPECT_EQ(BaseToInt("FF", 16), 255);
  EXPECT_EQ(BaseToInt("", 10), 0);
  EXPECT_EQ(BaseToInt("000", 10), 0);
  EXPECT_EQ(BaseToInt("12", 17), -1);
  EXPECT_EQ(BaseToInt("12", 1), -1);
  EXPECT_EQ(BaseToInt("1g", 16), -1);
  EXPECT_EQ(BaseToInt("-1", 10), -1);
  EXPECT_EQ(BaseToInt(" 1", 10), -1);
  EXPECT_EQ(BaseToInt("9", 2), 9);
  EXPECT_EQ(BaseToInt("19", 2), 11);
  EXPECT_EQ(BaseToInt("101", 2), 5);
  EXPECT_EQ(BaseToInt("7FFFFFFF", 16), std::numeric_limits<std::int32_t>::max());
  for (int base = 2; base <= 16; ++base) {
    EXPECT_EQ(BaseToInt(IntToBase(2'000'000'000, base), base), 2'000'000'000) << base;
  }
}

TEST(BaseConversion, ValuesBeyondThirtyTwoBitsAreInvalid) {
  EXPECT_EQ(BaseToInt("80000000", 16), -1);
  EXPECT_EQ(BaseToInt("100000001", 16), -1);  // would wrap to 1
  EXPECT_EQ(BaseToInt("2147483648", 10), -1);
  EXPECT_EQ(BaseToInt(std::string(1000, 'F'), 16), -1);
  EXPECT_EQ(BaseToInt(std::string(1000, '0') + "42", 10), 42);
  EXPECT_EQ(BaseToInt(std::string(1000, '1') + "x", 10), -1);
}

}  // namespace
}  // namespace paginor::calc
