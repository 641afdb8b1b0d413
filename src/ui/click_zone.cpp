#include "ui/click_zone.h"

#include "core/errors.h"
#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "graphics/hit_tests.h"

namespace orvane::ui {

using raster::IntPoint;
using raster::IntRect;

namespace {

bool is_rect_value(Value v) {
  Value rest = v;
  for (int i = 0; i < 4; ++i) {
    if (!is_pair(rest) || !is_integer(car(rest))) return false;
    rest = cdr(rest);
  }
  return is_nil(rest);
}

}  // namespace

ClickZone click_zone_of(Value zone) {
  ClickZone z;
  if (is_nil(zone)) return z;
  if (!is_pair(zone)) raise_error(2, zone);
  if (is_rect_value(zone)) {
    z.shape = ZoneShape::oval;
    z.oval = rect_of(zone);
    return z;
  }
  if (is_point(car(zone)) && is_point(cdr(zone))) {
    z.shape = ZoneShape::line;
    z.points = {point_of(car(zone)), point_of(cdr(zone))};
    return z;
  }
  z.shape = ZoneShape::polygon;
  z.points = polygon_of(zone);
  return z;
}

int zone_tolerance(Value thickness) {
  if (!is_fixnum(thickness)) return 5;
  int t = thickness.fixnum();
  return t == 1 ? 2 : t;
}

bool zone_hit(const ClickZone& zone, const IntRect& rect, IntPoint p, bool closed, int tolerance) {
  switch (zone.shape) {
    case ZoneShape::whole:
      return rect.contains(p);
    case ZoneShape::oval:
      return closed ? graphics::point_in_oval(p, zone.oval) : graphics::point_on_oval(p, zone.oval, tolerance);
    case ZoneShape::line:
      return graphics::near_segment(p, zone.points[0], zone.points[1], tolerance);
    case ZoneShape::polygon:
      return closed ? graphics::point_in_polygon(p, zone.points)
                    : graphics::point_on_polygon(p, zone.points, false, tolerance);
  }
  return false;
}

void draw_zone(graphics::DrawingPort& port, const ClickZone& zone, const IntRect& frame_rect, bool closed) {
  switch (zone.shape) {
    case ZoneShape::whole: {
      raster::DeviceContext& dc = port.context();
      raster::StateSaver saved(dc);
      dc.set_pen({raster::PenStyle::inside_frame, port.pen_width(), port.fore_color().to_color()});
      dc.set_brush(raster::Brush::hollow());
      dc.set_mix(raster::Mix::copy_pen);
      dc.rectangle(frame_rect);
      return;
    }
    case ZoneShape::oval:
      port.frame_oval(zone.oval);
      return;
    case ZoneShape::line:
      port.frame_poly(zone.points, false);
      return;
    case ZoneShape::polygon:
      port.frame_poly(zone.points, closed);
      return;
  }
}

}  // namespace orvane::ui
