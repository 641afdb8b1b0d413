#include "graphics/hit_tests.h"

#include <algorithm>
#include <cmath>

namespace orvane::graphics {

namespace {
double signed_distance(IntPoint a, IntPoint b, IntPoint p) {
  double ax = a.x, ay = a.y, bx = b.x, by = b.y, e = p.x, f = p.y;
  double length = std::sqrt((bx - ax) * (bx - ax) + (ay - by) * (ay - by));
  return ((bx - ax) * f + (ay - by) * e + (ax * by - ay * bx)) / length;
}
}  // namespace

int distance_to_line(IntPoint a, IntPoint b, IntPoint p) {
  if (a == b) return 0;
  return static_cast<int>(std::fabs(std::floor(signed_distance(a, b, p) + 0.5)));
}

bool near_segment(IntPoint p, IntPoint a, IntPoint b, double tolerance) {
  double h = tolerance;
  if (!(std::min(a.x, b.x) - h - 1 < p.x && p.x < std::max(a.x, b.x) + h + 1)) return false;
  if (!(std::min(a.y, b.y) - h - 1 < p.y && p.y < std::max(a.y, b.y) + h + 1)) return false;
  return distance_to_line(a, b, p) <= h;
}

bool point_in_polygon(IntPoint p, std::span<const IntPoint> polygon) {
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    IntPoint a = polygon[i], b = polygon[j];
    // Each edge counts once for the ray's height: its lower end is part of it
    // and its upper end is not, so a vertex on the ray is counted once and a
    // horizontal edge never.
    if ((a.y > p.y) == (b.y > p.y)) continue;
    double cross_x = a.x + static_cast<double>(p.y - a.y) * (b.x - a.x) / (b.y - a.y);
    if (p.x < cross_x) inside = !inside;
  }
  return inside;
}

bool point_in_oval(IntPoint p, const IntRect& r) {
  if (r.width() == 0 || r.height() == 0) return false;
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  double u = 2.0 * (p.x - cx) / r.width(), v = 2.0 * (p.y - cy) / r.height();
  return u * u + v * v <= 1;
}

bool point_on_oval(IntPoint p, const IntRect& r, double tolerance) {
  double a = std::fabs(r.width()) / 2.0, b = std::fabs(r.height()) / 2.0;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double dx = p.x - cx, dy = p.y - cy;
  if (a == 0 || b == 0) {
    // A flat oval is the segment across its longer side.
    int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    IntPoint from = a == 0 ? IntPoint{mx, r.top} : IntPoint{r.left, my};
    IntPoint to = a == 0 ? IntPoint{mx, r.bottom} : IntPoint{r.right, my};
    return near_segment(p, from, to, tolerance);
  }
  double d = std::sqrt(dx * dx + dy * dy);
  if (d == 0) return std::min(a, b) <= tolerance;
  // The outline point on the ray from the centre through p.
  double k = 1 / std::sqrt((dx / a) * (dx / a) + (dy / b) * (dy / b));
  return std::fabs(1 - k) * d <= tolerance;
}

bool point_on_polygon(IntPoint p, std::span<const IntPoint> polygon, bool closed, double tolerance) {
  const std::size_t n = polygon.size();
  if (n == 0) return false;
  if (n == 1) return near_segment(p, polygon[0], polygon[0], tolerance);
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (near_segment(p, polygon[i], polygon[i + 1], tolerance)) return true;
  return closed && near_segment(p, polygon[n - 1], polygon[0], tolerance);
}

ScanExtent scan_extents(std::span<const IntPoint> polygon, int y) {
  if (polygon.empty()) return {};
  ScanExtent e{32000, 0};
  const std::size_t n = polygon.size();
  for (std::size_t i = 0; i < n; ++i) {
    IntPoint a = polygon[i], b = polygon[(i + 1) % n];
    if (a.y > b.y) std::swap(a, b);
    if (y < a.y || y >= b.y) continue;
    int x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
    e.min_x = std::min(e.min_x, x);
    e.max_x = std::max(e.max_x, x);
  }
  return e;
}

}  // namespace orvane::graphics
