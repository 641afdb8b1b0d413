#include "ui/root_overlay.h"

#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"

namespace orvane::ui {

using raster::IntRect;
using raster::Region;

raster::DeviceContext root_overlay_context() {
  desktop::Desktop& d = window_desktop();
  const WindowLayer& l = layer();
  raster::IntPoint origin = d.client_to_screen(l.mdi_client, {0, 0});
  Region clip(IntRect::from_size(origin, d.client_rect(l.mdi_client).size()));
  clip.intersect(d.framebuffer().bounds());
  // The top-level windows above the frame cover it.
  desktop::Hwnd frame_top = d.top_level(l.mdi_client);
  for (desktop::Hwnd w : d.children(d.root())) {
    if (w == frame_top) break;
    if (d.is_visible(w)) clip.subtract(Region(d.window_rect(w)));
  }
  d.mark_dirty(clip.bounds());
  raster::DeviceContext dc(d.framebuffer());
  dc.set_origin(origin);
  dc.set_brush_origin(origin);
  dc.set_clip(std::move(clip));
  return dc;
}

void draw_xor_outline(raster::DeviceContext& dc, const IntRect& r) {
  raster::StateSaver saved(dc);
  dc.set_pen({raster::PenStyle::dot, 1, raster::colors::white});
  dc.set_brush(raster::Brush::hollow());
  dc.set_mix(raster::Mix::xor_pen);
  dc.set_background_mode(raster::BackgroundMode::transparent);
  dc.rectangle(r);
}

Region region_border(const Region& region, int w, int h) {
  Region inner = region;
  for (auto [dx, dy] : {std::pair{w, 0}, std::pair{-w, 0}, std::pair{0, h}, std::pair{0, -h}}) {
    Region moved = region;
    moved.offset(dx, dy);
    inner.intersect(moved);
  }
  return region.subtracted(inner);
}

void draw_gray_border(raster::DeviceContext& dc, const Region& region) {
  raster::StateSaver saved(dc);
  dc.set_brush(raster::Brush::with_pattern(raster::Pattern8::gray(), raster::colors::black, raster::colors::white));
  dc.set_mix(raster::Mix::not_xor_pen);
  dc.paint_region(region_border(region, 3, 3));
}

}  // namespace orvane::ui

namespace orvane::ui {

void invalidate_root_rect(const IntRect& r, bool erase) {
  desktop::Desktop& d = window_desktop();
  raster::IntPoint origin = d.client_to_screen(layer().mdi_client, {0, 0});
  IntRect screen = r.translated(origin);
  d.invalidate_rect(d.root(), &screen, erase);
}

}  // namespace orvane::ui
