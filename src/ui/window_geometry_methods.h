// The geometry methods of `obj-window`, registered in groups by the files
// that implement them, and what those files share.
#pragma once

#include "core/value.h"
#include "platform/raster/geometry.h"

namespace orvane::ui {

class WindowPeer;

void register_hit_methods(Value klass);
void register_rect_methods(Value klass);
void register_capture_methods(Value klass);
void register_grow_methods(Value klass);
void register_region_drag_methods(Value klass);

// The receiver's peer; error 2 with the receiver when it has none.
WindowPeer& self_window();
// x y as two numbers, or a point (and nil).
raster::IntPoint point_args(Value x, Value y);
// Frees the native record behind a pointer Value and empties the Value.
void release_record(Value record);
// A point of the window's coordinates in the root window's (the MDI client's).
raster::IntPoint to_root(const WindowPeer& w, raster::IntPoint p);

}  // namespace orvane::ui
