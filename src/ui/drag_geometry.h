// Where a region drag goes: the pointer is clamped into a limit rectangle
// (shrunk so that the dragged region stays inside it, when asked), held on
// one axis when asked, and parked while it is outside the slop rectangle.
#pragma once

#include <optional>

#include "platform/raster/geometry.h"

namespace orvane::ui {

class DragGeometry {
 public:
  // `box` is the region's bounding box and `start` the point it is held by;
  // axis 1 keeps the start's y, 2 the start's x.
  DragGeometry(const raster::IntRect& limit, const raster::IntRect& slop, const raster::IntRect& box,
               raster::IntPoint start, bool keep_region_inside, int axis);

  // The point the region follows for pointer p, or nothing (parked) when p
  // lies outside the slop rectangle.
  std::optional<raster::IntPoint> follow(raster::IntPoint p) const;
  raster::IntPoint start() const { return start_; }

 private:
  // Inclusive ranges of the pointer.
  int min_x_, max_x_, min_y_, max_y_;
  raster::IntRect slop_;
  raster::IntPoint start_;
  int axis_;
};

}  // namespace orvane::ui
