// Building QuickDraw pictures opcode by opcode in tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/raster/geometry.h"

namespace orvane::graphics::testing {

// PackBits: runs of three or more equal items become a run, the rest
// literals; items are bytes or (item == 2) 16-bit words.
inline std::vector<std::uint8_t> pack_bits(const std::vector<std::uint8_t>& row, std::size_t item = 1) {
  std::vector<std::uint8_t> out;
  std::size_t n = row.size() / item, i = 0;
  auto same = [&](std::size_t a, std::size_t b) {
    for (std::size_t k = 0; k < item; ++k)
      if (row[a * item + k] != row[b * item + k]) return false;
    return true;
  };
  while (i < n) {
    std::size_t run = 1;
    while (i + run < n && run < 128 && same(i, i + run)) ++run;
    if (run >= 3) {
      out.push_back(static_cast<std::uint8_t>(257 - run));
      out.insert(out.end(), row.begin() + i * item, row.begin() + (i + 1) * item);
      i += run;
      continue;
    }
    std::size_t start = i, len = 0;
    while (i < n && len < 128) {
      std::size_t r = 1;
      while (i + r < n && r < 3 && same(i, i + r)) ++r;
      if (r >= 3) break;
      ++i;
      ++len;
    }
    out.push_back(static_cast<std::uint8_t>(len - 1));
    out.insert(out.end(), row.begin() + start * item, row.begin() + i * item);
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

}  // namespace orvane::graphics::testing
