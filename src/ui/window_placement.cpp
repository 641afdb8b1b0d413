#include "ui/window_placement.h"

#include "platform/desktop/desktop.h"

namespace orvane::ui {

raster::IntPoint client_origin_in_parent(desktop::Desktop& d, desktop::Hwnd h) {
  return d.map_point(h, d.parent(h), {0, 0});
}

void place_client_area(desktop::Desktop& d, desktop::Hwnd h, const raster::IntRect& client, bool repaint) {
  raster::IntRect outer = d.window_rect_in_parent(h);
  raster::IntPoint origin = client_origin_in_parent(d, h);
  raster::IntRect now = d.client_rect(h);
  int dx = client.left - origin.x, dy = client.top - origin.y;
  int dw = client.width() - now.width(), dh = client.height() - now.height();
  if (dx || dy || dw || dh)
    d.move_window(h, outer.left + dx, outer.top + dy, outer.width() + dw, outer.height() + dh, repaint);
}

}  // namespace orvane::ui
