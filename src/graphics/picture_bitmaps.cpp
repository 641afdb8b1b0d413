// The bitmap opcodes of the PICT walk: BitsRect, PackBitsRect and
// DirectBitsRect, with 1-bit bitmaps and pixmaps of every pixel size.
#include <algorithm>
#include <optional>
#include <vector>

#include "graphics/packbits.h"
#include "graphics/picture_player.h"
#include "platform/raster/pixel_view.h"

namespace orvane::graphics::detail {

using raster::Color;
using raster::IntRect;
using raster::PixelFormat;
using raster::Surface;

namespace {

constexpr std::uint16_t kBitsRect = 0x90;

enum class Packing { none, bytes, words };

// How the rows of one bitmap are stored.
struct RowLayout {
  Packing packing = Packing::none;
  std::size_t stored = 0;    // bytes of an unpacked row in the data
  std::size_t unpacked = 0;  // bytes a packed row unpacks to
  bool count_word = false;   // packed rows start with a two-byte count
  enum class Pixels { indexed, rgb555, planes, rgb, xrgb } pixels = Pixels::indexed;

  // The fewest bytes a row can take in the data.
  std::size_t minimum_row_size() const {
    std::size_t count = count_word ? 2 : 1;
    switch (packing) {
      case Packing::none: return stored;
      case Packing::bytes: return count + 2 * ((unpacked + 127) / 128);
      case Packing::words: return count + 3 * ((unpacked / 2 + 127) / 128);
    }
    return stored;
  }
};

bool valid_pixel_size(int size) {
  return size == 1 || size == 2 || size == 4 || size == 8 || size == 16 || size == 32;
}

// The layout from the pixmap's pack type and pixel size; nothing when the
// row bytes cannot hold a row.
std::optional<RowLayout> layout_of(std::uint16_t op, std::size_t row_bytes, int width, const PixmapHeader& pm) {
  RowLayout l;
  l.count_word = row_bytes > 250;
  l.stored = l.unpacked = row_bytes;
  const std::size_t needed = (static_cast<std::size_t>(width) * pm.pixel_size + 7) / 8;
  if (pm.pixel_size <= 8) {
    l.pixels = RowLayout::Pixels::indexed;
    l.packing = (op == kBitsRect || pm.pack_type == 1) ? Packing::none : Packing::bytes;
  } else if (pm.pixel_size == 16) {
    l.pixels = RowLayout::Pixels::rgb555;
    l.packing = (op == kBitsRect || pm.pack_type == 1) ? Packing::none : Packing::words;
  } else if (pm.pack_type == 2) {
    l.pixels = RowLayout::Pixels::rgb;
    l.packing = Packing::none;
    l.stored = 3 * static_cast<std::size_t>(width);
    return l;
  } else if (op == kBitsRect || pm.pack_type == 1) {
    l.pixels = RowLayout::Pixels::xrgb;
    l.packing = Packing::none;
  } else {
    l.pixels = RowLayout::Pixels::planes;
    l.packing = Packing::bytes;
    l.unpacked = static_cast<std::size_t>(pm.component_count == 4 ? 4 : 3) * width;
  }
  if (row_bytes < needed) return std::nullopt;
  return l;
}

// Reads rows the packed way and answers whether every row unpacks exactly
// from exactly its counted bytes.
bool rows_read_as_packed(ByteReader in, int height, const RowLayout& l) {
  std::vector<std::uint8_t> row(l.unpacked);
  for (int y = 0; y < height; ++y) {
    std::size_t count = l.count_word ? in.u16be() : in.u8();
    auto packed = in.bytes(count);
    if (in.failed()) return false;
    std::size_t consumed = 0;
    UnpackResult r = l.packing == Packing::words ? unpack_words(packed, row, &consumed)
                                                 : unpack_bits(packed, row, &consumed);
    if (r != UnpackResult::complete || consumed != count) return false;
  }
  return true;
}

std::uint8_t widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

// Stores one unpacked row into the image.
void store_row(Surface& image, int y, std::span<const std::uint8_t> row, const RowLayout& l, int pixel_size,
               bool invert_bits) {
  const int width = image.width();
  std::uint8_t* out = image.row(y);
  switch (l.pixels) {
    case RowLayout::Pixels::indexed:
      if (image.format() == PixelFormat::mono1) {
        std::size_t n = std::min(image.stride(), row.size());
        for (std::size_t i = 0; i < n; ++i) out[i] = invert_bits ? static_cast<std::uint8_t>(~row[i]) : row[i];
        return;
      }
      for (int x = 0; x < width; ++x) {
        std::size_t bit = static_cast<std::size_t>(x) * pixel_size;
        unsigned shift = 8 - pixel_size - (bit % 8);
        out[x] = static_cast<std::uint8_t>((row[bit / 8] >> shift) & ((1u << pixel_size) - 1));
      }
      return;
    case RowLayout::Pixels::rgb555:
      for (int x = 0; x < width; ++x) {
        unsigned v = (unsigned{row[2 * x]} << 8) | row[2 * x + 1];
        out[3 * x] = widen5(v & 0x1f);
        out[3 * x + 1] = widen5((v >> 5) & 0x1f);
        out[3 * x + 2] = widen5((v >> 10) & 0x1f);
      }
      return;
    case RowLayout::Pixels::planes: {
      // Component planes one after the other: alpha first when there are four.
      std::size_t first = l.unpacked == 4 * static_cast<std::size_t>(width) ? width : 0;
      for (int x = 0; x < width; ++x) {
        out[3 * x + 2] = row[first + x];
        out[3 * x + 1] = row[first + width + x];
        out[3 * x] = row[first + 2 * static_cast<std::size_t>(width) + x];
      }
      return;
    }
    case RowLayout::Pixels::rgb:
      for (int x = 0; x < width; ++x) {
        out[3 * x + 2] = row[3 * x];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x] = row[3 * x + 2];
      }
      return;
    case RowLayout::Pixels::xrgb:
      for (int x = 0; x < width; ++x) {
        out[3 * x + 2] = row[4 * x + 1];
        out[3 * x + 1] = row[4 * x + 2];
        out[3 * x] = row[4 * x + 3];
      }
      return;
  }
}

}  // namespace

