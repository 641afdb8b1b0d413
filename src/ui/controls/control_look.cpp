#include "ui/controls/control_look.h"

#include "core/memory.h"
#include "graphics/text_draw.h"
#include "ui/window_painting.h"
#include "graphics/text_fonts.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui::controls {

void draw_now(WindowPeer& w, const std::function<void(graphics::DrawingPort&, raster::DeviceContext&)>& draw) {
  if (!w.user_visible() || !w.hwnd) return;
  draw_in_window(w, [&](raster::DeviceContext& dc) { draw(w.port, dc); });
}

std::string title_string(WindowPeer& w) {
  Value t = w.get_title();
  if (!is_string(t)) return {};
  return std::string(string_view_of(t));
}

fonts::Font window_font(const WindowPeer& w) { return font_of(w.font, w.lisp_object()); }

int context_integer(const WindowPeer& w, std::string_view name, int absent) {
  Value v = value_in_object(w.lisp_object(), name);
  return is_fixnum(v) ? v.fixnum() : absent;
}

void straight_line(raster::DeviceContext& dc, raster::IntPoint a, raster::IntPoint b, raster::Color c) {
  raster::IntRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
  dc.fill_rect(r, raster::Brush::solid(c));
}

void draw_title_box(raster::DeviceContext& dc, const WindowPeer& w, std::string_view title,
                    const raster::IntRect& box, int justification, bool first_line_only, raster::Color color) {
  draw_text_box(dc, window_font(w), title, box, justification, first_line_only, TextColors{color, std::nullopt});
}

void draw_title_at(graphics::DrawingPort& port, const WindowPeer& w, std::string_view title, int x) {
  if (title.empty()) return;
  raster::DeviceContext& dc = port.context();
  const fonts::Font font = window_font(w);
  draw_text(dc, font, {x, font.metrics().ascent}, title, TextColors{port.fore_color().to_color(), std::nullopt});
}

}  // namespace orvane::ui::controls
