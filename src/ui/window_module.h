// The window objects' module: the native class `obj-window` under
// `obj-interface`, its peer's constructor and its methods, registered in
// groups by the files that implement them.
#pragma once

#include "core/value.h"

namespace orvane::ui {

// Creates `obj-window` and registers every group of its methods.
void register_windows();
// The class (nil before registration).
Value window_class();
// A new WindowPeer as a pointer Value ("cpp object"); error 9 when it
// cannot be allocated.
Value make_window_peer();

// The method groups.
// Opening, showing, hiding, destroying, properties, the tree and its lists,
// z-order, titles, modal windows.
void register_window_methods(Value klass);
// Hit testing, click zones, mouse capture and the native drag, interactive
// sizing, region drags.
void register_window_geometry_methods(Value klass);
// Invalidation, offscreen buffers, scrolling, painting, and the drawing and
// text methods of ports.
void register_window_paint_methods(Value klass);

}  // namespace orvane::ui
