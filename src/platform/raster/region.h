// Regions: sets of pixels as y-x banded rectangles, a value type over pixman.
#pragma once

#include <span>
#include <vector>

#include <pixman.h>

#include "platform/raster/geometry.h"

namespace orvane::raster {

enum class FillMode { alternate, winding };

class Region {
 public:
  Region();
  explicit Region(const IntRect& rect);
  Region(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region();

  // The union of the rectangles (empty ones contribute nothing).
  static Region from_rects(std::span<const IntRect> rects);
  // The pixels of the ellipse inscribed in rect (see ellipse_spans).
  static Region ellipse(const IntRect& rect);
  // The pixels inside the closed polygon by the fill rule (see polygon_spans).
  static Region polygon(std::span<const IntPoint> points, FillMode mode);

  bool empty() const;
  // The bounding box; (0 0 0 0) for an empty region.
  IntRect bounds() const;
  bool contains(IntPoint p) const;
  // True when some pixel of rect belongs to the region.
  bool intersects(const IntRect& rect) const;
  std::vector<IntRect> rects() const;
  std::size_t rect_count() const;

  void clear();
  void set_rect(const IntRect& rect);
  void offset(int dx, int dy);
  Region& unite(const Region& other);
  Region& intersect(const Region& other);
  Region& intersect(const IntRect& rect);
  Region& subtract(const Region& other);
  Region& exclusive_or(const Region& other);

  Region united(const Region& o) const { Region r(*this); r.unite(o); return r; }
  Region intersected(const Region& o) const { Region r(*this); r.intersect(o); return r; }
  Region subtracted(const Region& o) const { Region r(*this); r.subtract(o); return r; }
  Region xored(const Region& o) const { Region r(*this); r.exclusive_or(o); return r; }

  bool operator==(const Region& other) const;

  // Calls f(IntRect) for each rectangle, top to bottom, left to right.
  template <class F>
  void for_each_rect(F&& f) const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &n);
    for (int i = 0; i < n; ++i) f(IntRect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  }

 private:
  pixman_region32_t region_;
};

}  // namespace orvane::raster
