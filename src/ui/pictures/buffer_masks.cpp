#include "ui/pictures/buffer_masks.h"

#include <algorithm>
#include <array>

namespace orvane::ui::masks {

using raster::IntRect;

namespace {

// The first row of the screen; each further row is it moved one column to
// the right (so the smallest values run down the main diagonal) and raised
// or lowered a little, which spreads the values over 52 to 205.
constexpr std::array<std::uint8_t, 16> kFirstRow{60, 142, 99, 169, 77, 157, 122, 188,
                                                 62, 131, 105, 186, 84, 161, 116, 196};

int row_shift(int y) { return (y * 7 + 8) % 18 - 8; }

struct Extent {
  int left, right;
};

Extent read_extent(std::span<const std::uint8_t> block, int row) {
  const std::size_t at = static_cast<std::size_t>(row) * kExtentBytes;
  auto word = [&](std::size_t i) { return static_cast<std::int16_t>(block[i] | (block[i + 1] << 8)); };
  return {word(at), word(at + 2)};
}

void write_extent(std::span<std::uint8_t> block, int row, Extent e) {
  const std::size_t at = static_cast<std::size_t>(row) * kExtentBytes;
  block[at] = static_cast<std::uint8_t>(e.left & 0xff);
  block[at + 1] = static_cast<std::uint8_t>((e.left >> 8) & 0xff);
  block[at + 2] = static_cast<std::uint8_t>(e.right & 0xff);
  block[at + 3] = static_cast<std::uint8_t>((e.right >> 8) & 0xff);
}

// r within the buffer and within the rows the block describes.
IntRect clipped(const IndexedPixels& buffer, std::size_t block_size, const IntRect& r) {
  IntRect c = r.intersected(buffer.bounds());
  c.bottom = std::min<int>(c.bottom, static_cast<int>(block_size / kExtentBytes));
  return c;
}

}  // namespace

std::uint8_t line_art_threshold(int x, int y) {
  const int row = ((y % 16) + 16) % 16;
  const int column = ((x % 16) + 16) % 16;
  return static_cast<std::uint8_t>(kFirstRow[static_cast<std::size_t>((column - row + 16) % 16)] + row_shift(row));
}

void apply_line_art(const IndexedPixels& buffer, const IntRect& r) {
  const IntRect c = r.intersected(buffer.bounds());
  for (int y = c.top; y < c.bottom; ++y) {
    std::uint8_t* row = buffer.row(y);
    for (int x = c.left; x < c.right; ++x) row[x] = row[x] >= line_art_threshold(x, y) ? 255 : 0;
  }
}

void init_extents(std::span<std::uint8_t> block) {
  for (int row = 0; static_cast<std::size_t>(row + 1) * kExtentBytes <= block.size(); ++row)
    write_extent(block, row, {kEmptyLeft, kEmptyRight});
}

void compute_extents(const IndexedPixels& buffer, std::span<std::uint8_t> block, const IntRect& r) {
  const IntRect c = clipped(buffer, block.size(), r);
  for (int y = c.top; y < c.bottom; ++y) {
    const std::uint8_t* row = buffer.row(y);
    int first = c.left, last = c.right - 1;
    while (first < c.right && row[first] > kShapeLimit) ++first;
    if (first == c.right) continue;
    while (row[last] > kShapeLimit) --last;
    Extent e = read_extent(block, y);
    e.left = std::min(e.left, first);
    e.right = std::max(e.right, last);
    write_extent(block, y, e);
  }
}

void apply_extents(const IndexedPixels& buffer, std::span<const std::uint8_t> block, const IntRect& r) {
  const IntRect c = clipped(buffer, block.size(), r);
  for (int y = c.top; y < c.bottom; ++y) {
    std::uint8_t* row = buffer.row(y);
    const Extent e = read_extent(block, y);
    for (int x = c.left; x < c.right; ++x)
      if (x < e.left || x > e.right) row[x] = kBlankPixel;
  }
}

}  // namespace orvane::ui::masks
