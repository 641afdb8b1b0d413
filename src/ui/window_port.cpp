// Every window object is a drawing port: the device contexts its drawing
// goes to (its desktop window, its offscreen buffer, its system window's
// context), the contexts with-drawing keeps while it draws, and the presses
// that stop an animation.
#include <memory>
#include <vector>

#include "core/errors.h"
#include "core/memory.h"
#include "graphics/offscreen.h"
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::DeviceContext;
using raster::IntPoint;
using raster::IntRect;
using raster::Region;

namespace {

// A context handed to with-drawing or with-system-drawing; one on a buffer
// keeps its owner's buffers from being replaced while it lives.
struct GivenContext {
  std::unique_ptr<DeviceContext> dc;
  std::unique_ptr<BusyBuffers> busy;
};

// The contexts given, innermost last: drawing sessions nest, so each release
// gives back the last one. A documented singleton of the window layer.
std::vector<GivenContext>& given_contexts() {
  static std::vector<GivenContext> contexts;
  return contexts;
}

DeviceContext& keep(DeviceContext dc, const WindowPeer* buffer_owner = nullptr) {
  GivenContext given{std::make_unique<DeviceContext>(std::move(dc)), nullptr};
  if (buffer_owner) given.busy = std::make_unique<BusyBuffers>(*buffer_owner);
  given_contexts().push_back(std::move(given));
  return *given_contexts().back().dc;
}

// The desktop window whose client area is the window's drawing surface: the
// MDI client for the root.
desktop::Hwnd surface_window(const WindowPeer& w) { return w.is_root() ? layer().mdi_client : w.hwnd; }

IntPoint minus(IntPoint a, IntPoint b) { return {a.x - b.x, a.y - b.y}; }

// Drawing starts in the window's own font.
void prepare_port(WindowPeer& w) { w.port.set_font(w.font); }

}  // namespace

Region system_area(const WindowPeer& sys) {
  desktop::Desktop& d = window_desktop();
  Region area = d.visible_region(surface_window(sys), true);
  if (!(d.style(sys.hwnd) & desktop::WS_CLIPCHILDREN)) return area;
  // The windows inside draw where their desktop windows lie.
  std::vector<desktop::Hwnd> pending = d.children(sys.hwnd);
  while (!pending.empty()) {
    desktop::Hwnd h = pending.back();
    pending.pop_back();
    if (!d.is_visible(h)) continue;
    area.unite(d.visible_region(h, true));
    for (desktop::Hwnd c : d.children(h)) pending.push_back(c);
  }
  return area;
}

DeviceContext screen_context(WindowPeer& w, const Region* area) {
  desktop::Desktop& d = window_desktop();
  w.port.set_origin_offset(w.scroll_offset);
  WindowPeer* painter = w.page_level() && !w.in_page() ? nullptr : w.in_page() ? &w : w.system;
  if (!painter || !painter->hwnd) {
    // The root and the page draw on the MDI client, the page at its place.
    DeviceContext dc = d.get_dc(layer().mdi_client);
    IntPoint place{};
    if (w.is_page() && layer().root && w.hwnd) place = map_point(w, *layer().root, {0, 0});
    dc.set_origin(minus({dc.origin().x + place.x, dc.origin().y + place.y}, w.scroll_offset));
    return dc;
  }
  // Windows below the page level draw over their system window's area,
  // whatever desktop windows lie over theirs: cut only by their parents.
  const IntPoint client = d.client_to_screen(w.hwnd, {0, 0});
  Region clip(visible_rect(w, true).translated(client));
  if (area)
    clip.intersect(*area);
  else
    clip.intersect(system_area(*painter));
  DeviceContext dc(d.framebuffer());
  dc.set_brush_origin(client);
  dc.set_origin(minus(client, w.scroll_offset));
  d.mark_dirty(clip.bounds());
  dc.set_clip(std::move(clip));
  return dc;
}

