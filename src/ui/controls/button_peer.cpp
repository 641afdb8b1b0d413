#include "ui/controls/button_peer.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/controls/control_look.h"
#include "ui/window_layer.h"
#include "ui/window_properties.h"

namespace orvane::ui {

using raster::DeviceContext;
using raster::IntPoint;
using raster::IntRect;
using namespace controls;

namespace {

// Text-box justification: centred both ways.
constexpr int kCentred = 5;

}  // namespace

void ButtonPeer::open(Value object) {
  WindowPeer::open(object);
  default_ = property_flag(*this, "default?");
  three_d_ = property_flag(*this, "3d?");
  enabled_ = true;
  recompute_view_rect();
}

void ButtonPeer::recompute_view_rect() {
  view_rect = default_ && !three_d_ ? rect.inflated(-3, -3) : rect;
}

// The frame of a default button lies outside the view rect of another
// kind: the whole rect is repainted.
void ButtonPeer::repaint_whole() { invalidate(rect); }

void ButtonPeer::enable() {
  if (enabled_) return;
  enabled_ = true;
  repaint_whole();
}

void ButtonPeer::disable() {
  if (!enabled_) return;
  enabled_ = false;
  repaint_whole();
}

void ButtonPeer::set_default(bool flag) {
  if (flag == default_) return;
  default_ = flag;
  recompute_view_rect();
  Value object = lisp_object();
  send_to(*this, "title-update", {get_title()});
  if (window_peer_or_null(object) == this) repaint_whole();
}

void ButtonPeer::set_3d(bool flag) {
  if (flag == three_d_) return;
  three_d_ = flag;
  recompute_view_rect();
  repaint_whole();
}

void ButtonPeer::set_title(Value title) {
  Value object = lisp_object();
  Value old = get_title();
  InterfacePeer::set_title(title);
  recompute_view_rect();
  send_to(*this, "title-update", {old});
  if (window_peer_or_null(object) == this) repaint_whole();
}

void ButtonPeer::set_font(Value font) {
  WindowPeer::set_font(font);
  recompute_view_rect();
}

void ButtonPeer::size_update(int old_width, int old_height) {
  WindowPeer::size_update(old_width, old_height);
  recompute_view_rect();
}

void ButtonPeer::position_update(IntPoint) { recompute_view_rect(); }

// --- Painting ------------------------------------------------------------------

void ButtonPeer::draw_face(DeviceContext& dc, IntPoint shift) {
  raster::StateSaver saved(dc);
  dc.set_pen(raster::Pen{raster::PenStyle::solid, 1, kButtonFace});
  dc.set_brush(raster::Brush::solid(kButtonFace));
  dc.round_rect(view_rect, {4, 4});
  const std::string title = title_string(*this);
  if (title.empty()) return;
  const IntRect box = view_rect.translated(shift);
  if (enabled_) {
    draw_title_box(dc, *this, title, box, kCentred, false, kButtonText);
  } else {
    draw_title_box(dc, *this, title, box.translated(2, 2), kCentred, false, kWhite);
    draw_title_box(dc, *this, title, box, kCentred, false, kGrayText);
  }
}

void ButtonPeer::paint() {
  if (!port.drawing()) return;
  draw_face(port.context(), {0, 0});
  draw_push_button(view_rect, get_title(), false, default_);
}

// The classic raised frame: dark right and bottom edges, highlight top and
// left, the shadow one pixel inside the dark edges. Pressed, the frame is a
// shadow ring with the face colour inside it.
void ButtonPeer::draw_push_button(const IntRect& r, Value, bool pressed, bool is_default) {
  if (!port.drawing() || r.empty()) return;
  DeviceContext& dc = port.context();
  raster::StateSaver saved(dc);
  IntRect f = r;
  if (is_default) {
    dc.frame_rect(f, raster::Brush::solid(kDark));
    f = f.inflated(-1, -1);
  }
  if (f.width() < 2 || f.height() < 2) return;
  const int l = f.left, t = f.top, rr = f.right - 1, b = f.bottom - 1;
  if (pressed) {
    dc.frame_rect(f, raster::Brush::solid(kShadow));
    const IntRect inner = f.inflated(-1, -1);
    if (!inner.empty()) dc.frame_rect(inner, raster::Brush::solid(kButtonFace));
    return;
  }
  straight_line(dc, {l, b}, {rr, b}, kDark);
  straight_line(dc, {rr, t}, {rr, b}, kDark);
  straight_line(dc, {l, t}, {rr - 1, t}, kHighlight);
  straight_line(dc, {l, t}, {l, b - 1}, kHighlight);
  if (f.width() > 3 && f.height() > 3) {
    straight_line(dc, {l + 1, b - 1}, {rr - 1, b - 1}, kShadow);
    straight_line(dc, {rr - 1, t + 1}, {rr - 1, b - 1}, kShadow);
  }
}

// --- The click -------------------------------------------------------------------

// The button follows the mouse itself until the left button is released
// (the release message stays queued for the dispatcher): pressed while the
// pointer is over it, raised while it is not. A release over it selects.
void ButtonPeer::mouse_down(int, int) {
  if (!enabled_ || !hwnd) return;
  desktop::Desktop& d = window_desktop();
  const Value object = lisp_object();
  auto show = [&](bool pressed) {
    draw_now(*this, [&](graphics::DrawingPort&, DeviceContext& dc) {
      // The interior moves by (1, 1) inside the frame.
      raster::StateSaver saved(dc);
      dc.intersect_clip_rect(view_rect.inflated(-border_inset(), -border_inset()));
      draw_face(dc, pressed ? IntPoint{1, 1} : IntPoint{0, 0});
    });
    draw_now(*this, [&](graphics::DrawingPort&, DeviceContext&) {
      draw_push_button(view_rect, get_title(), pressed, default_);
    });
  };
  auto pointer_inside = [&] {
    if (!d.is_window(hwnd)) return false;
    return rect.contains(d.screen_to_client(hwnd, d.cursor_position()));
  };

  d.set_capture(hwnd);
  bool inside = pointer_inside();
  if (inside) show(true);
  for (;;) {
    d.pump_input();
    if (!d.button_still_down() || window_peer_or_null(object) != this) break;
    if (const bool now = pointer_inside(); now != inside) {
      inside = now;
      show(inside);
    }
    desktop::Message m;
    if (d.peek_message(m, {}, desktop::WM_MOUSEMOVE, desktop::WM_MOUSEMOVE, desktop::PM_REMOVE) ||
        d.peek_message(m, {}, desktop::WM_NCMOUSEMOVE, desktop::WM_NCMOUSEMOVE, desktop::PM_REMOVE))
      continue;
    // Other input waiting (keys, other buttons) ends the tracking: it is
    // left for the dispatcher, and the press counts as taken back.
    if (d.peek_message(m, {}, desktop::WM_NCMOUSEMOVE, desktop::WM_MOUSELAST, desktop::PM_NOREMOVE) &&
        m.message != desktop::WM_LBUTTONUP && m.message != desktop::WM_NCLBUTTONUP) {
      if (inside) show(false);
      inside = false;
      break;
    }
    d.present();
    if (!d.screen().wait_for_input(d.framebuffer(), std::nullopt)) break;
  }
  if (window_peer_or_null(object) != this) return;
  if (d.capture() == hwnd) d.release_capture();
  if (inside) show(false);
  // Where the button went up decides.
  if (inside && pointer_inside()) send_to(*this, "select", {kNil});
}

}  // namespace orvane::ui
