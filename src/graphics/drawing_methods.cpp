// The drawing methods of window objects: each draws into the port of the
// receiver (the current object).
#include "graphics/drawing_methods.h"

#include <vector>

#include "core/memory.h"
#include "eval/eval.h"
#include "graphics/animate_rect.h"
#include "graphics/drawing_values.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "graphics/port_owner.h"
#include "objects/native_classes.h"
#include "reader/printer.h"
#include "storage/resources.h"

namespace orvane {

using graphics::DrawingPort;
using graphics::DrawingSession;
using raster::IntPoint;
using raster::IntRect;

namespace {

DrawingPort& self_port() { return port_of(self_object()); }

graphics::PortOwner& self_owner() {
  Value self = self_object();
  auto* owner = dynamic_cast<graphics::PortOwner*>(&object_peer(self));
  if (!owner) raise_error(2, self);
  return *owner;
}

// x y as two numbers, or a point and nil.
IntPoint point_args(Value a, Value b) {
  if (is_pair(a) && is_nil(b)) return point_of(a);
  return {coordinate_of(a), coordinate_of(b)};
}

// A rectangle Value, or four numbers.
IntRect rect_args(Value a, Value t, Value r, Value b) {
  if (is_number(a)) return {coordinate_of(a), coordinate_of(t), coordinate_of(r), coordinate_of(b)};
  return rect_of(a);
}

Value m_move(Value dx, Value dy) {
  IntPoint d = point_args(dx, dy);
  self_port().move(d.x, d.y);
  return kNoValue;
}
Value m_move_to(Value x, Value y) {
  IntPoint p = point_args(x, y);
  self_port().move_to(p.x, p.y);
  return kNoValue;
}
Value m_line(Value dx, Value dy) {
  IntPoint d = point_args(dx, dy);
  self_port().line(d.x, d.y);
  return kNoValue;
}
Value m_line_to(Value x, Value y) {
  IntPoint p = point_args(x, y);
  self_port().line_to(p.x, p.y);
  return kNoValue;
}

Value m_draw_string(Value v) {
  std::string text = value_to_text(v);
  self_port().draw_string(text);
  return kNoValue;
}

Value m_frame_rect(Value r) {
  self_port().frame_rect(rect_of(r));
  return kNoValue;
}
Value m_frame_oval(Value r) {
  self_port().frame_oval(rect_of(r));
  return kNoValue;
}
Value m_frame_round_rect(Value r, Value w, Value h) {
  self_port().frame_round_rect(rect_of(r), coordinate_of(w), coordinate_of(h));
  return kNoValue;
}
Value m_frame_arc(Value r, Value start, Value extent) {
  self_port().frame_arc(rect_of(r), integer_of(start), integer_of(extent));
  return kNoValue;
}
Value m_paint_rect(Value a, Value t, Value r, Value b) {
  self_port().paint_rect(rect_args(a, t, r, b));
  return kNoValue;
}
Value m_paint_oval(Value a, Value t, Value r, Value b) {
  self_port().paint_oval(rect_args(a, t, r, b));
  return kNoValue;
}
Value m_paint_round_rect(Value r, Value w, Value h) {
  self_port().paint_round_rect(rect_of(r), coordinate_of(w), coordinate_of(h));
  return kNoValue;
}
Value m_paint_arc(Value r, Value start, Value extent) {
  self_port().paint_arc(rect_of(r), integer_of(start), integer_of(extent));
  return kNoValue;
}
Value m_erase_rect(Value r) {
  self_port().erase_rect(rect_of(r));
  return kNoValue;
}
Value m_erase_oval(Value r) {
  self_port().erase_oval(rect_of(r));
  return kNoValue;
}
Value m_invert_rect(Value r) {
  self_port().invert_rect(rect_of(r));
  return kNoValue;
}
Value m_invert_oval(Value r) {
  self_port().invert_oval(rect_of(r));
  return kNoValue;
}
Value m_fill_rect(Value r, Value) {
  self_port().fill_rect_dimmed(rect_of(r));
  return kNoValue;
}
Value m_color_rect(Value a, Value t, Value r, Value b, Value colour) {
  // (color-rect rect colour) leaves the colour in the second place.
  if (!is_number(a)) {
    self_port().color_rect(rect_of(a), rgb_of(t));
    return kNoValue;
  }
  self_port().color_rect(rect_args(a, t, r, b), rgb_of(colour));
  return kNoValue;
}

Value m_frame_poly(Value polygon) {
  graphics::PortOwner& owner = self_owner();
  std::vector<IntPoint> points = polygon_of(polygon);
  owner.drawing_port().frame_poly(points, owner.closed_zone());
  return kNoValue;
}
Value m_paint_poly(Value polygon) {
  std::vector<IntPoint> points = polygon_of(polygon);
  self_port().paint_poly(points);
  return kNoValue;
}

Value m_set_fore_color(Value c) {
  self_port().set_fore_color(rgb_of(c));
  return kNoValue;
}
Value m_set_back_color(Value c) {
  self_port().set_back_color(rgb_of(c));
  return kNoValue;
}
Value m_get_fore_color() { return make_color_list(self_port().fore_color()); }
Value m_get_back_color() { return make_color_list(self_port().back_color()); }

Value m_pen_size(Value n) {
  self_port().pen_size(integer_of(n));
  return kNoValue;
}
Value m_pen_mode(Value m) {
  self_port().pen_mode(integer_of(m));
  return kNoValue;
}

Value m_with_pattern(Value list, Value index, Value function) {
  DrawingPort& port = self_port();
  auto pattern =
      resource_manager().indexed_pattern(static_cast<std::int16_t>(integer_of(list)), integer_of(index));
  // An index that names no pattern leaves the brush without pattern bits.
  raster::Pattern8 bits;  // no pattern bits
  if (pattern) bits.rows = *pattern;
  auto previous = port.set_pattern(bits);
  struct Restore {
    DrawingPort& port;
    std::optional<raster::Pattern8> previous;
    ~Restore() { port.set_pattern(previous); }
  } restore{port, previous};
  return call(function, {});
}

// Gives the context back to its owner once the drawing on it has ended.
class ContextRelease {
 public:
  explicit ContextRelease(graphics::PortOwner& owner) : owner_(owner) {}
  ~ContextRelease() { owner_.release_drawing_context(); }
  ContextRelease(const ContextRelease&) = delete;
  ContextRelease& operator=(const ContextRelease&) = delete;

