// Dates and times: the time count in seconds from 1904 (32 bits, wrapping),
// date lists (year month day hour minute second), calendar arithmetic with
// the 1582 leap-year rule, the tick and millisecond counters, and date and
// time strings after the regional settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Time count = calendar seconds since 1970 + this, in 32-bit arithmetic.
// (The 1904-to-1970 offset less five hours, as titles have always used it.)
inline constexpr std::uint32_t kTimeOffset = 2082826800u;

struct DateFields {
  int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

bool leap_year(int year);
// 1 (Sunday) to 7 (Saturday), counted from 1 January 1996; the month must be
// 1 to 12.
int week_day(const DateFields& date);
// Days in the month (1 to 12) of that year.
int days_in_month(int year, int month);

std::int32_t time_from_unix(std::int64_t unix_seconds);
std::int64_t unix_from_time(std::int32_t time);

// The regional formats, from the [intl] section of the settings file, with
// the keys and defaults of the Windows profile.
struct RegionalSettings {
  int date_order = 0;         // iDate: 0 month-day-year, 1 day-month-year, 2 year-month-day
  bool clock_24 = false;      // iTime = 1
  std::string date_separator = "/";  // sDate, at most 1 character
  std::string time_separator = ":";  // sTime, at most 1 character
  std::string before_noon = "AM";    // s1159, at most 4 characters
  std::string after_noon = "PM";     // s2359, at most 4 characters
};
RegionalSettings regional_settings();

// The interface language of the title (0 English, 1 French, 2 Spanish),
// chosen at start-up from the title's preferences; it names the days and
// months.
void set_interface_language(int language);
int interface_language();
std::string_view day_name(int week_day_from_sunday);  // 0 = Sunday
std::string_view month_name(int month_index);         // 0 = January

// The date and time strings of `iudatestring` and `iutimestring`; nothing
// when the host cannot break the time down.
std::optional<std::string> date_string(std::int32_t time, bool long_form, const RegionalSettings& settings);
std::optional<std::string> time_string(std::int32_t time, bool with_seconds, const RegionalSettings& settings);

void register_dates();

}  // namespace orvane
