// Date and time strings after the regional settings, with the names of
// days and months in the interface language. Names are Windows-1252.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "lib/dates.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace orvane {

namespace {

struct Names {
  std::array<std::string_view, 7> days;
  std::array<std::string_view, 12> months;
};

constexpr std::array<Names, 3> kNames{{
    {{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
     {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
      "November", "December"}},
    {{"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
     {"Janvier", "F\xe9vrier", "Mars", "Avril", "Mai", "Juin", "Juillet", "Ao\xfbt", "Septembre", "Octobre",
      "Novembre", "D\xe9" "cembre"}},
    {{"Domingo", "Lunes", "Martes", "Mi\xe9rcoles", "Jueves", "Viernes", "S\xe1" "bado"},
     {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre",
      "Noviembre", "Diciembre"}},
}};

// Part of the run-time's state, set at start-up from the title's preferences.
int& language_setting() {
  static int language = 0;
  return language;
}

const Names& names() {
  int l = language_setting();
  return kNames[l >= 0 && l < static_cast<int>(kNames.size()) ? static_cast<std::size_t>(l) : 0];
}

// A profile value in Windows-1252: UTF-8 is converted when the value is
// valid UTF-8, otherwise its bytes are taken as they stand.
std::string to_windows1252(std::string_view s) {
  return platform::is_valid_utf8(s) ? platform::utf8_to_windows1252(s) : std::string(s);
}

std::string profile_text(const platform::IniFile& ini, std::string_view key, std::string_view fallback,
                         std::size_t width) {
  std::string value = to_windows1252(ini.get_string("intl", key, fallback));
  if (value.size() > width) value.resize(width);
  return value;
}

template <class... A>
std::string formatted(const char* format, A... args) {
  char buffer[128];
  int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, static_cast<std::size_t>(n < 0 ? 0 : std::min<int>(n, sizeof buffer - 1)));
}

}  // namespace

void set_interface_language(int language) { language_setting() = language; }
int interface_language() { return language_setting(); }

std::string_view day_name(int d) { return names().days[static_cast<std::size_t>(((d % 7) + 7) % 7)]; }
std::string_view month_name(int m) { return names().months[static_cast<std::size_t>(((m % 12) + 12) % 12)]; }

RegionalSettings regional_settings() {
  platform::IniFile ini = platform::load_settings();
  RegionalSettings r;
  r.date_order = ini.get_int("intl", "iDate", 0);
  r.clock_24 = ini.get_int("intl", "iTime", 0) == 1;
  r.date_separator = profile_text(ini, "sDate", "/", 1);
  r.time_separator = profile_text(ini, "sTime", ":", 1);
  r.before_noon = profile_text(ini, "s1159", "AM", 4);
  r.after_noon = profile_text(ini, "s2359", "PM", 4);
  return r;
}

std::optional<std::string> date_string(std::int32_t time, bool long_form, const RegionalSettings& r) {
  auto t = platform::local_time(unix_from_time(time));
  if (!t) return std::nullopt;
  if (long_form) {
    std::string day(day_name(t->week_day)), month(month_name(t->month - 1));
    return formatted("%s %02d %s %d", day.c_str(), t->day, month.c_str(), t->year);
  }
  // Two digits of the year, as in the 1990s: 98 for 1998, 26 for 2026.
  int year = ((t->year % 100) + 100) % 100;
  const char* sep = r.date_separator.c_str();
  switch (r.date_order) {
    case 1: return formatted("%d%s%02d%s%02d", t->day, sep, t->month, sep, year);
    case 2: return formatted("%02d%s%02d%s%02d", year, sep, t->month, sep, t->day);
    default: return formatted("%d%s%02d%s%02d", t->month, sep, t->day, sep, year);
  }
}

std::optional<std::string> time_string(std::int32_t time, bool with_seconds, const RegionalSettings& r) {
  auto t = platform::local_time(unix_from_time(time));
  if (!t) return std::nullopt;
  const char* sep = r.time_separator.c_str();
  if (r.clock_24) {
    if (with_seconds) return formatted("%02d%s%02d%s%02d", t->hour, sep, t->minute, sep, t->second);
    return formatted("%02d%s%02d", t->hour, sep, t->minute);
  }
  int hour = t->hour % 12 == 0 ? 12 : t->hour % 12;
  const char* suffix = t->hour < 12 ? r.before_noon.c_str() : r.after_noon.c_str();
  if (with_seconds) return formatted(" %d%s%02d%s%02d %s ", hour, sep, t->minute, sep, t->second, suffix);
  return formatted(" %d%s%02d %s ", hour, sep, t->minute, suffix);
}

}  // namespace orvane
