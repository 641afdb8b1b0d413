// Scrolling: the scroll offset moves the window's drawing origin; the view
// rect's pixels are shifted when that is safe (else repainted), and the
// children that scroll with the content move.
#include <cstdlib>
#include <vector>

#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntRect;
using raster::Region;

namespace {

// The window whose desktop window shows w's pixels: the root's (the MDI
// client) for the page, its own for a window in the page, its system
// window's below.
WindowPeer* pixel_window(WindowPeer& w) {
  if (w.is_page()) return layer().root;
  if (w.in_page()) return &w;
  return w.system ? w.system : nullptr;
}

// Shifts the view rect's pixels by (-dx, -dy) and fills what they uncover
// with the background colour, which is then repainted.
void shift_view(WindowPeer& w, int dx, int dy) {
  WindowPeer* painter = pixel_window(w);
  if (!painter || !painter->hwnd) {
    invalidate_rect(w, w.view_rect, true);
    return;
  }
  desktop::Desktop& d = window_desktop();
  const IntRect view = map_rect(w, *painter, w.view_rect);
  Region uncovered = d.scroll_window(painter->hwnd, -dx, -dy, &view, &view, 0);
  if (uncovered.empty()) return;
  {
    raster::DeviceContext dc = d.get_dc(painter->hwnd);
    Region clip = uncovered;
    clip.offset(dc.origin().x, dc.origin().y);
    if (dc.clip()) clip.intersect(*dc.clip());
    dc.set_clip(clip);
    dc.fill_rect(uncovered.bounds(), raster::Brush::solid(w.color.to_color()));
  }
  d.invalidate_region(painter->hwnd, &uncovered, painter->is_root());
}

}  // namespace

void WindowPeer::scroll(int dx, int dy, bool update) { pixel_scroll(dx, dy, update); }

void WindowPeer::pixel_scroll(int dx, int dy, bool update) {
  if (dx == 0 && dy == 0) return;
  scroll_offset = {scroll_offset.x + dx, scroll_offset.y + dy};
  send_if_understood(*this, "start-scroll");
  if (WindowPeer* owner = offscreen_owner()) {
    owner->flags.scrolled = true;
    const IntRect mine = map_rect(*this, *owner, rect).intersected(owner->rect);
    for (graphics::Offscreen* o = owner->offscreen.chain.get(); o; o = o->next())
      o->port().set_dirty_rect(o->port().dirty_rect().united(mine));
  }
  const bool shift = flags.scroll && update && !offscreen.chain && (flags.erase || flags.opaque) &&
                     std::abs(dx) < view_rect.width() && std::abs(dy) < view_rect.height();
  if (shift && user_visible())
    shift_view(*this, dx, dy);
  else
    invalidate_rect(*this, view_rect, true);
  // The children that scroll with the content; each move may run Lisp code
  // that changes the tree, so their objects are held and looked up again.
  LispStackMark mark;
  std::vector<Value> movers;
  for (WindowPeer* c = first_child; c; c = c->next_sibling)
    if (c->flags.scroll && orvane::is_true(c->lisp_object())) {
      movers.push_back(c->lisp_object());
      lisp_push(c->lisp_object());
    }
  for (Value object : movers) {
    WindowPeer* c = window_peer_or_null(object);
    if (!c || c->parent != this) continue;
    const raster::IntPoint at = c->get_position();
    Value place = make_point(at.x - dx, at.y - dy);
    lisp_push(place);
    c->set_position(place);
  }
  send_if_understood(*this, "end-scroll");
  if (flags.scroll && update && user_visible())
    if (WindowPeer* painter = pixel_window(*this); painter && painter->hwnd) window_desktop().update_window(painter->hwnd);
}

}  // namespace orvane::ui
