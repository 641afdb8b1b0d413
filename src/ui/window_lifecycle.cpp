// Placeholder definitions, replaced by the window layer's lifecycle files.
#include "core/errors.h"
#include "ui/window_module.h"
#include "ui/window_peer.h"

namespace orvane::ui {

void WindowPeer::open(Value object) { InterfacePeer::open(object); }
void WindowPeer::close() {}
void WindowPeer::show() {}
void WindowPeer::hide() {}
void WindowPeer::enable() {}
void WindowPeer::disable() {}
bool WindowPeer::enabled() const { return true; }
Value WindowPeer::get_title() { return InterfacePeer::get_title(); }
void WindowPeer::set_title(Value t) { InterfacePeer::set_title(t); }
std::uint32_t WindowPeer::window_style() const { return 0; }
bool WindowPeer::appeal() { return true; }
void WindowPeer::destroy() {}
void WindowPeer::after_show() {}
void WindowPeer::after_hide() {}
void WindowPeer::activate() {}
void WindowPeer::deactivate() {}
void WindowPeer::mouse_down(int, int) {}
raster::IntPoint WindowPeer::get_position() const { return {}; }
void WindowPeer::set_position(Value) {}
void WindowPeer::set_size(Value) {}
void WindowPeer::set_font(Value) {}
void WindowPeer::set_view_rect(const raster::IntRect& r) { view_rect = r; }
void WindowPeer::set_virtual_rect(const raster::IntRect& r) { virtual_rect = r; }
Value WindowPeer::get_region() { return kNil; }
void WindowPeer::load_from_pathname(Value path) {
  if (path != kNil) raise_error(2, path);
}
void WindowPeer::show_native(bool) {}

void register_window_methods(Value) {}

}  // namespace orvane::ui
