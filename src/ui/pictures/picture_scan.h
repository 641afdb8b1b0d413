// A walk over a picture's opcodes that draws nothing: what
// `get-picture-mode` and `get-picture-bitmap-rect` ask of a picture. It
// walks as the picture player does and stops where the player stops.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "graphics/picture.h"
#include "platform/raster/geometry.h"

namespace orvane::ui {

struct PictureScan {
  graphics::PictureKind kind = graphics::PictureKind::unknown;
  int pixel_copies = 0;  // bitmap and pixmap opcodes
  int drawings = 0;      // lines and shapes
  // The transfer mode of the last pixel copy, and the bounds of the first
  // one's bitmap (left top right bottom).
  int transfer_mode = 0;
  std::optional<raster::IntRect> bitmap_bounds;
};

PictureScan scan_picture(std::span<const std::uint8_t> data);

}  // namespace orvane::ui
