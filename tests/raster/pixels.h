// Pixel strings for golden tests: one character per pixel, rows joined by
// newlines. '.' is white, '#' black; other colours come from a legend.
#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "platform/raster/device_context.h"
#include "platform/raster/surface.h"

namespace orvane::raster::testing {

inline std::string pixels_of(const Surface& s, const std::map<std::uint32_t, char>& legend = {}) {
  std::string out;
  for (int y = 0; y < s.height(); ++y) {
    if (y) out += '\n';
    for (int x = 0; x < s.width(); ++x) {
      std::uint32_t rgb = s.color_at(x, y).rgb();
      auto it = legend.find(rgb);
      if (it != legend.end()) out += it->second;
      else if (rgb == 0xffffff) out += '.';
      else if (rgb == 0) out += '#';
      else out += '?';
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

// A white surface of the format.
inline Surface white_surface(int w, int h, PixelFormat f = PixelFormat::rgb32) {
  Surface s(w, h, f);
  s.fill(s.value_of(colors::white));
  return s;
}

inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kBlue{0, 0, 255};
inline const std::map<std::uint32_t, char> kRgbLegend{{0xff0000, 'r'}, {0x00ff00, 'g'}, {0x0000ff, 'b'}};

}  // namespace orvane::raster::testing
