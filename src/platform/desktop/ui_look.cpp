#include "platform/desktop/ui_look.h"

namespace orvane::desktop::look {

void fill(raster::DeviceContext& dc, const raster::IntRect& r, raster::Color c) {
  dc.fill_rect(r, raster::Brush::solid(c));
}

void bevel(raster::DeviceContext& dc, const raster::IntRect& r, raster::Color top_left,
           raster::Color bottom_right) {
  if (r.empty()) return;
  fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, top_left);
  fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
  fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

void raised_edge(raster::DeviceContext& dc, const raster::IntRect& r) {
  bevel(dc, r, face, dark);
  bevel(dc, r.inflated(-1, -1), highlight, shadow);
}

raster::IntRect push_button(raster::DeviceContext& dc, const raster::IntRect& r, bool pressed, bool ringed) {
  raster::IntRect inner = r;
  fill(dc, inner, face);
  if (ringed) {
    dc.frame_rect(inner, raster::Brush::solid(dark));
    inner = inner.inflated(-1, -1);
  }
  if (pressed) {
    dc.frame_rect(inner, raster::Brush::solid(shadow));
  } else {
    bevel(dc, inner, highlight, dark);
    bevel(dc, inner.inflated(-1, -1), face, shadow);
  }
  return inner;
}

void sunken_edge(raster::DeviceContext& dc, const raster::IntRect& r) {
  bevel(dc, r, shadow, highlight);
  bevel(dc, r.inflated(-1, -1), dark, face);
}

void check_mark(raster::DeviceContext& dc, raster::IntPoint p, raster::Color c) {
  // Rows of the classic check: a short stroke down-right, a long one up-right.
  static constexpr int kTop[7] = {4, 5, 6, 5, 4, 3, 2};
  for (int x = 0; x < 7; ++x) fill(dc, {p.x + x, p.y + kTop[x] - 2, p.x + x + 1, p.y + kTop[x] + 1}, c);
}

void right_arrow(raster::DeviceContext& dc, raster::IntPoint p, raster::Color c) {
  for (int i = 0; i < 4; ++i) fill(dc, {p.x + i, p.y + i, p.x + i + 1, p.y + 7 - i}, c);
}

void focus_rect(raster::DeviceContext& dc, const raster::IntRect& r) {
  if (r.empty()) return;
  auto dot = [&](int x, int y) {
    if (((x - r.left) + (y - r.top)) % 2 == 0) dc.invert_rect({x, y, x + 1, y + 1});
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
}

}  // namespace orvane::desktop::look
