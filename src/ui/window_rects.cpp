// A window's rectangles in the coordinates of its parent, its system window
// and the root, the view and virtual rects, point tests, `translate` and
// `get-mouse`.
#include "core/memory.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

// The window's rect in another window's coordinates (its own without one).
IntRect rect_in(const WindowPeer& w, const WindowPeer* other) {
  return other ? map_rect(w, *other, w.rect) : w.rect;
}

Value m_get_window_rect() { return make_rect(self_window().rect); }

Value m_get_parent_rect() {
  WindowPeer& w = self_window();
  return make_rect(rect_in(w, w.parent));
}

Value m_get_system_rect() {
  WindowPeer& w = self_window();
  return make_rect(rect_in(w, w.system));
}

Value m_get_root_rect() {
  WindowPeer& w = self_window();
  IntPoint origin = to_root(w, {w.rect.left, w.rect.top});
  return make_rect(w.rect.translated(origin.x - w.rect.left, origin.y - w.rect.top));
}

Value m_get_view_rect() { return make_rect(self_window().view_rect); }
Value m_get_virtual_rect() { return make_rect(self_window().virtual_rect); }

Value m_set_view_rect(Value r) {
  self_window().set_view_rect(rect_of(r));
  return kNoValue;
}

Value m_set_virtual_rect(Value r) {
  self_window().set_virtual_rect(rect_of(r));
  return kNoValue;
}

Value m_point_in_window(Value x, Value y) { return geometry::truth(self_window().rect.contains(point_args(x, y))); }

Value m_point_in_view(Value x, Value y) { return geometry::truth(self_window().view_rect.contains(point_args(x, y))); }

Value m_touch_rect(Value r) {
  WindowPeer& w = self_window();
  return geometry::truth(rect_of(r).intersects(rect_in(w, w.parent)));
}

Value m_translate(Value point_or_rect, Value window) {
  WindowPeer& w = self_window();
  WindowPeer& other = window_peer(window);
  if (is_point(point_or_rect)) {
    IntPoint p = map_point(w, other, point_of(point_or_rect));
    return make_point(p.x, p.y);
  }
  return make_rect(map_rect(w, other, rect_of(point_or_rect)));
}

Value m_get_mouse() {
  WindowPeer& w = self_window();
  desktop::Desktop& d = window_desktop();
  if (!w.hwnd) raise_error(2, w.lisp_object());
  IntPoint p = d.screen_to_client(w.hwnd, d.cursor_position());
  return make_point(p.x, p.y);
}

}  // namespace

void register_rect_methods(Value klass) {
  register_method(klass, "get-window-rect", m_get_window_rect);
  register_method(klass, "get-parent-rect", m_get_parent_rect);
  register_method(klass, "get-system-rect", m_get_system_rect);
  register_method(klass, "get-root-rect", m_get_root_rect);
  register_method(klass, "get-view-rect", m_get_view_rect);
  register_method(klass, "get-virtual-rect", m_get_virtual_rect);
  register_method(klass, "set-view-rect", m_set_view_rect);
  register_method(klass, "set-virtual-rect", m_set_virtual_rect);
  register_method(klass, "point-in-window?", m_point_in_window);
  register_method(klass, "point-in-view?", m_point_in_view);
  register_method(klass, "touch-rect?", m_touch_rect);
  register_method(klass, "translate", m_translate);
  register_method(klass, "get-mouse", m_get_mouse);
}

}  // namespace orvane::ui
