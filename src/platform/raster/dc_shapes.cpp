// Lines and closed shapes of the device context.
#include <cstdlib>

#include "platform/raster/device_context.h"
#include "platform/raster/paint.h"
#include "platform/raster/shapes.h"

namespace orvane::raster {

namespace {

// Shapes are scan-converted within the drawable box widened by this much:
// one pixel beyond the box keeps a one-pixel outline from showing false
// edges where the box cuts the shape. Wider bands and round lines are
// computed exactly row by row, so they need no more.
constexpr int kScanMargin = 2;

// The pixels a pen stroke covers: "on" in the pen colour, "off" the gaps of
// a dotted pen (painted in the background colour when the mode is opaque).
struct Stroke {
  std::vector<IntRect> on;
  std::vector<IntRect> off;
};

IntRect pixel_rect(IntPoint p) { return {p.x, p.y, p.x + 1, p.y + 1}; }

// Splits a region into the pixels where (x - anchor.x + y - anchor.y) is
// even and those where it is odd: the dots of a dotted outline.
void split_checkered(const Region& band, IntPoint anchor, Stroke& out) {
  band.for_each_rect([&](const IntRect& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        bool even = ((x - anchor.x + y - anchor.y) & 1) == 0;
        (even ? out.on : out.off).push_back(pixel_rect({x, y}));
      }
  });
}

// Keeps the pixels of a region that lie in the arc's sector.
Region within_sector(const Region& region, const ArcSector& sector) {
  if (sector.full()) return region;
  SpanList kept;
  region.for_each_rect([&](const IntRect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
      int run = r.left;
      for (int x = r.left; x <= r.right; ++x) {
        bool in = x < r.right && sector.contains_pixel(x, y);
        if (!in) {
          if (run < x) kept.push_back({y, run, x});
          run = x + 1;
        }
      }
    }
  });
  return region_from_spans(kept);
}

}  // namespace

// --- Strokes ------------------------------------------------------------------

namespace {

void add_line(Stroke& stroke, const Pen& pen, IntPoint from, IntPoint to, int& phase, bool include_last,
              const IntRect& limit) {
  std::vector<IntPoint> pixels;
  const int w = pen.thickness();
  const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  if (w == 1) {
    line_pixels(from, to, include_last, pixels, limit);
    for (IntPoint p : pixels) {
      int k = std::max(std::abs(p.x - from.x), std::abs(p.y - from.y));
      bool on = !pen.dotted() || ((phase + k) & 1) == 0;
      (on ? stroke.on : stroke.off).push_back(pixel_rect(p));
    }
    phase += steps;
    return;
  }
  // A wide pen is round: the line is the capsule of the pen's width around
  // the segment, both ends included.
  SpanList spans;
  capsule_spans(from, to, w, spans, limit);
  for (const Span& s : spans) stroke.on.push_back({s.x0, s.y, s.x1, s.y + 1});
}

}  // namespace

void DeviceContext::stroke_line(IntPoint from, IntPoint to, int& dot_phase) {
  Stroke stroke;
  add_line(stroke, state_.pen, from, to, dot_phase, false, scan_limit(kScanMargin));
  RasterOp op = raster_op_of(state_.mix);
  paint(to_device(Region::from_rects(stroke.on)), resolve_solid(state_.pen.color), op);
  if (!stroke.off.empty() && state_.background_mode == BackgroundMode::opaque)
    paint(to_device(Region::from_rects(stroke.off)), resolve_solid(state_.background_color), op);
}

void DeviceContext::line_to(IntPoint p) {
  IntPoint from = state_.position;
  state_.position = p;
  if (!state_.pen.visible()) return;
  int phase = 0;
  stroke_line(from, p, phase);
}

void DeviceContext::polyline(std::span<const IntPoint> points) {
  if (points.size() < 2 || !state_.pen.visible()) return;
  Stroke stroke;
  int phase = 0;
  IntRect limit = scan_limit(kScanMargin);
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    add_line(stroke, state_.pen, points[i], points[i + 1], phase, false, limit);
  RasterOp op = raster_op_of(state_.mix);
  paint(to_device(Region::from_rects(stroke.on)), resolve_solid(state_.pen.color), op);
  if (!stroke.off.empty() && state_.background_mode == BackgroundMode::opaque)
    paint(to_device(Region::from_rects(stroke.off)), resolve_solid(state_.background_color), op);
}

// --- Closed shapes ------------------------------------------------------------

void DeviceContext::draw_outlined(const Region& outline, const Region& interior) {
  RasterOp op = raster_op_of(state_.mix);
  if (!interior.empty()) paint(to_device(interior), resolve(state_.brush), op);
  if (outline.empty()) return;
  if (!state_.pen.dotted()) {
    paint(to_device(outline), resolve_solid(state_.pen.color), op);
    return;
  }
  Stroke dots;
  IntRect box = outline.bounds();
  split_checkered(outline, box.top_left(), dots);
  paint(to_device(Region::from_rects(dots.on)), resolve_solid(state_.pen.color), op);
  if (state_.background_mode == BackgroundMode::opaque)
    paint(to_device(Region::from_rects(dots.off)), resolve_solid(state_.background_color), op);
}

