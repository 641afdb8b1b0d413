// Timers: WM_TIMER at intervals of the desktop's clock. A due timer yields
// one WM_TIMER however late it is (Win32 never queues a backlog), and the
// next is due one interval after that.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/desktop/message.h"

namespace orvane::desktop {

class TimerList {
 public:
  struct Timer {
    Hwnd hwnd;
    std::uintptr_t id = 0;
    std::uint32_t interval = 0;
    std::uint64_t due = 0;
  };

  // Sets (or resets) the timer of that window and id.
  void set(Hwnd hwnd, std::uintptr_t id, std::uint32_t interval, std::uint64_t now);
  bool kill(Hwnd hwnd, std::uintptr_t id);
  void forget_window(Hwnd hwnd);
  // The earliest due time; none without timers.
  std::optional<std::uint64_t> next_due() const;
  // A timer due at `now` whose window the filter accepts (moved to its next
  // due time), or none.
  std::optional<Timer> take_due(std::uint64_t now, Hwnd filter);
  // As take_due, without moving it.
  std::optional<Timer> peek_due(std::uint64_t now, Hwnd filter) const;

 private:
  std::vector<Timer> timers_;
};

}  // namespace orvane::desktop
