#include "ui/controls/toggle_peers.h"

#include <algorithm>

#include "core/symbols.h"
#include "objects/classes.h"
#include "objects/records.h"
#include "ui/controls/control_look.h"
#include "ui/window_layer.h"

namespace orvane::ui {

using raster::DeviceContext;
using raster::IntRect;
using namespace controls;

// --- What both share -----------------------------------------------------------

void TogglePeer::open(Value object) {
  WindowPeer::open(object);
  enabled_ = true;
  on_ = false;
  tracking_ = inside_ = false;
}

IntRect TogglePeer::mark_rect() const {
  const int n = mark_size();
  const int top = std::max(0, (rect.height() - n) / 2);
  return {0, top, n, top + n};
}

void TogglePeer::set_enabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) tracking_ = false;
  invalidate(rect);
}

void TogglePeer::enable() { set_enabled(true); }
void TogglePeer::disable() { set_enabled(false); }

Value TogglePeer::get_content() { return on_ ? g_sym.t : kNil; }

void TogglePeer::paint() {
  if (!port.drawing()) return;
  const graphics::Rgb16 fore = port.fore_color();
  if (!enabled_) port.set_fore_color(kDisabledGray);
  draw_mark(port, port.context());
  draw_title_at(port, *this, title_string(*this), title_x());
  port.set_fore_color(fore);
}

void TogglePeer::redraw_mark() {
  draw_now(*this, [&](graphics::DrawingPort& p, DeviceContext& dc) {
    const graphics::Rgb16 fore = p.fore_color();
    p.set_fore_color(enabled_ ? color_fore : kDisabledGray);
    draw_mark(p, dc);
    p.set_fore_color(fore);
  });
}

void TogglePeer::mouse_down(int, int) {
  if (!enabled_) return;
  tracking_ = inside_ = true;
  redraw_mark();
}

void TogglePeer::mouse_drag(int x, int y) {
  if (!tracking_) return;
  const bool now = rect.contains({x, y});
  if (now == inside_) return;
  inside_ = now;
  redraw_mark();
}

// The release point decides, whether or not a drag reported the last move.
void TogglePeer::mouse_up(int x, int y) {
  if (!tracking_) return;
  tracking_ = false;
  inside_ = rect.contains({x, y});
  redraw_mark();
  if (!inside_) return;
  inside_ = false;
  const Value object = lisp_object();
  released_inside();
  if (window_peer_or_null(object) != this) return;
  send_to(*this, "select", {kNil});
}

// --- Check boxes ---------------------------------------------------------------

int CheckboxPeer::title_x() const { return context_integer(*this, "margin", 0) + 12; }

void CheckboxPeer::draw_mark(graphics::DrawingPort& port, DeviceContext& dc) {
  const IntRect box = mark_rect();
  const raster::Color fore = port.fore_color().to_color();
  raster::StateSaver saved(dc);
  port.erase_rect(box);
  dc.frame_rect(box, raster::Brush::solid(fore));
  if (is_on()) {
    dc.set_pen(raster::Pen{raster::PenStyle::solid, 1, fore});
    dc.move_to(box.top_left());
    dc.line_to({box.right, box.bottom});
    dc.move_to({box.right - 1, box.top});
    dc.line_to({box.left - 1, box.bottom});
  }
  if (pressed()) dc.frame_rect(box.inflated(-1, -1), raster::Brush::solid(kDark));
}

void CheckboxPeer::released_inside() {
  set_on(!is_on());
  invalidate(mark_rect());
}

void CheckboxPeer::set_content(Value content) {
  const bool on = is_true(content);
  if (on == is_on()) return;
  set_on(on);
  invalidate(mark_rect());
}

// --- Choices ---------------------------------------------------------------------

void ChoicePeer::draw_mark(graphics::DrawingPort& port, DeviceContext& dc) {
  const IntRect circle = mark_rect();
  raster::StateSaver saved(dc);
  port.erase_oval(circle);
  port.frame_oval(circle);
  if (is_on()) port.paint_oval(dot_rect());
  if (pressed()) port.frame_oval(circle.inflated(-1, -1));
}

void ChoicePeer::released_inside() { set_content(g_sym.t); }

void ChoicePeer::set_content(Value content) {
  if (!is_true(content)) {
    if (!is_on()) return;
    set_on(false);
    invalidate(dot_rect());
    return;
  }
  if (is_on()) return;
  set_on(true);
  invalidate(dot_rect());
  if (!parent) return;
  // The other choices of the parent are told one by one; a handler may
  // close windows, so the list is taken first.
  std::vector<Value> others;
  for (WindowPeer* c = parent->first_child; c; c = c->next_sibling) {
    if (c == this) continue;
    Value o = c->lisp_object();
    if (o != kNil && objects::inherits(objects::class_of(o), choice_class())) others.push_back(o);
  }
  for (Value o : others)
    if (WindowPeer* w = window_peer_or_null(o)) send_to(*w, "set-content", {kNil});
}

}  // namespace orvane::ui
