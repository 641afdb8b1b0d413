#include "graphics/picture_playback.h"

#include "eval/errors.h"
#include "graphics/geometry_values.h"

namespace orvane {

graphics::PlaybackResult draw_picture(raster::DeviceContext& dc, std::span<const std::uint8_t> data,
                                      const raster::IntRect& destination) {
  graphics::PlaybackResult result = graphics::play_picture(dc, data, destination);
  if (result.end == graphics::PlaybackEnd::bitmap_failed) raise_error(9, kNil);
  return result;
}

Value picture_frame(std::span<const std::uint8_t> data) {
  graphics::PictureInfo info = graphics::inspect_picture(data);
  return make_rect(info.kind == graphics::PictureKind::unknown ? raster::IntRect{} : info.frame);
}

}  // namespace orvane
