// The mask work of titles on an 8-bit buffer (pixel values are palette
// indices): dithering to two levels, and per-row extents that cut what
// lies outside a shape.
//
// An extents block holds one pair of little-endian 16-bit values (left,
// right) per pixel row of the buffer; (10000, 0) is an empty row.
#pragma once

#include <cstdint>
#include <span>

#include "platform/raster/geometry.h"
#include "ui/pictures/indexed_pixels.h"

namespace orvane::ui::masks {

inline constexpr int kEmptyLeft = 10000;
inline constexpr int kEmptyRight = 0;
// Pixels of this value or below count as part of the shape.
inline constexpr std::uint8_t kShapeLimit = 229;
inline constexpr std::uint8_t kBlankPixel = 255;
inline constexpr std::size_t kExtentBytes = 4;

// The ordered-dither threshold at (x, y): a 16 x 16 diagonal line screen
// of values 52 to 205.
std::uint8_t line_art_threshold(int x, int y);

// Each pixel of r (clipped to the buffer) becomes 255 when it reaches the
// threshold, else 0.
void apply_line_art(const IndexedPixels& buffer, const raster::IntRect& r);

// Every row's extent becomes empty.
void init_extents(std::span<std::uint8_t> block);
// For each row of r (clipped to the buffer and the block), widens the row's
// extent to its first and last pixel within r's columns that belong to the
// shape.
void compute_extents(const IndexedPixels& buffer, std::span<std::uint8_t> block, const raster::IntRect& r);
// In each row of r (clipped likewise), the pixels left and right of the
// row's extent become blank.
void apply_extents(const IndexedPixels& buffer, std::span<const std::uint8_t> block, const raster::IntRect& r);

}  // namespace orvane::ui::masks
