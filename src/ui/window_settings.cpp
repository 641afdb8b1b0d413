// A window object's position, size, font, title, view and virtual rects,
// region, and what it loads from a path.
#include "core/errors.h"
#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "platform/desktop/desktop.h"
#include "ui/window_guard.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"
#include "ui/window_placement.h"
#include "ui/window_properties.h"

namespace orvane::ui {

namespace {

bool usable(const WindowPeer& w) {
  WindowLayer& l = layer();
  return l.desktop && w.hwnd && !w.is_root() && l.desktop->is_window(w.hwnd);
}

}  // namespace

raster::IntPoint WindowPeer::get_position() const {
  if (!parent || !hwnd || !parent->hwnd) return {};
  return map_point(*this, *parent, {0, 0});
}

void WindowPeer::set_position(Value position) {
  if (!parent || !usable(*this)) return;
  Value object = lisp_object();
  auto p = symbolic_position(position, get_size(), 2);
  if (!p) raise_error(2, position);
  desktop::Desktop& d = window_desktop();
  raster::IntPoint old = get_position();
  if (*p == old) return;
  const bool shows = flags.visible && (!flags.transparent || flags.edit);
  raster::IntRect old_place = map_rect(*this, *parent, rect);
  // The new place in the desktop parent's coordinates (the MDI client for
  // a window in the page, whose coordinates are the page's).
  raster::IntPoint at = *p;
  if (in_page() && parent->hwnd) at = d.map_point(parent->hwnd, layer().mdi_client, *p);
  place_client_area(d, hwnd, {at.x, at.y, at.x + rect.width(), at.y + rect.height()}, true);
  send_to(*this, "position-update", {make_fixnum(old.x), make_fixnum(old.y)});
  if (!still_open(object, this)) return;
  if (shows && parent) {
    parent->invalidate(old_place);
    invalidate(rect);
  }
}

void WindowPeer::set_size(Value size) {
  auto s = symbolic_size(size);
  if (!s) raise_error(2, size);
  if (!parent || !usable(*this)) return;
  if (s->x == rect.width() && s->y == rect.height()) return;
  desktop::Desktop& d = window_desktop();
  WindowLayer& l = layer();
  if (is_page()) {
    // The frame grows or shrinks by the difference, so that the page's
    // client area gets the size.
    if (l.frame && !d.is_maximised(l.frame)) {
      raster::IntRect f = d.window_rect(l.frame);
      d.move_window(l.frame, f.left, f.top, f.width() + s->x - rect.width(), f.height() + s->y - rect.height());
    }
  } else {
    raster::IntPoint origin = client_origin_in_parent(d, hwnd);
    place_client_area(d, hwnd, {origin.x, origin.y, origin.x + s->x, origin.y + s->y}, true);
  }
  // The rects follow at once; the size message of the desktop window
  // reports the change (its old size being the previous rect).
  raster::IntRect client = d.client_rect(hwnd);
  if (!is_page()) rect = {0, 0, client.width(), client.height()};
  view_rect = frame_rect = rect;
}

void WindowPeer::set_font(Value value) {
  auto f = symbolic_font(value);
  if (!f) raise_error(2, value);
  font = *f;
  invalidate(rect);
}

Value WindowPeer::get_title() { return InterfacePeer::get_title(); }

void WindowPeer::set_title(Value title) {
  Value object = lisp_object();
  Value old = get_title();
  InterfacePeer::set_title(title);
  send_to(*this, "title-update", {old});
  if (!still_open(object, this)) return;
  if ((in_page() || is_page()) && usable(*this)) {
    Value text = get_title();
    window_desktop().set_window_text(hwnd, is_string(text) ? std::string(string_view_of(text)) : std::string());
  } else {
    invalidate(view_rect);
  }
}

void WindowPeer::set_view_rect(const raster::IntRect& r) {
  view_rect = r;
  view_rect_changed();
}

void WindowPeer::set_virtual_rect(const raster::IntRect& r) {
  virtual_rect = r;
  send_to(*this, "adjust-scroll");
}

Value WindowPeer::get_region() {
  raster::IntRect r = rect;
  WindowLayer& l = layer();
  if (in_page() && l.root && l.root->hwnd) r = map_rect(*this, *l.root, rect);
  else if (parent && parent->hwnd && hwnd) r = map_rect(*this, *parent, rect);
  return make_region(raster::Region(r));
}

void WindowPeer::load_from_pathname(Value path) {
  if (path != kNil) raise_error(2, path);
}

}  // namespace orvane::ui
