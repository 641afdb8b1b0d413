// Drawing text: glyph coverage written straight into the surface, inside
// the device context's drawable region.
#include <vector>

#include "platform/fonts/font.h"
#include "platform/fonts/font_data.h"

namespace orvane::fonts {

namespace {

using raster::Color;
using raster::IntPoint;
using raster::IntRect;
using raster::Surface;

std::uint8_t blend(std::uint8_t fore, std::uint8_t back, int coverage) {
  return static_cast<std::uint8_t>((fore * coverage + back * (255 - coverage) + 127) / 255);
}

// Writes one glyph whose bitmap's top-left lands on `at` (device pixels).
void paint_glyph(Surface& surface, const std::vector<IntRect>& drawable, const Glyph& glyph,
                 IntPoint at, Color color, std::uint32_t value, bool smooth) {
  const IntRect box{at.x, at.y, at.x + glyph.width, at.y + glyph.height};
  if (box.empty()) return;
  for (const IntRect& clip : drawable) {
    const IntRect part = box.intersected(clip);
    if (part.empty()) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      const std::uint8_t* row = glyph.coverage.data() + static_cast<std::size_t>(y - at.y) * glyph.width;
      for (int x = part.left; x < part.right; ++x) {
        const int c = row[x - at.x];
        if (!smooth) {
          if (c >= 128) surface.set_pixel(x, y, value);
        } else if (c == 255) {
          surface.set_pixel(x, y, value);
        } else if (c > 0) {
          const Color under = surface.color_at(x, y);
          const Color mixed{blend(color.r, under.r, c), blend(color.g, under.g, c), blend(color.b, under.b, c)};
          surface.set_pixel(x, y, surface.value_of(mixed));
        }
      }
    }
  }
}

}  // namespace

void Font::draw(raster::DeviceContext& dc, IntPoint top_left, std::string_view text,
                const TextPaint& paint) const {
  if (text.empty()) return;
  FontData& d = *data_;
  const int width = text_width(text);
  const IntRect cell{top_left.x, top_left.y, top_left.x + width, top_left.y + d.metrics.line_height};
  if (paint.background) dc.fill_rect(cell, raster::Brush::solid(*paint.background));

  const IntPoint origin = dc.origin();
  const raster::Region region = dc.drawable_region();
  // Glyphs may reach out of their cell (italics, accents), so the quick
  // rejection allows a margin of one em.
  const IntRect reach = cell.translated(origin).inflated(d.pixel_size, d.pixel_size);
  if (!region.intersects(reach)) return;
  const std::vector<IntRect> drawable = region.rects();

  Surface& surface = dc.surface();
  const std::uint32_t value = surface.value_of(paint.color);
  const bool smooth = paint.smoothing == Smoothing::antialiased;
  int pen_x = top_left.x + origin.x;
  const int baseline = top_left.y + origin.y + d.metrics.ascent;
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    const Glyph& glyph = d.glyph(byte, paint.smoothing);
    paint_glyph(surface, drawable, glyph, {pen_x + glyph.left, baseline - glyph.top}, paint.color, value,
                smooth);
    pen_x += d.advance(byte);
  }

  const raster::Brush line = raster::Brush::solid(paint.color);
  const int logical_baseline = top_left.y + d.metrics.ascent;
  if (d.request.underline) {
    const int top = logical_baseline + d.underline_offset;
    dc.fill_rect({cell.left, top, cell.right, top + d.underline_thickness}, line);
  }
  if (d.request.strike_out) {
    const int top = logical_baseline + d.strike_offset;
    dc.fill_rect({cell.left, top, cell.right, top + d.strike_thickness}, line);
  }
}

void Font::draw(Surface& surface, IntPoint top_left, std::string_view text, const TextPaint& paint) const {
  raster::DeviceContext dc(surface);
  draw(dc, top_left, text, paint);
}

}  // namespace orvane::fonts
