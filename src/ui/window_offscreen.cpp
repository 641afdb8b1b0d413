// Offscreen buffers of window objects: the chain of levels a window owns,
// and their composition (each level starts from the previous one, then the
// windows drawing into it are drawn over it; a buffer that does not paint
// every pixel gets a mask of what it shows).
#include <algorithm>
#include <memory>
#include <vector>

#include "core/symbols.h"
#include "graphics/drawing_values.h"
#include "graphics/offscreen.h"
#include "core/errors.h"
#include "ui/window_guard.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::IntRect;

namespace {

// The globals that say how new buffers are made: `offscreen-depth` (bits per
// pixel, 0 or unbound as the screen) and `offscreen-palette` (the id of a
// "clut" resource, or nil).
graphics::OffscreenSpec buffer_spec(const IntRect& frame, int levels) {
  graphics::OffscreenSpec spec = graphics::OffscreenSpec::of(frame);
  spec.level = levels;
  Value depth = symbol_global(intern("offscreen-depth"));
  if (is_fixnum(depth)) spec.depth = integer_of(depth);
  Value palette = symbol_global(intern("offscreen-palette"));
  if (is_fixnum(palette)) spec.color_table = clut_resource(palette);
  return spec;
}

void mark_all_levels_dirty(WindowPeer& owner) {
  for (graphics::Offscreen* o = owner.offscreen.chain.get(); o; o = o->next()) o->port().set_dirty_rect(o->frame());
}

// The level of its owner's chain a window draws into: its own level, kept
// within the chain's levels.
int effective_level(const WindowPeer& w, const WindowPeer& owner) {
  return std::clamp(w.offscreen_level, 1, std::max(owner.offscreen.count(), 1));
}

// Whether a window is still open; a peer without object cannot be destroyed
// from Lisp.
bool alive(Value object, const WindowPeer* w) { return !orvane::is_true(object) || still_open(object, w); }

// The owners whose buffers are being composed or drawn into by
// with-drawing: their chains cannot be replaced meanwhile. A documented
// singleton of the window layer.
std::vector<const WindowPeer*>& busy_owners() {
  static std::vector<const WindowPeer*> owners;
  return owners;
}

// An owner whose buffers are composed now; its object is held so that a
// handler that destroys it is noticed.
class Composition {
 public:
  explicit Composition(WindowPeer& owner) : owner_(owner), object_(1), busy_(owner) {
    object_[0] = owner.lisp_object();
  }
  WindowPeer& owner() { return owner_; }
  bool gone() { return !alive(object_[0], &owner_); }

 private:
  WindowPeer& owner_;
  objects::StackRoots object_;
  BusyBuffers busy_;
};

// Draws window x (and its descendants drawing into the same owner) into
// level `level` of the owner, within the level's dirty rectangle; with
// `following`, x's following siblings first, the back-most first. Stops
// as soon as a handler has destroyed x or the owner.
void draw_into_level(Composition& c, int level, WindowPeer& x, bool following) {
  WindowPeer& owner = c.owner();
  if (following) {
    std::vector<WindowPeer*> list;
    for (WindowPeer* s = x.next_sibling; s; s = s->next_sibling) list.push_back(s);
    HeldWindows behind(std::move(list));
    for (std::size_t i = behind.size(); i-- > 0;) {
      if (WindowPeer* s = behind.at(i)) draw_into_level(c, level, *s, false);
      if (c.gone()) return;
    }
  }
  graphics::Offscreen* buffer = buffer_at_level(owner, level);
  if (!buffer) return;
  IntRect r = map_rect(owner, x, buffer->port().dirty_rect()).intersected(x.rect);
  if (r.empty() || !drawn(x) || (!x.flags.visible && &x != &owner)) return;
  if (x.offscreen_owner() == &owner) {
    HeldWindows self({&x});
    const bool own_level = effective_level(x, owner) == level;
    std::optional<raster::DeviceContext> dc;
    std::optional<graphics::DrawingSession> session;
    if (own_level) {
      dc.emplace(buffer_context(x, *buffer));
      session.emplace(x.port, *dc);
      draw_window(x, *dc, r, true, false);
      if (c.gone() || !self.at(0)) return;
    }
    HeldWindows children = children_of(x);
    for (std::size_t i = children.size(); i-- > 0;) {
      if (WindowPeer* child = children.at(i)) draw_into_level(c, level, *child, false);
      if (c.gone() || !self.at(0)) return;
    }
    if (own_level) {
      layer().update_rect = r;
      send_if_understood(x, "after-paint");
    }
    return;
  }
  if (x.offscreen.chain && current_buffer(owner) == buffer) {
    // A nested owner: its composed buffer goes into this level.
    IntRect shown = r;
    if (x.parent) shown = shown.intersected(map_rect(*x.parent, x, visible_rect(*x.parent, true)));
    if (shown.empty()) return;
    graphics::Offscreen* source = current_buffer(x);
    if (!source) return;
    raster::DeviceContext dst(buffer->surface());
    dst.set_origin({-buffer->frame().left, -buffer->frame().top});
    transfer_buffer(dst, map_rect(x, owner, shown), *source, shown, x.get_transfer_mode());
  }
}

}  // namespace

