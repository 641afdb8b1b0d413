#include "graphics/picture_mapping.h"

namespace orvane::graphics {

namespace {
int to_16_bits(long long v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xffff)); }
}  // namespace

PictureMapping::PictureMapping(const raster::IntRect& source, const raster::IntRect& destination)
    : source_(source), destination_(destination) {
  set_up();
}

void PictureMapping::set_source(const raster::IntRect& source) {
  source_ = source;
  set_up();
}

void PictureMapping::set_up() {
  // An axis of zero source size cannot be scaled (it would divide by zero):
  // it is drawn unscaled.
  scaled_x_ = source_.width() != destination_.width() && source_.width() != 0;
  scaled_y_ = source_.height() != destination_.height() && source_.height() != 0;
  shifted_ = source_.top_left() != destination_.top_left();
}

void PictureMapping::move_origin(int dh, int dv) {
  if (dh == 0 && dv == 0) return;
  source_ = source_.translated(dh, dv);
  shifted_ = true;
}

raster::IntPoint PictureMapping::map(int x, int y) const {
  long long dx = static_cast<long long>(x) - source_.left;
  long long dy = static_cast<long long>(y) - source_.top;
  if (scaled_x_) dx = dx * destination_.width() / source_.width();
  if (scaled_y_) dy = dy * destination_.height() / source_.height();
  return {to_16_bits(dx + destination_.left), to_16_bits(dy + destination_.top)};
}

raster::IntRect PictureMapping::map(const raster::IntRect& r) const {
  raster::IntPoint a = map(r.left, r.top), b = map(r.right, r.bottom);
  return {a.x, a.y, b.x, b.y};
}

int PictureMapping::scale_x(int dx) const {
  if (!scaled_x_) return dx;
  return to_16_bits(static_cast<long long>(dx) * destination_.width() / source_.width());
}

int PictureMapping::scale_y(int dy) const {
  if (!scaled_y_) return dy;
  return to_16_bits(static_cast<long long>(dy) * destination_.height() / source_.height());
}

}  // namespace orvane::graphics
