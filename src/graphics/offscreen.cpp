#include "graphics/offscreen.h"

#include <array>
#include <cstring>

#include "core/errors.h"
#include "core/value.h"
#include "platform/raster/pixel_view.h"

namespace orvane::graphics {

using raster::Color;
using raster::ColorTable;
using raster::IntRect;
using raster::PixelFormat;
using raster::Surface;

namespace {

PixelFormat format_of_depth(int depth, bool has_table) {
  switch (depth) {
    case 0:
      return PixelFormat::rgb32;
    case 1:
      return has_table ? PixelFormat::indexed8 : PixelFormat::mono1;
    case 4:
    case 8:
      return PixelFormat::indexed8;
    case 16:
    case 24:
      return PixelFormat::rgb24;
    case 32:
      return PixelFormat::rgb32;
    default:
      raise_error(2, make_fixnum(depth));
  }
}

Surface make_surface(const OffscreenSpec& spec) {
  if (spec.frame.width() <= 0 || spec.frame.height() < 0) raise_error(2, kNil);
  PixelFormat format = format_of_depth(spec.depth, spec.color_table.has_value());
  ColorTable table;
  if (spec.color_table)
    table = *spec.color_table;
  else if (format == PixelFormat::indexed8)
    table = runtime_palette();
  // The bitmap is one row taller than the frame.
  auto surface = Surface::try_create(spec.frame.width(), spec.frame.height() + 1, format, std::move(table));
  if (!surface) raise_error(9, kNil);
  surface->fill(surface->value_of(raster::colors::white));
  return std::move(*surface);
}

std::uint16_t be16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>((d[at] << 8) | d[at + 1]);
}

}  // namespace

Offscreen::Offscreen(const OffscreenSpec& spec)
    : frame_(spec.frame),
      depth_(spec.depth),
      level_(spec.level < 1 ? 1 : spec.level),
      surface_(make_surface(spec)) {
  // Frame coordinates are the context's logical coordinates.
  dc_.set_origin({-frame_.left, -frame_.top});
  if (level_ >= 2) {
    OffscreenSpec inner = spec;
    inner.level = level_ - 1;
    next_ = std::make_unique<Offscreen>(inner);
  }
}

void Offscreen::make_mask() {
  auto mask = Surface::try_create(surface_.width(), surface_.height(), PixelFormat::mono1);
  if (!mask) raise_error(9, kNil);
  std::uint32_t white = surface_.value_of(raster::colors::white);
  for (int y = 0; y < surface_.height(); ++y)
    for (int x = 0; x < surface_.width(); ++x) mask->set_pixel(x, y, surface_.pixel(x, y) != white ? 1 : 0);
  mask_ = std::move(*mask);
}

const ColorTable& runtime_palette() {
  static const ColorTable table = [] {
    ColorTable t;
    t.reserve(256);
    // The first ten static colours of the system.
    const std::array<Color, 10> low{{{0, 0, 0},
                                     {128, 0, 0},
                                     {0, 128, 0},
                                     {128, 128, 0},
                                     {0, 0, 128},
                                     {128, 0, 128},
                                     {0, 128, 128},
                                     {192, 192, 192},
                                     {192, 220, 192},
                                     {166, 202, 240}}};
    const std::array<Color, 10> high{{{255, 251, 240},
                                      {160, 160, 164},
                                      {128, 128, 128},
                                      {255, 0, 0},
                                      {0, 255, 0},
                                      {255, 255, 0},
                                      {0, 0, 255},
                                      {255, 0, 255},
                                      {0, 255, 255},
                                      {255, 255, 255}}};
    t.insert(t.end(), low.begin(), low.end());
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          t.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                       static_cast<std::uint8_t>(b * 51)});
    // Grays fill the rest up to the ten high static colours.
    int grays = 246 - static_cast<int>(t.size());
    for (int i = 1; i <= grays; ++i) {
      auto v = static_cast<std::uint8_t>(i * 255 / (grays + 1));
      t.push_back({v, v, v});
    }
    t.insert(t.end(), high.begin(), high.end());
    return t;
  }();
  return table;
}

std::optional<ColorTable> parse_clut(std::span<const std::uint8_t> data) {
  if (data.size() < 8) return std::nullopt;
  std::size_t count = std::size_t{be16(data, 6)} + 1;
  if (count > 256 || data.size() < 8 + 8 * count) return std::nullopt;
  ColorTable table;
  table.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = 8 + 8 * i;
    table.push_back({data[at + 2], data[at + 4], data[at + 6]});  // the high bytes of red, green, blue
  }
  return table;
}

namespace {

// A plain copy between two 32-bit surfaces moves the pixel values as they
// are, row by row, within the destination's clip.
bool copy_rows(raster::DeviceContext& dst, const IntRect& dst_rect, const raster::DeviceContext& src,
               const IntRect& src_rect) {
  if (dst.surface().format() != PixelFormat::rgb32 || src.surface().format() != PixelFormat::rgb32) return false;
  const IntRect device = dst_rect.translated(dst.origin());
  const raster::IntPoint shift{src_rect.left + src.origin().x - device.left, src_rect.top + src.origin().y - device.top};
  raster::Region area = dst.drawable_region();
  area.intersect(device);
  area.intersect(src.surface().bounds().translated(-shift.x, -shift.y));
  const Surface& from = src.surface();
  Surface& to = dst.surface();
  area.for_each_rect([&](const IntRect& r) {
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 4;
    for (int y = r.top; y < r.bottom; ++y)
      std::memcpy(to.row(y) + static_cast<std::size_t>(r.left) * 4,
                  from.row(y + shift.y) + static_cast<std::size_t>(r.left + shift.x) * 4, bytes);
  });
  return true;
}

}  // namespace

void transfer_image(raster::DeviceContext& dst, const IntRect& dst_rect, const raster::DeviceContext& src,
                    const IntRect& src_rect, int mode, const Surface* mask) {
  if (dst_rect.size() != src_rect.size()) {
    raster::StateSaver saver(dst);
    dst.set_stretch_mode(raster::StretchMode::color_on_color);
    dst.stretch_blit(dst_rect, src, src_rect, raster_op_of_transfer_mode(mode));
    return;
  }
  if ((mode & 0x3f) == kTransparentMode && mask) {
    raster::TransferSource mask_source;
    mask_source.pixels = raster::view_of(*mask);
    mask_source.rect = src_rect.translated(src.origin());
    mask_source.colors = raster::SourceColors::table;
    raster::DeviceContext::TransferOptions or_mask;
    or_mask.op = raster::RasterOp::src_paint;
    dst.transfer(dst_rect, mask_source, or_mask);
    dst.bit_blit(dst_rect, src, src_rect.top_left(), raster::RasterOp::src_and);
    return;
  }
  const raster::RasterOp op = raster_op_of_transfer_mode(mode);
  if (op == raster::RasterOp::src_copy && &dst.surface() != &src.surface() && copy_rows(dst, dst_rect, src, src_rect))
    return;
  dst.bit_blit(dst_rect, src, src_rect.top_left(), op);
}

void draw_offscreen(DrawingPort& port, Offscreen& offscreen, const IntRect& dst_rect) {
  const Surface* mask = offscreen.mask() ? &*offscreen.mask() : nullptr;
  transfer_image(port.context(), dst_rect, offscreen.context(), offscreen.frame(),
                 offscreen.port().transfer_mode(), mask);
}

}  // namespace orvane::graphics
