#include "platform/raster/region.h"

#include <pixman.h>

#include <cstring>
#include <new>

#include "platform/raster/shapes.h"

namespace orvane::raster {

namespace {
pixman_box32_t box_of(const IntRect& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

pixman_region32_t* Region::raw() const {
  static_assert(sizeof(pixman_region32_t) <= sizeof storage_ && alignof(pixman_region32_t) <= alignof(void*));
  static_assert(std::is_trivially_copyable_v<pixman_region32_t>);
  return std::launder(reinterpret_cast<pixman_region32_t*>(const_cast<std::byte*>(storage_)));
}

void Region::visit_rects(void (*visit)(const void* context, const IntRect& rect), const void* context) const {
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(raw(), &n);
  for (int i = 0; i < n; ++i) visit(context, IntRect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
}

Region::Region() { pixman_region32_init(raw()); }

Region::Region(const IntRect& rect) {
  if (rect.empty())
    pixman_region32_init(raw());
  else
    pixman_region32_init_rect(raw(), rect.left, rect.top,
                              static_cast<unsigned>(rect.width()), static_cast<unsigned>(rect.height()));
}

Region::Region(const Region& other) {
  pixman_region32_init(raw());
  pixman_region32_copy(raw(), other.raw());
}

// pixman regions hold no pointer into themselves, so a move takes the
// storage and leaves the source empty.
Region::Region(Region&& other) noexcept {
  std::memcpy(storage_, other.storage_, sizeof storage_);
  pixman_region32_init(other.raw());
}

Region& Region::operator=(const Region& other) {
  if (this != &other) pixman_region32_copy(raw(), other.raw());
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (this != &other) {
    pixman_region32_fini(raw());
    std::memcpy(storage_, other.storage_, sizeof storage_);
    pixman_region32_init(other.raw());
  }
  return *this;
}

Region::~Region() { pixman_region32_fini(raw()); }

Region Region::from_rects(std::span<const IntRect> rects) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(rects.size());
  for (const IntRect& r : rects)
    if (!r.empty()) boxes.push_back(box_of(r));
  Region result;
  if (!boxes.empty()) {
    pixman_region32_fini(result.raw());
    pixman_region32_init_rects(result.raw(), boxes.data(), static_cast<int>(boxes.size()));
  }
  return result;
}

Region Region::ellipse(const IntRect& rect) {
  SpanList spans;
  ellipse_spans(rect, spans);
  return region_from_spans(spans);
}

Region Region::polygon(std::span<const IntPoint> points, FillMode mode) {
  SpanList spans;
  polygon_spans(points, mode, spans);
  return region_from_spans(spans);
}

bool Region::empty() const { return !pixman_region32_not_empty(raw()); }

IntRect Region::bounds() const {
  if (empty()) return {};
  const pixman_box32_t* b = pixman_region32_extents(raw());
  return {b->x1, b->y1, b->x2, b->y2};
}

bool Region::contains(IntPoint p) const {
  return pixman_region32_contains_point(raw(), p.x, p.y, nullptr);
}

bool Region::intersects(const IntRect& rect) const {
  if (rect.empty()) return false;
  pixman_box32_t box = box_of(rect);
  return pixman_region32_contains_rectangle(raw(), &box) !=
         PIXMAN_REGION_OUT;
}

std::vector<IntRect> Region::rects() const {
  std::vector<IntRect> out;
  for_each_rect([&](const IntRect& r) { out.push_back(r); });
  return out;
}

std::size_t Region::rect_count() const {
  return static_cast<std::size_t>(pixman_region32_n_rects(raw()));
}

void Region::clear() { pixman_region32_clear(raw()); }

void Region::set_rect(const IntRect& rect) { *this = Region(rect); }

void Region::offset(int dx, int dy) { pixman_region32_translate(raw(), dx, dy); }

Region& Region::unite(const Region& other) {
  pixman_region32_union(raw(), raw(), other.raw());
  return *this;
}

Region& Region::intersect(const Region& other) {
  pixman_region32_intersect(raw(), raw(), other.raw());
  return *this;
}

Region& Region::intersect(const IntRect& rect) {
  if (rect.empty()) {
    clear();
    return *this;
  }
  pixman_region32_intersect_rect(raw(), raw(), rect.left, rect.top,
                                 static_cast<unsigned>(rect.width()), static_cast<unsigned>(rect.height()));
  return *this;
}

Region& Region::subtract(const Region& other) {
  pixman_region32_subtract(raw(), raw(), other.raw());
  return *this;
}

Region& Region::exclusive_or(const Region& other) {
  Region both = intersected(other);
  unite(other);
  subtract(both);
  return *this;
}

bool Region::operator==(const Region& other) const {
  // An empty result of an operation may keep stale extents.
  if (empty() || other.empty()) return empty() && other.empty();
  return pixman_region32_equal(raw(),
                               other.raw());
}

}  // namespace orvane::raster
