// Integer geometry of the raster engine: points, sizes and rectangles with
// the Win32 conventions. A rectangle holds the pixels left <= x < right and
// top <= y < bottom; it is empty unless left < right and top < bottom.
#pragma once

#include <algorithm>
#include <cstdint>

namespace orvane::raster {

struct IntPoint {
  int x = 0;
  int y = 0;
  constexpr bool operator==(const IntPoint&) const = default;
  constexpr IntPoint operator+(IntPoint o) const { return {x + o.x, y + o.y}; }
  constexpr IntPoint operator-(IntPoint o) const { return {x - o.x, y - o.y}; }
};

struct IntSize {
  int width = 0;
  int height = 0;
  constexpr bool operator==(const IntSize&) const = default;
};

struct IntRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static constexpr IntRect from_size(IntPoint p, IntSize s) {
    return {p.x, p.y, p.x + s.width, p.y + s.height};
  }
  constexpr bool operator==(const IntRect&) const = default;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr IntSize size() const { return {width(), height()}; }
  constexpr IntPoint top_left() const { return {left, top}; }
  constexpr bool empty() const { return left >= right || top >= bottom; }
  constexpr bool contains(IntPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr IntRect translated(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  constexpr IntRect translated(IntPoint d) const { return translated(d.x, d.y); }
  constexpr IntRect inflated(int dx, int dy) const {
    return {left - dx, top - dy, right + dx, bottom + dy};
  }
  // The common part; empty rectangles give an empty (not necessarily zero) result.
  constexpr IntRect intersected(const IntRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  constexpr bool intersects(const IntRect& o) const { return !intersected(o).empty(); }
  // The smallest rectangle holding both; an empty operand contributes nothing.
  constexpr IntRect united(const IntRect& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
  }
  // The same rectangle with left <= right and top <= bottom.
  constexpr IntRect normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
};

}  // namespace orvane::raster
