#include "graphics/animate_rect.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/moving_image.h"
#include "platform/clock.h"

namespace orvane::graphics {

using raster::IntPoint;
using raster::IntRect;

std::optional<AnimationStop> animate_rect(raster::DeviceContext& dst, const raster::DeviceContext* source,
                                          const Animation& a, const StopCheck& stop) {
  const IntRect& r = a.rect;
  if (r.empty() || a.path.empty()) return std::nullopt;
  MovingImage image(dst, source ? *source : dst, r, a.mode);

  int step = a.step == 0 ? 1 : std::abs(a.step);
  std::uint64_t interval = static_cast<std::uint64_t>(std::max(a.ticks, 0)) * 50 / 3;
  platform::Clock& clock = platform::clock();
  std::uint64_t due = clock.milliseconds();

  for (std::size_t k = 0; k + 1 < a.path.size(); ++k) {
    IntPoint from = a.path[k], to = a.path[k + 1];
    int dx = to.x - from.x, dy = to.y - from.y;
    int n = (std::max(std::abs(dx), std::abs(dy)) + step - 1) / step;
    for (int i = 1; i <= n; ++i) {
      image.move_to(dst, {from.x + dx * i / n, from.y + dy * i / n});
      due += interval;
      if (stop) {
        if (auto press = stop(image.place())) return AnimationStop{*press, image.place()};
      }
      clock.wait_until(due);
    }
  }
  return std::nullopt;
}

}  // namespace orvane::graphics
