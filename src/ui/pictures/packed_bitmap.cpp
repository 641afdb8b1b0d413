#include "ui/pictures/packed_bitmap.h"

namespace orvane::ui {

namespace {

constexpr int kHeaderSize = 40;
constexpr int kPixelsPerMetre = 2834;  // 72 dots per inch

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::size_t row_bytes(int width, int bits) { return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4; }

void put_header(std::vector<std::uint8_t>& out, int width, int height, int bits) {
  put32(out, kHeaderSize);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);
  put16(out, static_cast<std::uint16_t>(bits));
  put32(out, 0);  // uncompressed
  put32(out, static_cast<std::uint32_t>(row_bytes(width, bits) * static_cast<std::size_t>(height)));
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, 0);
  put32(out, 0);
}

}  // namespace

std::vector<std::uint8_t> packed_bitmap_8(const raster::Surface& surface, const raster::IntRect& r) {
  const int w = std::max(0, r.width()), h = std::max(0, r.height());
  std::vector<std::uint8_t> out;
  put_header(out, w, h, 8);
  const raster::ColorTable& table = surface.color_table();
  for (int i = 0; i < 256; ++i) {
    raster::Color c = static_cast<std::size_t>(i) < table.size() ? table[static_cast<std::size_t>(i)] : raster::Color{};
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  const std::size_t stride = row_bytes(w, 8);
  for (int y = r.bottom - 1; y >= r.top; --y) {
    const std::size_t start = out.size();
    for (int x = r.left; x < r.right; ++x)
      out.push_back(surface.bounds().contains({x, y}) ? static_cast<std::uint8_t>(surface.pixel(x, y)) : 0);
    out.resize(start + stride, 0);
  }
  return out;
}

std::vector<std::uint8_t> packed_bitmap_24(const raster::Surface& surface, const raster::IntRect& r) {
  const int w = std::max(0, r.width()), h = std::max(0, r.height());
  std::vector<std::uint8_t> out;
  put_header(out, w, h, 24);
  const std::size_t stride = row_bytes(w, 24);
  for (int y = r.bottom - 1; y >= r.top; --y) {
    const std::size_t start = out.size();
    for (int x = r.left; x < r.right; ++x) {
      raster::Color c = surface.bounds().contains({x, y}) ? surface.color_at(x, y) : raster::Color{};
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(start + stride, 0);
  }
  return out;
}

}  // namespace orvane::ui
