// Hit testing (`find-window`), click zones and `draw-frame`, and finding a
// child by name (`named`).
#include <vector>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"
#include "objects/native_classes.h"
#include "ui/click_zone.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;

namespace {

// The Lisp objects of a window's children front to back, pushed on the
// Lisp stack so that they outlive handlers that destroy them.
std::vector<Value> child_objects(const WindowPeer& w) {
  std::vector<Value> objects;
  for (const WindowPeer* c = w.first_child; c; c = c->next_sibling) {
    Value object = c->lisp_object();
    lisp_push(object);
    objects.push_back(object);
  }
  return objects;
}

// The child peer of an object that is still w's child (a handler may have
// destroyed or moved it), or null.
WindowPeer* still_child(Value object, const WindowPeer& w) {
  WindowPeer* c = window_peer_or_null(object);
  return c && c->parent == &w ? c : nullptr;
}

bool is_method(Value v) {
  std::uint32_t t = v.tag();
  return t == tag::function || t == tag::gamma || t == tag::primitive || t == tag::closed;
}

// A question the world answers with a variable or with a method of that name.
bool world_says(Value object, std::string_view name) {
  Value v = value_in_object(object, name);
  if (is_method(v)) return is_true(send(object, intern(name), {}));
  return is_true(v);
}

bool handles_mouse(Value object) {
  if (value_in_object(object, "get-handles-mouse?") != kNoValue) return world_says(object, "get-handles-mouse?");
  return world_says(object, "handles-mouse?");
}

Value m_find_window(Value x, Value y) {
  Value self = self_object();
  self_window();
  IntPoint p = point_args(x, y);
  LispStackMark mark;
  lisp_push(self);
  if (!is_true(send(self, intern("point-in-click-zone?"), {make_integer(p.x), make_integer(p.y)}))) return kNil;
  WindowPeer* w = window_peer_or_null(self);
  if (!w) return kNil;
  for (Value object : child_objects(*w)) {
    WindowPeer* child = still_child(object, *w);
    if (!child || !child->flags.visible) continue;
    IntPoint q = map_point(*w, *child, p);
    Value hit = send(object, intern("find-window"), {make_integer(q.x), make_integer(q.y)});
    if (is_true(hit)) return hit;
    // The page does not answer for points its windows cover.
    if ((w = window_peer_or_null(self)) == nullptr) return kNil;
    if (w->is_page() && (child = still_child(object, *w)) && child->rect.contains(q)) return kNil;
  }
  if (handles_mouse(self)) return self;
  if ((w = window_peer_or_null(self)) && w->flags.edit && world_says(self, "editor-selectable?"))
    return self;
  return kNil;
}

Value m_point_in_click_zone(Value x, Value y) {
  WindowPeer& w = self_window();
  if (w.is_page()) return g_sym.t;
  IntPoint p = point_args(x, y);
  int tolerance = zone_tolerance(value_in_object(w.lisp_object(), "thickness"));
  return geometry::truth(zone_hit(click_zone_of(w.click_zone), w.rect, p, w.flags.closed_zone, tolerance));
}

Value m_draw_frame() {
  WindowPeer& w = self_window();
  draw_zone(w.port, click_zone_of(w.click_zone), w.frame_rect, w.flags.closed_zone);
  return kNoValue;
}

Value m_get_click_zone() { return self_window().click_zone; }

Value m_set_click_zone(Value zone) {
  WindowPeer& w = self_window();
  click_zone_of(zone);  // a malformed zone is refused here rather than at the next click
  w.set_click_zone(zone);
  return kNoValue;
}

Value child_named(const WindowPeer& w, Value name) {
  for (const WindowPeer* c = w.first_child; c; c = c->next_sibling)
    if (c->name() == name) return c->lisp_object();
  return kNil;
}

Value m_named(Value name_or_path) {
  Value self = self_object();
  self_window();
  if (is_nil(name_or_path)) return self;
  if (!is_pair(name_or_path)) return child_named(window_peer(self), name_or_path);
  Value found = self;
  for (Value rest = name_or_path; is_pair(rest); rest = cdr(rest)) {
    WindowPeer* w = window_peer_or_null(found);
    if (!w) return kNil;
    found = child_named(*w, car(rest));
  }
  return found;
}

}  // namespace

void register_hit_methods(Value klass) {
  register_method(klass, "find-window", m_find_window);
  register_method(klass, "point-in-click-zone?", m_point_in_click_zone);
  register_method(klass, "draw-frame", m_draw_frame);
  register_method(klass, "get-click-zone", m_get_click_zone);
  register_method(klass, "set-click-zone", m_set_click_zone);
  register_method(klass, "named", m_named);
}

}  // namespace orvane::ui