BitmapRecord read_bitmap_record(ByteReader& in, bool with_table) {
  BitmapRecord rec;
  const std::uint16_t row_word = in.u16be();
  rec.pixmap = (row_word & 0x8000) != 0;
  rec.row_bytes = row_word & 0x3fff;
  rec.bounds = read_rect_at(in);
  if (!rec.pixmap) return rec;
  in.skip(2);  // version
  rec.pm.pack_type = in.u16be();
  in.skip(4 + 4 + 4 + 2);  // pack size, resolutions, pixel type
  rec.pm.pixel_size = in.u16be();
  rec.pm.component_count = in.u16be();
  in.skip(2 + 4 + 4 + 4);  // component size, plane bytes, table, reserved
  if (!with_table) return rec;
  in.skip(4);  // seed
  const std::uint16_t flags = in.u16be();
  const std::size_t entries = static_cast<std::size_t>(in.u16be()) + 1;
  rec.table.assign(std::size_t{1} << std::min<int>(rec.pm.pixel_size, 8), raster::colors::black);
  for (std::size_t i = 0; i < entries && !in.failed(); ++i) {
    std::uint16_t value = in.u16be();
    Color c;
    c.r = static_cast<std::uint8_t>(in.u16be() >> 8);
    c.g = static_cast<std::uint8_t>(in.u16be() >> 8);
    c.b = static_cast<std::uint8_t>(in.u16be() >> 8);
    // A device table lists its entries in order; others name their index.
    std::size_t index = (flags & 0x8000) ? i : value;
    if (index < rec.table.size()) rec.table[index] = c;
  }
  return rec;
}

std::optional<Surface> read_bitmap_rows(ByteReader& in, std::uint16_t op, BitmapRecord& rec, PlaybackEnd& failure) {
  auto fail = [&](PlaybackEnd why) {
    failure = why;
    return std::nullopt;
  };
  const int width = rec.bounds.width(), height = rec.bounds.height();
  if (width <= 0 || height <= 0 || !valid_pixel_size(rec.pm.pixel_size)) return fail(PlaybackEnd::truncated);
  if (!rec.pixmap) rec.pm = PixmapHeader{};  // a 1-bit bitmap, packed unless BitsRect
  auto layout = layout_of(op, rec.row_bytes, width, rec.pm);
  if (!layout) return fail(PlaybackEnd::bitmap_failed);
  // Rows of fewer than 8 bytes are stored unpacked; some writers pack them
  // anyway, which shows when every row then reads exactly as packed.
  if (rec.row_bytes < 8 && layout->packing != Packing::none && !rows_read_as_packed(in, height, *layout)) {
    layout->packing = Packing::none;
    layout->stored = rec.row_bytes;
    if (layout->pixels == RowLayout::Pixels::planes) layout->pixels = RowLayout::Pixels::xrgb;
  }
  // The data must be able to hold the rows before anything is allocated.
  if (static_cast<std::size_t>(height) * layout->minimum_row_size() > in.remaining())
    return fail(PlaybackEnd::truncated);

  const bool indexed = rec.pm.pixel_size <= 8;
  const PixelFormat format = !rec.pixmap ? PixelFormat::mono1 : indexed ? PixelFormat::indexed8 : PixelFormat::rgb24;
  auto image = Surface::try_create(width, height, format, rec.table);
  if (!image) return fail(PlaybackEnd::bitmap_failed);
  std::vector<std::uint8_t> row(std::max(layout->unpacked, layout->stored));
  for (int y = 0; y < height; ++y) {
    std::span<const std::uint8_t> data;
    if (layout->packing == Packing::none) {
      data = in.bytes(layout->stored);
    } else {
      std::size_t count = layout->count_word ? in.u16be() : in.u8();
      auto packed = in.bytes(count);
      if (in.failed()) break;
      std::span<std::uint8_t> out(row.data(), layout->unpacked);
      UnpackResult r = layout->packing == Packing::words ? unpack_words(packed, out) : unpack_bits(packed, out);
      if (r != UnpackResult::complete) return fail(PlaybackEnd::bitmap_failed);
      data = out;
    }
    if (in.failed()) break;
    store_row(*image, y, data, *layout, rec.pm.pixel_size, !rec.pixmap);
  }
  if (in.failed()) return fail(PlaybackEnd::truncated);
  return image;
}

