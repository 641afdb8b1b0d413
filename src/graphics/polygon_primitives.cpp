// Polygon and oval primitives: regions of polygons and the hit tests.
#include "core/memory.h"
#include "core/primitives.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"
#include "graphics/hit_tests.h"

namespace orvane {

namespace {

Value poly_to_rgn(Value polygon) {
  auto points = polygon_of(polygon);
  return make_region(raster::Region::polygon(points, raster::FillMode::alternate));
}

Value point_in_poly(Value p, Value polygon) {
  raster::IntPoint point = point_of(p);
  auto points = polygon_of(polygon);
  return geometry::truth(graphics::point_in_polygon(point, points));
}

Value point_in_oval(Value p, Value r) { return geometry::truth(graphics::point_in_oval(point_of(p), rect_of(r))); }

Value point_on_poly(Value p, Value polygon, Value closed, Value tolerance) {
  raster::IntPoint point = point_of(p);
  auto points = polygon_of(polygon);
  return geometry::truth(graphics::point_on_polygon(point, points, is_true(closed), double_of(tolerance)));
}

Value point_on_oval(Value p, Value r, Value tolerance) {
  return geometry::truth(graphics::point_on_oval(point_of(p), rect_of(r), double_of(tolerance)));
}

}  // namespace

void register_polygon_primitives() {
  defprim("poly->rgn", poly_to_rgn);
  defprim("point-in-poly?", point_in_poly);
  defprim("point-in-oval?", point_in_oval);
  defprim("point-on-poly?", point_on_poly);
  defprim("point-on-oval?", point_on_oval);
}

}  // namespace orvane
