// Packed device-independent bitmaps: a BITMAPINFOHEADER (little-endian),
// its colour table or channel masks, and the pixel rows, bottom-up for a
// positive height.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/raster/pixel_view.h"

namespace orvane::raster {

inline constexpr std::uint32_t kDibHeaderSize = 40;

enum class DibError { none, too_short, bad_header, unsupported, truncated };

std::string_view describe(DibError error);

class PackedDib {
 public:
  // Reads the header and checks that the table and every row lie inside
  // data. The view refers to data, which must outlive it.
  static std::optional<PackedDib> parse(std::span<const std::uint8_t> data, DibError* error = nullptr);

  int width() const { return width_; }
  int height() const { return height_; }
  int bit_count() const { return bit_count_; }
  bool top_down() const { return top_down_; }
  const ColorTable& colors() const { return table_; }
  // The pixels, top row first.
  PixelView view() const;
  // Bytes of header, table and rows (what a packed DIB of this shape needs).
  std::size_t size() const { return size_; }

 private:
  int width_ = 0, height_ = 0, bit_count_ = 0;
  bool top_down_ = false;
  ColorTable table_;
  std::uint32_t masks_[3] = {0xff0000, 0x00ff00, 0x0000ff};
  const std::uint8_t* bits_ = nullptr;
  std::size_t stride_ = 0;
  std::size_t size_ = 0;
};

}  // namespace orvane::raster
