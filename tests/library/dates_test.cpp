#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "lib/dates.h"
#include "library/library_test.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace orvane {
namespace {

// A fixed time zone with daylight saving (central Europe, as a POSIX rule so
// that no zone database is needed), a settings directory of the test's own,
// and a virtual clock.
class DatesTest : public testing::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    save_env("TZ", saved_tz_);
    save_env("XDG_CONFIG_HOME", saved_config_);
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    config_dir_ = std::filesystem::temp_directory_path() /
                  ("orvane-dates-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(config_dir_ / "orvane");
    setenv("XDG_CONFIG_HOME", config_dir_.c_str(), 1);
  }
  void TearDown() override {
    set_interface_language(0);
    std::filesystem::remove_all(config_dir_);
    restore_env("TZ", saved_tz_);
    restore_env("XDG_CONFIG_HOME", saved_config_);
    tzset();
    LibraryTest::TearDown();
  }
  void write_settings(const std::string& text) {
    std::ofstream(config_dir_ / "orvane" / "orvane.ini") << text;
  }
  static void save_env(const char* name, std::optional<std::string>& slot) {
    const char* v = std::getenv(name);
    if (v) slot = v;
  }
  static void restore_env(const char* name, const std::optional<std::string>& slot) {
    if (slot) setenv(name, slot->c_str(), 1);
    else unsetenv(name);
  }
  std::string date_text(const std::string& date, const std::string& flag) {
    return text_of_value("(iudatestring (date->time '" + date + ") " + flag + ")");
  }
  std::string time_text(const std::string& date, const std::string& flag) {
    return text_of_value("(iutimestring (date->time '" + date + ") " + flag + ")");
  }

  std::filesystem::path config_dir_;
  std::optional<std::string> saved_tz_, saved_config_;
};

TEST_F(DatesTest, LeapYearsFollowThe1582Rule) {
  EXPECT_TRUE(holds("(leap-year? 1500)"));
  EXPECT_EQ(eval_text("(leap-year? 1700)"), kNil);
  EXPECT_TRUE(holds("(leap-year? 2000)"));
  EXPECT_EQ(eval_text("(leap-year? 1999)"), kNil);
  EXPECT_TRUE(holds("(leap-year? 1580)"));
  EXPECT_EQ(eval_text("(leap-year? 1900)"), kNil);
  EXPECT_TRUE(holds("(leap-year? -4)"));
  EXPECT_EQ(eval_text("(leap-year? -1)"), kNil);
}

TEST_F(DatesTest, WeekDays) {
  EXPECT_TRUE(gives("(week-day '(1996 1 1))", "2"));
  EXPECT_TRUE(gives("(week-day '(1997 1 1))", "4"));
  EXPECT_TRUE(gives("(week-day '(1995 1 1))", "1"));
  EXPECT_TRUE(gives("(week-day '(2001 1 1))", "2"));
  EXPECT_TRUE(gives("(week-day '(1996 3 1))", "6"));
  EXPECT_TRUE(gives("(week-day '(1996))", "2"));
  // Thursday 4 October 1582 was followed by Friday 15 October.
  EXPECT_TRUE(gives("(week-day '(1582 10 4))", "5"));
  EXPECT_TRUE(gives("(week-day '(1582 10 15))", "6"));
  EXPECT_EQ(error_code("(week-day '(1996 13 1))"), 2);
  EXPECT_EQ(error_code("(week-day '(1996 0 1))"), 2);
  EXPECT_EQ(error_code("(week-day 1996)"), 2);
  EXPECT_EQ(error_code("(week-day '(1996 \"1\"))"), 2);
}

TEST_F(DatesTest, WeekDayAgreesWithTheCalendarFrom1583To2400) {
  using namespace std::chrono;
  for (sys_days d = year{1583} / January / 1; d <= sys_days{year{2400} / December / 31}; d += days{1}) {
    year_month_day ymd{d};
    DateFields f{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                 static_cast<int>(static_cast<unsigned>(ymd.day()))};
    ASSERT_EQ(week_day(f), static_cast<int>(weekday{d}.c_encoding()) + 1)
        << f.year << "-" << f.month << "-" << f.day;
  }
}

TEST_F(DatesTest, EndOfMonth) {
  EXPECT_TRUE(gives("(end-of-month '(1996 2 10 8 30 0))", "(1996 2 29 8 30 0)"));
  EXPECT_TRUE(gives("(end-of-month '(1997 2 1))", "(1997 2 28 0 0 0)"));
  EXPECT_TRUE(gives("(end-of-month '(1900 2))", "(1900 2 28 0 0 0)"));
  EXPECT_TRUE(gives("(end-of-month '(2023 12 5))", "(2023 12 31 0 0 0)"));
  EXPECT_EQ(error_code("(end-of-month '(2023 14 5))"), 2);
}

TEST_F(DatesTest, DatesAndTimesConvertBothWays) {
  EXPECT_TRUE(holds("(= (date->time '(1998)) (date->time '(1998 1 1 0 0 0)))"));
  const char* dates[] = {"(1998 3 4 14 5 9)", "(2026 7 14 23 59 59)", "(2000 2 29 0 0 0)",
                         "(1970 1 1 1 0 0)", "(2037 12 31 12 0 0)", "(1960 6 1 12 0 0)"};
  for (const char* d : dates) EXPECT_TRUE(gives(std::string("(time->date (date->time '") + d + "))", d)) << d;
  // The count is seconds from 1904 less five hours, in 32 bits.
  EXPECT_TRUE(holds("(= (- (date->time '(1998 1 1 0 0 1)) (date->time '(1998 1 1))) 1)"));
  EXPECT_EQ(integer_of(eval_text("(date->time '(1970 1 1 1 0 0))")), static_cast<std::int32_t>(kTimeOffset));
  EXPECT_EQ(error_code("(time->date 'now)"), 2);
  EXPECT_EQ(error_code("(time->date 1.5)"), 2);
}

