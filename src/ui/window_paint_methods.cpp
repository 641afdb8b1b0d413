// The painting methods of `obj-window`: every window is a drawing port (the
// drawing and text methods), invalidation, offscreen buffers, scrolling,
// pixels, push buttons and the update rect.
#include <functional>
#include <string>

#include "core/errors.h"
#include "core/memory.h"
#include "graphics/drawing_methods.h"
#include "graphics/drawing_values.h"
#include "graphics/fonts_module.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "graphics/text_draw.h"
#include "graphics/text_fonts.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/ui_look.h"
#include "reader/printer.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

WindowPeer& self_peer() { return window_peer(self_object()); }

// The text port of the receiver: its port's selected font (the window's own
// font outside a drawing), its port's colours. It holds no state: every
// call works on the current receiver, which with-font keeps for its message.
class ReceiverTextPort final : public TextPort {
 public:
  const FontRecord& text_font() const override {
    WindowPeer& w = self_peer();
    return w.port.font() ? *w.port.font() : w.font;
  }
  void select_text_font(const FontRecord& record) override { self_peer().port.set_font(record); }
  TextColors text_colors() const override {
    const graphics::DrawingPort& port = self_peer().port;
    TextColors colors;
    colors.text = port.fore_color().to_color();
    if (port.background_mode() == raster::BackgroundMode::opaque) colors.background = port.back_color().to_color();
    return colors;
  }
  void draw_in_port(const std::function<void(raster::DeviceContext&)>& draw) override {
    draw_in_window(self_peer(), draw);
  }
};

TextPort& receiver_text_port(Value self) {
  window_peer(self);  // error 2 for an object without a window
  static ReceiverTextPort port;
  return port;
}

// --- Invalidation -------------------------------------------------------------

Value m_inval_rect(Value a, Value t, Value r, Value b) {
  IntRect area = is_number(a) ? IntRect{coordinate_of(a), coordinate_of(t), coordinate_of(r), coordinate_of(b)}
                              : rect_of(a);
  invalidate_rect(self_peer(), area, true);
  return kNoValue;
}

Value m_inval_window(Value flag) {
  invalidate_window(self_peer(), !orvane::is_true(flag));
  return kNoValue;
}

Value m_inval_view() {
  WindowPeer& w = self_peer();
  invalidate_rect(w, w.view_rect, true);
  return kNoValue;
}

Value m_valid_rect(Value r) {
  validate_rect(self_peer(), rect_of(r));
  return kNoValue;
}

// The clip of the current port's context: r in device coordinates, never
// beyond the visible part of the receiver's desktop window when the context
// is on the screen.
Value m_clip_rect(Value r) {
  const IntRect area = rect_of(r);
  WindowPeer& w = self_peer();
  graphics::DrawingPort* port = graphics::current_port();
  if (!port) return kNoValue;
  raster::DeviceContext& dc = port->context();
  raster::Region device(area.translated(dc.origin()));
  device.intersect(dc.surface().bounds());
  desktop::Desktop* d = layer().desktop;
  if (d && &dc.surface() == &d->framebuffer() && w.hwnd)
    device.intersect(d->visible_region(w.is_root() ? layer().mdi_client : w.hwnd, true));
  dc.set_clip(std::move(device));
  return kNoValue;
}

// --- Offscreen buffers ------------------------------------------------------------

Value m_get_offscreen_p() { return make_fixnum(self_peer().offscreen.count()); }

Value m_set_offscreen_p(Value levels) {
  WindowPeer& w = self_peer();
  const int count = is_nil(levels) ? 0 : is_fixnum(levels) ? integer_of(levels) : 1;
  set_offscreen_levels(w, count);
  return kNoValue;
}

Value m_get_offscreen_level() { return make_fixnum(self_peer().offscreen_level); }

Value m_set_offscreen_level(Value level) {
  WindowPeer& w = self_peer();
  const int n = integer_of(level);
  if (n < 1) raise_error(2, level);
  w.offscreen_level = n;
  return kNoValue;
}

Value m_update_offscreen() {
  update_offscreen(self_peer());
  return kNoValue;
}

// The default copy of a buffer to the screen: r of the window, directly.
Value m_copy_offscreen(Value r) {
  WindowPeer& w = self_peer();
  if (w.flags.visible) copy_buffer_to_screen(w, rect_of(r), nullptr);
  return kNoValue;
}

// --- Scrolling ------------------------------------------------------------------

