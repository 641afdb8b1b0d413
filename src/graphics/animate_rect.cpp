#include "graphics/animate_rect.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/offscreen.h"
#include "platform/clock.h"

namespace orvane::graphics {

using raster::IntPoint;
using raster::IntRect;

std::optional<AnimationStop> animate_rect(raster::DeviceContext& dst, const raster::DeviceContext* source,
                                          const Animation& a, const StopCheck& stop) {
  const IntRect& r = a.rect;
  if (r.empty() || a.path.empty()) return std::nullopt;
  Offscreen image(OffscreenSpec::of(r));
  image.context().bit_blit(r, source ? *source : dst, r.top_left(), raster::RasterOp::src_copy);
  bool masked = (a.mode & 0x3f) == kTransparentMode;
  if (masked) image.make_mask();
  const raster::Surface* mask = masked ? &*image.mask() : nullptr;

  // What lies under the image's current place.
  Offscreen under(OffscreenSpec::of(r));
  IntRect current = r;
  under.context().bit_blit(r, dst, r.top_left(), raster::RasterOp::src_copy);

  int step = a.step == 0 ? 1 : std::abs(a.step);
  std::uint64_t interval = static_cast<std::uint64_t>(std::max(a.ticks, 0)) * 50 / 3;
  platform::Clock& clock = platform::clock();
  std::uint64_t due = clock.milliseconds();

  auto move_to = [&](IntPoint p) {
    IntRect next = r.translated(p.x - r.left, p.y - r.top);
    transfer_image(dst, current, under.context(), r, 0, nullptr);
    under.context().bit_blit(r, dst, next.top_left(), raster::RasterOp::src_copy);
    transfer_image(dst, next, image.context(), r, a.mode, mask);
    current = next;
  };

  for (std::size_t k = 0; k + 1 < a.path.size(); ++k) {
    IntPoint from = a.path[k], to = a.path[k + 1];
    int dx = to.x - from.x, dy = to.y - from.y;
    int n = (std::max(std::abs(dx), std::abs(dy)) + step - 1) / step;
    for (int i = 1; i <= n; ++i) {
      move_to({from.x + dx * i / n, from.y + dy * i / n});
      due += interval;
      if (stop) {
        if (auto press = stop(current)) return AnimationStop{*press, current};
      }
      clock.wait_until(due);
    }
  }
  return std::nullopt;
}

}  // namespace orvane::graphics
