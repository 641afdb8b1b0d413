// Region drags: `drag-setup`, `drag-action` and `drag-terminate` move a
// region's gray outline (or an image of its box) over the page after the
// pointer. The drag record is a pointer Value of the kind "drag-info"; it
// owns the region, which it deletes at the end.
#include <memory>
#include <optional>

#include "core/memory.h"
#include "core/native_objects.h"
#include "core/value_marker.h"
#include "graphics/geometry_values.h"
#include "graphics/moving_image.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/drag_geometry.h"
#include "ui/root_overlay.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

// Where a parked image waits, off every screen.
constexpr IntPoint kParked{-32768, -32768};

// Everything in the root window's coordinates.
class RegionDrag : public NativeObject {
 public:
  RegionDrag(Value region_value, raster::Region region, DragGeometry geometry,
             std::unique_ptr<graphics::MovingImage> image)
      : region_value_(region_value),
        region_(std::move(region)),
        box_(region_.bounds()),
        geometry_(geometry),
        image_(std::move(image)),
        shown_at_(geometry.start()) {}

  void mark_values(ValueMarker& m) override { m.mark(region_value_); }

  void begin() {
    if (!image_) toggle_outline(geometry_.start());
  }

  void follow(IntPoint p) {
    std::optional<IntPoint> next = geometry_.follow(p);
    if (next == shown_at_) return;
    if (image_) {
      raster::DeviceContext dc = root_overlay_context();
      image_->move_to(dc, next ? box_.top_left() + (*next - geometry_.start()) : kParked);
    } else {
      if (shown_at_) toggle_outline(*shown_at_);
      if (next) toggle_outline(*next);
    }
    shown_at_ = next;
  }

  // Takes the outline or image away; answers the offset moved, or nothing
  // when the pointer ends outside the slop rectangle.
  std::optional<IntPoint> finish(IntPoint p) {
    std::optional<IntPoint> end = geometry_.follow(p);
    if (image_) {
      raster::DeviceContext dc = root_overlay_context();
      image_->restore(dc);
      invalidate_root_rect(image_->place(), false);
      image_.reset();
      invalidate_root_rect(box_, true);
    } else if (shown_at_) {
      toggle_outline(*shown_at_);
    }
    shown_at_.reset();
    if (!end) return std::nullopt;
    return *end - geometry_.start();
  }

  Value region_value() const { return region_value_; }

 private:
  void toggle_outline(IntPoint at) {
    raster::Region moved = region_;
    IntPoint d = at - geometry_.start();
    moved.offset(d.x, d.y);
    raster::DeviceContext dc = root_overlay_context();
    draw_gray_border(dc, moved);
  }

  Value region_value_;
  raster::Region region_;
  IntRect box_;
  DragGeometry geometry_;
  std::unique_ptr<graphics::MovingImage> image_;
  std::optional<IntPoint> shown_at_;  // where the outline or image follows now; nothing: parked
};

RegionDrag& drag_record(Value record) { return native_as<RegionDrag>(record, PointerKind::drag_info); }

int integer_or_zero(Value v) { return is_nil(v) ? 0 : integer_of(v); }

// The image of the box: from the window object when one is given and can
// show one, else from the screen.
std::unique_ptr<graphics::MovingImage> drag_image(const IntRect& box, Value window, int mode) {
  raster::DeviceContext screen = root_overlay_context();
  WindowPeer* source = is_nil(window) ? nullptr : &window_peer(window);
  raster::DeviceContext* source_dc = source ? source->image_context() : nullptr;
  if (!source_dc) return std::make_unique<graphics::MovingImage>(screen, screen, box, mode);
  IntPoint at = window_desktop().map_point(layer().mdi_client, source->hwnd, box.top_left());
  graphics::Offscreen copy(graphics::OffscreenSpec::of(box));
  copy.context().bit_blit(box, *source_dc, at, raster::RasterOp::src_copy);
  return std::make_unique<graphics::MovingImage>(screen, copy.context(), box, mode);
}

Value m_drag_setup(Value region, Value start, Value, Value image, Value limit, Value window, Value mode,
                   Value axis) {
  WindowPeer& w = self_window();
  raster::Region moved = region_of(region);
  IntPoint origin = to_root(w, {0, 0});
  moved.offset(origin.x, origin.y);
  IntPoint from = to_root(w, point_of(start));

  IntRect limits = w.virtual_rect.united(w.view_rect).translated(origin - w.scroll_offset);
  IntRect slop = limits;
  if (is_nil(limit)) slop = window_desktop().client_rect(layer().mdi_client);
  bool keep_inside = !(w.is_root() || w.is_page());
  DragGeometry geometry(limits, slop, moved.bounds(), from, keep_inside, integer_or_zero(axis));

  std::unique_ptr<graphics::MovingImage> moving;
  if (!is_nil(image)) moving = drag_image(moved.bounds(), window, integer_or_zero(mode));
  // The region now lies in the root's coordinates, for Lisp too.
  region_of(region) = moved;
  auto record = std::make_unique<RegionDrag>(region, std::move(moved), geometry, std::move(moving));
  record->begin();
  return make_native_pointer(std::move(record), PointerKind::drag_info);
}

Value m_drag_action(Value record, Value point) {
  WindowPeer& w = self_window();
  drag_record(record).follow(to_root(w, point_of(point)));
  return kNoValue;
}

Value m_drag_terminate(Value record, Value point) {
  WindowPeer& w = self_window();
  RegionDrag& drag = drag_record(record);
  std::optional<IntPoint> moved = drag.finish(to_root(w, point_of(point)));
  Value region = drag.region_value();
  // The region belongs to the drag: it goes with it (unless Lisp let it go first).
  if (g_native_objects.find(pointer_address(region))) release_record(region);
  release_record(record);
  return moved ? make_point(moved->x, moved->y) : kNil;
}

}  // namespace

void register_region_drag_methods(Value klass) {
  register_method(klass, "drag-setup", m_drag_setup);
  register_method(klass, "drag-action", m_drag_action);
  register_method(klass, "drag-terminate", m_drag_terminate);
}

}  // namespace orvane::ui