Value m_scroll(Value dx, Value dy, Value update) {
  self_peer().scroll(integer_of(dx), integer_of(dy), orvane::is_true(update));
  return kNoValue;
}
Value m_pixel_scroll(Value dx, Value dy) {
  self_peer().pixel_scroll(integer_of(dx), integer_of(dy), true);
  return kNoValue;
}
Value m_get_scroll_h() { return make_fixnum(self_peer().get_scroll_h()); }
Value m_get_scroll_v() { return make_fixnum(self_peer().get_scroll_v()); }
Value m_start_scroll() {
  self_peer().start_scroll();
  return kNoValue;
}
Value m_end_scroll() {
  self_peer().end_scroll();
  return kNoValue;
}
Value m_line_width() { return make_fixnum(self_peer().line_width()); }
Value m_line_height() { return make_fixnum(self_peer().line_height()); }
Value m_page_width() { return make_fixnum(self_peer().page_width()); }
Value m_page_height() { return make_fixnum(self_peer().page_height()); }

// --- Pixels, buttons, the update rect ------------------------------------------------

Value m_get_pixel(Value x, Value y) {
  IntPoint p = is_pair(x) && is_nil(y) ? point_of(x) : IntPoint{coordinate_of(x), coordinate_of(y)};
  WindowPeer& w = self_peer();
  std::optional<raster::Color> c;
  draw_in_window(w, [&](raster::DeviceContext& dc) { c = dc.get_pixel(p); });
  if (!c) return kNil;
  return make_color_list(graphics::Rgb16::from_device(*c));
}

Value m_draw_push_button(Value r, Value title, Value pressed, Value is_default) {
  self_peer().draw_push_button(rect_of(r), title, orvane::is_true(pressed), orvane::is_true(is_default));
  return kNoValue;
}

Value m_get_update_rect() { return make_rect(layer().update_rect); }

}  // namespace

// A push button in the classic look: the face, the bevel (sunken while
// pressed), a black ring for the default button, the title centred in the
// window's font.
void WindowPeer::draw_push_button(const IntRect& r, Value title, bool pressed, bool is_default) {
  std::string text = is_string(title) ? std::string(string_view_of(title))
                     : is_nil(title)  ? std::string()
                                      : print_to_string(title, PrintStyle::plain, std::string::npos);
  const FontRecord record = port.font() ? *port.font() : font;
  draw_in_window(*this, [&](raster::DeviceContext& dc) {
    namespace look = desktop::look;
    const IntRect face = look::push_button(dc, r, pressed, is_default);
    if (text.empty()) return;
    FontRecord shown = record;
    if (shown.name.empty()) shown.name = std::string(builtin_font_name(5));
    const fonts::Font f = font_of(shown);
    const int shift = pressed ? 1 : 0;
    const IntPoint baseline{face.left + (face.width() - f.text_width(text)) / 2 + shift,
                            face.top + (face.height() - f.metrics().line_height) / 2 + f.metrics().ascent + shift};
    TextColors colors;
    colors.text = look::text;
    draw_text(dc, f, baseline, text, colors);
  });
}

void register_window_paint_methods(Value klass) {
  register_drawing_methods(klass);
  register_text_methods(klass, receiver_text_port);
  register_method(klass, "inval-rect", m_inval_rect);
  register_method(klass, "inval-window", m_inval_window);
  register_method(klass, "inval-view", m_inval_view);
  register_method(klass, "valid-rect", m_valid_rect);
  register_method(klass, "clip-rect", m_clip_rect);
  register_method(klass, "get-offscreen?", m_get_offscreen_p);
  register_method(klass, "set-offscreen?", m_set_offscreen_p);
  register_method(klass, "get-offscreen-level", m_get_offscreen_level);
  register_method(klass, "set-offscreen-level", m_set_offscreen_level);
  register_method(klass, "update-offscreen", m_update_offscreen);
  register_method(klass, "copy-offscreen", m_copy_offscreen);
  register_method(klass, "scroll", m_scroll);
  register_method(klass, "pixel-scroll", m_pixel_scroll);
  register_method(klass, "get-scroll-h", m_get_scroll_h);
  register_method(klass, "get-scroll-v", m_get_scroll_v);
  register_method(klass, "start-scroll", m_start_scroll);
  register_method(klass, "end-scroll", m_end_scroll);
  register_method(klass, "line-width", m_line_width);
  register_method(klass, "line-height", m_line_height);
  register_method(klass, "page-width", m_page_width);
  register_method(klass, "page-height", m_page_height);
  register_method(klass, "get-pixel", m_get_pixel);
  register_method(klass, "draw-push-button", m_draw_push_button);
  register_method(klass, "get-update-rect", m_get_update_rect);
  register_window_picture_methods(klass);
}

}  // namespace orvane::ui
