#include "platform/calendar.h"

namespace platform {
namespace {

// Floor division: the remainder is never negative, so dates before year 0 stay exact.
std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// Days from 1970-01-01 to the first day of the month, for month 1-12. The year is counted from
// March, so the leap day falls at the end of it and each 400-year era has the same length.
std::int64_t DaysToMonthStart(std::int64_t year, int month) {
  const std::int64_t march_year = month <= 2 ? year - 1 : year;
  const std::int64_t era = FloorDiv(march_year, 400);
  const std::int64_t year_of_era = march_year - era * 400;                          // 0-399
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;  // 0-335
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  constexpr std::int64_t kDaysPerEra = 146097;
  constexpr std::int64_t kDays0000To1970 = 719468;  // 0000-03-01 to 1970-01-01
  return era * kDaysPerEra + day_of_era - kDays0000To1970;
}

}  // namespace

std::int64_t SecondsSince1970(int year, int month, int day, int hour, int minute, int second) {
  // Months outside 1-12 move into the year first; the other fields simply add up.
  const std::int64_t months_from_year_zero = static_cast<std::int64_t>(year) * 12 + (month - 1);
  const std::int64_t whole_year = FloorDiv(months_from_year_zero, 12);
  const int month_of_year = static_cast<int>(months_from_year_zero - whole_year * 12) + 1;
  const std::int64_t days = DaysToMonthStart(whole_year, month_of_year) + (static_cast<std::int64_t>(day) - 1);
  return days * 86400 + static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 + second;
}

DateTime DateTimeFromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  // Civil date from a day count, with the year counted from March as above.
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const std::int64_t day_of_era = shifted - era * 146097;
  const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_index = (5 * day_of_year + 2) / 153;  // 0 = March
  DateTime result;
  result.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  result.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  result.year = year_of_era + era * 400 + (result.month <= 2 ? 1 : 0);
  result.hour = static_cast<int>(rest / 3600);
  result.minute = static_cast<int>(rest % 3600 / 60);
  result.second = static_cast<int>(rest % 60);
  return result;
}

}  // namespace platform
