#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace paginor::calc {
namespace {

using Limits = std::numeric_limits<Extended>;

TEST(TrimBlanksTest, RemovesBlanksAndControlCharactersAtTheEnds) {
  const std::string text = std::string("\x01\t \n") + "a b\x7f" + std::string(" \r\x1f\0", 4);
  EXPECT_EQ(TrimBlanks(text), "a b\x7f");
  EXPECT_EQ(TrimLeftBlanks(text), "a b\x7f" + std::string(" \r\x1f\0", 4));
  EXPECT_EQ(TrimRightBlanks(text), "\x01\t \na b\x7f");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks("\xe4\xb8\xad "), "\xe4\xb8\xad");  // bytes above 127 stay
}

TEST(ParseNumberTest, AcceptsTheNumberGrammar) {
  EXPECT_EQ(ParseNumber("7"), 7.0L);
  EXPECT_EQ(ParseNumber("  -3 \t"), -3.0L);
  EXPECT_EQ(ParseNumber("+2"), 2.0L);
  EXPECT_EQ(ParseNumber("1,5"), 1.5L);
  EXPECT_EQ(ParseNumber(".5"), 0.5L);
  EXPECT_EQ(ParseNumber("-.25"), -0.25L);
  EXPECT_EQ(ParseNumber("5."), 5.0L);
  EXPECT_EQ(ParseNumber("1.50"), 1.5L);
  EXPECT_EQ(ParseNumber("1e3"), 1000.0L);
  EXPECT_EQ(ParseNumber("1E+3"), 1000.0L);
  EXPECT_EQ(ParseNumber("25e-2"), 0.25L);
  EXPECT_EQ(ParseNumber("000123.4500"), 123.45L);
  EXPECT_EQ(ParseNumber("0"), 0.0L);
  EXPECT_TRUE(std::signbit(*ParseNumber("-0")));
  EXPECT_EQ(ParseNumber("1e-99999999999999999999"), 0.0L);
  EXPECT_EQ(ParseNumber("0e99999999999999999999"), 0.0L);
}

TEST(ParseNumberTest, RejectsEverythingElse) {
  for (const char* text : {"", "  ", "abc", ".", "-", "+.", "e5", "1e", "1e+", "1 2", "--1",
                           "1.2.3", "1,000.5", "0x10", "1e5x", "inf", "nan", "1d", "\"1\"",
                           "1_000", "- 1"}) {
    EXPECT_FALSE(ParseNumber(text)) << text;
  }
}

TEST(ParseNumberTest, OverflowIsNotANumber) {
  EXPECT_FALSE(ParseNumber("1e5000"));
  EXPECT_FALSE(ParseNumber("-1e4933"));
  EXPECT_FALSE(ParseNumber("1e99999999999999999999"));
  EXPECT_FALSE(ParseNumber("1.18973149535723176515e4932"));  // rounds up past the maximum
  EXPECT_EQ(ParseNumber("1.18973149535723176502e4932"), Limits::max());
}

TEST(ParseNumberTest, RoundsCorrectlyToExtendedPrecision) {
  EXPECT_EQ(ParseNumber("0.1"), 0.1L);
  EXPECT_EQ(ParseNumber("0.2"), 0.2L);
  EXPECT_EQ(ParseNumber("3.14159265358979323846264338327950288"),
            3.14159265358979323846264338327950288L);
  EXPECT_EQ(ParseNumber("3.36210314311209350626e-4932"), Limits::min());
  EXPECT_EQ(ParseNumber("3.64519953188247460253e-4951"), Limits::denorm_min());
  EXPECT_EQ(ParseNumber("1.8e-4951"), 0.0L);  // below half the smallest subnormal
  EXPECT_EQ(ParseNumber("1.9e-4951"), Limits::denorm_min());
  // Halfway between neighbours goes to the even mantissa.
  const Extended two64 = std::ldexp(1.0L, 64);
  EXPECT_EQ(ParseNumber("18446744073709551617"), two64);
  EXPECT_EQ(ParseNumber("18446744073709551619"), two64 + 4);
  EXPECT_EQ(ParseNumber("18446744073709551617.000000000000000000000001"), two64 + 2);
}

TEST(ParseNumberTest, DigitsFarBeyondThePrecisionStillDecideHalfwayCases) {
  // 1 + 2^-64 lies exactly halfway between 1 and the next long double.
  const std::string halfway = "1.0000000000000000000542101086242752217003726400434970855712890625";
  EXPECT_EQ(ParseNumber(halfway), 1.0L);
  EXPECT_EQ(ParseNumber(halfway + std::string(20000, '0') + "1"), 1.0L + Limits::epsilon());
  EXPECT_EQ(ParseNumber(halfway + std::string(20000, '0')), 1.0L);
  EXPECT_EQ(ParseNumber("1" + std::string(30000, '0') + "e-30000"), 1.0L);
}

