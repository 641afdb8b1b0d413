#include "graphics/pict_encoder.h"

#include <algorithm>
#include <unordered_map>

#include "graphics/packbits.h"
#include "platform/byte_writer.h"

namespace orvane::graphics {

namespace {

using raster::Color;
using raster::Surface;

constexpr std::uint32_t kResolution72 = 0x00480000;  // 72 dpi, fixed point
constexpr std::uint16_t kClip = 0x0001;
constexpr std::uint16_t kHeaderOp = 0x0C00;
constexpr std::uint16_t kPackBitsRect = 0x0098;
constexpr std::uint16_t kDirectBitsRect = 0x009A;
constexpr std::uint16_t kEndPicture = 0x00FF;
constexpr std::uint16_t kPixmapFlag = 0x8000;
constexpr std::uint16_t kRgbDirect = 16;
constexpr std::uint16_t kPlanesPacking = 4;
// Rows below 8 bytes would be stored unpacked; wider row bytes keep every
// row packed, which QuickDraw allows.
constexpr std::size_t kMinPackedRowBytes = 8;
constexpr std::size_t kCountWordAbove = 250;
constexpr std::size_t kMaxPaletteColors = 256;

void rect(ByteWriter& out, int width, int height) {
  out.u16be(0);
  out.u16be(0);
  out.u16be(static_cast<std::uint16_t>(height));
  out.u16be(static_cast<std::uint16_t>(width));
}

// The pixmap fields after the row bytes and bounds.
void pixmap_header(ByteWriter& out, std::uint16_t pack_type, std::uint16_t pixel_type, std::uint16_t pixel_size,
                   std::uint16_t components, std::uint16_t component_size) {
  out.u16be(0);  // version
  out.u16be(pack_type);
  out.u32be(0);  // pack size
  out.u32be(kResolution72);
  out.u32be(kResolution72);
  out.u16be(pixel_type);
  out.u16be(pixel_size);
  out.u16be(components);
  out.u16be(component_size);
  out.u32be(0);  // plane bytes
  out.u32be(0);  // colour table handle
  out.u32be(0);  // reserved
}

void packed_row(ByteWriter& out, std::span<const std::uint8_t> row, std::size_t row_bytes,
                std::vector<std::uint8_t>& scratch) {
  scratch.clear();
  pack_bits(row, scratch);
  if (row_bytes > kCountWordAbove) out.u16be(static_cast<std::uint16_t>(scratch.size()));
  else out.u8(static_cast<std::uint8_t>(scratch.size()));
  out.bytes(scratch);
}

// The image as indices into its colours (in order of first appearance);
// nothing when it has more than 256.
struct IndexedImage {
  std::vector<Color> palette;
  std::vector<std::uint8_t> indices;  // row by row
};

std::optional<IndexedImage> indexed(const Surface& image) {
  IndexedImage out;
  out.indices.reserve(static_cast<std::size_t>(image.width()) * image.height());
  std::unordered_map<std::uint32_t, std::uint8_t> seen;
  std::optional<std::uint32_t> last;  // rows are mostly runs
  std::uint8_t last_index = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Color c = image.color_at(x, y);
      if (c.rgb() != last) {
        auto [it, added] = seen.emplace(c.rgb(), static_cast<std::uint8_t>(out.palette.size()));
        if (added) {
          if (out.palette.size() == kMaxPaletteColors) return std::nullopt;
          out.palette.push_back(c);
        }
        last = c.rgb();
        last_index = it->second;
      }
      out.indices.push_back(last_index);
    }
  return out;
}

void indexed_pixmap(ByteWriter& out, const Surface& image, const IndexedImage& pixels) {
  const int width = image.width(), height = image.height();
  const std::size_t row_bytes = std::max<std::size_t>(kMinPackedRowBytes, (static_cast<std::size_t>(width) + 1) & ~std::size_t{1});
  out.u16be(kPackBitsRect);
  out.u16be(static_cast<std::uint16_t>(row_bytes | kPixmapFlag));
  rect(out, width, height);
  pixmap_header(out, 0, 0, 8, 1, 8);
  out.u32be(0);  // table seed
  out.u16be(0);  // flags: entries name their index
  out.u16be(static_cast<std::uint16_t>(pixels.palette.size() - 1));
  for (std::size_t i = 0; i < pixels.palette.size(); ++i) {
    const Color c = pixels.palette[i];
    out.u16be(static_cast<std::uint16_t>(i));
    out.u16be(static_cast<std::uint16_t>(c.r * 257));
    out.u16be(static_cast<std::uint16_t>(c.g * 257));
    out.u16be(static_cast<std::uint16_t>(c.b * 257));
  }
  rect(out, width, height);
  rect(out, width, height);
  out.u16be(0);  // srcCopy
  std::vector<std::uint8_t> row(row_bytes), scratch;
  const auto w = static_cast<std::size_t>(width);
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels.indices.begin() + static_cast<std::ptrdiff_t>(y * w), w, row.begin());
    packed_row(out, row, row_bytes, scratch);
  }
}

