// Rectangle primitives.
#include <algorithm>

#include "core/memory.h"
#include "core/primitives.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"

namespace orvane {

namespace {

using raster::IntPoint;
using raster::IntRect;

Value rect_position(Value r) {
  IntRect rect = rect_of(r);
  return make_point(rect.left, rect.top);
}

Value rect_size(Value r) {
  IntRect rect = rect_of(r);
  return make_point(rect.width(), rect.height());
}

Value rect_width(Value r) { return make_integer(rect_of(r).width()); }
Value rect_height(Value r) { return make_integer(rect_of(r).height()); }

Value rect_center(Value r) {
  IntRect rect = rect_of(r);
  return make_point((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

Value inflate_rect(Value r, Value dx, Value dy) {
  IntRect rect = rect_of(r);
  return make_rect(rect.inflated(coordinate_of(dx), coordinate_of(dy)));
}

// r dx dy, or r point nil.
Value offset_rect(Value r, Value a, Value b) {
  IntRect rect = rect_of(r);
  IntPoint d = is_nil(b) ? point_of(a) : IntPoint{coordinate_of(a), coordinate_of(b)};
  return make_rect(rect.translated(d));
}

// x y r, or point r.
Value point_in_rect(Value a, Value b, Value c) {
  bool numbers = is_number(a);
  IntPoint p = numbers ? IntPoint{coordinate_of(a), coordinate_of(b)} : point_of(a);
  return geometry::truth(rect_of(numbers ? c : b).contains(p));
}

Value point_to_rect(Value p) {
  IntPoint pt = point_of(p);
  return make_rect({0, 0, pt.x, pt.y});
}

Value points_to_rect(Value position, Value size) {
  IntPoint p = point_of(position), s = point_of(size);
  return make_rect({p.x, p.y, p.x + s.x, p.y + s.y});
}

Value enclosing_rect(Value list) {
  if (!is_list(list)) raise_error(2, list);
  IntRect all;
  for (Value rest = list; is_pair(rest); rest = cdr(rest)) all = all.united(rect_of(car(rest)));
  return make_rect(all.empty() ? IntRect{} : all);
}

Value rect_overlaps(Value a, Value b) {
  IntRect r1 = rect_of(a), r2 = rect_of(b);
  return geometry::truth(r2.left < r1.right && r1.left < r2.right && r2.top < r1.bottom && r1.top < r2.bottom);
}

Value empty_rect(Value r) { return geometry::truth(rect_of(r).empty()); }

// Right and bottom are reachable: the point is clamped to the closed range.
Value stick_in_rect(Value p, Value r) {
  IntPoint pt = point_of(p);
  IntRect rect = rect_of(r);
  int x = pt.x < rect.left ? rect.left : pt.x > rect.right ? rect.right : pt.x;
  int y = pt.y < rect.top ? rect.top : pt.y > rect.bottom ? rect.bottom : pt.y;
  return make_point(x, y);
}

}  // namespace

void register_rect_primitives() {
  defprim("rect-position", rect_position);
  defprim("rect-size", rect_size);
  defprim("rect-width", rect_width);
  defprim("rect-height", rect_height);
  defprim("rect-center", rect_center);
  defprim("inflate-rect", inflate_rect);
  defprim("offset-rect", offset_rect);
  defprim("point-in-rect?", point_in_rect);
  defprim("point->rect", point_to_rect);
  defprim("points->rect", points_to_rect);
  defprim("enclosing-rect", enclosing_rect);
  defprim("rect-overlaps?", rect_overlaps);
  defprim("empty-rect?", empty_rect);
  defprim("stick-in-rect", stick_in_rect);
}

}  // namespace orvane
