// The state that complete playback (the tools' `--complete`) keeps beside
// the title player's: the text state of the picture and the pixel pattern.
// Internal to the picture player.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fonts/font.h"
#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace orvane::graphics::detail {

// QuickDraw's text state as the text opcodes set it.
struct TextState {
  int font_id = 0;       // TxFont; 0 is the system font
  std::uint8_t face = 0; // TxFace: 1 bold, 2 italic, 4 underline (the others are not drawn)
  int mode = 1;          // TxMode: srcOr
  int size = 0;          // TxSize in points (pixels at 72 dpi); 0 is the system size
  raster::IntPoint ratio_numerator{1, 1}, ratio_denominator{1, 1};  // TxRatio
  raster::IntPoint location;  // where the last text began, picture coordinates
  std::map<int, std::string> font_names;  // FontName: number -> family
  std::optional<fonts::Font> font;        // the font of the last text drawn
};

struct CompleteState {
  TextState text;
  // The pixel pattern that paints and fills use (a PnPixPat or FillPixPat
  // of full colour or RGB kind); nothing while a one-bit pattern is current.
  std::optional<raster::Surface> pixel_pattern;
};

// The family a QuickDraw font number names (the classic Macintosh numbers:
// 0 Chicago, 2 New York, 3 Geneva, 4 Monaco, 20 Times, 21 Helvetica, 22
// Courier...); "Geneva" for a number it does not know.
std::string_view macintosh_family(int font_id);
// The face family the font layer is asked for: the Macintosh families that
// it does not serve become their nearest Windows face (Chicago and Geneva
// Arial-like, New York and Palatino Times-like, Monaco Courier-like); other
// names pass unchanged.
std::string_view family_for_font_layer(std::string_view macintosh_name);

}  // namespace orvane::graphics::detail
