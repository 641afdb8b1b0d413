// The clock of a headless run: virtual, starting at 0, moved by the script's
// waits (the headless screen jumps it), by the run-time's own waits
// (wait_until), and by reading it while it is idle: a read that finds the
// clock where the previous read left it first moves it kIdleStep
// milliseconds, so a loop busy-waiting on the tick count ends, and the
// same run reads the same times.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace orvane::platform::backends {

class HeadlessClock final : public Clock {
 public:
  static constexpr std::uint64_t kIdleStep = 1;
  // The calendar time a headless run starts at: 1 January 2000, 00:00 UTC,
  // the same every run.
  static constexpr std::int64_t kStartUnixTime = 946684800;

  std::uint64_t milliseconds() override;
  std::int64_t unix_time() override { return kStartUnixTime + static_cast<std::int64_t>(now_ / 1000); }
  void wait_until(std::uint64_t target) override { jump_to(target); }

  // The time without reading it (no idle step): for the backend's own use.
  std::uint64_t now() const { return now_; }
  // Moves the clock forward to `target`; never back.
  void jump_to(std::uint64_t target) {
    if (target > now_) now_ = target;
  }

 private:
  std::uint64_t now_ = 0;
  std::uint64_t last_read_ = UINT64_MAX;
};

}  // namespace orvane::platform::backends
