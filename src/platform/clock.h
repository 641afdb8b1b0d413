// The clock: a millisecond counter, the calendar time, waiting, and the
// host's local calendar. Replaceable: the real clock reads the host; the
// virtual clock (headless runs and tests) stands still until told to move,
// so waiting on it advances it at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace orvane::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a monotonic counter (since the host started).
  virtual std::uint64_t milliseconds() = 0;
  // Seconds since 1 January 1970, UTC.
  virtual std::int64_t unix_time() = 0;
  // Returns once milliseconds() has reached `target`.
  virtual void wait_until(std::uint64_t target) = 0;
};

class SystemClock final : public Clock {
 public:
  std::uint64_t milliseconds() override;
  std::int64_t unix_time() override;
  void wait_until(std::uint64_t target) override;
};

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint64_t start_ms = 0, std::int64_t start_unix = 0)
      : ms_(start_ms), unix_ms_(start_unix * 1000) {}
  std::uint64_t milliseconds() override { return ms_; }
  std::int64_t unix_time() override { return unix_ms_ / 1000; }
  void wait_until(std::uint64_t target) override {
    if (target > ms_) advance(target - ms_);
  }
  void advance(std::uint64_t ms) {
    ms_ += ms;
    unix_ms_ += static_cast<std::int64_t>(ms);
  }
  void set_unix_time(std::int64_t seconds) { unix_ms_ = seconds * 1000; }

 private:
  std::uint64_t ms_;
  std::int64_t unix_ms_;
};

// The one clock the run-time reads: the current host's (host().clock()),
// so a host with a virtual clock moves every timer of the run-time at once.
Clock& clock();

// The console host's clock: the system clock unless a ClockOverride is in
// force.
Clock& console_clock();

// Makes another clock the console host's for as long as it lives; nests. A
// host of its own (a title's window, a test host) brings its own clock.
class ClockOverride {
 public:
  explicit ClockOverride(Clock& replacement);
  ~ClockOverride();
  ClockOverride(const ClockOverride&) = delete;
  ClockOverride& operator=(const ClockOverride&) = delete;

 private:
  Clock* saved_;
};

// A broken-down local time, as the host's calendar gives it.
struct LocalTime {
  int year = 1970;  // full year
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int hour = 0, minute = 0, second = 0;
  int week_day = 4;  // 0 = Sunday
};

// The local time of a calendar time; nothing when the host cannot tell.
std::optional<LocalTime> local_time(std::int64_t unix_seconds);
// The calendar time of a local time (out-of-range fields are normalised, and
// the host decides whether daylight saving applies); nothing when the host
// cannot tell.
std::optional<std::int64_t> from_local_time(const LocalTime& t);

}  // namespace orvane::platform
