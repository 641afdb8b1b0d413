// The pixels of an 8-bit buffer as faces images and masks work on them:
// rows of palette indices, top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace orvane::ui {

class IndexedPixels {
 public:
  // The first `height` rows of an 8-bit surface (all of them when larger).
  IndexedPixels(raster::Surface& surface, int height)
      : first_(surface.row(0)),
        stride_(surface.stride()),
        width_(surface.width()),
        height_(height < surface.height() ? height : surface.height()) {}
  // All of an 8-bit surface.
  IndexedPixels(raster::Surface& surface) : IndexedPixels(surface, surface.height()) {}  // NOLINT: a view of it

  int width() const { return width_; }
  int height() const { return height_; }
  raster::IntRect bounds() const { return {0, 0, width_, height_}; }
  std::uint8_t* row(int y) const { return first_ + static_cast<std::size_t>(y) * stride_; }

 private:
  std::uint8_t* first_;
  std::size_t stride_;
  int width_;
  int height_;
};

}  // namespace orvane::ui
