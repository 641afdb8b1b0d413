#include "platform/raster/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace orvane::raster {

namespace {

using i64 = long long;
using i128 = __int128;
using u128 = unsigned __int128;

// Divisions rounding down and up; 128-bit so that products of two
// coordinate differences never overflow.
i64 floor_div(i128 a, i128 b) {
  i128 q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<i64>(q);
}
i64 ceil_div(i128 a, i128 b) { return -floor_div(-a, b); }

void push_span(SpanList& out, int y, i64 x0, i64 x1, const IntRect& limit) {
  x0 = std::max<i64>(x0, limit.left);
  x1 = std::min<i64>(x1, limit.right);
  if (x0 < x1) out.push_back({y, static_cast<int>(x0), static_cast<int>(x1)});
}

// The largest m >= 0 with m^2 * b2^2 <= a2^2 * (b2^2 - k^2), |k| <= b2.
i64 scaled_root(i64 a2, i64 b2, i64 k) {
  u128 q = static_cast<u128>(a2 * a2) * static_cast<u128>(b2 * b2 - k * k);
  u128 bb = static_cast<u128>(b2 * b2);
  auto fits = [&](i64 m) { return static_cast<u128>(m) * static_cast<u128>(m) * bb <= q; };
  i64 m = static_cast<i64>(static_cast<double>(a2) *
                           std::sqrt(static_cast<double>(b2 * b2 - k * k)) / static_cast<double>(b2));
  m = std::max<i64>(m, 0);
  while (fits(m + 1)) ++m;
  while (m > 0 && !fits(m)) --m;
  return m;
}

// The largest value <= v with the parity of a2 (pixel centres, doubled).
i64 with_parity_of(i64 v, i64 a2) { return ((v - a2) % 2 != 0) ? v - 1 : v; }

// The half-width (doubled, |X| max) of the ellipse row Y (doubled, from the
// centre) in a box whose doubled semi-axes are a2 and b2: a pixel belongs
// when its centre lies within half a pixel of the curve along its row or
// along its column.
i64 ellipse_half_width(i64 a2, i64 b2, i64 y2) {
  if (b2 == 0 || a2 == 0 || y2 == 0) return a2;
  i64 along_row = with_parity_of(std::min(a2, scaled_root(a2, b2, y2) + 1), a2);
  i64 k = (y2 < 0 ? -y2 : y2) - 1;
  i64 along_column = with_parity_of(std::min(a2, scaled_root(a2, b2, k)), a2);
  return std::max(along_row, along_column);
}

}  // namespace

Region region_from_spans(const SpanList& spans) {
  std::vector<IntRect> rects;
  rects.reserve(spans.size());
  for (const Span& s : spans) rects.push_back({s.x0, s.y, s.x1, s.y + 1});
  return Region::from_rects(rects);
}

void ellipse_spans(const IntRect& box, SpanList& out, const IntRect& limit) {
  if (box.empty()) return;
  const i64 a2 = i64{box.right} - box.left - 1;
  const i64 b2 = i64{box.bottom} - box.top - 1;
  const i64 sum_x = i64{box.left} + box.right - 1;
  const i64 sum_y = i64{box.top} + box.bottom - 1;
  int y0 = std::max(box.top, limit.top), y1 = std::min(box.bottom, limit.bottom);
  for (int y = y0; y < y1; ++y) {
    i64 y2 = 2 * i64{y} - sum_y;
    i64 half = ellipse_half_width(a2, b2, y2);
    i64 x_hi = (half + sum_x) / 2;  // half + sum_x is even
    push_span(out, y, sum_x - x_hi, x_hi + 1, limit);
  }
}

void round_rect_spans(const IntRect& box, IntSize corner, SpanList& out, const IntRect& limit) {
  if (box.empty()) return;
  int cw = std::min(corner.width, box.width());
  int ch = std::min(corner.height, box.height());
  if (cw <= 0 || ch <= 0) {
    int y0 = std::max(box.top, limit.top), y1 = std::min(box.bottom, limit.bottom);
    for (int y = y0; y < y1; ++y) push_span(out, y, box.left, box.right, limit);
    return;
  }
  const i64 a2 = cw - 1, b2 = ch - 1;
  int y0 = std::max(box.top, limit.top), y1 = std::min(box.bottom, limit.bottom);
  for (int y = y0; y < y1; ++y) {
    int from_top = y - box.top, from_bottom = box.bottom - 1 - y;
    i64 inset = 0;
    int row = -1;
    if (from_top < ch / 2) row = from_top;
    else if (from_bottom < ch / 2) row = ch - 1 - from_bottom;
    if (row >= 0) {
      i64 half = ellipse_half_width(a2, b2, 2 * i64{row} - b2);
      inset = (a2 - half) / 2;
    }
    push_span(out, y, box.left + inset, box.right - inset, limit);
  }
}

