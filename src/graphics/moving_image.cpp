#include "graphics/moving_image.h"

namespace orvane::graphics {

using raster::IntPoint;
using raster::IntRect;
using raster::RasterOp;

MovingImage::MovingImage(const raster::DeviceContext& dst, const raster::DeviceContext& source, const IntRect& rect,
                         int mode)
    : rect_(rect), mode_(mode), image_(OffscreenSpec::of(rect)), under_(OffscreenSpec::of(rect)), place_(rect) {
  image_.context().bit_blit(rect, source, rect.top_left(), RasterOp::src_copy);
  if ((mode & 0x3f) == kTransparentMode) image_.make_mask();
  under_.context().bit_blit(rect, dst, rect.top_left(), RasterOp::src_copy);
}

void MovingImage::restore(raster::DeviceContext& dst) { transfer_image(dst, place_, under_.context(), rect_, 0, nullptr); }

void MovingImage::move_to(raster::DeviceContext& dst, IntPoint top_left) {
  IntRect next = rect_.translated(top_left.x - rect_.left, top_left.y - rect_.top);
  restore(dst);
  under_.context().bit_blit(rect_, dst, next.top_left(), RasterOp::src_copy);
  const raster::Surface* mask = image_.mask() ? &*image_.mask() : nullptr;
  transfer_image(dst, next, image_.context(), rect_, mode_, mask);
  place_ = next;
}

}  // namespace orvane::graphics
