// Pictures from arbitrary bytes: inspected, played on small surfaces of
// every depth (at the picture's own frame when that is small, and scaled
// into a fixed rectangle), as titles play them and as the tools' complete
// playback does, and rendered as the tools render them when the frame is
// small. The player must neither read past the data nor write past a
// surface, whatever the bytes say.
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/picture.h"
#include "graphics/picture_render.h"
#include "platform/raster/device_context.h"

namespace {

using namespace orvane;

void play_on(raster::PixelFormat format, std::span<const std::uint8_t> data, const raster::IntRect& destination) {
  for (bool complete : {false, true}) {
    raster::Surface surface(48, 40, format);
    raster::DeviceContext dc(surface);
    dc.set_origin({3, -2});
    dc.intersect_clip_rect({-3, 2, 40, 36});
    graphics::play_picture(dc, data, destination, graphics::PlaybackOptions{complete});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::span<const std::uint8_t> data = graphics::picture_data_of({bytes, size});
  graphics::PictureInfo info = graphics::inspect_picture(data);
  if (info.kind == graphics::PictureKind::unknown) return 0;

  play_on(raster::PixelFormat::rgb32, data, {-5, 4, 45, 38});
  play_on(raster::PixelFormat::indexed8, data, {0, 0, 17, 9});
  play_on(raster::PixelFormat::mono1, data, {2, 2, 30, 30});
  const raster::IntRect& f = info.frame;
  if (f.width() > 0 && f.height() > 0 && f.width() <= 256 && f.height() <= 256) {
    play_on(raster::PixelFormat::rgb24, data, f);
    graphics::render_picture(data, std::nullopt);
    graphics::render_picture(data, std::nullopt, raster::colors::white, graphics::PlaybackOptions{true});
  }
  return 0;
}
