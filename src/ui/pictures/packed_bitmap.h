// Packed device-independent bitmaps made from pixels: the pictures that
// window captures answer (a BITMAPINFOHEADER, the colour table, the rows
// bottom-up, each padded to four bytes; little-endian).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace orvane::ui {

// An 8-bit bitmap of r of an 8-bit surface, with its 256-entry colour table.
std::vector<std::uint8_t> packed_bitmap_8(const raster::Surface& surface, const raster::IntRect& r);
// A 24-bit bitmap of r of any surface (pixels outside it are black).
std::vector<std::uint8_t> packed_bitmap_24(const raster::Surface& surface, const raster::IntRect& r);

}  // namespace orvane::ui
