#include "graphics/geometry_values.h"

#include "core/memory.h"
#include "eval/errors.h"

namespace orvane {

int coordinate_or_error(Value v, Value culprit) {
  if (!is_integer(v)) raise_error(2, culprit);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(integer_unchecked(v) & 0xffff));
}

int coordinate_of(Value v) { return coordinate_or_error(v, v); }

raster::IntRect rect_of(Value r) {
  int c[4];
  Value rest = r;
  for (int& v : c) {
    if (!is_pair(rest)) raise_error(2, r);
    v = coordinate_or_error(car(rest), r);
    rest = cdr(rest);
  }
  return {c[0], c[1], c[2], c[3]};
}

Value make_rect(const raster::IntRect& r) {
  return list_of({make_integer(r.left), make_integer(r.top), make_integer(r.right), make_integer(r.bottom)});
}

bool is_point(Value p) { return is_pair(p) && is_integer(car(p)) && is_integer(cdr(p)); }

raster::IntPoint point_of(Value p) {
  if (!is_point(p)) raise_error(2, p);
  return {coordinate_of(cdr(p)), coordinate_of(car(p))};
}

Value make_point(int x, int y) { return cons(make_integer(y), make_integer(x)); }

std::vector<raster::IntPoint> polygon_of(Value list) {
  if (!is_list(list)) raise_error(2, list);
  std::vector<raster::IntPoint> points;
  for (Value rest = list; is_pair(rest); rest = cdr(rest)) points.push_back(point_of(car(rest)));
  return points;
}

raster::Region& region_of(Value v) { return native_as<RegionObject>(v, PointerKind::region).region; }

Value make_region(raster::Region r) {
  return make_native_pointer(std::make_unique<RegionObject>(std::move(r)), PointerKind::region);
}

}  // namespace orvane
