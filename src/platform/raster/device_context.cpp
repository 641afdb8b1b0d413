// The device context's state, clipping, area fills and pixel access.
#include "platform/raster/device_context.h"

#include "platform/raster/paint.h"
#include "platform/raster/pixel_access.h"

namespace orvane::raster {

// --- Clipping --------------------------------------------------------------

void DeviceContext::intersect_clip_rect(const IntRect& logical) {
  Region r(logical.translated(state_.origin));
  if (state_.clip) state_.clip->intersect(r);
  else state_.clip = std::move(r);
}

void DeviceContext::exclude_clip_rect(const IntRect& logical) {
  Region r(logical.translated(state_.origin));
  if (!state_.clip) state_.clip = Region(surface_->bounds());
  state_.clip->subtract(r);
}

Region DeviceContext::drawable_region() const {
  Region r(surface_->bounds());
  if (state_.clip) r.intersect(*state_.clip);
  return r;
}

IntRect DeviceContext::clip_box() const {
  Region r = drawable_region();
  if (r.empty()) return {};
  return r.bounds().translated(-state_.origin.x, -state_.origin.y);
}

IntRect DeviceContext::scan_limit(int margin) const {
  IntRect box = surface_->bounds();
  if (state_.clip) box = box.intersected(state_.clip->bounds());
  return box.translated(-state_.origin.x, -state_.origin.y).inflated(margin, margin);
}

Region DeviceContext::to_device(Region logical) const {
  logical.offset(state_.origin.x, state_.origin.y);
  return logical;
}

// --- Painting ---------------------------------------------------------------

DeviceContext::Paint DeviceContext::resolve_solid(Color c) const {
  Paint p;
  p.foreground = surface_->value_of(c);
  return p;
}

DeviceContext::Paint DeviceContext::resolve(const Brush& brush) const {
  Paint p;
  switch (brush.style) {
    case BrushStyle::hollow:
      p.hollow = true;
      break;
    case BrushStyle::solid:
      p.foreground = surface_->value_of(brush.color);
      break;
    case BrushStyle::pattern:
      p.patterned = true;
      p.pattern = brush.pattern;
      p.origin = state_.brush_origin;
      p.foreground = surface_->value_of(brush.foreground.value_or(state_.text_color));
      p.background = surface_->value_of(brush.background.value_or(state_.background_color));
      break;
  }
  return p;
}

void DeviceContext::paint(Region coverage, const Paint& paint, RasterOp op) {
  if (paint.hollow) return;
  coverage.intersect(drawable_region());
  if (coverage.empty()) return;
  with_pixel_access(surface_->format(), [&](auto access) {
    coverage.for_each_rect([&](const IntRect& r) {
      for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = surface_->row(y);
        if (op == RasterOp::pat_copy && !paint.patterned) {
          for (int x = r.left; x < r.right; ++x) access.put(row, x, paint.foreground);
          continue;
        }
        for (int x = r.left; x < r.right; ++x)
          access.put(row, x, apply_raster_op(op, paint.at(x, y), 0, access.get(row, x)));
      }
    });
  });
}

// --- Areas ------------------------------------------------------------------

void DeviceContext::fill_rect(const IntRect& r, const Brush& brush) {
  paint(Region(r.translated(state_.origin)), resolve(brush), RasterOp::pat_copy);
}

void DeviceContext::frame_rect(const IntRect& r, const Brush& brush) {
  if (r.empty()) return;
  Region band(r);
  band.subtract(Region(r.inflated(-1, -1)));
  paint(to_device(std::move(band)), resolve(brush), RasterOp::pat_copy);
}

void DeviceContext::invert_rect(const IntRect& r) {
  paint(Region(r.translated(state_.origin)), resolve_solid(colors::black), RasterOp::dst_invert);
}

void DeviceContext::pattern_blit(const IntRect& r, RasterOp op) {
  Paint p = resolve(state_.brush);
  if (p.hollow && uses_pattern(op)) return;
  p.hollow = false;
  paint(Region(r.translated(state_.origin)), p, op);
}

void DeviceContext::fill_region(const Region& logical, const Brush& brush) {
  paint(to_device(logical), resolve(brush), RasterOp::pat_copy);
}

void DeviceContext::paint_region(const Region& logical) {
  paint(to_device(logical), resolve(state_.brush), raster_op_of(state_.mix));
}

void DeviceContext::invert_region(const Region& logical) {
  paint(to_device(logical), resolve_solid(colors::black), RasterOp::dst_invert);
}

// --- Pixels -----------------------------------------------------------------

std::optional<Color> DeviceContext::get_pixel(IntPoint p) const {
  IntPoint d = p + state_.origin;
  if (!surface_->bounds().contains(d)) return std::nullopt;
  if (state_.clip && !state_.clip->contains(d)) return std::nullopt;
  return surface_->color_at(d.x, d.y);
}

void DeviceContext::set_pixel(IntPoint p, Color c) {
  IntPoint d = p + state_.origin;
  paint(Region(IntRect{d.x, d.y, d.x + 1, d.y + 1}), resolve_solid(c), RasterOp::pat_copy);
}

}  // namespace orvane::raster
