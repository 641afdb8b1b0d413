// Pictures drawn into windows: a picture handle played on the receiver's
// current drawing context, at its natural size scaled by a fraction or
// scaled into a rectangle.
#include "core/blocks.h"
#include "core/errors.h"
#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "graphics/picture.h"
#include "graphics/picture_playback.h"
#include "objects/native_classes.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

// A scale factor's part: nil means 1; 0 and negative parts are refused.
int scale_part(Value v) {
  if (is_nil(v)) return 1;
  const int n = integer_of(v);
  if (n <= 0) raise_error(2, v);
  return n;
}

void play_in_self(Value picture, const std::function<IntRect(const IntRect& frame)>& destination_of) {
  WindowPeer& w = window_peer(self_object());
  HandleLock lock(handle_of(picture));
  std::span<const std::uint8_t> data = lock.bytes();
  const graphics::PictureInfo info = graphics::inspect_picture(data);
  if (info.kind == graphics::PictureKind::unknown) return;
  const IntRect destination = destination_of(info.frame);
  draw_in_window(w, [&](raster::DeviceContext& dc) { draw_picture(dc, data, destination); });
}

// The picture at its natural size times num/den, its frame's top-left at p.
Value m_draw_picture(Value picture, Value point, Value num, Value den) {
  const IntPoint p = point_of(point);
  const int n = scale_part(num), d = scale_part(den);
  play_in_self(picture, [&](const IntRect& frame) {
    const auto scaled = [&](int size) { return static_cast<int>(static_cast<std::int64_t>(size) * n / d); };
    return IntRect{p.x, p.y, p.x + scaled(frame.width()), p.y + scaled(frame.height())};
  });
  return kNoValue;
}

Value m_draw_picture_in_rect(Value picture, Value r) {
  const IntRect destination = rect_of(r);
  play_in_self(picture, [&](const IntRect&) { return destination; });
  return kNoValue;
}

}  // namespace

void register_window_picture_methods(Value klass) {
  register_method(klass, "draw-picture", m_draw_picture);
  register_method(klass, "draw-picture-in-rect", m_draw_picture_in_rect);
}

}  // namespace orvane::ui
