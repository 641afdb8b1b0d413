#include "ui/controls/caption_peer.h"

#include "ui/controls/control_look.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_properties.h"

namespace orvane::ui {

using namespace controls;

void CaptionPeer::open(Value object) {
  WindowPeer::open(object);
  fast_update_ = property_flag(*this, "fast-update?");
}

raster::IntRect CaptionPeer::title_box() const {
  return {context_integer(*this, "margin", 0), context_integer(*this, "margin-top", 0), rect.right, rect.bottom};
}

void CaptionPeer::draw_title(raster::DeviceContext& dc) {
  if (!is_string(get_title())) return;
  const std::string title = title_string(*this);
  Value alignment = send_if_understood(*this, "get-alignment");
  const int justification = is_fixnum(alignment) ? alignment.fixnum() : 0;
  const bool single_line = is_true(value_in_object(lisp_object(), "single-line?"));
  draw_title_box(dc, *this, title, title_box(), justification, single_line, port.fore_color().to_color());
}

void CaptionPeer::paint() {
  if (!port.drawing()) return;
  draw_title(port.context());
}

void CaptionPeer::set_title(Value title) {
  const Value object = lisp_object();
  const Value old = get_title();
  InterfacePeer::set_title(title);
  send_to(*this, "title-update", {old});
  if (window_peer_or_null(object) != this) return;
  if (!fast_update_) {
    invalidate(title_box());
    return;
  }
  draw_now(*this, [&](graphics::DrawingPort& p, raster::DeviceContext& dc) {
    const graphics::Rgb16 fore = p.fore_color(), back = p.back_color();
    p.set_back_color(color);
    p.erase_rect(rect);
    p.set_fore_color(color_fore);
    draw_title(dc);
    p.set_fore_color(fore);
    p.set_back_color(back);
  });
}

}  // namespace orvane::ui
