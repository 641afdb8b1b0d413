// Point primitives, distances and the near-segment test.
#include <cmath>

#include "core/memory.h"
#include "core/primitives.h"
#include "eval/errors.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"
#include "graphics/hit_tests.h"

namespace orvane {

namespace {

using raster::IntPoint;

Value integer_argument(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  return v;
}

Value make_point_prim(Value x, Value y) { return cons(integer_argument(y), integer_argument(x)); }

Value copy_point(Value p) {
  if (!is_point(p)) raise_error(2, p);
  return cons(car(p), cdr(p));
}

Value point_x(Value p, Value x) {
  if (!is_point(p)) raise_error(2, p);
  if (!is_nil(x)) set_cdr(p, integer_argument(x));
  return make_integer(point_of(p).x);
}

Value point_y(Value p, Value y) {
  if (!is_point(p)) raise_error(2, p);
  if (!is_nil(y)) set_car(p, integer_argument(y));
  return make_integer(point_of(p).y);
}

Value add_point(Value p, Value q) {
  IntPoint a = point_of(p), b = point_of(q);
  return make_point(a.x + b.x, a.y + b.y);
}

Value subtract_point(Value p, Value q) {
  IntPoint a = point_of(p), b = point_of(q);
  return make_point(a.x - b.x, a.y - b.y);
}

Value offset_point(Value p, Value dx, Value dy) {
  IntPoint a = point_of(p);
  return make_point(a.x + coordinate_of(dx), a.y + coordinate_of(dy));
}

Value in_edge(Value p, Value a, Value b, Value tolerance) {
  return geometry::truth(graphics::near_segment(point_of(p), point_of(a), point_of(b), double_of(tolerance)));
}

// a b x y, or a b p nil.
Value distance_line_point(Value a, Value b, Value c, Value d) {
  IntPoint p = is_nil(d) ? point_of(c) : IntPoint{coordinate_of(c), coordinate_of(d)};
  return make_integer(graphics::distance_to_line(point_of(a), point_of(b), p));
}

// p q [integer?], or x y q [integer?].
Value distance_point(Value a, Value b, Value c, Value d) {
  bool numbers = is_number(a);
  IntPoint p = numbers ? IntPoint{coordinate_of(a), coordinate_of(b)} : point_of(a);
  IntPoint q = point_of(numbers ? c : b);
  bool as_integer = is_true(numbers ? d : c);
  double dx = p.x - q.x, dy = p.y - q.y;
  double distance = std::sqrt(dx * dx + dy * dy);
  if (as_integer) return make_integer(static_cast<std::int64_t>(std::floor(distance + 0.5)));
  return make_real(distance);
}

}  // namespace

void register_point_primitives() {
  defprim("make-point", make_point_prim);
  defprim("copy-point", copy_point);
  defprim("point-x", point_x);
  defprim("point-y", point_y);
  defprim("add-point", add_point);
  defprim("subtract-point", subtract_point);
  defprim("offset-point", offset_point);
  defprim("in-edge?", in_edge);
  defprim("distance-line-point", distance_line_point);
  defprim("distance-point", distance_point);
}

}  // namespace orvane
