// The arithmetic of interactive sizing (`grow-setup`, `grow-action`,
// `grow-terminate`): a rectangle from a fixed start point to a moving
// corner whose width and height stay within limits, in either direction
// from the start.
#pragma once

#include "platform/raster/geometry.h"

namespace orvane::ui {

struct GrowLimits {
  int min_width = 0;
  int min_height = 0;
  int max_width = 32767;
  int max_height = 32767;
};

// Axis 1 keeps the height, 2 keeps the width; anything else frees both.
class GrowTracker {
 public:
  GrowTracker(raster::IntPoint start, raster::IntPoint corner, GrowLimits limits, int axis)
      : start_(start), corner_(corner), limits_(limits), axis_(axis) {}

  // Moves the corner after p, its distances from the start clamped into the
  // limits (and one kept by the axis); answers whether it moved.
  bool follow(raster::IntPoint p);
  raster::IntPoint corner() const { return corner_; }
  // The rectangle between the start and the corner.
  raster::IntRect rect() const;

 private:
  raster::IntPoint start_;
  raster::IntPoint corner_;
  GrowLimits limits_;
  int axis_;
};

}  // namespace orvane::ui
