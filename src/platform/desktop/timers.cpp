#include "platform/desktop/timers.h"

#include <algorithm>

namespace orvane::desktop {

void TimerList::set(Hwnd hwnd, std::uintptr_t id, std::uint32_t interval, std::uint64_t now) {
  // Win32 raises a zero interval to its minimum; one millisecond keeps the order.
  interval = std::max<std::uint32_t>(interval, 1);
  for (Timer& t : timers_) {
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = interval;
      t.due = now + interval;
      return;
    }
  }
  timers_.push_back({hwnd, id, interval, now + interval});
}

bool TimerList::kill(Hwnd hwnd, std::uintptr_t id) {
  return std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

void TimerList::forget_window(Hwnd hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

std::optional<std::uint64_t> TimerList::next_due() const {
  if (timers_.empty()) return std::nullopt;
  return std::min_element(timers_.begin(), timers_.end(),
                          [](const Timer& a, const Timer& b) { return a.due < b.due; })
      ->due;
}

std::optional<TimerList::Timer> TimerList::peek_due(std::uint64_t now, Hwnd filter) const {
  const Timer* best = nullptr;
  for (const Timer& t : timers_) {
    if (t.due > now || (filter && t.hwnd != filter)) continue;
    if (!best || t.due < best->due) best = &t;
  }
  if (!best) return std::nullopt;
  return *best;
}

std::optional<TimerList::Timer> TimerList::take_due(std::uint64_t now, Hwnd filter) {
  auto due = peek_due(now, filter);
  if (!due) return std::nullopt;
  for (Timer& t : timers_) {
    if (t.hwnd == due->hwnd && t.id == due->id) {
      t.due = now + t.interval;
      break;
    }
  }
  return due;
}

}  // namespace orvane::desktop
