// Text of the desktop's own pieces (captions, menus, dialogs): the two
// faces of the classic look and labels with "&" mnemonics.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/hooks.h"
#include "platform/fonts/font.h"
#include "platform/raster/device_context.h"

namespace orvane::desktop {

// The bold face of captions (Liberation Sans Bold 8 pt at 96 dpi, standing
// for "System") and the face of menus and dialogs (Liberation Sans 8 pt,
// standing for "MS Sans Serif"). Opened on first use and kept; nothing when
// no face is installed at all, and then text is simply not drawn.
const fonts::Font* system_font();
const fonts::Font* dialog_font();

// Draws caption text for the desktop core with the system font.
class FontTextPainter final : public TextPainter {
 public:
  int text_width(std::string_view text) const override;
  int text_height() const override;
  void draw_text(raster::DeviceContext& dc, raster::IntPoint top_left,
                 std::string_view text) const override;
};

// A label as shown: "&" marks the next character as the mnemonic (drawn
// underlined), "&&" shows one "&".
struct Label {
  std::string shown;
  int mnemonic_index = -1;  // into shown; -1 when none
  // The mnemonic, lower-cased (Windows-1252 ASCII letters and digits); 0 when none.
  char mnemonic() const;
};
Label parse_label(std::string_view text);

// Width of a label as shown.
int label_width(const fonts::Font& font, std::string_view text);

// Draws a label (with its mnemonic underlined) at the top-left of its cell,
// transparently, clipped by the context.
void draw_label(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint top_left,
                std::string_view text, raster::Color color);
// The classic disabled look: the label in white one pixel down and right,
// then in the shadow colour.
void draw_embossed_label(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint top_left,
                         std::string_view text);

}  // namespace orvane::desktop

namespace orvane::desktop {

// Breaks text into lines no wider than `width`: a line feed (or a carriage
// return, or the pair) ends a line; a line too wide breaks after its last
// space, or, with no space, where it no longer fits (at least one character).
std::vector<std::string> wrap_text(const fonts::Font& font, std::string_view text, int width);

}  // namespace orvane::desktop
