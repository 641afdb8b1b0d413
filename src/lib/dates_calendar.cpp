// Calendar arithmetic: leap years with the 1582 rule and week days counted
// from 1 January 1996, a Monday.
#include <array>

#include "lib/dates.h"

namespace orvane {

namespace {
constexpr std::array<int, 12> kMonthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kReferenceYear = 1996;
}  // namespace

bool leap_year(int year) {
  if (year % 4 != 0) return false;
  if (year <= 1581) return true;
  return year % 100 != 0 || year % 400 == 0;
}

int days_in_month(int year, int month) {
  if (month == 2) return leap_year(year) ? 29 : 28;
  return kMonthLengths[static_cast<std::size_t>(month - 1)];
}

int week_day(const DateFields& d) {
  long long count = d.day;
  if (d.month >= 3 && leap_year(d.year)) ++count;
  if (d.year < kReferenceYear) {
    // The ten days dropped in October 1582 lie between such dates and 1996.
    bool julian = d.year < 1582 || (d.year == 1582 && (d.month < 10 || (d.month == 10 && d.day <= 4)));
    if (julian) count += 10;
    count += (kReferenceYear - static_cast<long long>(d.year)) * 6;
    int y = d.year % 4 == 0 ? d.year : d.year + (4 - ((d.year % 4) + 4) % 4);
    for (; y < kReferenceYear; y += 4)
      if (leap_year(y)) count += 6;
  } else if (d.year > kReferenceYear) {
    count += d.year - (kReferenceYear - 1);
    int y = (d.year - 1) - (d.year - 1) % 4;
    for (; y > kReferenceYear; y -= 4)
      if (leap_year(y)) count += 1;
  }
  for (int m = 1; m < d.month; ++m) count += kMonthLengths[static_cast<std::size_t>(m - 1)];
  return static_cast<int>(((count % 7) + 7) % 7) + 1;
}

std::int32_t time_from_unix(std::int64_t unix_seconds) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(unix_seconds) + kTimeOffset);
}

std::int64_t unix_from_time(std::int32_t time) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(time) - kTimeOffset);
}

}  // namespace orvane
