#include "platform/desktop/non_client.h"

#include <algorithm>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

using raster::Brush;
using raster::IntPoint;
using raster::IntRect;

namespace {

void fill(raster::DeviceContext& dc, const IntRect& r, raster::Color c) { dc.fill_rect(r, Brush::solid(c)); }

void hline(raster::DeviceContext& dc, int x1, int x2, int y, raster::Color c) {
  fill(dc, {x1, y, x2, y + 1}, c);
}
void vline(raster::DeviceContext& dc, int x, int y1, int y2, raster::Color c) {
  fill(dc, {x, y1, x + 1, y2}, c);
}

// One ring of a bevel: top-left in one colour, bottom-right in another.
void bevel(raster::DeviceContext& dc, const IntRect& r, raster::Color top_left, raster::Color bottom_right) {
  if (r.empty()) return;
  hline(dc, r.left, r.right - 1, r.top, top_left);
  vline(dc, r.left, r.top, r.bottom - 1, top_left);
  hline(dc, r.left, r.right, r.bottom - 1, bottom_right);
  vline(dc, r.right - 1, r.top, r.bottom, bottom_right);
}

// A filled triangle pointing up, down, left or right, centred in r.
void arrow(raster::DeviceContext& dc, const IntRect& r, int direction, raster::Color c) {
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  for (int i = 0; i < 4; ++i) {
    const int half = i;
    switch (direction) {
      case 0: hline(dc, cx - half, cx + half + 1, cy - 2 + i, c); break;       // up
      case 1: hline(dc, cx - 3 + i, cx + 4 - i, cy - 1 + i, c); break;         // down
      case 2: vline(dc, cx - 2 + i, cy - half, cy + half + 1, c); break;       // left
      default: vline(dc, cx - 1 + i, cy - 3 + i, cy + 4 - i, c); break;        // right
    }
  }
}

}  // namespace

void draw_raised_edge(raster::DeviceContext& dc, const IntRect& r) {
  bevel(dc, r, classic::face, classic::dark);
  bevel(dc, r.inflated(-1, -1), classic::highlight, classic::shadow);
}

void draw_button_face(raster::DeviceContext& dc, const IntRect& r, bool pressed) {
  fill(dc, r, classic::face);
  if (pressed) {
    bevel(dc, r, classic::dark, classic::highlight);
    bevel(dc, r.inflated(-1, -1), classic::shadow, classic::face);
  } else {
    bevel(dc, r, classic::highlight, classic::dark);
    bevel(dc, r.inflated(-1, -1), classic::face, classic::shadow);
  }
}

int NonClient::frame_thickness(std::uint32_t style, std::uint32_t ex_style) {
  if (style & WS_THICKFRAME) return kSizingFrame;
  if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME)) return kDialogFrame;
  if (style & WS_BORDER) return kThinBorder;
  return 0;
}

bool NonClient::is_host_frame() const { return desktop_.host_frame() == window_.handle; }

int NonClient::thickness() const {
  return is_host_frame() ? 0 : frame_thickness(window_.style, window_.ex_style);
}

int NonClient::menu_height() const {
  const MenuBarHook* bar = desktop_.menu_bar(window_.handle);
  return bar ? std::max(0, bar->height(window_.rect.width())) : 0;
}

IntRect NonClient::client_for(const IntRect& window_rect) const {
  const int f = thickness();
  IntRect r = window_rect.inflated(-f, -f);
  if (!is_host_frame() && has_caption(window_.style)) r.top += kCaptionBand;
  r.top += menu_height();
  if (window_.style & WS_VSCROLL) r.right -= kScrollBarSize;
  if (window_.style & WS_HSCROLL) r.bottom -= kScrollBarSize;
  r.right = std::max(r.left, r.right);
  r.bottom = std::max(r.top, r.bottom);
  r.top = std::min(r.top, window_rect.bottom);
  r.bottom = std::max(r.top, r.bottom);
  return r;
}

IntRect NonClient::caption_rect() const {
  if (is_host_frame() || !has_caption(window_.style)) return {};
  const int f = thickness();
  return {f, f, window_.rect.width() - f, f + kCaptionHeight};
}

IntRect NonClient::close_box_rect() const {
  const IntRect cap = caption_rect();
  if (cap.empty() || !(window_.style & WS_SYSMENU)) return {};
  return {cap.right - 2 - 16, cap.top + 2, cap.right - 2, cap.top + 2 + 14};
}

IntRect NonClient::menu_bar_rect() const {
  const int h = menu_height();
  if (h == 0) return {};
  const int f = thickness();
  const IntRect cap = caption_rect();
  const int top = cap.empty() ? f : cap.top + kCaptionBand;
  return {f, top, window_.rect.width() - f, top + h};
}

IntRect NonClient::scroll_bar_rect(bool vertical) const {
  const IntRect c = window_.client_in_window();
  if (vertical) {
    if (!(window_.style & WS_VSCROLL)) return {};
    return {c.right, c.top, c.right + kScrollBarSize, c.bottom};
  }
  if (!(window_.style & WS_HSCROLL)) return {};
  return {c.left, c.bottom, c.right, c.bottom + kScrollBarSize};
}

