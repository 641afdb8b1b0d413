// The classic look of the desktop's menus, dialogs and controls: colours
// and the small drawing pieces they share.
#pragma once

#include "platform/raster/color.h"
#include "platform/raster/device_context.h"

namespace orvane::desktop::look {

inline constexpr raster::Color face{192, 192, 192};
inline constexpr raster::Color highlight{255, 255, 255};
inline constexpr raster::Color shadow{128, 128, 128};
inline constexpr raster::Color dark{0, 0, 0};
inline constexpr raster::Color text{0, 0, 0};
inline constexpr raster::Color selection{0, 0, 128};
inline constexpr raster::Color selection_text{255, 255, 255};
inline constexpr raster::Color window{255, 255, 255};

void fill(raster::DeviceContext& dc, const raster::IntRect& r, raster::Color c);
// One ring: top and left in one colour, bottom and right in the other.
void bevel(raster::DeviceContext& dc, const raster::IntRect& r, raster::Color top_left,
           raster::Color bottom_right);
// The raised two-ring edge of pop-up menus and buttons.
void raised_edge(raster::DeviceContext& dc, const raster::IntRect& r);
// A push button's face over r: a black ring first when `ringed` (the default
// or focused button), then the raised bevel, or a flat shadow ring while
// pressed. Answers the rectangle inside the ring (where the label goes).
raster::IntRect push_button(raster::DeviceContext& dc, const raster::IntRect& r, bool pressed, bool ringed);
// The sunken two-ring edge of edit fields.
void sunken_edge(raster::DeviceContext& dc, const raster::IntRect& r);
// A check mark (7 x 7) with its top-left at p.
void check_mark(raster::DeviceContext& dc, raster::IntPoint p, raster::Color c);
// A small right-pointing triangle (4 wide, 7 high) with its top-left at p.
void right_arrow(raster::DeviceContext& dc, raster::IntPoint p, raster::Color c);
// A dotted focus rectangle (every other pixel inverted).
void focus_rect(raster::DeviceContext& dc, const raster::IntRect& r);

// Lower-case of an ASCII letter (other bytes unchanged): mnemonics and
// menu characters compare this way.
constexpr char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace orvane::desktop::look

namespace orvane::desktop {
constexpr char lower_key(char c) { return look::lower(c); }
}  // namespace orvane::desktop
