// The picture writer: an image becomes a QuickDraw picture of version 2
// holding one pixmap, 8 bits a pixel with a colour table when the image has
// at most 256 colours, else 32 bits a pixel; rows PackBits-compressed. The
// picture player draws it back pixel for pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/raster/surface.h"

namespace orvane::graphics {

// Rows of at most 0x3FFF bytes and 16-bit coordinates bound the sizes.
inline constexpr int kMaxPict8Width = 16382;
inline constexpr int kMaxPict32Width = 4095;
inline constexpr int kMaxPictHeight = 32767;

struct EncodedPicture {
  std::vector<std::uint8_t> data;
  int pixel_size = 8;         // 8 or 32
  std::size_t colors = 0;     // distinct colours (0 when above 256)
};

// The picture of the image, or nothing with the reason in *error when the
// image is empty or too large for a picture.
std::optional<EncodedPicture> encode_pict(const raster::Surface& image, std::string* error = nullptr);

}  // namespace orvane::graphics
