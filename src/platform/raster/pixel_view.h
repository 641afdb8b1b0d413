// A read-only view of pixels for transfers: a surface, or the bits of a
// device-independent bitmap. Rows are addressed top-down whatever the
// storage order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/raster/color.h"
#include "platform/raster/surface.h"

namespace orvane::raster {

struct PixelView {
  int width = 0;
  int height = 0;
  int bit_count = 32;  // 1, 4, 8 (indexed), 16, 24 or 32
  const std::uint8_t* first_row = nullptr;
  std::ptrdiff_t row_step = 0;  // bytes from one row to the next one down
  std::span<const Color> table;
  // Channel masks of 16- and 32-bit pixels.
  std::uint32_t red_mask = 0xff0000, green_mask = 0x00ff00, blue_mask = 0x0000ff;

  const std::uint8_t* row(int y) const { return first_row + row_step * y; }
  IntRect bounds() const { return {0, 0, width, height}; }
};

PixelView view_of(const Surface& surface);

}  // namespace orvane::raster
