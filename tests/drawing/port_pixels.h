// Offscreens as test canvases: their pixels as strings ('.' white, '#'
// black, legend letters for other colours), the extra bottom row left out.
#pragma once

#include <map>
#include <string>

#include "graphics/offscreen.h"

namespace orvane::graphics::testing {

inline std::string frame_pixels(const Offscreen& o, const std::map<std::uint32_t, char>& legend = {}) {
  std::string out;
  const raster::Surface& s = o.surface();
  for (int y = 0; y < o.frame().height(); ++y) {
    if (y) out += '\n';
    for (int x = 0; x < s.width(); ++x) {
      std::uint32_t rgb = s.color_at(x, y).rgb();
      auto it = legend.find(rgb);
      if (it != legend.end())
        out += it->second;
      else if (rgb == 0xffffff)
        out += '.';
      else if (rgb == 0)
        out += '#';
      else
        out += '?';
    }
  }
  return out;
}

inline std::string rows(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) {
    if (!out.empty()) out += '\n';
    out += l;
  }
  return out;
}

inline Offscreen canvas(int w, int h) { return Offscreen(OffscreenSpec::of({0, 0, w, h})); }

}  // namespace orvane::graphics::testing
