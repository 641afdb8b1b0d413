#include "platform/clock.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/host.h"

namespace orvane::platform {

namespace {
Clock*& current_clock() {
  static SystemClock system;
  static Clock* current = &system;
  return current;
}
}  // namespace

std::uint64_t SystemClock::milliseconds() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::int64_t SystemClock::unix_time() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(now).count();
}

void SystemClock::wait_until(std::uint64_t target) {
  // A plain sleep does what the original's busy loop did (nothing else
  // runs meanwhile) without burning a core.
  for (std::uint64_t now = milliseconds(); now < target; now = milliseconds())
    std::this_thread::sleep_for(std::chrono::milliseconds(target - now));
}

Clock& clock() { return host().clock(); }
Clock& console_clock() { return *current_clock(); }

ClockOverride::ClockOverride(Clock& replacement) : saved_(current_clock()) { current_clock() = &replacement; }
ClockOverride::~ClockOverride() { current_clock() = saved_; }

std::optional<LocalTime> local_time(std::int64_t unix_seconds) {
  std::time_t t = static_cast<std::time_t>(unix_seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return std::nullopt;
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday};
}

std::optional<std::int64_t> from_local_time(const LocalTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  errno = 0;
  std::time_t result = std::mktime(&tm);
  // -1 is also one second before 1970: only errno tells a refusal.
  if (result == static_cast<std::time_t>(-1) && errno != 0) return std::nullopt;
  return static_cast<std::int64_t>(result);
}

}  // namespace orvane::platform
