// The geometry group of `obj-window`: hit testing, click zones, the rect
// getters, mouse capture and the native drag, interactive sizing and region
// drags.
#include "core/errors.h"
#include "core/memory.h"
#include "core/native_objects.h"
#include "graphics/geometry_values.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"
#include "ui/window_peer.h"

namespace orvane::ui {

WindowPeer& self_window() { return window_peer(self_object()); }

raster::IntPoint point_args(Value x, Value y) {
  if (is_pair(x) && is_nil(y)) return point_of(x);
  return {coordinate_of(x), coordinate_of(y)};
}

void release_record(Value record) {
  g_native_objects.release(pointer_address(record));
  node_of(record).w1 = 0;
}

raster::IntPoint to_root(const WindowPeer& w, raster::IntPoint p) {
  const WindowLayer& l = layer();
  if (!w.hwnd) raise_error(2, w.lisp_object());
  return window_desktop().map_point(w.hwnd, l.mdi_client, p);
}

void register_window_geometry_methods(Value klass) {
  register_hit_methods(klass);
  register_rect_methods(klass);
  register_capture_methods(klass);
  register_grow_methods(klass);
  register_region_drag_methods(klass);
}

}  // namespace orvane::ui