int NonClient::hit_test(IntPoint screen) const {
  const IntRect wr = desktop_.window_rect(window_.handle);
  if (!wr.contains(screen)) return HTNOWHERE;
  const IntPoint p{screen.x - wr.left, screen.y - wr.top};
  if (window_.client_in_window().contains(p)) return HTCLIENT;
  if (close_box_rect().contains(p)) return HTCLOSE;
  if (caption_rect().contains(p)) return HTCAPTION;
  if (menu_bar_rect().contains(p)) return HTMENU;
  if (scroll_bar_rect(true).contains(p)) return HTVSCROLL;
  if (scroll_bar_rect(false).contains(p)) return HTHSCROLL;
  const int f = thickness();
  const int w = wr.width(), h = wr.height();
  const bool in_frame = p.x < f || p.y < f || p.x >= w - f || p.y >= h - f;
  if (!in_frame) return HTNOWHERE;
  if (!(window_.style & WS_THICKFRAME) || window_.maximised()) return HTBORDER;
  const bool left = p.x < kCornerReach, right = p.x >= w - kCornerReach;
  const bool top = p.y < kCornerReach, bottom = p.y >= h - kCornerReach;
  if (p.y < f) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (p.y >= h - f) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  if (p.x < f) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
  return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
}

void NonClient::draw(raster::DeviceContext& dc) const {
  const IntRect all{0, 0, window_.rect.width(), window_.rect.height()};
  const int f = thickness();
  if (f == kThinBorder) {
    dc.frame_rect(all, Brush::solid(classic::dark));
  } else if (f > 1) {
    draw_raised_edge(dc, all);
    for (int i = 2; i < f; ++i) bevel(dc, all.inflated(-i, -i), classic::face, classic::face);
  }
  const IntRect cap = caption_rect();
  if (!cap.empty()) {
    draw_caption(dc);
    hline(dc, cap.left, cap.right, cap.bottom, classic::face);
  }
  if (MenuBarHook* bar = desktop_.menu_bar(window_.handle)) {
    const IntRect mr = menu_bar_rect();
    if (!mr.empty()) {
      raster::StateSaver saver(dc);
      dc.intersect_clip_rect(mr);
      bar->paint(dc, mr);
    }
  }
  const IntRect vr = scroll_bar_rect(true);
  const IntRect hr = scroll_bar_rect(false);
  if (!vr.empty()) draw_scroll_bar(dc, window_.vertical, vr);
  if (!hr.empty()) draw_scroll_bar(dc, window_.horizontal, hr);
  if (!vr.empty() && !hr.empty()) fill(dc, {vr.left, hr.top, vr.right, hr.bottom}, classic::face);
}

void NonClient::draw_caption(raster::DeviceContext& dc) const {
  const IntRect cap = caption_rect();
  const bool active = window_.caption_active;
  fill(dc, cap, active ? classic::active_caption : classic::inactive_caption);
  const IntRect close = close_box_rect();
  const TextPainter& painter = desktop_.text_painter();
  {
    raster::StateSaver saver(dc);
    dc.intersect_clip_rect({cap.left, cap.top, close.empty() ? cap.right : close.left - 2, cap.bottom});
    dc.set_text_color(active ? classic::active_caption_text : classic::inactive_caption_text);
    dc.set_background_mode(raster::BackgroundMode::transparent);
    const int y = cap.top + (kCaptionHeight - painter.text_height()) / 2;
    painter.draw_text(dc, {cap.left + 3, y}, window_.text);
  }
  if (close.empty()) return;
  const bool pressed = window_.close_box_pressed;
  draw_button_face(dc, close, pressed);
  // The cross: two strokes two pixels wide, a pixel lower and righter when pressed.
  const int x0 = close.left + 4 + (pressed ? 1 : 0), y0 = close.top + 3 + (pressed ? 1 : 0);
  for (int i = 0; i < 7; ++i) {
    fill(dc, {x0 + i, y0 + i, x0 + i + 2, y0 + i + 1}, classic::dark);
    fill(dc, {x0 + 6 - i, y0 + i, x0 + 8 - i, y0 + i + 1}, classic::dark);
  }
}

void NonClient::draw_scroll_bar(raster::DeviceContext& dc, const ScrollBar& bar, const IntRect& rect) const {
  const bool vertical = bar.vertical();
  const IntRect first = bar.arrow_rect(rect, true);
  const IntRect last = bar.arrow_rect(rect, false);
  const IntRect track = vertical ? IntRect{rect.left, first.bottom, rect.right, last.top}
                                 : IntRect{first.right, rect.top, last.left, rect.bottom};
  dc.fill_rect(track, Brush::with_pattern(raster::Pattern8::gray(), classic::highlight, classic::face));
  const bool usable = bar.max_pos() > bar.min();
  const raster::Color arrow_color = usable ? classic::dark : classic::shadow;
  draw_button_face(dc, first, false);
  draw_button_face(dc, last, false);
  arrow(dc, first, vertical ? 0 : 2, arrow_color);
  arrow(dc, last, vertical ? 1 : 3, arrow_color);
  const IntRect thumb = bar.thumb_rect(rect);
  if (!thumb.empty()) draw_button_face(dc, thumb, false);
}

}  // namespace orvane::desktop
