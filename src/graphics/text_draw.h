// Drawing text on a device context: the call `draw-string` and `text-box`
// make once the port has chosen the font and colours.
//
//   TextColors colors{fore, std::nullopt};           // transparent mode
//   int advance = draw_text(dc, record, pen, "Hello", colors);
//   pen.x += advance;
#pragma once

#include <optional>
#include <string_view>

#include "graphics/fonts_record.h"
#include "graphics/text_layout.h"
#include "platform/fonts/font.h"
#include "platform/raster/color.h"
#include "platform/raster/device_context.h"

namespace orvane {

struct TextColors {
  raster::Color text = raster::colors::black;
  // The port's background colour when its background mode is opaque (the
  // text's cell is filled first); nothing when transparent.
  std::optional<raster::Color> background;
};

// Draws the Windows-1252 text with the left end of its baseline at `pen`
// (logical coordinates of the context), in the smoothing the settings ask
// for; answers the advance (the text's width). Error 2 with nil when the
// record's font cannot be opened at all.
int draw_text(raster::DeviceContext& dc, const FontRecord& record, raster::IntPoint pen,
              std::string_view text, const TextColors& colors);
int draw_text(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint pen, std::string_view text,
              const TextColors& colors);

// `text-box`: the text laid out in `box` (see lay_out_text_box) and drawn
// line by line.
void draw_text_box(raster::DeviceContext& dc, const fonts::Font& font, std::string_view text,
                   const raster::IntRect& box, int justification, bool first_line_only,
                   const TextColors& colors);

}  // namespace orvane
