// Click zones of window objects: the shape a window answers clicks in and
// outlines with `draw-frame`. The zone Value is nil (the whole rect), a
// rectangle (the oval inscribed in it), a pair of points (a line) or a list
// of points (a polygon).
#pragma once

#include <vector>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "platform/raster/geometry.h"

namespace orvane::ui {

enum class ZoneShape { whole, oval, line, polygon };

struct ClickZone {
  ZoneShape shape = ZoneShape::whole;
  raster::IntRect oval{};
  std::vector<raster::IntPoint> points;  // the line's two ends, or the polygon's points
};

// The zone a Value describes. A pair whose two halves are points is a line;
// a list of four numbers a rectangle; any other list a polygon. Error 2 with
// the Value for anything else.
ClickZone click_zone_of(Value zone);

// The tolerance of outline hits: `thickness` when it is a fixnum (1 is
// taken as 2), else 5.
int zone_tolerance(Value thickness);

// Whether a point of the window hits the zone. With no zone the point must
// lie in the window's rect; an oval or polygon zone is hit inside when the
// zone is closed, else near its outline (the polygon's closing segment
// excluded); a line is hit near the segment.
bool zone_hit(const ClickZone& zone, const raster::IntRect& rect, raster::IntPoint p, bool closed, int tolerance);

// Outlines the zone with the port's current pen: the frame rect (hollow
// brush, copy mode) for no zone, the oval, the line, or the polygon (closed
// when the zone is).
void draw_zone(graphics::DrawingPort& port, const ClickZone& zone, const raster::IntRect& frame_rect, bool closed);

}  // namespace orvane::ui
