// A surface: a rectangle of pixels in one of four layouts, rows top-down.
//
// Pixel values: 1 bit (an index into a two-entry table, 0 black and 1 white by
// default), 8 bits (an index into the surface's colour table), and 24 or 32
// bits holding 0x00RRGGBB (stored B, G, R, and a fourth byte kept 0).
// Raster operations act on these values, as GDI's act on pixel bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/raster/color.h"
#include "platform/raster/geometry.h"

namespace orvane::raster {

enum class PixelFormat { mono1, indexed8, rgb24, rgb32 };

constexpr int bits_per_pixel(PixelFormat f) {
  switch (f) {
    case PixelFormat::mono1: return 1;
    case PixelFormat::indexed8: return 8;
    case PixelFormat::rgb24: return 24;
    case PixelFormat::rgb32: return 32;
  }
  return 32;
}

// The bits of a pixel value that raster operations may change.
constexpr std::uint32_t value_mask(PixelFormat f) {
  switch (f) {
    case PixelFormat::mono1: return 0x1;
    case PixelFormat::indexed8: return 0xff;
    default: return 0xffffff;
  }
}

// Surfaces larger than this many pixels are refused by try_create.
inline constexpr std::int64_t kMaxSurfacePixels = std::int64_t{1} << 28;

class Surface {
 public:
  // A surface filled with pixel value 0. Throws std::bad_alloc when the
  // memory cannot be had, std::length_error for impossible sizes.
  Surface(int width, int height, PixelFormat format, ColorTable table = {});
  // As the constructor, but answers nothing instead of throwing.
  static std::optional<Surface> try_create(int width, int height, PixelFormat format,
                                           ColorTable table = {}) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }
  IntRect bounds() const { return {0, 0, width_, height_}; }
  PixelFormat format() const { return format_; }
  std::size_t stride() const { return stride_; }

  std::uint8_t* row(int y) { return data_.data() + static_cast<std::size_t>(y) * stride_; }
  const std::uint8_t* row(int y) const {
    return data_.data() + static_cast<std::size_t>(y) * stride_;
  }

  // Raw pixel values; coordinates must lie inside the surface.
  std::uint32_t pixel(int x, int y) const;
  void set_pixel(int x, int y, std::uint32_t value);
  Color color_at(int x, int y) const { return color_of(pixel(x, y)); }

  // The colour a pixel value shows, and the value that shows the colour
  // nearest to c.
  Color color_of(std::uint32_t value) const;
  std::uint32_t value_of(Color c) const;

  const ColorTable& color_table() const { return table_; }
  // Replaces the table (1-bit surfaces keep exactly two entries).
  void set_color_table(ColorTable table);

  void fill(std::uint32_t value);

 private:
  struct Unchecked {};
  Surface(Unchecked, int width, int height, PixelFormat format, ColorTable table);

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::rgb32;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> data_;
  ColorTable table_;
};

// Row stride of a surface of that width and format: rows start at 4-byte
// boundaries, as in a device-independent bitmap.
std::size_t surface_stride(int width, PixelFormat format);

}  // namespace orvane::raster
