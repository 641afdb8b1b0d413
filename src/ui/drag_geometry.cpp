#include "ui/drag_geometry.h"

#include <algorithm>

namespace orvane::ui {

DragGeometry::DragGeometry(const raster::IntRect& limit, const raster::IntRect& slop, const raster::IntRect& box,
                           raster::IntPoint start, bool keep_region_inside, int axis)
    : min_x_(limit.left),
      max_x_(limit.right - 1),
      min_y_(limit.top),
      max_y_(limit.bottom - 1),
      slop_(slop),
      start_(start),
      axis_(axis) {
  if (keep_region_inside && !box.empty()) {
    // The pointer stays as far from the limit's edges as the start point
    // lies from the box's edges.
    min_x_ += start.x - box.left;
    max_x_ -= box.right - 1 - start.x;
    min_y_ += start.y - box.top;
    max_y_ -= box.bottom - 1 - start.y;
  }
}

std::optional<raster::IntPoint> DragGeometry::follow(raster::IntPoint p) const {
  if (!slop_.contains(p)) return std::nullopt;
  // A limit narrower than the region pins the pointer to its low edge.
  raster::IntPoint q{std::max(min_x_, std::min(p.x, max_x_)), std::max(min_y_, std::min(p.y, max_y_))};
  if (axis_ == 1) q.y = start_.y;
  if (axis_ == 2) q.x = start_.x;
  return q;
}

}  // namespace orvane::ui
