#include "ui/grow_tracker.h"

#include <algorithm>
#include <cstdlib>

namespace orvane::ui {

namespace {

// The distance from `from` to `to` with its length clamped into [low, high],
// keeping its direction (a zero distance goes forward). Limits the wrong way
// round give the lower one.
int clamped_end(int from, int to, int low, int high) {
  int length = std::max(low, std::min(std::abs(to - from), high));
  return to < from ? from - length : from + length;
}

}  // namespace

bool GrowTracker::follow(raster::IntPoint p) {
  raster::IntPoint next = corner_;
  if (axis_ != 2) next.x = clamped_end(start_.x, p.x, limits_.min_width, limits_.max_width);
  if (axis_ != 1) next.y = clamped_end(start_.y, p.y, limits_.min_height, limits_.max_height);
  if (next == corner_) return false;
  corner_ = next;
  return true;
}

raster::IntRect GrowTracker::rect() const {
  return raster::IntRect{start_.x, start_.y, corner_.x, corner_.y}.normalized();
}

}  // namespace orvane::ui
