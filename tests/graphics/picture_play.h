// Playing assembled pictures on white surfaces in the picture tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/picture.h"
#include "raster/pixels.h"

namespace orvane::graphics::testing {

struct Played {
  raster::Surface surface;
  PlaybackResult result;
  std::string str() const { return raster::testing::pixels_of(surface, raster::testing::kRgbLegend); }
};

inline Played play(const std::vector<std::uint8_t>& pict, int w, int h, raster::IntRect dest,
                   const PlaybackOptions& options = {}) {
  Played p{raster::testing::white_surface(w, h), {}};
  raster::DeviceContext dc(p.surface);
  p.result = play_picture(dc, pict, dest, options);
  return p;
}
inline Played play(const std::vector<std::uint8_t>& pict, int w, int h, const PlaybackOptions& options = {}) {
  return play(pict, w, h, {0, 0, w, h}, options);
}

}  // namespace orvane::graphics::testing
