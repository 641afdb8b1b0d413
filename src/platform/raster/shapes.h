// Scan conversion of the engine's shapes into spans of pixels. Every
// generator takes a limit rectangle: rows and pixels outside it are dropped,
// so a huge shape costs only what it covers of the limit.
#pragma once

#include <climits>
#include <span>
#include <vector>

#include "platform/raster/geometry.h"
#include "platform/raster/region.h"

namespace orvane::raster {

struct Span {
  int y = 0;
  int x0 = 0;  // first pixel
  int x1 = 0;  // one past the last pixel
};
using SpanList = std::vector<Span>;

inline constexpr IntRect kNoLimit{INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, INT_MAX / 4};

Region region_from_spans(const SpanList& spans);

// The ellipse inscribed in box: the pixels whose centres lie inside the
// ellipse through the centres of the box's outermost pixels, or within half
// a pixel of it along their row or column. It touches all four sides.
void ellipse_spans(const IntRect& box, SpanList& out, const IntRect& limit = kNoLimit);

// A rectangle whose corners are quarters of the corner.width x corner.height
// ellipse (clamped to the box); a corner of 0 gives the plain rectangle.
void round_rect_spans(const IntRect& box, IntSize corner, SpanList& out,
                      const IntRect& limit = kNoLimit);

// The pixels inside the closed polygon by the fill rule, pixel (x, y) being
// the point (x, y): a pixel on a left or top edge is inside, one on a right
// or bottom edge outside, so a rectangle's polygon covers the rectangle.
void polygon_spans(std::span<const IntPoint> points, FillMode mode, SpanList& out,
                   const IntRect& limit = kNoLimit);

// The pixels of the line from a to b: one per column (or per row when the
// line is steeper than 45 degrees), the one nearest to the ideal line, ties
// going to the larger coordinate, so a line and its reverse cover the same
// pixels. b itself is included only when include_last is true.
void line_pixels(IntPoint a, IntPoint b, bool include_last, std::vector<IntPoint>& out,
                 const IntRect& limit = kNoLimit);

// The pixels of a line drawn with a round pen of width w: those within w/2
// of the segment from a to b (the segment moved half a pixel up and left
// when w is even, so that a single point gives a w x w round nib).
void capsule_spans(IntPoint a, IntPoint b, int w, SpanList& out, const IntRect& limit = kNoLimit);

// The pixels of a region with a 4-neighbour outside it: a one-pixel,
// 8-connected outline of the shape.
Region boundary_of(const Region& shape);

// The angular range of an arc of the ellipse in box, counter-clockwise on
// screen from the radial through start to the radial through end, the
// centre being the centre of the box's middle pixel (a half-integer point
// when a size is even). Equal directions give the whole ellipse.
class ArcSector {
 public:
  ArcSector(const IntRect& box, IntPoint start, IntPoint end);
  bool contains_pixel(int x, int y) const;
  bool full() const { return full_; }

 private:
  long long centre_x2_;  // centre of the box, doubled
  long long centre_y2_;
  // The radial directions, doubled, with y pointing up.
  long long start_x_, start_y_, end_x_, end_y_;
  enum class Kind { full, at_most_half, half, more_than_half } kind_;
  bool full_;
};

// The pixel of the ellipse in box where the radial from its centre towards
// p meets the outline.
IntPoint ellipse_point_toward(const IntRect& box, IntPoint p);
// The pixel at the centre of the box (the upper-left of the central four
// when the sizes are even).
IntPoint box_centre(const IntRect& box);

}  // namespace orvane::raster
