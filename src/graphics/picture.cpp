// Picture kinds, frames, and the playback entry point (packed bitmaps here,
// PICT through the walk of picture_player.cpp).
#include "graphics/picture.h"

#include <algorithm>

#include "graphics/picture_player.h"
#include "platform/byte_reader.h"
#include "platform/raster/dib.h"

namespace orvane::graphics {

namespace {

// A packed bitmap starts with a device-independent bitmap header (little-endian).
bool is_packed_bitmap(std::span<const std::uint8_t> d) {
  ByteReader in(d);
  std::uint32_t header_size = in.u32le();
  in.skip(8);
  std::uint16_t planes = in.u16le(), bits = in.u16le();
  return in.ok() && header_size == raster::kDibHeaderSize && planes == 1 && bits <= 32;
}

}  // namespace

std::string_view describe(PlaybackEnd end) {
  switch (end) {
    case PlaybackEnd::finished: return "finished";
    case PlaybackEnd::stopped: return "stopped at an opcode outside the table";
    case PlaybackEnd::truncated: return "picture data truncated or malformed";
    case PlaybackEnd::not_a_picture: return "not a picture";
    case PlaybackEnd::bitmap_failed: return "a bitmap could not be unpacked";
  }
  return "unknown";
}

PictureInfo inspect_picture(std::span<const std::uint8_t> data) {
  PictureInfo info;
  if (is_packed_bitmap(data)) {
    info.kind = PictureKind::packed_bitmap;
    ByteReader in(data, 4);
    std::int32_t width = in.s32le(), height = in.s32le();
    // The width and height of a bitmap always fit a frame; clamp the absurd.
    auto clamp = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, 0x7fff)); };
    info.frame = {0, 0, clamp(width), clamp(height < 0 ? -std::int64_t{height} : height)};
    return info;
  }
  if (data.size() >= 12 && data[10] == 0x11 && data[11] == 0x01) {
    info.kind = PictureKind::pict1;
  } else if (data.size() >= 14 && data[10] == 0x00 && data[11] == 0x11 && data[12] == 0x02 && data[13] == 0xff) {
    info.kind = PictureKind::pict2;
  } else {
    return info;
  }
  info.frame = detail::header_frame(data);
  // An extended version-2 header gives the frame as its source rectangle.
  if (info.kind == PictureKind::pict2 && data.size() >= 16 + 24 && data[14] == 0x0c && data[15] == 0x00 &&
      data[16] == 0xff && data[17] == 0xfe) {
    ByteReader in(data, 16 + 12);
    info.frame = detail::read_rect_at(in);
  }
  return info;
}

PlaybackResult play_picture(raster::DeviceContext& dc, std::span<const std::uint8_t> data,
                            const raster::IntRect& destination, const PlaybackOptions& options) {
  PictureInfo info = inspect_picture(data);
  PlaybackResult result;
  switch (info.kind) {
    case PictureKind::unknown:
      result.end = PlaybackEnd::not_a_picture;
      return result;
    case PictureKind::packed_bitmap: {
      auto dib = raster::PackedDib::parse(data);
      if (!dib) {
        result.end = PlaybackEnd::truncated;
        return result;
      }
      // Unscaled at the destination's corner when the sizes agree, stretched
      // colour on colour otherwise.
      raster::StretchMode saved = dc.stretch_mode();
      dc.set_stretch_mode(raster::StretchMode::color_on_color);
      dc.stretch_dib(destination, dib->view(), {0, 0, dib->width(), dib->height()}, raster::RasterOp::src_copy);
      dc.set_stretch_mode(saved);
      result.end = PlaybackEnd::finished;
      return result;
    }
    default:
      return detail::PictPlayer(dc, data, info, destination, options).run();
  }
}

}  // namespace orvane::graphics