void polygon_spans(std::span<const IntPoint> points, FillMode mode, SpanList& out,
                   const IntRect& limit) {
  struct Edge {
    i64 x0, y0, x1, y1;
    int direction;
  };
  if (points.size() < 3) return;
  std::vector<Edge> edges;
  i64 ymin = points[0].y, ymax = points[0].y;
  for (std::size_t i = 0; i < points.size(); ++i) {
    IntPoint a = points[i], b = points[(i + 1) % points.size()];
    ymin = std::min<i64>(ymin, a.y);
    ymax = std::max<i64>(ymax, a.y);
    if (a.y == b.y) continue;
    if (a.y < b.y) edges.push_back({a.x, a.y, b.x, b.y, 1});
    else edges.push_back({b.x, b.y, a.x, a.y, -1});
  }
  struct Crossing {
    i64 x;
    int direction;
  };
  std::vector<Crossing> crossings;
  i64 first = std::max<i64>(ymin, limit.top), last = std::min<i64>(ymax, limit.bottom);
  for (i64 y = first; y < last; ++y) {
    crossings.clear();
    for (const Edge& e : edges) {
      if (y < e.y0 || y >= e.y1) continue;  // upper end included, lower end excluded
      i64 dy = e.y1 - e.y0, dx = e.x1 - e.x0;
      // First pixel at or right of the crossing.
      crossings.push_back({ceil_div(i128{e.x0} * dy + i128{y - e.y0} * dx, dy), e.direction});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += mode == FillMode::alternate ? 1 : crossings[i].direction;
      bool inside = mode == FillMode::alternate ? (winding % 2) != 0 : winding != 0;
      if (inside) push_span(out, static_cast<int>(y), crossings[i].x, crossings[i + 1].x, limit);
    }
  }
  // Adjacent spans of one row (from coincident crossings) stay separate;
  // region building merges them.
}

void line_pixels(IntPoint a, IntPoint b, bool include_last, std::vector<IntPoint>& out,
                 const IntRect& limit) {
  const i64 dx = i64{b.x} - a.x, dy = i64{b.y} - a.y;
  const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const i64 steps = std::max(adx, ady);
  if (steps == 0) {
    if (include_last && limit.contains(a)) out.push_back(a);
    return;
  }
  const i64 last = include_last ? steps : steps - 1;
  const bool x_major = adx >= ady;
  const i64 major_from = x_major ? a.x : a.y;
  const i64 major_sign = x_major ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
  const i64 lo = x_major ? limit.left : limit.top, hi = (x_major ? limit.right : limit.bottom) - 1;
  // Steps k whose major coordinate lies inside the limit.
  i64 k0 = 0, k1 = last;
  if (major_sign > 0) {
    k0 = std::max(k0, lo - major_from);
    k1 = std::min(k1, hi - major_from);
  } else {
    k0 = std::max(k0, major_from - hi);
    k1 = std::min(k1, major_from - lo);
  }
  for (i64 k = k0; k <= k1; ++k) {
    i64 major = major_from + major_sign * k;
    i64 minor = x_major ? a.y + floor_div(2 * i128{k} * dy + adx, 2 * i128{adx})
                        : a.x + floor_div(2 * i128{k} * dx + ady, 2 * i128{ady});
    IntPoint p = x_major ? IntPoint{static_cast<int>(major), static_cast<int>(minor)}
                         : IntPoint{static_cast<int>(minor), static_cast<int>(major)};
    if (limit.contains(p)) out.push_back(p);
  }
}