TEST_F(DatesTest, TheClockGivesTimeTicksAndMilliseconds) {
  platform::VirtualClock clock(1000, 1000000000);  // 9 September 2001, 01:46:40 UTC
  platform::ClockOverride use(clock);
  EXPECT_EQ(integer_of(eval_text("(get-time)")), static_cast<std::int32_t>(1000000000u + kTimeOffset));
  EXPECT_TRUE(gives("(get-date)", "(2001 9 9 3 46 40)"));
  EXPECT_TRUE(gives("(time->date (get-time))", "(2001 9 9 3 46 40)"));
  EXPECT_TRUE(gives("(milliseconds)", "1000"));
  EXPECT_TRUE(gives("(tick-count)", "60"));
  clock.advance(1500000000 - 1000);  // beyond the point where ms x 3 leaves 32 bits
  EXPECT_EQ(integer_of(eval_text("(tick-count)")), 90000000);
  clock.advance((1ull << 32) - 1500000000 + 5);
  EXPECT_TRUE(gives("(milliseconds)", "5"));
}

TEST_F(DatesTest, SleepWaitsOnTheClock) {
  platform::VirtualClock clock;
  platform::ClockOverride use(clock);
  EXPECT_EQ(eval_text("(sleep 60)"), kNoValue);
  EXPECT_EQ(clock.milliseconds(), 1000u);
  eval_text("(sleep 1)");
  EXPECT_EQ(clock.milliseconds(), 1016u);
  eval_text("(sleep -5)");
  EXPECT_EQ(clock.milliseconds(), 1016u);
}

TEST_F(DatesTest, ShortDatesFollowTheRegionalOrder) {
  EXPECT_EQ(date_text("(1998 3 4 14 5 9)", "nil"), "3/04/98");
  // Two digits of the year after 1999 too.
  EXPECT_EQ(date_text("(2026 1 15)", "nil"), "1/15/26");
  EXPECT_EQ(date_text("(2005 11 2)", "0"), "11/02/05");
  write_settings("[intl]\niDate=1\nsDate=.\n");
  EXPECT_EQ(date_text("(1998 3 4)", "nil"), "4.03.98");
  write_settings("[Intl]\nIDATE = 2\nsDate=-/\n");
  EXPECT_EQ(date_text("(2005 3 4)", "nil"), "05-03-04");
}

TEST_F(DatesTest, LongDatesNameTheDayAndMonth) {
  EXPECT_EQ(date_text("(1998 3 4)", "t"), "Wednesday 04 March 1998");
  EXPECT_EQ(date_text("(2024 1 2)", "1"), "Tuesday 02 January 2024");
  EXPECT_EQ(date_text("(2024 1 2)", "256"), "1/02/24");  // only the low 8 bits count
  set_interface_language(1);
  EXPECT_EQ(date_text("(1998 8 4)", "t"), "Mardi 04 Ao\xfbt 1998");
  set_interface_language(2);
  EXPECT_EQ(date_text("(1998 3 7)", "t"), "S\xe1" "bado 07 Marzo 1998");
}

TEST_F(DatesTest, TimeStringsFollowTheRegionalClock) {
  EXPECT_EQ(time_text("(1998 3 4 14 5 9)", "t"), " 2:05:09 PM ");
  EXPECT_EQ(time_text("(1998 3 4 14 5 9)", "nil"), " 2:05 PM ");
  EXPECT_EQ(time_text("(1998 3 4 0 7 0)", "nil"), " 12:07 AM ");
  EXPECT_EQ(time_text("(1998 3 4 12 0 0)", "nil"), " 12:00 PM ");
  write_settings("[intl]\niTime=1\nsTime=h\n");
  EXPECT_EQ(time_text("(1998 3 4 9 5 9)", "t"), "09h05h09");
  EXPECT_EQ(time_text("(1998 3 4 9 5 9)", "nil"), "09h05");
  write_settings("; regional formats\n[intl]\niTime=0\ns1159=\"morning\"\ns2359=soir\n");
  EXPECT_EQ(time_text("(1998 3 4 9 5 9)", "nil"), " 9:05 morn ");
  EXPECT_EQ(time_text("(1998 3 4 21 5 9)", "nil"), " 9:05 soir ");
  EXPECT_EQ(error_code("(iutimestring \"noon\" t)"), 2);
}

TEST(SettingsTest, IniFilesReadLikeWindowsProfiles) {
  auto ini = platform::IniFile::parse(
      "[intl]\r\niDate=2\r\nsDate = \" / \" \r\n# comment\r\niDate=1\r\n[Other]\nkey=x12\nnum=-7z\n");
  EXPECT_EQ(ini.get_int("INTL", "idate", 0), 2);
  EXPECT_EQ(ini.get_string("intl", "sDate", "?"), " / ");
  EXPECT_EQ(ini.get_int("other", "key", 5), 0);
  EXPECT_EQ(ini.get_int("other", "num", 5), -7);
  EXPECT_EQ(ini.get_int("other", "missing", 5), 5);
  EXPECT_FALSE(ini.get("intl", "key"));
  EXPECT_FALSE(platform::IniFile::load("/nonexistent/orvane.ini").get("intl", "iDate"));
}

}  // namespace
}  // namespace orvane
