// Building QuickDraw pictures opcode by opcode in tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/packbits.h"
#include "platform/raster/color.h"
#include "platform/raster/geometry.h"

namespace orvane::graphics::testing {

// PackBits of a row of bytes or (item == 2) 16-bit words.
inline std::vector<std::uint8_t> pack_bits(const std::vector<std::uint8_t>& row, std::size_t item = 1) {
  std::vector<std::uint8_t> out;
  if (item == 2) {
    graphics::pack_words(row, out);
  } else {
    graphics::pack_bits(row, out);
  }
  return out;
}

class PictWriter {
 public:
  // frame as (left top right bottom)
  PictWriter(int version, raster::IntRect frame) : version_(version) {
    u16(0);
    rect(frame);
    if (version == 1) {
      bytes({0x11, 0x01});
    } else {
      bytes({0x00, 0x11, 0x02, 0xff});
    }
  }

  PictWriter& op(std::uint16_t code) {
    if (version_ == 1) return u8(static_cast<std::uint8_t>(code));
    if (data_.size() % 2) data_.push_back(0);
    return u16(code);
  }
  PictWriter& u8(std::uint8_t v) {
    data_.push_back(v);
    return *this;
  }
  PictWriter& u16(std::uint16_t v) {
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
    data_.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  PictWriter& s16(int v) { return u16(static_cast<std::uint16_t>(v)); }
  PictWriter& u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v >> 16));
    return u16(static_cast<std::uint16_t>(v));
  }
  PictWriter& bytes(std::initializer_list<std::uint8_t> b) {
    data_.insert(data_.end(), b);
    return *this;
  }
  PictWriter& bytes(const std::vector<std::uint8_t>& b) {
    data_.insert(data_.end(), b.begin(), b.end());
    return *this;
  }
  // (left top right bottom) written as top, left, bottom, right
  PictWriter& rect(raster::IntRect r) { return s16(r.top).s16(r.left).s16(r.bottom).s16(r.right); }
  PictWriter& point(int h, int v) { return s16(v).s16(h); }
  PictWriter& rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return u16(static_cast<std::uint16_t>(r * 257)).u16(static_cast<std::uint16_t>(g * 257)).u16(
        static_cast<std::uint16_t>(b * 257));
  }
  PictWriter& header(bool extended = false, raster::IntRect source = {}) {
    op(0x0c00);
    s16(extended ? -2 : -1);
    u16(0);
    u32(0x00480000);
    u32(0x00480000);
    rect(source);
    return u32(0);
  }
  PictWriter& clip(raster::IntRect r) { return op(0x01).u16(10).rect(r); }
  // A region operand (size word, bounding box, scan data).
  PictWriter& region(const std::vector<std::uint8_t>& encoded) { return bytes(encoded); }
  PictWriter& text_bytes(std::string_view text) {
    u8(static_cast<std::uint8_t>(text.size()));
    for (char c : text) u8(static_cast<std::uint8_t>(c));
    return *this;
  }
  // LongText: the baseline's left end at (h, v).
  PictWriter& long_text(int h, int v, std::string_view text) { return op(0x28).point(h, v).text_bytes(text); }
  // FontName: a family for a font number.
  PictWriter& font_name(int id, std::string_view name) {
    op(0x2c).u16(static_cast<std::uint16_t>(3 + name.size())).u16(static_cast<std::uint16_t>(id));
    return text_bytes(name);
  }

  std::vector<std::uint8_t> finish(bool end = true) {
    if (end) op(0xff);
    std::vector<std::uint8_t> out = data_;
    out[0] = static_cast<std::uint8_t>(out.size() >> 8);
    out[1] = static_cast<std::uint8_t>(out.size());
    return out;
  }

 private:
  int version_;
  std::vector<std::uint8_t> data_;
};

// The pixmap record after the row-bytes word: bounds, version, pack type,
// pack size, resolutions, pixel type, size, component count and size, plane
// bytes, table and reserved.
inline void pixmap_fields(PictWriter& w, raster::IntRect bounds, int pack_type, int pixel_size, int components,
                          int component_size) {
  w.rect(bounds).u16(0).u16(static_cast<std::uint16_t>(pack_type)).u32(0).u32(0x00480000).u32(0x00480000);
  w.u16(pixel_size <= 8 ? 0 : 16).u16(static_cast<std::uint16_t>(pixel_size));
  w.u16(static_cast<std::uint16_t>(components)).u16(static_cast<std::uint16_t>(component_size));
  w.u32(0).u32(0).u32(0);
}

