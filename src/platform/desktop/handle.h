// Window handles: 32 bits, never a host pointer. The low 16 bits index the
// window table, the high 16 bits are the slot's generation, so a handle of a
// destroyed window never reaches the window that later takes its slot.
#pragma once

#include <cstdint>
#include <functional>

namespace orvane::desktop {

struct Hwnd {
  std::uint32_t value = 0;  // 0: no window

  constexpr explicit operator bool() const { return value != 0; }
  constexpr bool operator==(const Hwnd&) const = default;
  constexpr std::uint32_t index() const { return value & 0xffff; }
  constexpr std::uint32_t generation() const { return value >> 16; }
  static constexpr Hwnd make(std::uint32_t index, std::uint32_t generation) {
    return Hwnd{(generation << 16) | (index & 0xffff)};
  }
};

inline constexpr Hwnd kNoWindow{};

}  // namespace orvane::desktop

template <>
struct std::hash<orvane::desktop::Hwnd> {
  std::size_t operator()(orvane::desktop::Hwnd h) const noexcept { return h.value; }
};