namespace {

// The pen's band and the interior of a closed shape in r. make(box, shrink,
// spans, limit) scan-converts the shape in box; shrink says how far box lies
// inside the outer edge of the band.
struct Outlined {
  Region outline;
  Region interior;
};

template <class Make>
Outlined outline_shape(const IntRect& r, const Pen& pen, const IntRect& limit, Make&& make) {
  auto shape = [&](const IntRect& box, int shrink) {
    SpanList spans;
    make(box, shrink, spans, limit);
    return region_from_spans(spans);
  };
  Outlined o;
  if (!pen.visible()) {
    // Without a pen the shape loses its right column and bottom row, as in GDI.
    o.interior = shape({r.left, r.top, r.right - 1, r.bottom - 1}, 0);
    return o;
  }
  const int w = pen.thickness();
  if (w == 1) {
    Region filled = shape(r, 0);
    o.outline = boundary_of(filled);
    o.interior = filled.subtracted(o.outline);
    return o;
  }
  IntRect outer = pen.style == PenStyle::inside_frame
                      ? r
                      : IntRect{r.left - w / 2, r.top - w / 2, r.right - 1 - w / 2 + w, r.bottom - 1 - w / 2 + w};
  Region filled = shape(outer, 0);
  IntRect inner_box = outer.inflated(-w, -w);
  o.interior = inner_box.empty() ? Region() : shape(inner_box, w);
  o.outline = filled.subtracted(o.interior);
  return o;
}

}  // namespace

void DeviceContext::rectangle(const IntRect& r) {
  auto make = [](const IntRect& box, int, SpanList& spans, const IntRect& limit) {
    round_rect_spans(box, {0, 0}, spans, limit);
  };
  Outlined o = outline_shape(r, state_.pen, scan_limit(kScanMargin), make);
  draw_outlined(o.outline, o.interior);
}

void DeviceContext::round_rect(const IntRect& r, IntSize corner) {
  auto make = [corner](const IntRect& box, int shrink, SpanList& spans, const IntRect& limit) {
    round_rect_spans(box, {corner.width - 2 * shrink, corner.height - 2 * shrink}, spans, limit);
  };
  Outlined o = outline_shape(r, state_.pen, scan_limit(kScanMargin), make);
  draw_outlined(o.outline, o.interior);
}

void DeviceContext::ellipse(const IntRect& r) {
  auto make = [](const IntRect& box, int, SpanList& spans, const IntRect& limit) {
    ellipse_spans(box, spans, limit);
  };
  Outlined o = outline_shape(r, state_.pen, scan_limit(kScanMargin), make);
  draw_outlined(o.outline, o.interior);
}

void DeviceContext::arc(const IntRect& r, IntPoint start, IntPoint end) {
  if (!state_.pen.visible() || r.empty()) return;
  auto make = [](const IntRect& box, int, SpanList& spans, const IntRect& limit) {
    ellipse_spans(box, spans, limit);
  };
  Outlined o = outline_shape(r, state_.pen, scan_limit(kScanMargin), make);
  draw_outlined(within_sector(o.outline, ArcSector(r, start, end)), Region());
}

void DeviceContext::pie(const IntRect& r, IntPoint start, IntPoint end) {
  if (r.empty()) return;
  auto make = [](const IntRect& box, int, SpanList& spans, const IntRect& limit) {
    ellipse_spans(box, spans, limit);
  };
  IntRect limit = scan_limit(kScanMargin);
  Outlined o = outline_shape(r, state_.pen, limit, make);
  ArcSector sector(r, start, end);
  Region outline = within_sector(o.outline, sector);
  Region interior = within_sector(o.interior, sector);
  if (state_.pen.visible()) {
    Stroke radii;
    int phase = 0;
    IntPoint centre = box_centre(r);
    add_line(radii, state_.pen, centre, ellipse_point_toward(r, start), phase, true, limit);
    phase = 0;
    add_line(radii, state_.pen, centre, ellipse_point_toward(r, end), phase, true, limit);
    radii.on.insert(radii.on.end(), radii.off.begin(), radii.off.end());
    Region lines = Region::from_rects(radii.on);
    outline.unite(lines);
    interior.subtract(lines);
  }
  draw_outlined(outline, interior);
}

void DeviceContext::polygon(std::span<const IntPoint> points) {
  if (points.empty()) return;
  IntRect limit = scan_limit(kScanMargin);
  SpanList spans;
  polygon_spans(points, state_.fill_mode, spans, limit);
  Region interior = region_from_spans(spans);
  RasterOp op = raster_op_of(state_.mix);
  if (!state_.pen.visible() || points.size() < 2) {
    paint(to_device(interior), resolve(state_.brush), op);
    return;
  }
  Stroke stroke;
  int phase = 0;
  for (std::size_t i = 0; i < points.size(); ++i)
    add_line(stroke, state_.pen, points[i], points[(i + 1) % points.size()], phase, false, limit);
  Region on = Region::from_rects(stroke.on), off = Region::from_rects(stroke.off);
  interior.subtract(on);
  interior.subtract(off);
  paint(to_device(interior), resolve(state_.brush), op);
  paint(to_device(on), resolve_solid(state_.pen.color), op);
  if (!off.empty() && state_.background_mode == BackgroundMode::opaque)
    paint(to_device(off), resolve_solid(state_.background_color), op);
}

}  // namespace orvane::raster
