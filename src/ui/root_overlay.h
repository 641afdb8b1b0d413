// Drawing over the page: a device context on the framebuffer in the root
// window's coordinates (the MDI client's client area) that draws over every
// window inside it, as the outlines of interactive sizing and region drags
// need. Windows above the frame (alerts) stay untouched.
#pragma once

#include "platform/raster/device_context.h"
#include "platform/raster/region.h"

namespace orvane::ui {

// A context over the root window; error 47 outside a play. What it draws is
// shown at the next present.
raster::DeviceContext root_overlay_context();

// A dotted rectangle outline in the XOR mix: drawn twice, it leaves no trace.
void draw_xor_outline(raster::DeviceContext& dc, const raster::IntRect& r);

// The border of a region, w pixels wide and h high inside its edges, in a
// gray pattern in the not-xor mix: drawn twice, it leaves no trace.
raster::Region region_border(const raster::Region& region, int w, int h);
void draw_gray_border(raster::DeviceContext& dc, const raster::Region& region);

}  // namespace orvane::ui

namespace orvane::ui {

// Invalidates a rectangle of the root window's coordinates on the screen,
// with every window it covers.
void invalidate_root_rect(const raster::IntRect& r, bool erase);

}  // namespace orvane::ui
