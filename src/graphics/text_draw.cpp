#include "graphics/text_draw.h"

#include "graphics/text_fonts.h"

namespace orvane {

int draw_text(raster::DeviceContext& dc, const FontRecord& record, raster::IntPoint pen,
              std::string_view text, const TextColors& colors) {
  return draw_text(dc, font_of(record), pen, text, colors);
}

int draw_text(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint pen, std::string_view text,
              const TextColors& colors) {
  fonts::TextPaint paint;
  paint.color = colors.text;
  paint.background = colors.background;
  paint.smoothing = text_smoothing();
  font.draw(dc, {pen.x, pen.y - font.metrics().ascent}, text, paint);
  return font.text_width(text);
}

void draw_text_box(raster::DeviceContext& dc, const fonts::Font& font, std::string_view text,
                   const raster::IntRect& box, int justification, bool first_line_only,
                   const TextColors& colors) {
  for (const PlacedLine& placed : lay_out_text_box(font, text, box, justification, first_line_only))
    draw_text(dc, font, placed.pen, text.substr(placed.line.start, placed.line.length), colors);
}

}  // namespace orvane