#ifndef _WIN32
// glibc's strtold is correctly rounded; the C locale is the default of a test program.
TEST(ParseNumberTest, AgreesWithTheCLibraryOnRandomNumbers) {
  std::mt19937_64 random(20240601);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> length(1, 40);
  std::uniform_int_distribution<int> exponent(-4960, 4940);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int digits = length(random);
    for (int k = 0; k < digits; ++k) {
      text.push_back(static_cast<char>('0' + digit(random)));
      if (k == 0 && i % 3 == 0) {
        text.push_back('.');
      }
    }
    text += "e" + std::to_string(i % 2 == 0 ? exponent(random) : exponent(random) / 200);
    const Extended expected = std::strtold(text.c_str(), nullptr);
    const auto parsed = ParseNumber(text);
    if (std::isinf(expected)) {
      EXPECT_FALSE(parsed) << text;
    } else {
      EXPECT_EQ(parsed, expected) << text;
    }
  }
}
#endif

TEST(FormatNumberTest, WritesTwelveDecimalsAtMostWithoutTrailingZeros) {
  EXPECT_EQ(FormatNumber(3), "3");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-0.0L), "0");
  EXPECT_EQ(FormatNumber(2.5L), "2.5");
  EXPECT_EQ(FormatNumber(-1.5L), "-1.5");
  EXPECT_EQ(FormatNumber(1.0L / 3), "0.333333333333");
  EXPECT_EQ(FormatNumber(2.0L / 3), "0.666666666667");
  EXPECT_EQ(FormatNumber(2.0L / 3 * 3), "2");
  EXPECT_EQ(FormatNumber(0.1L + 0.2L), "0.3");
  EXPECT_EQ(FormatNumber(*ParseNumber("0.1") + *ParseNumber("0.2")), "0.3");
  EXPECT_EQ(FormatNumber(1e-12L), "0.000000000001");
  EXPECT_EQ(FormatNumber(1234567.125L), "1234567.125");
  EXPECT_EQ(FormatNumber(10.0L / 4), "2.5");
}

TEST(FormatNumberTest, RoundsHalvesAwayFromZeroAfterEighteenDigits) {
  EXPECT_EQ(FormatNumber(5e-13L), "0.000000000001");
  EXPECT_EQ(FormatNumber(-5e-13L), "-0.000000000001");
  EXPECT_EQ(FormatNumber(4.999e-13L), "0");
  EXPECT_EQ(FormatNumber(-4.999e-13L), "-0");
  EXPECT_EQ(FormatNumber(-1e-300L), "-0");
  EXPECT_EQ(FormatNumber(Limits::denorm_min()), "0");
  EXPECT_EQ(FormatNumber(2.0000000000005L), "2.000000000001");
  EXPECT_EQ(FormatNumber(0.49999999999949999999999L), "0.5");
  // The 18-digit step rounds up to ...12500000 first, and that half then goes up.
  EXPECT_EQ(FormatNumber(0.12345678901249999999L), "0.123456789013");
  EXPECT_EQ(FormatNumber(0.1234567890124999L), "0.123456789012");
  EXPECT_EQ(FormatNumber(4.99999999999999999999e-13L), "0.000000000001");
}

TEST(FormatNumberTest, WritesDigitsBeyondTheEighteenthAsZeros) {
  EXPECT_EQ(FormatNumber(std::ldexp(1.0L, 63)), "9223372036854775810");
  EXPECT_EQ(FormatNumber(123456789012345678901234.0L), "123456789012345679000000");
  EXPECT_EQ(FormatNumber(12345.678901234567891L), "12345.678901234568");
  EXPECT_EQ(FormatNumber(999999999999999999.5L), "1000000000000000000");
  EXPECT_EQ(FormatNumber(1e35L), "100000000000000000000000000000000000");
  EXPECT_EQ(FormatNumber(-9.99999999999999999e35L), "-999999999999999999000000000000000000");
}

TEST(FormatNumberTest, LargeValuesUseAnExponent) {
  EXPECT_EQ(FormatNumber(1e36L), "1E+36");
  EXPECT_EQ(FormatNumber(-2.5e100L), "-2.5E+100");
  EXPECT_EQ(FormatNumber(9.999999999999999999e35L), "1E+36");
  EXPECT_EQ(FormatNumber(Limits::max()), "1.18973149535723177E+4932");
  EXPECT_EQ(ParseNumber(FormatNumber(-2.5e100L)), -2.5e100L);
}

TEST(FormatNumberTest, NonFiniteValuesGiveMarkers) {
  EXPECT_EQ(FormatNumber(Limits::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatNumber(Limits::infinity()), "INF");
  EXPECT_EQ(FormatNumber(-Limits::infinity()), "-INF");
}

TEST(NumberTextLocale, IgnoresTheDecimalCommaOfTheCLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string formatted = FormatNumber(2.5L);
  const auto parsed = ParseNumber("2.5");
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(formatted, "2.5");
  EXPECT_EQ(parsed, 2.5L);
}

}  // namespace
}  // namespace paginor::calc
