// Placeholder definitions, replaced by the window layer's mouse files.
#include "ui/window_module.h"
#include "ui/window_peer.h"

namespace orvane::ui {

void WindowPeer::capture_mouse() {}
void WindowPeer::release_mouse() {}
void WindowPeer::start_drag(int, int, bool) {}
void WindowPeer::release_drag() {}

void register_window_geometry_methods(Value) {}

}  // namespace orvane::ui
