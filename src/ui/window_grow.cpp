// Interactive sizing: `grow-setup`, `grow-action` and `grow-terminate` draw
// a dotted XOR outline from a start point to a moving corner over the page.
// The grow record is a pointer Value owning the state; terminating empties it.
#include <optional>

#include "core/memory.h"
#include "core/native_objects.h"
#include "graphics/geometry_values.h"
#include "objects/native_classes.h"
#include "ui/grow_tracker.h"
#include "ui/root_overlay.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

// The state of one sizing, in the window's coordinates; `to_root` brings
// them to the root window's, where the outline is drawn.
class GrowRecord : public NativeObject {
 public:
  GrowRecord(GrowTracker tracker, IntPoint to_root, std::optional<IntRect> bounds)
      : tracker_(tracker), to_root_(to_root), bounds_(bounds) {}

  void toggle_outline() {
    raster::DeviceContext dc = root_overlay_context();
    if (bounds_) dc.intersect_clip_rect(bounds_->translated(to_root_));
    draw_xor_outline(dc, tracker_.rect().translated(to_root_));
  }
  GrowTracker& tracker() { return tracker_; }

 private:
  GrowTracker tracker_;
  IntPoint to_root_;
  std::optional<IntRect> bounds_;  // where the outline may be drawn
};

GrowLimits limits_of(Value limits) {
  if (is_nil(limits)) return {};
  IntRect r = rect_of(limits);
  return {r.left, r.top, r.right, r.bottom};
}

GrowRecord& grow_record(Value record) { return native_as<GrowRecord>(record, PointerKind::pointer); }

Value m_grow_setup(Value start, Value corner, Value bounds, Value limits, Value axis) {
  WindowPeer& w = self_window();
  IntPoint from = point_of(start);
  IntPoint origin = to_root(w, {0, 0});
  std::optional<IntRect> clip;
  if (!is_nil(bounds)) clip = rect_of(bounds);
  int axis_number = is_nil(axis) ? 0 : integer_of(axis);
  GrowTracker tracker(from, point_of(corner), limits_of(limits), axis_number);
  auto record = std::make_unique<GrowRecord>(tracker, origin, clip);
  record->toggle_outline();
  return make_native_pointer(std::move(record), PointerKind::pointer);
}

Value m_grow_action(Value record, Value point) {
  GrowRecord& g = grow_record(record);
  IntPoint p = point_of(point);
  GrowTracker moved = g.tracker();
  if (!moved.follow(p)) return kNoValue;
  g.toggle_outline();
  g.tracker() = moved;
  g.toggle_outline();
  return kNoValue;
}

Value m_grow_terminate(Value record, Value point) {
  GrowRecord& g = grow_record(record);
  IntPoint p = point_of(point);
  g.toggle_outline();
  g.tracker().follow(p);
  IntRect final_rect = g.tracker().rect();
  release_record(record);
  return make_rect(final_rect);
}

}  // namespace

void register_grow_methods(Value klass) {
  register_method(klass, "grow-setup", m_grow_setup);
  register_method(klass, "grow-action", m_grow_action);
  register_method(klass, "grow-terminate", m_grow_terminate);
}

}  // namespace orvane::ui
