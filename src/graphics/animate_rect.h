// Moving an image of a rectangle along a path of points, restoring what it
// uncovers (the `animate-rect` method).
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "platform/raster/device_context.h"

namespace orvane::graphics {

struct Animation {
  raster::IntRect rect;                    // the image's starting place, in dst's coordinates
  std::span<const raster::IntPoint> path;  // top-left corners of the image
  int step = 1;                            // most pixels per move (0 counts as 1)
  int ticks = 0;                           // sixtieths of a second between moves
  int mode = 0;                            // transfer mode of the image (36: through a mask)
};

struct AnimationStop {
  raster::IntPoint point;
  raster::IntRect image_rect;
};

// Asked while waiting for the next move, with the image's current place:
// a press that stops the animation, or nothing.
using StopCheck = std::function<std::optional<raster::IntPoint>(const raster::IntRect& image_rect)>;

// Runs the animation on dst with the image taken from `source` (dst itself
// when null). Answers where it was stopped, or nothing when the path was run
// to its end. Error 9 when the images cannot be had.
std::optional<AnimationStop> animate_rect(raster::DeviceContext& dst, const raster::DeviceContext* source,
                                          const Animation& animation, const StopCheck& stop);

}  // namespace orvane::graphics
