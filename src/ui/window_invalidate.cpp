// Invalidation: what must be repainted goes into the dirty rectangles of the
// offscreen buffers above a window, and into the update region of the
// desktop window that paints it (its system window).
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntRect;

namespace {

// Every level of every buffer chain at or above w accumulates r.
void accumulate_dirty(WindowPeer& w, const IntRect& r) {
  for (WindowPeer* owner = w.offscreen_owner(); owner;
       owner = owner->parent ? owner->parent->offscreen_owner() : nullptr) {
    const IntRect mapped = map_rect(w, *owner, r).intersected(owner->rect);
    if (mapped.empty()) continue;
    for (graphics::Offscreen* o = owner->offscreen.chain.get(); o; o = o->next())
      o->port().set_dirty_rect(o->port().dirty_rect().united(mapped));
  }
}

// Everything the title shows: the MDI client and every window of the page.
void invalidate_everything(desktop::Desktop& d) {
  const WindowLayer& l = layer();
  d.invalidate_rect(l.mdi_client, nullptr, true);
  if (l.page && l.page->hwnd) d.invalidate_rect(l.page->hwnd, nullptr, true);
  if (!l.page) return;
  for (WindowPeer* c = l.page->first_child; c; c = c->next_sibling)
    if (c->hwnd) d.invalidate_rect(c->hwnd, nullptr, true);
}

// The page's area r: the first child of the page (front to back) holding r
// whole repaints it; a child holding part of it, or none, repaints all.
void invalidate_page_area(WindowPeer& page, const IntRect& r) {
  desktop::Desktop& d = window_desktop();
  WindowPeer* root = layer().root;
  const IntRect in_root = root ? map_rect(page, *root, r) : r;
  for (WindowPeer* c = page.first_child; c; c = c->next_sibling) {
    if (!c->flags.visible || !c->hwnd) continue;
    const IntRect child_rect = root ? map_rect(*c, *root, c->rect) : c->rect;
    if (!child_rect.intersects(in_root)) continue;
    if (child_rect.intersected(in_root) == in_root) {
      const IntRect mine = map_rect(page, *c, r);
      d.invalidate_rect(c->hwnd, &mine, false);
      return;
    }
    break;
  }
  invalidate_everything(d);
}

// The window that paints w's pixels, and r in its coordinates.
WindowPeer* painter_of(WindowPeer& w) {
  if (w.in_page()) return &w;
  return w.system && w.system != &w ? w.system : nullptr;
}

}  // namespace

void invalidate_rect(WindowPeer& w, const IntRect& r, bool erase) {
  (void)erase;  // below the page the painter erases; the page erases all or nothing
  if (!drawn(w) || !layer().desktop || !w.hwnd) return;
  const IntRect clipped = r.intersected(visible_rect(w, true));
  if (clipped.empty()) return;
  accumulate_dirty(w, clipped);
  if (!w.user_visible()) return;
  if (w.is_page()) {
    invalidate_page_area(w, clipped);
    return;
  }
  WindowPeer* painter = painter_of(w);
  if (!painter || !painter->hwnd) return;
  const IntRect mine = map_rect(w, *painter, clipped);
  window_desktop().invalidate_rect(painter->hwnd, &mine, false);
}

void invalidate_window(WindowPeer& w, bool erase) { invalidate_rect(w, w.rect, erase); }

void validate_rect(WindowPeer& w, const IntRect& r) {
  if (!layer().desktop || !w.hwnd) return;
  WindowPeer* painter = w.is_page() ? &w : painter_of(w);
  if (!painter || !painter->hwnd) return;
  const IntRect mine = map_rect(w, *painter, r);
  window_desktop().validate_rect(painter->hwnd, &mine);
}

}  // namespace orvane::ui