// A QuickDraw region of the '#' pixels of `rows`, its top-left pixel at
// (left, top): for each line where the region changes, its v, the h of each
// point where inside and outside swap, 0x7fff; then 0x7fff. A rectangle is
// written as a box alone.
inline std::vector<std::uint8_t> encode_region(int left, int top, const std::vector<std::string>& rows) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows[0].size()) : 0;
  auto inside = [&](int x, int y) { return y >= 0 && y < height && x >= 0 && x < width && rows[y][x] == '#'; };
  // A point inverts when the pixel's state across its top-left corner changes.
  std::vector<std::uint16_t> scan;
  int min_x = width, min_y = height, max_x = -1, max_y = -1;
  for (int y = 0; y <= height; ++y) {
    std::vector<std::uint16_t> line;
    for (int x = 0; x <= width; ++x) {
      bool corners = inside(x, y) ^ inside(x - 1, y) ^ inside(x, y - 1) ^ inside(x - 1, y - 1);
      if (corners) line.push_back(static_cast<std::uint16_t>(left + x));
      if (inside(x, y)) {
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
        min_y = std::min(min_y, y), max_y = std::max(max_y, y);
      }
    }
    if (line.empty()) continue;
    scan.push_back(static_cast<std::uint16_t>(top + y));
    scan.insert(scan.end(), line.begin(), line.end());
    scan.push_back(0x7fff);
  }
  scan.push_back(0x7fff);
  if (max_x < 0) min_x = min_y = 0, max_x = max_y = -1;
  std::vector<std::uint16_t> words{0, static_cast<std::uint16_t>(top + min_y), static_cast<std::uint16_t>(left + min_x),
                                   static_cast<std::uint16_t>(top + max_y + 1), static_cast<std::uint16_t>(left + max_x + 1)};
  int filled = 0;
  for (const auto& r : rows) filled += static_cast<int>(std::count(r.begin(), r.end(), '#'));
  bool rectangle = filled == (max_x - min_x + 1) * (max_y - min_y + 1);
  if (!rectangle) words.insert(words.end(), scan.begin(), scan.end());
  words[0] = static_cast<std::uint16_t>(words.size() * 2);
  std::vector<std::uint8_t> out;
  for (std::uint16_t w : words) out.insert(out.end(), {static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)});
  return out;
}

// A pixel pattern operand of full-colour kind: an 8-bit pixmap of the
// colours of `tile` (rows of fewer than 8 bytes, stored unpacked), with the
// one-bit pattern `one_bit` for readers without colour.
inline void pixel_pattern(PictWriter& w, const std::vector<std::vector<raster::Color>>& tile,
                          std::uint8_t one_bit = 0xaa) {
  const int height = static_cast<int>(tile.size()), width = static_cast<int>(tile[0].size());
  std::vector<raster::Color> palette;
  for (const auto& line : tile)
    for (raster::Color c : line)
      if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  w.u16(1);
  for (int i = 0; i < 8; ++i) w.u8(one_bit);
  w.u16(static_cast<std::uint16_t>(0x8000 | width));
  pixmap_fields(w, {0, 0, width, height}, 0, 8, 1, 8);
  w.u32(0).u16(0).u16(static_cast<std::uint16_t>(palette.size() - 1));
  for (std::size_t i = 0; i < palette.size(); ++i)
    w.u16(static_cast<std::uint16_t>(i)).rgb(palette[i].r, palette[i].g, palette[i].b);
  for (const auto& line : tile)
    for (raster::Color c : line)
      w.u8(static_cast<std::uint8_t>(std::find(palette.begin(), palette.end(), c) - palette.begin()));
}

// A CompressedQuickTime opcode holding a JPEG of width x height placed on
// `place` (picture coordinates) by a scaling and translating matrix, with an
// optional mask region.
inline void quicktime_jpeg(PictWriter& w, const std::vector<std::uint8_t>& jpeg, int width, int height,
                           raster::IntRect place, const std::vector<std::uint8_t>& mask = {},
                           std::string_view compression = "jpeg") {
  std::vector<std::uint8_t> body;
  PictWriter b(1, {0, 0, 0, 0});  // a byte collector: only its data after the header is used
  b.u16(0);                                                     // version
  b.u32(static_cast<std::uint32_t>((place.width() << 16) / width)).u32(0).u32(0);
  b.u32(0).u32(static_cast<std::uint32_t>((place.height() << 16) / height)).u32(0);
  b.u32(static_cast<std::uint32_t>(place.left << 16)).u32(static_cast<std::uint32_t>(place.top << 16)).u32(0x40000000);
  b.u32(0).rect({0, 0, 0, 0}).u16(0x40);                        // matte size and rectangle, mode
  b.rect({0, 0, width, height}).u32(0).u32(static_cast<std::uint32_t>(mask.size()));
  b.bytes(mask);
  b.u32(86);                                                    // image description size
  for (char c : compression.substr(0, 4)) b.u8(static_cast<std::uint8_t>(c));
  b.u32(0).u16(0).u16(0).u16(0).u16(0).u32(0).u32(0).u32(0x200);
  b.u16(static_cast<std::uint16_t>(width)).u16(static_cast<std::uint16_t>(height));
  b.u32(0x00480000).u32(0x00480000).u32(static_cast<std::uint32_t>(jpeg.size())).u16(1);
  for (int i = 0; i < 32; ++i) b.u8(0);
  b.u16(24).s16(-1);
  b.bytes(jpeg);
  std::vector<std::uint8_t> collected = b.finish(false);
  body.assign(collected.begin() + 12, collected.end());
  w.op(0x8200).u32(static_cast<std::uint32_t>(body.size())).bytes(body);
}

}  // namespace orvane::graphics::testing
