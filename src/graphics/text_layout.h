// Laying text out in a font: word wrapping and the justified text box.
//
// Text is Windows-1252, one byte a glyph; a carriage return (13) ends a
// line. Widths are the sums of the bytes' advances, so a line measures the
// same whether it is wrapped or drawn.
#pragma once

#include <string_view>
#include <vector>

#include "platform/fonts/font.h"
#include "platform/raster/geometry.h"

namespace orvane {

struct TextLine {
  std::size_t start = 0;
  std::size_t length = 0;
  friend bool operator==(const TextLine&, const TextLine&) = default;
};

// The lines of the text wrapped into `width`: a line takes characters while
// their total width stays within the width, but always at least one; a
// carriage return ends it; when a character would overflow and a space
// occurred on the line, the line ends at the last space. After a line the
// spaces that follow are skipped, then one carriage return.
std::vector<TextLine> wrap_text(const fonts::Font& font, std::string_view text, int width);

// The height of the wrapped text: its number of lines times the line height.
int wrapped_text_height(const fonts::Font& font, std::string_view text, int width);

// The longest prefix of the text's first line (up to its first carriage
// return) whose width is within `width`.
std::size_t fitting_prefix(const fonts::Font& font, std::string_view text, int width);

// A line of a text box: where it starts (the pen on the baseline).
struct PlacedLine {
  TextLine line;
  raster::IntPoint pen;  // x of its left edge, y of its baseline
  int width = 0;
};

// The lines of `text-box`: the justification code's vertical part (above 6
// bottom, when the text is shorter than the box; 3 to 6 centred; lower the
// top) and its horizontal remainder (0 left, 1 centred, anything else
// right). With first_line_only, only the part of the first line that fits.
std::vector<PlacedLine> lay_out_text_box(const fonts::Font& font, std::string_view text,
                                         const raster::IntRect& box, int justification, bool first_line_only);

}  // namespace orvane