 private:
  graphics::PortOwner& owner_;
};

Value m_with_drawing(Value function, Value offscreen) {
  Value self = self_object();
  graphics::PortOwner& owner = self_owner();
  raster::DeviceContext& dc = owner.drawing_context(self, !is_nil(offscreen));
  ContextRelease release(owner);
  DrawingSession session(owner.drawing_port(), dc);
  return call(function, {});
}

Value m_with_system_drawing(Value function) {
  Value self = self_object();
  graphics::PortOwner& owner = self_owner();
  raster::DeviceContext& dc = owner.system_drawing_context(self);
  ContextRelease release(owner);
  DrawingSession session(owner.drawing_port(), dc);
  return call(function, {});
}

Value m_draw_offscreen(Value offscreen) {
  graphics::PortOwner& owner = self_owner();
  graphics::draw_offscreen(owner.drawing_port(), offscreen_of(offscreen), owner.port_rect());
  return kNoValue;
}

// r path step ticks mode window stop: the presses that stop the animation
// come from the event pump through the receiver's peer.
Value m_animate_rect(Value r, Value path, Value step, Value ticks, Value mode, Value window, Value stop) {
  graphics::PortOwner& owner = self_owner();
  std::vector<IntPoint> points;
  for (Value l = path; is_pair(l); l = cdr(l)) points.push_back(point_of(car(l)));
  const raster::DeviceContext* source = nullptr;
  if (!is_nil(window)) {
    auto* other = dynamic_cast<graphics::PortOwner*>(&object_peer(window));
    if (!other) raise_error(2, window);
    source = other->image_context();
  }
  graphics::Animation animation{rect_of(r), points, integer_of(step), integer_of(ticks), integer_of(mode)};
  graphics::StopCheck check;
  if (!is_nil(stop))
    check = [&owner, stop](const IntRect& image_rect) { return owner.take_stopping_press(image_rect, stop); };
  auto stopped = graphics::animate_rect(owner.drawing_port().context(), source, animation, check);
  owner.invalidate(animation.rect);
  IntPoint last = points.empty() ? animation.rect.top_left() : points.back();
  owner.invalidate(
      stopped ? stopped->image_rect
              : animation.rect.translated(last.x - animation.rect.left, last.y - animation.rect.top));
  if (!stopped) return kNil;
  LispStackMark mark;  // keeps the parts alive while the pair is made
  Value point = make_point(stopped->point.x, stopped->point.y);
  lisp_push(point);
  Value rect = make_rect(stopped->image_rect);
  lisp_push(rect);
  return cons(point, rect);
}

}  // namespace

void register_drawing_methods(Value klass) {
  register_method(klass, "move", m_move);
  register_method(klass, "move-to", m_move_to);
  register_method(klass, "line", m_line);
  register_method(klass, "line-to", m_line_to);
  register_method(klass, "draw-string", m_draw_string);
  register_method(klass, "frame-rect", m_frame_rect);
  register_method(klass, "frame-oval", m_frame_oval);
  register_method(klass, "frame-round-rect", m_frame_round_rect);
  register_method(klass, "frame-arc", m_frame_arc);
  register_method(klass, "paint-rect", m_paint_rect);
  register_method(klass, "paint-oval", m_paint_oval);
  register_method(klass, "paint-round-rect", m_paint_round_rect);
  register_method(klass, "paint-arc", m_paint_arc);
  register_method(klass, "erase-rect", m_erase_rect);
  register_method(klass, "erase-oval", m_erase_oval);
  register_method(klass, "invert-rect", m_invert_rect);
  register_method(klass, "invert-rect-hilite", m_invert_rect);
  register_method(klass, "invert-oval", m_invert_oval);
  register_method(klass, "fill-rect", m_fill_rect);
  register_method(klass, "color-rect", m_color_rect);
  register_method(klass, "frame-poly", m_frame_poly);
  register_method(klass, "paint-poly", m_paint_poly);
  register_method(klass, "set-fore-color", m_set_fore_color);
  register_method(klass, "set-back-color", m_set_back_color);
  register_method(klass, "get-fore-color", m_get_fore_color);
  register_method(klass, "get-back-color", m_get_back_color);
  register_method(klass, "pen-size", m_pen_size);
  register_method(klass, "pen-mode", m_pen_mode);
  register_method(klass, "with-pattern", m_with_pattern);
  register_method(klass, "with-drawing", m_with_drawing);
  register_method(klass, "with-system-drawing", m_with_system_drawing);
  register_method(klass, "draw-offscreen", m_draw_offscreen);
  register_method(klass, "animate-rect", m_animate_rect);
}

}  // namespace orvane
