// Placing a window object's desktop window by its client area, which is the
// window's own rectangle whatever its frame and caption.
#pragma once

#include "platform/desktop/handle.h"
#include "platform/raster/geometry.h"

namespace orvane::desktop {
class Desktop;
}

namespace orvane::ui {

// The desktop window's client top-left in its desktop parent's client
// coordinates.
raster::IntPoint client_origin_in_parent(desktop::Desktop& d, desktop::Hwnd h);
// Moves and sizes the desktop window so that its client area becomes
// `client` (in the desktop parent's client coordinates).
void place_client_area(desktop::Desktop& d, desktop::Hwnd h, const raster::IntRect& client, bool repaint);

}  // namespace orvane::ui