void capsule_spans(IntPoint a, IntPoint b, int w, SpanList& out, const IntRect& limit) {
  const double shift = (w % 2 == 0) ? -0.5 : 0.0;
  const double ax = a.x + shift, ay = a.y + shift, bx = b.x + shift, by = b.y + shift;
  const double r = w / 2.0;
  const double dx = bx - ax, dy = by - ay, length = std::sqrt(dx * dx + dy * dy);
  const double eps = 1e-9;
  i64 first = static_cast<i64>(std::floor(std::min(ay, by) - r)), last = static_cast<i64>(std::ceil(std::max(ay, by) + r));
  first = std::max<i64>(first, limit.top);
  last = std::min<i64>(last, i64{limit.bottom} - 1);
  for (i64 y = first; y <= last; ++y) {
    double lo = 1e300, hi = -1e300;
    // The discs at both ends.
    for (auto [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
      double h = r * r - (y - cy) * (y - cy);
      if (h < -eps) continue;
      double half = std::sqrt(std::max(h, 0.0));
      lo = std::min(lo, cx - half);
      hi = std::max(hi, cx + half);
    }
    // The band between them: |n . (p - a)| <= r and 0 <= u . (p - a) <= length.
    if (length > 0) {
      double ux = dx / length, uy = dy / length;
      double band_lo = -1e300, band_hi = 1e300;
      auto constrain = [&](double coefficient, double constant, double min, double max) {
        // min <= coefficient * x + constant <= max
        if (std::fabs(coefficient) < 1e-12) {
          if (constant < min - eps || constant > max + eps) band_lo = 1e300;
          return;
        }
        double x1 = (min - constant) / coefficient, x2 = (max - constant) / coefficient;
        band_lo = std::max(band_lo, std::min(x1, x2));
        band_hi = std::min(band_hi, std::max(x1, x2));
      };
      double ry = y - ay;
      constrain(-uy, ux * ry + uy * ax, -r, r);                 // normal distance
      constrain(ux, uy * ry - ux * ax, 0, length);              // along the segment
      if (band_lo <= band_hi) {
        lo = std::min(lo, band_lo);
        hi = std::max(hi, band_hi);
      }
    }
    if (lo > hi) continue;
    push_span(out, static_cast<int>(y), static_cast<i64>(std::ceil(lo - eps)),
              static_cast<i64>(std::floor(hi + eps)) + 1, limit);
  }
}

Region boundary_of(const Region& shape) {
  Region interior = shape;
  for (IntPoint d : {IntPoint{1, 0}, IntPoint{-1, 0}, IntPoint{0, 1}, IntPoint{0, -1}}) {
    Region moved = shape;
    moved.offset(d.x, d.y);
    interior.intersect(moved);
  }
  return shape.subtracted(interior);
}

namespace {
// The z component of the cross product: positive when b lies
// counter-clockwise of a (less than half a turn away).
i128 cross(i128 ax, i128 ay, i128 bx, i128 by) { return ax * by - ay * bx; }
}  // namespace

ArcSector::ArcSector(const IntRect& box, IntPoint start, IntPoint end)
    : centre_x2_(i64{box.left} + box.right - 1), centre_y2_(i64{box.top} + box.bottom - 1) {
  start_x_ = 2 * i64{start.x} - centre_x2_;
  start_y_ = centre_y2_ - 2 * i64{start.y};
  end_x_ = 2 * i64{end.x} - centre_x2_;
  end_y_ = centre_y2_ - 2 * i64{end.y};
  i128 c = cross(start_x_, start_y_, end_x_, end_y_);
  i128 dot = i128{start_x_} * end_x_ + i128{start_y_} * end_y_;
  // Same direction (or a point at the centre) means a full turn.
  full_ = c == 0 && dot >= 0;
  kind_ = full_ ? Kind::full : c > 0 ? Kind::at_most_half : c == 0 ? Kind::half : Kind::more_than_half;
}

bool ArcSector::contains_pixel(int x, int y) const {
  if (full_) return true;
  i128 px = 2 * i64{x} - centre_x2_, py = centre_y2_ - 2 * i64{y};
  if (px == 0 && py == 0) return true;
  switch (kind_) {
    case Kind::at_most_half:
      return cross(start_x_, start_y_, px, py) >= 0 && cross(px, py, end_x_, end_y_) >= 0;
    case Kind::half:
      return cross(start_x_, start_y_, px, py) >= 0;
    default:
      // Outside only when strictly inside the other, smaller sector.
      return !(cross(end_x_, end_y_, px, py) > 0 && cross(px, py, start_x_, start_y_) > 0);
  }
}

IntPoint box_centre(const IntRect& box) {
  return {static_cast<int>(floor_div(i64{box.left} + box.right - 1, 2)),
          static_cast<int>(floor_div(i64{box.top} + box.bottom - 1, 2))};
}

IntPoint ellipse_point_toward(const IntRect& box, IntPoint p) {
  double cx = (static_cast<double>(box.left) + box.right - 1) / 2;
  double cy = (static_cast<double>(box.top) + box.bottom - 1) / 2;
  double a = std::max((box.width() - 1) / 2.0, 0.5), b = std::max((box.height() - 1) / 2.0, 0.5);
  double dx = p.x - cx, dy = p.y - cy;
  if (dx == 0 && dy == 0) return box_centre(box);
  double t = 1 / std::sqrt((dx / a) * (dx / a) + (dy / b) * (dy / b));
  int x = static_cast<int>(std::floor(cx + t * dx + 0.5));
  int y = static_cast<int>(std::floor(cy + t * dy + 0.5));
  x = std::clamp(x, box.left, std::max(box.left, box.right - 1));
  y = std::clamp(y, box.top, std::max(box.top, box.bottom - 1));
  return {x, y};
}

}  // namespace orvane::raster
