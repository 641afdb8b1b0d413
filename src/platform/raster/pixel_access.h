// Per-format pixel access, for loops that dispatch on the format once and
// then read and write values in place.
#pragma once

#include <cstdint>

#include "platform/raster/surface.h"

namespace orvane::raster {

template <PixelFormat F>
struct PixelAccess;

template <>
struct PixelAccess<PixelFormat::mono1> {
  static std::uint32_t get(const std::uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1u;
  }
  static void put(std::uint8_t* row, int x, std::uint32_t v) {
    std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
    if (v & 1u) row[x >> 3] |= bit; else row[x >> 3] &= static_cast<std::uint8_t>(~bit);
  }
};

template <>
struct PixelAccess<PixelFormat::indexed8> {
  static std::uint32_t get(const std::uint8_t* row, int x) { return row[x]; }
  static void put(std::uint8_t* row, int x, std::uint32_t v) { row[x] = static_cast<std::uint8_t>(v); }
};

template <>
struct PixelAccess<PixelFormat::rgb24> {
  static std::uint32_t get(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + 3 * x;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
  }
  static void put(std::uint8_t* row, int x, std::uint32_t v) {
    std::uint8_t* p = row + 3 * x;
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
  }
};

template <>
struct PixelAccess<PixelFormat::rgb32> {
  static std::uint32_t get(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + 4 * x;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
  }
  static void put(std::uint8_t* row, int x, std::uint32_t v) {
    std::uint8_t* p = row + 4 * x;
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = 0;
  }
};

// Calls f with a PixelAccess<format> value, dispatching once.
template <class F>
decltype(auto) with_pixel_access(PixelFormat format, F&& f) {
  switch (format) {
    case PixelFormat::mono1: return f(PixelAccess<PixelFormat::mono1>{});
    case PixelFormat::indexed8: return f(PixelAccess<PixelFormat::indexed8>{});
    case PixelFormat::rgb24: return f(PixelAccess<PixelFormat::rgb24>{});
    case PixelFormat::rgb32: break;
  }
  return f(PixelAccess<PixelFormat::rgb32>{});
}

}  // namespace orvane::raster
