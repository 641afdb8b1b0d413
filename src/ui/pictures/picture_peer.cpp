#include "ui/pictures/picture_peer.h"

#include "core/value_marker.h"
#include "graphics/drawing_values.h"
#include "graphics/offscreen.h"
#include "graphics/picture.h"
#include "graphics/picture_playback.h"
#include "ui/pictures/picture_source.h"
#include "ui/window_layer.h"

namespace orvane::ui {

using raster::IntRect;

void PicturePeer::mark_values(ValueMarker& m) {
  WindowPeer::mark_values(m);
  m.mark(cache_);
}

void PicturePeer::open(Value object) {
  WindowPeer::open(object);
  cache_ = kNil;
}

void PicturePeer::set_cache(Value offscreen) {
  if (offscreen != kNil) orvane::offscreen_of(offscreen);  // error 2 for anything else
  cache_ = offscreen;
}

void PicturePeer::paint() {
  if (!port.drawing()) return;
  raster::DeviceContext& dc = port.context();
  if (cache_ != kNil) {
    graphics::Offscreen& cache = orvane::offscreen_of(cache_);
    const raster::Surface* mask = cache.mask() ? &*cache.mask() : nullptr;
    graphics::transfer_image(dc, rect, cache.context(), cache.frame(), transfer_mode, mask);
    return;
  }
  draw_source(dc);
}

// The picture at natural size lies `frame-width` in from the top-left (the
// port's origin already follows the scroll offset), or fills the view rect.
void PicturePeer::draw_source(raster::DeviceContext& dc) {
  const Value object = lisp_object();
  auto context_value = [&](std::string_view name) { return value_in_object(object, name); };
  int margin = 0;
  if (context_value("frame-width") != kNoValue) {
    Value fw = send_to(*this, "frame-width");
    if (is_fixnum(fw)) margin = fw.fixnum();
  }
  const bool natural = is_true(context_value("auto-size?")) || !is_true(context_value("scale-to-fit?"));

  std::vector<std::uint8_t> data;
  if (Value content = context_value("content"); is_true(content)) {
    data = picture_bytes(content);
  } else if (Value record = context_value("picture-record"); is_true(record)) {
    data = picture_bytes(record);
  } else if (Value resource = context_value("picture-resource"); is_true(resource)) {
    data = picture_bytes(resource);
  } else if (Value path = context_value("real-pathname"); is_true(path)) {
    data = picture_file_bytes(path);
  } else {
    if (flags.opaque && !flags.erase) dc.fill_rect(view_rect, raster::Brush::solid(color.to_color()));
    return;
  }
  IntRect destination = view_rect;
  if (natural) {
    const IntRect frame = graphics::inspect_picture(data).frame;
    destination = frame.translated(margin - frame.left, margin - frame.top);
  }
  draw_picture(dc, data, destination);
}

}  // namespace orvane::ui
