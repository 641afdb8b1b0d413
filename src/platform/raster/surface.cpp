#include "platform/raster/surface.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/raster/pixel_access.h"

namespace orvane::raster {

std::uint32_t nearest_index(std::span<const Color> table, Color c) {
  std::uint32_t best = 0;
  int best_distance = 1 << 30;
  for (std::size_t i = 0; i < table.size(); ++i) {
    int dr = int{table[i].r} - c.r, dg = int{table[i].g} - c.g, db = int{table[i].b} - c.b;
    int d = dr * dr + dg * dg + db * db;
    if (d < best_distance) {
      best_distance = d;
      best = static_cast<std::uint32_t>(i);
      if (d == 0) break;
    }
  }
  return best;
}

namespace {

ColorTable default_table(PixelFormat format, ColorTable table) {
  if (format == PixelFormat::mono1) {
    if (table.size() != 2) table = {colors::black, colors::white};
    return table;
  }
  if (format == PixelFormat::indexed8) {
    if (table.empty()) {
      for (int i = 0; i < 256; ++i) {
        auto v = static_cast<std::uint8_t>(i);
        table.push_back({v, v, v});
      }
    }
    if (table.size() > 256) table.resize(256);
    return table;
  }
  return {};
}

bool size_acceptable(int width, int height) {
  return width >= 0 && height >= 0 &&
         std::int64_t{width} * height <= kMaxSurfacePixels;
}

}  // namespace

std::size_t surface_stride(int width, PixelFormat format) {
  std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bits_per_pixel(format));
  return ((bits + 31) / 32) * 4;
}

Surface::Surface(Unchecked, int width, int height, PixelFormat format, ColorTable table)
    : width_(width),
      height_(height),
      format_(format),
      stride_(surface_stride(width, format)),
      data_(stride_ * static_cast<std::size_t>(height)),
      table_(default_table(format, std::move(table))) {}

Surface::Surface(int width, int height, PixelFormat format, ColorTable table)
    : Surface(size_acceptable(width, height)
                  ? Unchecked{}
                  : throw std::length_error("surface size out of range"),
              width, height, format, std::move(table)) {}

std::optional<Surface> Surface::try_create(int width, int height, PixelFormat format,
                                           ColorTable table) noexcept {
  if (!size_acceptable(width, height)) return std::nullopt;
  try {
    return Surface(Unchecked{}, width, height, format, std::move(table));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::uint32_t Surface::pixel(int x, int y) const {
  return with_pixel_access(format_, [&](auto access) { return access.get(row(y), x); });
}

void Surface::set_pixel(int x, int y, std::uint32_t value) {
  with_pixel_access(format_, [&](auto access) { access.put(row(y), x, value); });
}

Color Surface::color_of(std::uint32_t value) const {
  if (format_ == PixelFormat::rgb24 || format_ == PixelFormat::rgb32) return Color::from_rgb(value);
  return value < table_.size() ? table_[value] : colors::black;
}

std::uint32_t Surface::value_of(Color c) const {
  if (format_ == PixelFormat::rgb24 || format_ == PixelFormat::rgb32) return c.rgb();
  return nearest_index(table_, c);
}

void Surface::set_color_table(ColorTable table) { table_ = default_table(format_, std::move(table)); }

void Surface::fill(std::uint32_t value) {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* r = row(y);
    switch (format_) {
      case PixelFormat::mono1:
        std::fill(r, r + stride_, (value & 1) ? 0xff : 0x00);
        break;
      case PixelFormat::indexed8:
        std::fill(r, r + width_, static_cast<std::uint8_t>(value));
        break;
      case PixelFormat::rgb24:
        for (int x = 0; x < width_; ++x) PixelAccess<PixelFormat::rgb24>::put(r, x, value);
        break;
      case PixelFormat::rgb32:
        for (int x = 0; x < width_; ++x) PixelAccess<PixelFormat::rgb32>::put(r, x, value);
        break;
    }
  }
}

}  // namespace orvane::raster
