#pragma once
// Calendar arithmetic on wall-clock dates, independent of any time zone.
#include <cstdint>

namespace platform {

// Seconds from 1970-01-01 00:00:00 to the given date and time of the proleptic Gregorian
// calendar, negative before 1970. Out-of-range fields carry over the way a clock would:
// month 13 is January of the next year, day 0 the last day of the previous month,
// hour 24 midnight of the next day.
std::int64_t SecondsSince1970(int year, int month, int day, int hour, int minute, int second);

struct DateTime {
  std::int64_t year;
  int month, day, hour, minute, second;
};

// The date and time that many seconds after 1970-01-01 00:00:00 (the inverse of the above).
DateTime DateTimeFromSeconds(std::int64_t seconds);

}  // namespace platform
