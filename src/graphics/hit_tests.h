// Hit tests and distances on points, segments, polygons and ovals, as the
// click zones of windows and text objects use them. No Lisp types.
#pragma once

#include <span>

#include "platform/raster/geometry.h"

namespace orvane::graphics {

using raster::IntPoint;
using raster::IntRect;

// The distance from p to the infinite line through a and b, rounded to the
// nearest integer; 0 when a and b are the same point.
int distance_to_line(IntPoint a, IntPoint b, IntPoint p);

// True when p lies within tolerance of the segment from a to b: inside the
// segment's box widened by tolerance + 1, and near the line through it.
bool near_segment(IntPoint p, IntPoint a, IntPoint b, double tolerance);

// Even-odd rule with a horizontal ray towards increasing x; the polygon is
// taken as closed. An empty polygon contains nothing.
bool point_in_polygon(IntPoint p, std::span<const IntPoint> polygon);

// Inside or on the oval inscribed in r; an empty r holds nothing.
bool point_in_oval(IntPoint p, const IntRect& r);

// On the outline of the oval inscribed in r within tolerance, measured
// along the ray from the oval's centre through p.
bool point_on_oval(IntPoint p, const IntRect& r, double tolerance);

// True when p lies within tolerance of one of the polygon's segments (and
// of the closing segment when closed).
bool point_on_polygon(IntPoint p, std::span<const IntPoint> polygon, bool closed, double tolerance);

// The smallest and largest x where an edge of the closed polygon crosses
// the height y, each edge from its upper end (included) to its lower end
// (excluded), interpolated in integers. Uncrossed heights keep the starting
// values 32000 and 0; an empty polygon gives 0 and 0.
struct ScanExtent {
  int min_x = 0;
  int max_x = 0;
};
ScanExtent scan_extents(std::span<const IntPoint> polygon, int y);

}  // namespace orvane::graphics
