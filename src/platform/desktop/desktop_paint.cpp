// Paint: visible regions, update regions, device contexts on the
// framebuffer, scrolling, and the dirty rectangles presented to the screen.
#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/non_client.h"

namespace orvane::desktop {

using raster::IntPoint;
using raster::IntRect;
using raster::Region;

// --- Visible regions ----------------------------------------------------------------

Region Desktop::visible_region(Hwnd hwnd, bool client_only) const {
  const Window* w = find(hwnd);
  if (!w || !is_visible(hwnd)) return {};
  if (w->visible_epoch == geometry_epoch_) return client_only ? w->visible_client : w->visible_whole;

  const IntRect whole = window_rect(hwnd);
  Region visible(whole);
  // Each level: inside the parent's client area, below the siblings above.
  const Window* current = w;
  while (current->handle != root_) {
    const Window* p = find(current->parent);
    if (!p) return {};
    for (Hwnd sibling : p->children) {
      if (sibling == current->handle) break;
      const Window* s = find(sibling);
      if (!s || !s->visible()) continue;
      const IntRect sr = window_rect(sibling);
      if (sr.intersects(whole)) visible.subtract(Region(sr));
    }
    visible.intersect(IntRect::from_size(client_origin(*p), p->client.size()));
    current = p;
  }
  visible.intersect(framebuffer_.bounds());
  if (w->style & WS_CLIPCHILDREN) {
    for (Hwnd c : w->children) {
      const Window* child = find(c);
      if (child && child->visible()) visible.subtract(Region(window_rect(c)));
    }
  }
  w->visible_whole = visible;
  w->visible_client = visible.intersected(Region(IntRect::from_size(client_origin(*w), w->client.size())));
  w->visible_epoch = geometry_epoch_;
  return client_only ? w->visible_client : w->visible_whole;
}

// --- Update regions --------------------------------------------------------------

// Adds a screen area to the update regions of the window and its children.
void Desktop::invalidate_tree(Hwnd hwnd, const Region& screen_area, bool erase) {
  Window* w = find(hwnd);
  if (!w || !w->visible() || screen_area.empty()) return;
  const IntRect whole = window_rect(hwnd);
  if (!screen_area.intersects(whole)) return;
  const IntPoint origin = client_origin(*w);
  const IntRect client = IntRect::from_size(origin, w->client.size());
  Region frame_part = screen_area.intersected(Region(whole));
  frame_part.subtract(Region(client));
  if (!frame_part.empty()) w->frame_pending = true;
  Region client_part = screen_area.intersected(Region(client));
  if (!client_part.empty()) {
    client_part.offset(-origin.x, -origin.y);
    w->update.unite(client_part);
    w->erase_pending = w->erase_pending || erase;
  }
  for (Hwnd c : std::vector<Hwnd>(w->children)) invalidate_tree(c, screen_area, erase);
}

// Something stopped covering `screen_area`: whatever lies beneath repaints.
void Desktop::expose(const Region& screen_area, Hwnd except_tree) {
  if (screen_area.empty()) return;
  std::vector<Hwnd> stack{root_};
  while (!stack.empty()) {
    const Hwnd h = stack.back();
    stack.pop_back();
    Window* w = find(h);
    if (!w || !w->visible() || h == except_tree) continue;
    const Region part = visible_region(h, false).intersected(screen_area);
    if (!part.empty()) {
      const IntPoint origin = client_origin(*w);
      const IntRect client = IntRect::from_size(origin, w->client.size());
      if (!part.subtracted(Region(client)).empty()) w->frame_pending = true;
      Region client_part = part.intersected(Region(client));
      if (!client_part.empty()) {
        client_part.offset(-origin.x, -origin.y);
        w->update.unite(client_part);
        w->erase_pending = true;
      }
    }
    stack.insert(stack.end(), w->children.begin(), w->children.end());
  }
}

bool Desktop::invalidate_region(Hwnd hwnd, const Region* client_region, bool erase) {
  if (!hwnd) {
    expose(Region(framebuffer_.bounds()));
    return true;
  }
  Window* w = find(hwnd);
  if (!w) return false;
  const IntPoint origin = client_origin(*w);
  const IntRect client = IntRect::from_size(origin, w->client.size());
  Region area = client_region ? *client_region : Region(IntRect{0, 0, w->client.width(), w->client.height()});
  area.offset(origin.x, origin.y);
  area.intersect(client);
  if (area.empty()) return true;
  Region local = area;
  local.offset(-origin.x, -origin.y);
  w->update.unite(local);
  w->erase_pending = w->erase_pending || erase;
  // Without clip-children the parent's paint covers its children: they repaint too.
  if (!(w->style & WS_CLIPCHILDREN))
    for (Hwnd c : std::vector<Hwnd>(w->children)) invalidate_tree(c, area, erase);
  return true;
}

bool Desktop::invalidate_rect(Hwnd hwnd, const IntRect* client_rect, bool erase) {
  if (!client_rect) return invalidate_region(hwnd, nullptr, erase);
  const Region r(*client_rect);
  return invalidate_region(hwnd, &r, erase);
}

bool Desktop::validate_region(Hwnd hwnd, const Region* client_region) {
  Window* w = find(hwnd);
  if (!w) return false;
  if (!client_region) {
    w->update.clear();
    w->erase_pending = false;
  } else {
    w->update.subtract(*client_region);
    if (w->update.empty()) w->erase_pending = false;
  }
  return true;
}

bool Desktop::validate_rect(Hwnd hwnd, const IntRect* client_rect) {
  if (!client_rect) return validate_region(hwnd, nullptr);
  const Region r(*client_rect);
  return validate_region(hwnd, &r);
}

IntRect Desktop::update_rect(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->update.bounds() : IntRect{};
}

Region Desktop::update_region(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w ? w->update : Region();
}

bool Desktop::update_window(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return false;
  if (w->frame_pending && is_visible(hwnd)) draw_frame(hwnd);
  if ((w = find(hwnd)) && !w->update.empty() && is_visible(hwnd))
    send_message(hwnd, WM_PAINT);
  return true;
}

// --- Begin and end paint -------------------------------------------------------------

PaintStruct Desktop::begin_paint(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return {make_dc(Region(), {}), {}, false};
  if (w->frame_pending) {
    draw_frame(hwnd);
    if (!(w = find(hwnd))) return {make_dc(Region(), {}), {}, false};
  }
  const IntPoint origin = client_origin(*w);
  Region area = w->update;
  area.intersect(IntRect{0, 0, w->client.width(), w->client.height()});
  const bool erase = w->erase_pending;
  w->update.clear();
  w->erase_pending = false;
  if (paint_hook_) paint_hook_->before_paint(*this, hwnd);
  const IntRect paint_rect = area.bounds();
  area.offset(origin.x, origin.y);
  area.intersect(visible_region(hwnd, true));
  PaintStruct paint{make_dc(area, origin), paint_rect, false};
  if (erase) {
    raster::DeviceContext erase_dc = paint.dc;
    paint.erase = send_message(hwnd, WM_ERASEBKGND, reinterpret_cast<WParam>(&erase_dc), 0) == 0;
  }
  return paint;
}

void Desktop::end_paint(Hwnd hwnd, const PaintStruct&) {
  if (paint_hook_ && find(hwnd)) paint_hook_->after_paint(*this, hwnd);
}

// --- Device contexts ----------------------------------------------------------------

raster::DeviceContext Desktop::make_dc(const Region& screen_clip, IntPoint origin) {
  raster::DeviceContext dc(framebuffer_);
  dc.set_origin(origin);
  dc.set_brush_origin(origin);
  dc.set_clip(screen_clip);
  dirty_.unite(Region(screen_clip.bounds()));
  return dc;
}

raster::DeviceContext Desktop::get_dc(Hwnd hwnd) {
  const Window* w = find(hwnd ? hwnd : root_);
  if (!w) return make_dc(Region(), {});
  return make_dc(visible_region(w->handle, true), client_origin(*w));
}

raster::DeviceContext Desktop::get_window_dc(Hwnd hwnd) {
  const Window* w = find(hwnd ? hwnd : root_);
  if (!w) return make_dc(Region(), {});
  return make_dc(visible_region(w->handle, false), window_origin(*w));
}

void Desktop::draw_frame(Hwnd hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  w->frame_pending = false;
  if (!is_visible(hwnd)) return;
  send_message(hwnd, WM_NCPAINT, 1, 0);
}

void Desktop::paint_root() {
  Window* root = find(root_);
  if (root->update.empty()) return;
  Region area = root->update;
  root->update.clear();
  root->erase_pending = false;
  area.intersect(visible_region(root_, true));
  raster::DeviceContext dc = make_dc(area, {});
  dc.fill_rect(framebuffer_.bounds(), raster::Brush::solid(classic::desktop));
}

// --- Scrolling -----------------------------------------------------------------------

Region Desktop::scroll_window(Hwnd hwnd, int dx, int dy, const IntRect* scroll, const IntRect* clip,
                              std::uint32_t flags) {
  Window* w = find(hwnd);
  if (!w) return {};
  const IntRect client{0, 0, w->client.width(), w->client.height()};
  IntRect area = scroll ? scroll->intersected(client) : client;
  if (clip) area = area.intersected(*clip);
  if (area.empty()) return {};
  if (paint_hook_) paint_hook_->before_paint(*this, hwnd);
  if (!(w = find(hwnd))) return {};
  const IntPoint origin = client_origin(*w);
  Region visible = visible_region(hwnd, true);
  visible.offset(-origin.x, -origin.y);
  visible.intersect(area);
  // Pixels arrive only where both their old and new places are visible.
  Region arriving = visible;
  arriving.offset(dx, dy);
  arriving.intersect(visible);
  {
    raster::DeviceContext dc = make_dc(Region(), origin);
    Region device_clip = arriving;
    device_clip.offset(origin.x, origin.y);
    dc.set_clip(device_clip);
    dirty_.unite(Region(IntRect(area).translated(origin)));
    dc.scroll(area, dx, dy);
  }
  Region uncovered(area);
  uncovered.subtract(arriving);
  // What was waiting to be painted moves with the pixels.
  if (!w->update.empty()) {
    Region inside = w->update.intersected(Region(area));
    w->update.subtract(Region(area));
    inside.offset(dx, dy);
    inside.intersect(area);
    w->update.unite(inside);
  }
  if (flags & SW_SCROLLCHILDREN) {
    for (Hwnd c : std::vector<Hwnd>(w->children)) {
      const Window* child = find(c);
      if (!child || (scroll && !child->rect.intersects(*scroll))) continue;
      set_window_pos(c, {}, child->rect.left + dx, child->rect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
  }
  if ((flags & SW_INVALIDATE) && find(hwnd)) invalidate_region(hwnd, &uncovered, (flags & SW_ERASE) != 0);
  if (paint_hook_ && find(hwnd)) paint_hook_->after_paint(*this, hwnd);
  return uncovered;
}

// --- Presenting ------------------------------------------------------------------------

void Desktop::mark_dirty(const IntRect& screen_rect) { dirty_.unite(Region(screen_rect)); }

void Desktop::redraw_frame(Hwnd hwnd) {
  if (!find(hwnd)) return;
  set_window_pos(hwnd, {}, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (find(hwnd)) draw_frame(hwnd);
}

void Desktop::present() {
  dirty_.intersect(framebuffer_.bounds());
  if (dirty_.empty()) return;
  std::vector<IntRect> rects = dirty_.rects();
  // Many small pieces go up as one: uploads cost more per call than per pixel.
  if (rects.size() > 32) rects = {dirty_.bounds()};
  dirty_.clear();
  screen_.present(framebuffer_, rects);
}

}  // namespace orvane::desktop
