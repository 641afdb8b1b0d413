// Input events queued at script times for the fake screens of the desktop
// tests: an event is due once the virtual clock reaches its time, and an idle
// desktop's wait moves the clock to the next event or timer.
#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "platform/clock.h"
#include "platform/screen.h"

namespace orvane::testing {

class ScriptedInput {
 public:
  explicit ScriptedInput(platform::VirtualClock& clock, std::uint64_t start = 0)
      : clock_(clock), script_time_(start) {}

  // Queues an event at the current script time.
  void add(platform::InputEvent e) { events_.emplace_back(script_time_, std::move(e)); }
  std::uint64_t& script_time() { return script_time_; }
  platform::VirtualClock& clock() { return clock_; }

  // The next event whose time has come.
  std::optional<platform::InputEvent> poll() {
    if (events_.empty() || events_.front().first > clock_.milliseconds()) return std::nullopt;
    platform::InputEvent e = std::move(events_.front().second);
    events_.pop_front();
    return e;
  }
  // The idle desktop's wait: to the next event, else to the timer deadline
  // (once the script is done, only up to `idle_limit` when one is given);
  // false when nothing can come any more.
  bool wait(std::optional<std::uint64_t> deadline, std::optional<std::uint64_t> idle_limit = std::nullopt) {
    if (!events_.empty() && (!deadline || events_.front().first <= *deadline)) {
      clock_.wait_until(events_.front().first);
      return true;
    }
    if (deadline && (!events_.empty() || !idle_limit || *deadline <= *idle_limit)) {
      clock_.wait_until(*deadline);
      return true;
    }
    return false;
  }

 private:
  platform::VirtualClock& clock_;
  std::deque<std::pair<std::uint64_t, platform::InputEvent>> events_;
  std::uint64_t script_time_;
};

}  // namespace orvane::testing
