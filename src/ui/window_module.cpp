#include "ui/window_module.h"

#include "core/symbols.h"
#include "objects/native_classes.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {
Value g_window_class = kNil;  // set once at registration
}

Value make_window_peer() { return make_peer<WindowPeer>(); }

Value window_class() { return g_window_class; }

void register_windows() {
  Value interface_class = symbol_global(intern("obj-interface"));
  g_window_class = make_native_class("obj-window", make_window_peer, interface_class);
  register_window_methods(g_window_class);
  register_window_geometry_methods(g_window_class);
  register_window_paint_methods(g_window_class);
}

}  // namespace orvane::ui
