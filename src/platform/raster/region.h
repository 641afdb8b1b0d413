// Regions: sets of pixels as y-x banded rectangles, a value type over pixman.
// Only region.cpp includes pixman: the region is kept here as opaque storage,
// so code that draws or clips never sees the host library.
#pragma once

#include <cstddef>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/raster/geometry.h"

struct pixman_region32;

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
    using Fn = std::remove_reference_t<F>;
    visit_rects([](const void* fn, const IntRect& r) { (*static_cast<Fn*>(const_cast<void*>(fn)))(r); }, &f);
  }

 private:
  void visit_rects(void (*visit)(const void* context, const IntRect& rect), const void* context) const;
  pixman_region32* raw() const;

  // A pixman_region32_t: four 32-bit coordinates and a pointer.
  alignas(void*) std::byte storage_[16 + sizeof(void*)];
};

}  // namespace orvane::raster
