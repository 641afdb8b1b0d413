// An image of a rectangle moved over a device context, restoring what it
// uncovers from a saved copy of what lay under it: the image of
// `animate-rect` and of the region drag.
#pragma once

#include "graphics/offscreen.h"
#include "platform/raster/device_context.h"

namespace orvane::graphics {

class MovingImage {
 public:
  // The image of `rect` taken from `source`, standing at `rect` on `dst`:
  // what lies under it at first is what `dst` shows there (the image itself
  // when the source is `dst`). Mode 36 draws through a mask made from the
  // image. Error 9 when the buffers cannot be had.
  MovingImage(const raster::DeviceContext& dst, const raster::DeviceContext& source, const raster::IntRect& rect,
              int mode);

  // Puts back what the current place covered, saves what the new place
  // covers, and draws the image there.
  void move_to(raster::DeviceContext& dst, raster::IntPoint top_left);
  // Puts back what the current place covered.
  void restore(raster::DeviceContext& dst);
  const raster::IntRect& place() const { return place_; }

 private:
  raster::IntRect rect_;
  int mode_;
  Offscreen image_;
  Offscreen under_;
  raster::IntRect place_;
};

}  // namespace orvane::graphics
