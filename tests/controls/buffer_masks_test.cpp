// The mask work on 8-bit buffers: the line-art threshold screen, two-level
// dithering, and row extents computed from a shape and applied.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/pictures/buffer_masks.h"

namespace orvane::ui::masks {
namespace {

using raster::IntRect;
using raster::PixelFormat;
using raster::Surface;

TEST(LineArt, TheScreenIsADiagonalLineScreenOfValues52To205) {
  const std::vector<int> first_row{60, 142, 99, 169, 77, 157, 122, 188, 62, 131, 105, 186, 84, 161, 116, 196};
  for (int x = 0; x < 16; ++x) EXPECT_EQ(line_art_threshold(x, 0), first_row[static_cast<std::size_t>(x)]);
  int lowest = 255, highest = 0;
  for (int y = 0; y < 16; ++y) {
    int row_min_x = -1, row_min = 256;
    for (int x = 0; x < 16; ++x) {
      const int t = line_art_threshold(x, y);
      lowest = std::min(lowest, t);
      highest = std::max(highest, t);
      if (t < row_min) row_min = t, row_min_x = x;
      EXPECT_EQ(t, line_art_threshold(x + 16, y + 32));  // it tiles
    }
    EXPECT_EQ(row_min_x, y) << "row " << y;  // smallest on the main diagonal
  }
  EXPECT_EQ(lowest, 52);
  EXPECT_EQ(highest, 205);
}

TEST(LineArt, PixelsBecomeBlackOrWhiteInsideTheRectangleOnly) {
  Surface buffer(20, 20, PixelFormat::indexed8);
  buffer.fill(130);
  apply_line_art(buffer, {2, 2, 40, 10});  // clipped to the buffer
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const std::uint32_t v = buffer.pixel(x, y);
      if (x >= 2 && y >= 2 && y < 10) EXPECT_EQ(v, 130 >= line_art_threshold(x, y) ? 255u : 0u);
      else EXPECT_EQ(v, 130u);
    }
}

int extent_word(const std::vector<std::uint8_t>& block, int row, int which) {
  const std::size_t at = static_cast<std::size_t>(row) * 4 + static_cast<std::size_t>(which) * 2;
  return static_cast<std::int16_t>(block[at] | (block[at + 1] << 8));
}

TEST(Extents, ComputedFromTheShapeAndAppliedOutsideIt) {
  Surface buffer(10, 6, PixelFormat::indexed8);
  buffer.fill(240);  // above 229: not the shape
  buffer.set_pixel(3, 1, 229);
  buffer.set_pixel(6, 1, 12);
  buffer.set_pixel(8, 3, 0);
  std::vector<std::uint8_t> block(6 * 4);
  init_extents(block);
  for (int row = 0; row < 6; ++row) {
    EXPECT_EQ(extent_word(block, row, 0), kEmptyLeft);
    EXPECT_EQ(extent_word(block, row, 1), kEmptyRight);
  }
  compute_extents(buffer, block, {0, 0, 8, 6});  // column 8 lies outside
  EXPECT_EQ(extent_word(block, 1, 0), 3);
  EXPECT_EQ(extent_word(block, 1, 1), 6);
  EXPECT_EQ(extent_word(block, 3, 0), kEmptyLeft);
  compute_extents(buffer, block, {0, 0, 10, 6});  // widens, never narrows
  EXPECT_EQ(extent_word(block, 1, 0), 3);
  EXPECT_EQ(extent_word(block, 3, 0), 8);
  EXPECT_EQ(extent_word(block, 3, 1), 8);

  buffer.fill(7);
  apply_extents(buffer, block, {0, 0, 10, 5});
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(buffer.pixel(x, 0), 255u) << x;                        // an empty row: all of it
    EXPECT_EQ(buffer.pixel(x, 1), x >= 3 && x <= 6 ? 7u : 255u) << x;
    EXPECT_EQ(buffer.pixel(x, 3), x == 8 ? 7u : 255u) << x;
    EXPECT_EQ(buffer.pixel(x, 5), 7u) << x;                          // outside the rectangle
  }
}

TEST(Extents, ABlockShorterThanTheBufferIsNeverWrittenPast) {
  Surface buffer(4, 8, PixelFormat::indexed8);
  buffer.fill(0);
  std::vector<std::uint8_t> block(3 * 4 + 2, 0xaa);  // three rows and a half
  init_extents(block);
  EXPECT_EQ(block[12], 0xaa);
  compute_extents(buffer, block, {0, 0, 4, 8});
  apply_extents(buffer, block, {0, 0, 4, 8});
  EXPECT_EQ(block[12], 0xaa);
  EXPECT_EQ(block[13], 0xaa);
  EXPECT_EQ(extent_word(block, 2, 1), 3);
}

}  // namespace
}  // namespace orvane::ui::masks
