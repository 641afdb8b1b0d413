// The 8-bit offscreen buffer a window draws into, as the faces images and
// the mask methods work on it: its surface and the window's rectangles in
// the buffer's pixels.
#pragma once

#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"
#include "ui/pictures/indexed_pixels.h"

namespace orvane::ui {

class WindowPeer;

struct WindowBuffer {
  raster::Surface& surface;
  // Its pixels, the rows of its frame (the bitmap may hold a row more).
  IndexedPixels pixels;
  // Where the window's (0, 0) lies in the buffer.
  raster::IntPoint origin;
  raster::IntRect to_buffer(const raster::IntRect& r) const { return r.translated(origin); }
};

// The window's current buffer; error 2 with the window's object when it
// draws into none or into one that is not 8 bits deep.
WindowBuffer eight_bit_buffer(WindowPeer& w);

}  // namespace orvane::ui
