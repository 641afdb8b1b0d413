// Points, rectangles, polygons and regions as Lisp Values.
//
// A point is a pair (y . x); a rectangle a list (left top right bottom); a
// polygon a list of points; a region a pointer Value of kind region owning
// a native region. Native code reads every coordinate as a signed 16-bit
// value. Anything else raises error 2 with the offending Value.
#pragma once

#include <vector>

#include "core/native_objects.h"
#include "core/value.h"
#include "platform/raster/geometry.h"
#include "platform/raster/region.h"

namespace orvane {

// An integer Value as a 16-bit coordinate.
int coordinate_of(Value v);
int coordinate_or_error(Value v, Value culprit);

raster::IntRect rect_of(Value r);
Value make_rect(const raster::IntRect& r);

bool is_point(Value p);
raster::IntPoint point_of(Value p);
Value make_point(int x, int y);

std::vector<raster::IntPoint> polygon_of(Value list);

class RegionObject : public NativeObject {
 public:
  explicit RegionObject(raster::Region r = {}) : region(std::move(r)) {}
  raster::Region region;
};

// The region of a live region Value (error 2 for a disposed or forged one).
raster::Region& region_of(Value v);
Value make_region(raster::Region r);

}  // namespace orvane
