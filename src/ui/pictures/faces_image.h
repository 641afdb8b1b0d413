// "Faces" images: an 8-bit picture's box and its rows, each packed with
// PackBits behind its byte count, as titles store portraits.
//
//   block := top left bottom right (big-endian 16-bit words)
//            then per row: count (1 byte, or a big-endian word when the
//            packed row width is above 250), PackBits bytes
//
// The packed row width is the box width rounded up to an even number.
// PackBits: a count byte n from 0 to 127 is followed by n + 1 literal
// bytes; a negative n (-128 included) by one byte repeated 1 - n times.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/raster/geometry.h"
#include "ui/pictures/indexed_pixels.h"

namespace orvane::ui::faces {

// Pixel values from this one up count as blank when the box is found.
inline constexpr std::uint8_t kFirstBlank = 252;
// Packed rows wider than this have 16-bit counts.
inline constexpr int kMaxByteCountWidth = 250;

struct Image {
  raster::IntRect box;  // in the buffer's pixels
  // Rows of packed_width() bytes each, top to bottom.
  std::vector<std::uint8_t> pixels;
  int packed_width() const { return box.width() + (box.width() & 1); }
  std::span<const std::uint8_t> row(int y) const {
    return std::span(pixels).subspan(static_cast<std::size_t>(y) * packed_width(), packed_width());
  }
};

// Rows are packed with the run-time's PackBits packer (graphics/packbits.h:
// runs of three or more equal bytes become repeats). Unpacks exactly
// out.size() bytes from exactly the packed bytes, a count of -128 repeating
// 129 times; false when they do not make that many.
bool unpack_row(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out);

std::vector<std::uint8_t> encode(const Image& image);

enum class DecodeError { none, too_short, bad_box, row_count_past_end, row_does_not_unpack, trailing_bytes };
std::string_view describe(DecodeError e);
struct Decoded {
  std::optional<Image> image;
  DecodeError error = DecodeError::none;
};
Decoded decode(std::span<const std::uint8_t> block);
// The box of a block as (left top right bottom); nothing when it has no
// complete header.
std::optional<raster::IntRect> box_of(std::span<const std::uint8_t> block);

// Which columns of the buffer the box is sought in.
enum class Half { whole, left, right };

// The image of an 8-bit buffer (pixel values are palette indices): the box
// of its non-blank pixels within the columns of `half` (at least one row and
// one column), with the bits of `text` (each byte from its least
// significant bit) put into the least significant bits of the box's pixels,
// left to right and row by row from the box's first row; the buffer gets
// them too.
Image capture(const IndexedPixels& buffer, Half half, std::span<const std::uint8_t> text);

// Puts the image into the buffer from its first row and column: as it is
// when the sizes agree, else each buffer pixel takes the image pixel at the
// same proportion of the height and the width.
void put(const Image& image, const IndexedPixels& buffer);

}  // namespace orvane::ui::faces
