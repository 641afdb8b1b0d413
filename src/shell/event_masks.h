// The event pump's masks: which desktop messages each class of events takes,
// and in which order the pump tries them. The masks are the classic
// Macintosh event masks (mouse down 2, mouse up 4, key down 8, key up 16,
// update 64, activate 256).
#pragma once

#include <cstdint>
#include <vector>

namespace orvane::shell {

inline constexpr int kAllEvents = -1;
inline constexpr int kMouseDownMask = 0x02;
inline constexpr int kMouseUpMask = 0x04;
inline constexpr int kKeyDownMask = 0x08;
inline constexpr int kKeyUpMask = 0x10;
inline constexpr int kUpdateMask = 0x40;
inline constexpr int kActivateMask = 0x100;

struct MessageRange {
  std::uint32_t first = 0;
  std::uint32_t last = 0;  // both 0: every message
  bool operator==(const MessageRange&) const = default;
};

// The ranges the pump tries for a mask, in order: activation, mouse buttons,
// keyboard, paint, then always timers, idle and the wave-output
// notifications. Mask -1: one range of every message.
std::vector<MessageRange> pump_ranges(int mask);

}  // namespace orvane::shell
