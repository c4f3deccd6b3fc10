#include "calc/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "calc/conversions.h"

namespace paginor::calc {
namespace {

TEST(SystemClockTest, GivesTheLocalTimeAsAStampNearTheUniversalTime) {
  const Extended utc = 25569.0L + static_cast<Extended>(std::time(nullptr)) / 86400;
  const Extended now = SystemClock().Now();
  // Time zones lie within 14 hours of the universal time.
  EXPECT_LT(std::fabs(now - utc), 15.0L / 24);
  const auto parts = StampToParts(now);
  ASSERT_TRUE(parts);
  EXPECT_GE(parts->year, 2024);
}

TEST(SystemClockTest, AdvancesAndHasMillisecondsOnly) {
  const Extended first = SystemClock().Now();
  const Extended second = SystemClock().Now();
  EXPECT_GE(second, first);
  const Extended ms = (first - std::floor(first)) * 86'400'000;
  EXPECT_NEAR(static_cast<double>(ms), std::round(static_cast<double>(ms)), 1e-3);
  EXPECT_EQ(&SystemClock(), &SystemClock());
}

}  // namespace
}  // namespace paginor::calc
