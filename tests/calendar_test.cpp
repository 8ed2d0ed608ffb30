#include "platform/calendar.h"

#include <gtest/gtest.h>

using platform::SecondsSince1970;

constexpr std::int64_t kDay = 86400;

TEST(Calendar, KnownInstants) {
  EXPECT_EQ(SecondsSince1970(1970, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(SecondsSince1970(1970, 1, 1, 23, 59, 59), kDay - 1);
  EXPECT_EQ(SecondsSince1970(2000, 1, 1, 0, 0, 0), 946684800);
  EXPECT_EQ(SecondsSince1970(2001, 9, 9, 1, 46, 40), 1000000000);
  EXPECT_EQ(SecondsSince1970(2024, 12, 31, 12, 30, 15), 1735648215);
}

TEST(Calendar, LeapDays) {
  // 2000 is a leap year (divisible by 400), 1900 and 2100 are not, 2024 is.
  EXPECT_EQ(SecondsSince1970(2000, 3, 1, 0, 0, 0) - SecondsSince1970(2000, 2, 28, 0, 0, 0), 2 * kDay);
  EXPECT_EQ(SecondsSince1970(2000, 2, 29, 0, 0, 0), 951782400);
  EXPECT_EQ(SecondsSince1970(2100, 3, 1, 0, 0, 0) - SecondsSince1970(2100, 2, 28, 0, 0, 0), kDay);
  EXPECT_EQ(SecondsSince1970(1900, 3, 1, 0, 0, 0) - SecondsSince1970(1900, 2, 28, 0, 0, 0), kDay);
  EXPECT_EQ(SecondsSince1970(2025, 1, 1, 0, 0, 0) - SecondsSince1970(2024, 1, 1, 0, 0, 0), 366 * kDay);
  EXPECT_EQ(SecondsSince1970(2026, 1, 1, 0, 0, 0) - SecondsSince1970(2025, 1, 1, 0, 0, 0), 365 * kDay);
}

TEST(Calendar, BeyondThirtyTwoBits) {
  EXPECT_EQ(SecondsSince1970(2038, 1, 19, 3, 14, 8), std::int64_t{1} << 31);
  EXPECT_EQ(SecondsSince1970(2106, 2, 7, 6, 28, 16), std::int64_t{1} << 32);
  EXPECT_EQ(SecondsSince1970(9999, 12, 31, 23, 59, 59), 253402300799);
}

TEST(Calendar, BeforeNineteenSeventyIsNegative) {
  EXPECT_EQ(SecondsSince1970(1969, 12, 31, 23, 59, 59), -1);
  EXPECT_EQ(SecondsSince1970(1969, 12, 31, 0, 0, 0), -kDay);
  EXPECT_EQ(SecondsSince1970(1900, 1, 1, 0, 0, 0), -2208988800);
  EXPECT_EQ(SecondsSince1970(1601, 1, 1, 0, 0, 0), -11644473600);
  EXPECT_EQ(SecondsSince1970(0, 3, 1, 0, 0, 0), -719468 * kDay);
}

TEST(Calendar, OutOfRangeFieldsCarryOver) {
  EXPECT_EQ(SecondsSince1970(2023, 13, 1, 0, 0, 0), SecondsSince1970(2024, 1, 1, 0, 0, 0));
  EXPECT_EQ(SecondsSince1970(2024, 0, 1, 0, 0, 0), SecondsSince1970(2023, 12, 1, 0, 0, 0));
  EXPECT_EQ(SecondsSince1970(2024, 3, 0, 0, 0, 0), SecondsSince1970(2024, 2, 29, 0, 0, 0));
  EXPECT_EQ(SecondsSince1970(2024, 1, 31, 24, 0, 0), SecondsSince1970(2024, 2, 1, 0, 0, 0));
  EXPECT_EQ(SecondsSince1970(2024, -12, 1, 0, 0, 0), SecondsSince1970(2022, 12, 1, 0, 0, 0));
}

TEST(DateTimeFromSeconds, InvertsSecondsSince1970) {
  const platform::DateTime date = platform::DateTimeFromSeconds(platform::SecondsSince1970(2012, 10, 16, 9, 5, 0));
  EXPECT_EQ(date.year, 2012);
  EXPECT_EQ(date.month, 10);
  EXPECT_EQ(date.day, 16);
  EXPECT_EQ(date.hour, 9);
  EXPECT_EQ(date.minute, 5);
  EXPECT_EQ(date.second, 0);
  for (std::int64_t seconds : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{951782400}, std::int64_t{4102444799},
                               std::int64_t{-86400 * 365}}) {
    const platform::DateTime d = platform::DateTimeFromSeconds(seconds);
    EXPECT_EQ(platform::SecondsSince1970(static_cast<int>(d.year), d.month, d.day, d.hour, d.minute, d.second), seconds);
  }
}