void transfer_buffer(raster::DeviceContext& dst, const IntRect& dst_rect, graphics::Offscreen& source,
                     const IntRect& src_rect, int mode) {
  const raster::Surface* mask =
      (mode & 0x3f) == graphics::kTransparentMode && source.mask() ? &*source.mask() : nullptr;
  graphics::transfer_image(dst, dst_rect, source.context(), src_rect, mode, mask);
}

void copy_buffer_to_screen(WindowPeer& w, const IntRect& r, const raster::Region* area) {
  WindowPeer* owner = w.offscreen_owner();
  graphics::Offscreen* source = owner ? current_buffer(*owner) : nullptr;
  if (!source) return;
  const IntRect shown = r.intersected(w.rect);
  raster::DeviceContext dc = screen_context(w, area);
  // The rectangles are the window's, whatever its scroll offset.
  dc.set_origin({dc.origin().x + w.scroll_offset.x, dc.origin().y + w.scroll_offset.y});
  transfer_buffer(dc, shown, *source, map_rect(w, *owner, shown), w.get_transfer_mode());
}

graphics::Offscreen* buffer_at_level(const WindowPeer& owner, int level) { return owner.offscreen.level(level); }

graphics::Offscreen* current_buffer(const WindowPeer& owner) { return owner.offscreen.level(1); }

BusyBuffers::BusyBuffers(const WindowPeer& owner) { busy_owners().push_back(&owner); }

BusyBuffers::~BusyBuffers() { busy_owners().pop_back(); }

bool buffers_busy(const WindowPeer& w) {
  const auto& owners = busy_owners();
  return std::find(owners.begin(), owners.end(), &w) != owners.end();
}

void set_offscreen_levels(WindowPeer& w, int levels) {
  if (buffers_busy(w)) raise_error(2, w.lisp_object());
  if (levels <= 0) {
    drop_offscreen(w);
  } else {
    auto chain = std::make_unique<graphics::Offscreen>(buffer_spec(w.rect, levels));
    w.offscreen.chain = std::move(chain);
    w.flags.recomposed = true;
    w.flags.scrolled = false;
    mark_all_levels_dirty(w);
  }
  invalidate_window(w, true);
}

void drop_offscreen(WindowPeer& w) { w.offscreen.chain.reset(); }

void resize_offscreen(WindowPeer& w) {
  const int levels = w.offscreen.count();
  // Buffers being drawn into keep their size until the next size change.
  if (levels == 0 || w.rect.empty() || buffers_busy(w)) return;
  w.offscreen.chain = std::make_unique<graphics::Offscreen>(buffer_spec(w.rect, levels));
  w.flags.recomposed = true;
  mark_all_levels_dirty(w);
}

void WindowPeer::size_update(int, int) { resize_offscreen(*this); }

void update_offscreen(WindowPeer& w) {
  if (!drawn(w) || !(w.flags.visible || w.offscreen.chain)) return;
  {
    HeldWindows children = children_of(w);
    for (std::size_t i = 0; i < children.size(); ++i)
      if (WindowPeer* c = children.at(i)) update_offscreen(*c);
  }
  graphics::Offscreen* current = current_buffer(w);
  if (!current || current->port().dirty_rect().empty()) return;
  Composition composition(w);
  graphics::Offscreen* previous = nullptr;
  for (graphics::Offscreen* l = w.offscreen.chain.get(); l; previous = l, l = l->next()) {
    const int level = l->level();
    const IntRect dirty = l->port().dirty_rect();
    if (dirty.empty()) continue;
    if (previous) {
      raster::DeviceContext dst(l->surface());
      dst.set_origin({-l->frame().left, -l->frame().top});
      dst.bit_blit(dirty, previous->context(), dirty.top_left(), raster::RasterOp::src_copy);
    }
    WindowPeer* start = start_window(w, dirty, level);
    if (!start) start = &w;
    while (start != &w && start->parent && start->parent->offscreen_owner() != &w) start = start->parent;
    draw_into_level(composition, level, *start, false);
    if (composition.gone()) return;
    l->port().set_dirty_rect({});
  }
  if (!paints_opaquely(w)) current->make_mask();
  w.flags.recomposed = true;
}

}  // namespace orvane::ui
