// What the geometry tests read back from the framebuffer.
#pragma once

#include <vector>

#include "platform/raster/surface.h"

namespace orvane::ui::testing {

// Every pixel's colour, row by row.
inline std::vector<raster::Color> framebuffer_pixels(const raster::Surface& fb) {
  std::vector<raster::Color> pixels;
  pixels.reserve(static_cast<std::size_t>(fb.width()) * fb.height());
  for (int y = 0; y < fb.height(); ++y)
    for (int x = 0; x < fb.width(); ++x) pixels.push_back(fb.color_at(x, y));
  return pixels;
}

}  // namespace orvane::ui::testing
