// CompressedQuickTime (0x8200) in complete playback: a QuickTime image
// placed by a matrix, with an optional mask region, its compressed data
// after an image description. JPEG images are decoded and drawn; other
// compressions are passed over and counted as not drawn.
#include <algorithm>
#include <array>
#include <cmath>

#include "graphics/picture_player.h"
#include "platform/raster/jpeg_decoder.h"
#include "platform/raster/pixel_view.h"

namespace orvane::graphics::detail {

namespace {

using raster::IntRect;

constexpr std::uint32_t kImageDescriptionSize = 86;
constexpr std::uint16_t kCompressedQuickTime = 0x8200;
constexpr std::int64_t kPixelsPerJpegByte = 8 * 64;

int to_coordinate(double v) { return static_cast<int>(std::clamp(std::round(v), -32768.0, 32767.0)); }

// The picture rectangle the matrix places `source` on: x' = a x + c y + tx,
// y' = b x + d y + ty, in 16.16 fixed point. Only scaling and translation
// are honoured (the pictures the tools meet are upright).
IntRect place(const std::array<std::int32_t, 9>& m, const IntRect& source) {
  const double a = m[0] / 65536.0, d = m[4] / 65536.0, tx = m[6] / 65536.0, ty = m[7] / 65536.0;
  IntRect r{to_coordinate(a * source.left + tx), to_coordinate(d * source.top + ty),
            to_coordinate(a * source.right + tx), to_coordinate(d * source.bottom + ty)};
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

}  // namespace

PictPlayer::Step PictPlayer::quicktime_op() {
  const std::uint32_t length = in_.u32be();
  std::span<const std::uint8_t> body = in_.bytes(length);
  if (in_.failed()) return Step::next;
  ByteReader q(body);
  q.skip(2);  // version
  std::array<std::int32_t, 9> matrix{};
  for (std::int32_t& v : matrix) v = q.s32be();
  const std::uint32_t matte_size = q.u32be();
  q.skip(8);  // matte rectangle
  q.skip(2);  // transfer mode: the image is copied
  const IntRect source = read_rect_at(q);
  q.skip(4);  // accuracy
  const std::uint32_t mask_size = q.u32be();
  q.skip(matte_size);
  std::optional<raster::Region> mask;
  if (mask_size > 0) {
    ByteReader mask_data(q.bytes(mask_size));
    mask = read_mapped_region(mask_data);
  }
  const std::size_t description = q.position();
  const std::uint32_t description_size = q.u32be();
  std::span<const std::uint8_t> compression = q.bytes(4);
  q.seek(description + 44);
  const std::uint32_t data_size = q.u32be();
  if (q.failed() || description_size < kImageDescriptionSize || !q.seek(description + description_size)) {
    note_undrawn(kCompressedQuickTime);
    return Step::next;
  }
  std::span<const std::uint8_t> data = q.bytes(std::min<std::size_t>(data_size ? data_size : q.remaining(), q.remaining()));
  const std::string_view kind(reinterpret_cast<const char*>(compression.data()), compression.size());
  if (kind != "jpeg") {
    note_undrawn(kCompressedQuickTime);
    return Step::next;
  }
  // Every 8 x 8 block of a JPEG takes at least a bit: an image larger than
  // its data could describe is refused before the library decodes it.
  raster::JpegLimits limits;
  limits.max_pixels = std::min<std::int64_t>(limits.max_pixels, kPixelsPerJpegByte * static_cast<std::int64_t>(data.size()));
  raster::JpegResult jpeg = raster::decode_jpeg(data, limits);
  if (!jpeg.image) {
    note_undrawn(kCompressedQuickTime);
    return Step::next;
  }
  if (jpeg.damaged) note_undrawn(kCompressedQuickTime);

  const IntRect image_bounds = jpeg.image->bounds();
  IntRect from = source.intersected(image_bounds);
  if (from.empty()) from = image_bounds;
  const IntRect target = mapping_.map(place(matrix, from));
  if (target.empty()) return Step::next;
  std::optional<ClipRestorer> restore_clip;
  if (mask) {
    restore_clip.emplace(dc_);
    intersect_clip(*mask);
  }
  const raster::StretchMode saved_stretch = dc_.stretch_mode();
  dc_.set_stretch_mode(raster::StretchMode::color_on_color);
  dc_.transfer(target, {raster::view_of(*jpeg.image), from, raster::SourceColors::table, raster::colors::white},
               {});
  dc_.set_stretch_mode(saved_stretch);
  return Step::next;
}

}  // namespace orvane::graphics::detail