void direct_pixmap(ByteWriter& out, const Surface& image) {
  const int width = image.width(), height = image.height();
  const std::size_t row_bytes = std::max<std::size_t>(kMinPackedRowBytes, 4 * static_cast<std::size_t>(width));
  out.u16be(kDirectBitsRect);
  out.u32be(0x000000FF);  // base address
  out.u16be(static_cast<std::uint16_t>(row_bytes | kPixmapFlag));
  rect(out, width, height);
  pixmap_header(out, kPlanesPacking, kRgbDirect, 32, 3, 8);
  rect(out, width, height);
  rect(out, width, height);
  out.u16be(0);  // srcCopy
  // Each row: its red, then green, then blue plane.
  const auto w = static_cast<std::size_t>(width);
  std::vector<std::uint8_t> planes(3 * w), scratch;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Color c = image.color_at(x, y);
      planes[x] = c.r;
      planes[w + x] = c.g;
      planes[2 * w + x] = c.b;
    }
    packed_row(out, planes, row_bytes, scratch);
  }
}

}  // namespace

std::optional<EncodedPicture> encode_pict(const Surface& image, std::string* error) {
  auto fail = [&](std::string why) -> std::optional<EncodedPicture> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  const int width = image.width(), height = image.height();
  if (width <= 0 || height <= 0) return fail("the image is empty");
  if (height > kMaxPictHeight) return fail("the image is higher than a picture can be (" + std::to_string(kMaxPictHeight) + " pixels)");
  EncodedPicture result;
  std::optional<IndexedImage> palette = indexed(image);
  result.pixel_size = palette ? 8 : 32;
  result.colors = palette ? palette->palette.size() : 0;
  const int max_width = palette ? kMaxPict8Width : kMaxPict32Width;
  if (width > max_width)
    return fail("the image is wider than a " + std::to_string(result.pixel_size) + "-bit picture can be (" +
                std::to_string(max_width) + " pixels)");

  ByteWriter out;
  out.u16be(0);  // the size, patched below
  rect(out, width, height);
  out.u16be(0x0011);  // version 2
  out.u16be(0x02FF);
  out.u16be(kHeaderOp);
  out.u16be(0xFFFE);  // extended header
  out.u16be(0);
  out.u32be(kResolution72);
  out.u32be(kResolution72);
  rect(out, width, height);
  out.u32be(0);
  out.u16be(kClip);
  out.u16be(10);  // a rectangular region
  rect(out, width, height);
  if (palette) indexed_pixmap(out, image, *palette);
  else direct_pixmap(out, image);
  if (out.size() % 2) out.u8(0);
  out.u16be(kEndPicture);
  result.data = out.take();
  // The size word holds the low 16 bits, as QuickDraw stores it.
  result.data[0] = static_cast<std::uint8_t>(result.data.size() >> 8);
  result.data[1] = static_cast<std::uint8_t>(result.data.size());
  return result;
}

}  // namespace orvane::graphics
