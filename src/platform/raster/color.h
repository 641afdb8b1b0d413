// Colours of the raster engine: 8 bits per component, as a Win32 COLORREF
// holds them, and colour tables for indexed surfaces.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvane::raster {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  constexpr bool operator==(const Color&) const = default;
  // 0x00RRGGBB, the pixel value of direct-colour surfaces.
  constexpr std::uint32_t rgb() const { return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b; }
  static constexpr Color from_rgb(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
  }
  constexpr Color inverted() const {
    return {static_cast<std::uint8_t>(~r), static_cast<std::uint8_t>(~g), static_cast<std::uint8_t>(~b)};
  }
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
}  // namespace colors

using ColorTable = std::vector<Color>;

// The index of the entry nearest to c (squared distance; the first of equals).
// An empty table answers 0.
std::uint32_t nearest_index(std::span<const Color> table, Color c);

}  // namespace orvane::raster
