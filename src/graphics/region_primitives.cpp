// Region primitives. Regions are made and disposed of explicitly; the
// operations write their result into an existing region and answer no-value.
#include "core/memory.h"
#include "core/native_objects.h"
#include "core/primitives.h"
#include "graphics/geometry_primitives.h"
#include "graphics/geometry_values.h"

namespace orvane {

namespace {

using raster::IntRect;
using raster::Region;

Value newrgn() { return make_region(Region()); }

Value disposergn(Value r) {
  region_of(r);  // error 2 unless live
  g_native_objects.release(pointer_address(r));
  node_of(r).w1 = 0;
  return kNoValue;
}

Value copyrgn(Value destination, Value source) {
  Region copy = region_of(source);
  region_of(destination) = std::move(copy);
  return kNoValue;
}

Value setemptyrgn(Value r) {
  region_of(r).clear();
  return kNoValue;
}

Value setrectrgn(Value r, Value left, Value top, Value right, Value bottom) {
  Region& region = region_of(r);
  region.set_rect({coordinate_of(left), coordinate_of(top), coordinate_of(right), coordinate_of(bottom)});
  return kNoValue;
}

// Both `rect-rgn` and `rect-region`: region, rectangle.
Value rect_rgn(Value r, Value rect) {
  IntRect box = rect_of(rect);
  region_of(r).set_rect(box);
  return kNoValue;
}

Value offsetrgn(Value r, Value dx, Value dy) {
  int x = coordinate_of(dx), y = coordinate_of(dy);
  region_of(r).offset(x, y);
  return kNoValue;
}

template <Region (Region::*op)(const Region&) const>
Value combine(Value a, Value b, Value destination) {
  Region result = (region_of(a).*op)(region_of(b));
  region_of(destination) = std::move(result);
  return kNoValue;
}

Value rect_in_rgn(Value rect, Value r) {
  IntRect box = rect_of(rect);
  return geometry::truth(region_of(r).intersects(box));
}

Value equalrgn(Value a, Value b) { return geometry::truth(region_of(a) == region_of(b)); }
Value emptyrgn(Value r) { return geometry::truth(region_of(r).empty()); }
Value create_oval_rgn(Value rect) { return make_region(Region::ellipse(rect_of(rect))); }
Value get_rgn_rect(Value r) { return make_rect(region_of(r).bounds()); }

Value ptinrgn(Value p, Value r) {
  raster::IntPoint point = point_of(p);
  return geometry::truth(region_of(r).contains(point));
}

}  // namespace

void register_region_primitives() {
  defprim("newrgn", newrgn);
  defprim("disposergn", disposergn);
  defprim("copyrgn", copyrgn);
  defprim("setemptyrgn", setemptyrgn);
  defprim("setrectrgn", setrectrgn);
  defprim("rect-rgn", rect_rgn);
  defprim("rect-region", rect_rgn);
  defprim("offsetrgn", offsetrgn);
  defprim("sectrgn", combine<&Region::intersected>);
  defprim("unionrgn", combine<&Region::united>);
  defprim("diffrgn", combine<&Region::subtracted>);
  defprim("xorrgn", combine<&Region::xored>);
  defprim("rect-in-rgn?", rect_in_rgn);
  defprim("equalrgn", equalrgn);
  defprim("emptyrgn", emptyrgn);
  defprim("create-oval-rgn", create_oval_rgn);
  defprim("get-rgn-rect", get_rgn_rect);
  defprim("ptinrgn", ptinrgn);
}

}  // namespace orvane