PictPlayer::Step PictPlayer::bits_op(std::uint16_t op) {
  auto fail = [&](PlaybackEnd why) {
    end_ = why;
    return Step::end;
  };
  // BitsRgn, PackBitsRgn and DirectBitsRgn (complete playback only) are
  // their rectangle opcodes with a mask region after the transfer mode.
  const bool masked = (op & 1) != 0;
  op &= ~std::uint16_t{1};
  if (op == kDirectBitsRect) in_.skip(4);  // the base address
  BitmapRecord rec = read_bitmap_record(in_, op != kDirectBitsRect);
  if (!rec.pixmap && op == kDirectBitsRect) return fail(PlaybackEnd::truncated);
  const IntRect bounds = rec.bounds;
  const bool pixmap = rec.pixmap;
  const IntRect source = read_rect();
  const IntRect target = mapping_.map(read_rect());
  const std::uint16_t mode = in_.u16be();
  std::optional<raster::Region> mask_region;
  if (masked && !in_.failed()) {
    mask_region = read_mapped_region(in_);
    if (!mask_region) return fail(PlaybackEnd::truncated);
  }
  if (in_.failed()) return fail(PlaybackEnd::truncated);

  PlaybackEnd failure = PlaybackEnd::truncated;
  auto image = read_bitmap_rows(in_, op, rec, failure);
  if (!image) return fail(failure);

  std::optional<ClipRestorer> restore_clip;
  if (mask_region) {
    restore_clip.emplace(dc_);
    intersect_clip(*mask_region);
  }
  const IntRect from = source.translated(-bounds.left, -bounds.top);
  if (target.empty() || from.empty()) return Step::next;
  const int transfer_mode = mode & 0x3f;
  raster::TransferSource src{raster::view_of(*image), from, raster::SourceColors::table, raster::colors::white};
  raster::DeviceContext::TransferOptions options;
  if (!pixmap) {
    // A 1-bit bitmap paints its set bits in the foreground colour and its
    // clear bits in the background colour; srcBic paints only the set bits,
    // in the background colour. The bits were stored inverted so that the
    // device rule (0 to text colour, 1 to background colour) gives that.
    src.colors = raster::SourceColors::device;
    if (transfer_mode == 3) {
      raster::PixelView mask = src.pixels;
      options.mask = &mask;
      options.op = raster::RasterOp::dst_copy;
      options.back_op = raster::RasterOp::pat_copy;
      raster::Brush saved = dc_.brush();
      dc_.set_brush(raster::Brush::solid(dc_.background_color()));
      dc_.transfer(target, src, options);
      dc_.set_brush(saved);
      return Step::next;
    }
    dc_.transfer(target, src, options);
    return Step::next;
  }
  switch (transfer_mode) {
    case 1: options.op = raster::RasterOp::src_and; break;      // srcOr
    case 3: options.op = raster::RasterOp::merge_paint; break;  // srcBic
    case 36: options.key = dc_.background_color(); break;       // transparent
    default: break;
  }
  // Colour pixels are never combined by AND or OR when a pixmap shrinks.
  raster::StretchMode saved = dc_.stretch_mode();
  dc_.set_stretch_mode(raster::StretchMode::color_on_color);
  dc_.transfer(target, src, options);
  dc_.set_stretch_mode(saved);
  return Step::next;
}

}  // namespace orvane::graphics::detail
