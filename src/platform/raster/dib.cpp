#include "platform/raster/dib.h"

#include <cstdlib>

namespace orvane::raster {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;

std::optional<PackedDib> fail(DibError* out, DibError e) {
  if (out) *out = e;
  return std::nullopt;
}

}  // namespace

std::string_view describe(DibError error) {
  switch (error) {
    case DibError::none: return "no error";
    case DibError::too_short: return "bitmap header truncated";
    case DibError::bad_header: return "bad bitmap header";
    case DibError::unsupported: return "unsupported bitmap compression or depth";
    case DibError::truncated: return "bitmap data truncated";
  }
  return "bad bitmap";
}

PixelView view_of(const Surface& surface) {
  PixelView v;
  v.width = surface.width();
  v.height = surface.height();
  v.bit_count = bits_per_pixel(surface.format());
  v.first_row = surface.height() > 0 ? surface.row(0) : nullptr;
  v.row_step = static_cast<std::ptrdiff_t>(surface.stride());
  v.table = surface.color_table();
  return v;
}

std::optional<PackedDib> PackedDib::parse(std::span<const std::uint8_t> data, DibError* error) {
  if (error) *error = DibError::none;
  if (data.size() < kDibHeaderSize) return fail(error, DibError::too_short);
  const std::uint8_t* h = data.data();
  std::uint32_t header_size = le32(h);
  std::int32_t width = static_cast<std::int32_t>(le32(h + 4));
  std::int32_t height = static_cast<std::int32_t>(le32(h + 8));
  std::uint16_t planes = le16(h + 12);
  std::uint16_t bit_count = le16(h + 14);
  std::uint32_t compression = le32(h + 16);
  std::uint32_t colors_used = le32(h + 32);
  if (header_size < kDibHeaderSize || header_size > data.size() || planes != 1 || width <= 0 ||
      height == 0 || height == INT32_MIN)
    return fail(error, DibError::bad_header);
  switch (bit_count) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail(error, DibError::unsupported);
  }
  if (compression != kRgb && !(compression == kBitfields && (bit_count == 16 || bit_count == 32)))
    return fail(error, DibError::unsupported);

  PackedDib dib;
  dib.width_ = width;
  dib.height_ = std::abs(height);
  dib.bit_count_ = bit_count;
  dib.top_down_ = height < 0;
  if (std::int64_t{dib.width_} * dib.height_ > kMaxSurfacePixels) return fail(error, DibError::bad_header);

  std::size_t offset = header_size;
  if (compression == kBitfields) {
    const std::uint8_t* m = h + kDibHeaderSize;
    if (header_size < kDibHeaderSize + 12) {
      if (data.size() < offset + 12) return fail(error, DibError::too_short);
      m = h + offset;
      offset += 12;
    }
    dib.masks_[0] = le32(m);
    dib.masks_[1] = le32(m + 4);
    dib.masks_[2] = le32(m + 8);
  } else if (bit_count == 16) {
    dib.masks_[0] = 0x7c00;
    dib.masks_[1] = 0x03e0;
    dib.masks_[2] = 0x001f;
  }
  // The colour-used field sizes the table when it is given; indexed bitmaps
  // otherwise carry a full table.
  std::size_t max_entries = bit_count <= 8 ? (std::size_t{1} << bit_count) : 256;
  std::size_t entries = colors_used != 0 ? std::min<std::size_t>(colors_used, max_entries)
                                         : (bit_count <= 8 ? max_entries : 0);
  if (data.size() < offset + 4 * entries) return fail(error, DibError::too_short);
  if (bit_count <= 8) {
    dib.table_.reserve(entries);
    for (std::size_t i = 0; i < entries; ++i) {
      const std::uint8_t* q = h + offset + 4 * i;
      dib.table_.push_back({q[2], q[1], q[0]});
    }
  }
  offset += 4 * entries;

  dib.stride_ = ((static_cast<std::size_t>(width) * bit_count + 31) / 32) * 4;
  std::size_t bits_size = dib.stride_ * static_cast<std::size_t>(dib.height_);
  if (data.size() - offset < bits_size) return fail(error, DibError::truncated);
  dib.bits_ = h + offset;
  dib.size_ = offset + bits_size;
  return dib;
}

PixelView PackedDib::view() const {
  PixelView v;
  v.width = width_;
  v.height = height_;
  v.bit_count = bit_count_;
  auto step = static_cast<std::ptrdiff_t>(stride_);
  if (top_down_) {
    v.first_row = bits_;
    v.row_step = step;
  } else {
    v.first_row = bits_ + step * (height_ - 1);
    v.row_step = -step;
  }
  v.table = table_;
  v.red_mask = masks_[0];
  v.green_mask = masks_[1];
  v.blue_mask = masks_[2];
  return v;
}

}  // namespace orvane::raster
