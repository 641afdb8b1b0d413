// Placeholder definitions, replaced by the window layer's painting files.
#include "core/errors.h"
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"
#include "ui/window_peer.h"

namespace orvane::ui {

// Validates, so that a shown window's paint message does not come back
// for ever until painting exists.
void WindowPeer::paint_message() {
  if (layer().desktop && hwnd) layer().desktop->validate_rect(hwnd, nullptr);
}
void WindowPeer::scroll(int dx, int dy, bool update) { pixel_scroll(dx, dy, update); }
void WindowPeer::pixel_scroll(int, int, bool) {}
void WindowPeer::draw_push_button(const raster::IntRect&, Value, bool, bool) {}
void WindowPeer::paint_begin() {}
void WindowPeer::paint_end() {}
void WindowPeer::paint() {}
void WindowPeer::size_update(int, int) {}
raster::DeviceContext& WindowPeer::drawing_context(Value object, bool) { raise_error(47, object); }
raster::DeviceContext& WindowPeer::system_drawing_context(Value object) { raise_error(47, object); }
raster::DeviceContext* WindowPeer::image_context() { return nullptr; }
std::optional<raster::IntPoint> WindowPeer::take_stopping_press(const raster::IntRect&, Value) { return std::nullopt; }
void WindowPeer::invalidate(const raster::IntRect&) {}

void register_window_paint_methods(Value) {}

}  // namespace orvane::ui
