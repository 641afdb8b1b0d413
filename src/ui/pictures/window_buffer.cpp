#include "ui/pictures/window_buffer.h"

#include "core/errors.h"
#include "graphics/offscreen.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

WindowBuffer eight_bit_buffer(WindowPeer& w) {
  graphics::Offscreen* buffer = w.drawing_buffer();
  WindowPeer* owner = w.offscreen_owner();
  if (!buffer || !owner || buffer->surface().format() != raster::PixelFormat::indexed8)
    raise_error(2, w.lisp_object());
  raster::IntPoint at = owner == &w ? raster::IntPoint{} : map_point(w, *owner, {0, 0});
  at = at - buffer->frame().top_left();
  return {buffer->surface(), IndexedPixels(buffer->surface(), buffer->frame().height()), at};
}

}  // namespace orvane::ui
