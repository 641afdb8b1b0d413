// What a fill paints at each pixel: one value, or an 8 x 8 pattern of two
// values anchored at the brush origin. Internal to the device context.
#pragma once

#include <cstdint>

#include "platform/raster/device_context.h"

namespace orvane::raster {

struct DeviceContext::Paint {
  bool patterned = false;
  bool hollow = false;
  std::uint32_t foreground = 0;  // the value of set bits, or the solid value
  std::uint32_t background = 0;
  Pattern8 pattern;
  IntPoint origin;

  std::uint32_t at(int x, int y) const {
    if (!patterned) return foreground;
    return pattern.bit(x - origin.x, y - origin.y) ? foreground : background;
  }
};

}  // namespace orvane::raster
