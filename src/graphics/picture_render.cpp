#include "graphics/picture_render.h"

#include <string>

#include "platform/raster/device_context.h"

namespace orvane::graphics {

std::span<const std::uint8_t> picture_data_of(std::span<const std::uint8_t> file_bytes) {
  if (inspect_picture(file_bytes).kind != PictureKind::unknown) return file_bytes;
  if (file_bytes.size() > kPictFileHeaderSize) {
    auto after_header = file_bytes.subspan(kPictFileHeaderSize);
    if (inspect_picture(after_header).kind != PictureKind::unknown) return after_header;
  }
  return file_bytes;
}

bool frame_size_acceptable(raster::IntSize size, std::size_t data_size) {
  constexpr std::int64_t kAlways = std::int64_t{1} << 24;
  constexpr std::int64_t kNever = std::int64_t{1} << 27;
  if (size.width <= 0 || size.height <= 0) return false;
  std::int64_t pixels = std::int64_t{size.width} * size.height;
  if (pixels <= kAlways) return true;
  return pixels <= kNever && pixels <= 512 * static_cast<std::int64_t>(data_size);
}

RenderedPicture render_picture(std::span<const std::uint8_t> data, std::optional<raster::IntSize> size,
                               raster::Color background, const PlaybackOptions& options) {
  RenderedPicture out;
  PictureInfo info = inspect_picture(data);
  if (info.kind == PictureKind::unknown) {
    out.error = "not a picture";
    out.playback.end = PlaybackEnd::not_a_picture;
    return out;
  }
  raster::IntSize target = size.value_or(info.frame.size());
  if (target.width <= 0 || target.height <= 0) {
    out.error = "empty picture frame (" + std::to_string(target.width) + " x " + std::to_string(target.height) + ")";
    return out;
  }
  if (!frame_size_acceptable(target, data.size())) {
    out.error = "picture frame too large for its data (" + std::to_string(target.width) + " x " +
                std::to_string(target.height) + ")";
    return out;
  }
  out.surface = raster::Surface::try_create(target.width, target.height, raster::PixelFormat::rgb32);
  if (!out.surface) {
    out.error = "not enough memory for a " + std::to_string(target.width) + " x " + std::to_string(target.height) +
                " picture";
    return out;
  }
  out.surface->fill(background.rgb());
  raster::DeviceContext dc(*out.surface);
  dc.set_background_color(background);
  dc.set_text_color(raster::colors::black);
  dc.set_background_mode(raster::BackgroundMode::transparent);
  out.playback = play_picture(dc, data, raster::IntRect::from_size({0, 0}, target), options);
  return out;
}

}  // namespace orvane::graphics
