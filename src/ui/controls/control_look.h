// What the buttons, check boxes, choices and captions share: the system
// colours they paint with, drawing at once outside a paint, and the window
// values they read.
#pragma once

#include <functional>
#include <string>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "platform/desktop/ui_look.h"
#include "platform/fonts/font.h"
#include "platform/raster/device_context.h"

namespace orvane::ui {
class WindowPeer;
}

namespace orvane::ui::controls {

// The system colours of the classic look.
inline constexpr raster::Color kButtonFace = desktop::look::face;
inline constexpr raster::Color kButtonText = desktop::look::text;
inline constexpr raster::Color kGrayText{128, 128, 128};
inline constexpr raster::Color kHighlight = desktop::look::highlight;
inline constexpr raster::Color kShadow = desktop::look::shadow;
inline constexpr raster::Color kDark = desktop::look::dark;
inline constexpr raster::Color kWhite{255, 255, 255};
// The foreground of a disabled check box or choice.
inline constexpr graphics::Rgb16 kDisabledGray{0xBB00, 0xBB00, 0xBB00};

// Runs `draw` at once on the window's port, on the screen, outside a paint
// (the pressed looks of tracking, fast captions). Nothing when the window
// is not user-visible.
void draw_now(WindowPeer& w, const std::function<void(graphics::DrawingPort&, raster::DeviceContext&)>& draw);

// The window's title as text ("" for nil).
std::string title_string(WindowPeer& w);
// The font of the window (its font record's face).
fonts::Font window_font(const WindowPeer& w);
// The fixnum value of a variable in the window's context, or `absent`.
int context_integer(const WindowPeer& w, std::string_view name, int absent);

// A one-pixel line of a colour from a to b, both included (horizontal or
// vertical).
void straight_line(raster::DeviceContext& dc, raster::IntPoint a, raster::IntPoint b, raster::Color c);
// `text-box` of the title in the box, in one colour.
void draw_title_box(raster::DeviceContext& dc, const WindowPeer& w, std::string_view title,
                    const raster::IntRect& box, int justification, bool first_line_only, raster::Color color);
// The title drawn on the port at (x, the font's ascent) with draw-string.
void draw_title_at(graphics::DrawingPort& port, const WindowPeer& w, std::string_view title, int x);

}  // namespace orvane::ui::controls