DeviceContext buffer_context(WindowPeer& w, graphics::Offscreen& buffer) {
  DeviceContext dc(buffer.surface());
  WindowPeer* owner = w.offscreen_owner();
  IntPoint place = owner ? map_point(w, *owner, {0, 0}) : IntPoint{};
  IntPoint device{place.x - buffer.frame().left, place.y - buffer.frame().top};
  IntRect visible = visible_rect(w, true).translated(device);
  dc.set_clip(Region(visible.intersected(buffer.surface().bounds())));
  dc.set_brush_origin(device);
  dc.set_origin(minus(device, w.scroll_offset));
  w.port.set_origin_offset(w.scroll_offset);
  return dc;
}

DeviceContext& WindowPeer::drawing_context(Value object, bool offscreen) {
  if (offscreen) {
    if (graphics::Offscreen* buffer = drawing_buffer()) {
      DeviceContext dc = buffer_context(*this, *buffer);
      prepare_port(*this);
      return keep(std::move(dc), offscreen_owner());
    }
  }
  if (!flags.visible || !hwnd) raise_error(2, object);
  DeviceContext dc = screen_context(*this);
  layer().update_rect = rect;
  prepare_port(*this);
  return keep(std::move(dc));
}

DeviceContext& WindowPeer::system_drawing_context(Value object) {
  WindowPeer* sys = is_page() || is_root() ? this : (system ? system : this);
  if (!sys->flags.visible || !sys->hwnd) raise_error(2, object);
  if (sys == this && !in_page()) {
    prepare_port(*this);
    return keep(screen_context(*this));
  }
  desktop::Desktop& d = window_desktop();
  DeviceContext dc = d.get_dc(surface_window(*sys));
  // Drawn in this window's coordinates, anywhere in the system window.
  IntPoint place = map_point(*this, *sys, {0, 0});
  IntPoint client = dc.origin();
  Region allowed(sys->rect.translated(client));
  if (dc.clip()) allowed.intersect(*dc.clip());
  dc.set_clip(allowed);
  dc.set_origin(minus({client.x + place.x, client.y + place.y}, scroll_offset));
  prepare_port(*this);
  return keep(std::move(dc));
}

void WindowPeer::release_drawing_context() {
  if (!given_contexts().empty()) given_contexts().pop_back();
}

DeviceContext* WindowPeer::image_context() { return nullptr; }

std::optional<IntPoint> WindowPeer::take_stopping_press(const IntRect& image_rect, Value stop) {
  desktop::Desktop* d = layer().desktop;
  if (!d || !hwnd) return std::nullopt;
  desktop::Message m;
  while (d->peek_message(m, {}, desktop::WM_LBUTTONDOWN, desktop::WM_MBUTTONDBLCLK, desktop::PM_REMOVE)) {
    if (m.message != desktop::WM_LBUTTONDOWN && m.message != desktop::WM_LBUTTONDBLCLK) continue;
    IntPoint screen = d->client_to_screen(m.hwnd, desktop::point_of(m.lparam));
    IntPoint here = d->screen_to_client(surface_window(*this), screen);
    here = {here.x + scroll_offset.x, here.y + scroll_offset.y};
    if (image_rect.contains(here)) return here;
    for (Value l = stop; is_pair(l); l = cdr(l)) {
      WindowPeer* other = window_peer_or_null(car(l));
      if (!other || !other->hwnd) continue;
      IntPoint inside = d->screen_to_client(surface_window(*other), screen);
      if (other->rect.contains(inside)) return here;
    }
  }
  return std::nullopt;
}

void WindowPeer::invalidate(const IntRect& r) { invalidate_rect(*this, r, true); }

void draw_in_window(WindowPeer& w, const std::function<void(DeviceContext&)>& draw) {
  if (graphics::current_port() == &w.port) {
    draw(w.port.context());
    return;
  }
  DeviceContext& dc = w.drawing_context(w.lisp_object(), false);
  struct Release {
    WindowPeer& w;
    ~Release() { w.release_drawing_context(); }
  } release{w};
  graphics::DrawingSession session(w.port, dc);
  draw(dc);
}

}  // namespace orvane::ui
