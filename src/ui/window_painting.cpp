// Painting: a window directly in the page draws its whole subtree (windows
// below page level never draw themselves). Painting starts at the front-most
// window that paints the whole area over everything behind it (the start
// window), copies offscreen buffers to the screen, and draws each window:
// background, `paint`, the native drawing hook, the frame.
#include <cstdint>
#include <vector>

#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "platform/desktop/desktop.h"
#include "ui/window_guard.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui {

using raster::DeviceContext;
using raster::IntPoint;
using raster::IntRect;
using raster::Region;

namespace {

// The margin `frame-width` answers for a framed window (0 when its world
// does not define it), read as a 16-bit integer.
int frame_width(const WindowPeer& w) {
  Value v = send_if_understood(w, "frame-width");
  return is_fixnum(v) ? static_cast<std::int16_t>(integer_of(v)) : 0;
}

// The area computation of visible rectangles, on rects or on view rects.
IntRect visible_area(WindowPeer& w, bool whole, bool view) {
  IntRect own = view ? w.view_rect : w.rect;
  if (w.page_level() || w.offscreen.chain || !w.parent) return own;
  if (!whole && w.flags.frame && !w.flags.edit) {
    const int margin = frame_width(w);
    own = own.inflated(-margin, -margin);
  }
  const IntRect parents = visible_area(*w.parent, whole, w.flags.scroll);
  return own.intersected(map_rect(*w.parent, w, parents));
}

// The device position of the window's (0, 0) in a context of the window:
// the context's origin without the scroll offset.
IntPoint client_origin(const WindowPeer& w, const DeviceContext& dc) {
  return {dc.origin().x + w.scroll_offset.x, dc.origin().y + w.scroll_offset.y};
}

// Sets the clip to `area` (window coordinates) within the clip `base` (device).
void clip_within(DeviceContext& dc, const std::optional<Region>& base, IntPoint client, const Region& area) {
  Region device = area;
  device.offset(client.x, client.y);
  if (base) device.intersect(*base);
  dc.set_clip(std::move(device));
}

// The click zone's shape.
enum class ZoneKind { none, oval, line, polygon };

ZoneKind zone_kind(Value zone) {
  if (!is_pair(zone)) return ZoneKind::none;
  if (is_number(car(zone))) return ZoneKind::oval;
  Value rest = cdr(zone);
  if (is_point(car(zone)) && (is_point(rest) || (is_pair(rest) && is_nil(cdr(rest))))) return ZoneKind::line;
  return ZoneKind::polygon;
}

// Restores a port's foreground colour and font when a window's drawing ends.
class PortColours {
 public:
  explicit PortColours(graphics::DrawingPort& port) : port_(&port), fore_(port.fore_color()), font_(port.font()) {}
  ~PortColours() {
    if (!port_) return;
    port_->set_fore_color(fore_);
    port_->set_font(font_);
  }
  // The port went with its window.
  void forget() { port_ = nullptr; }
  PortColours(const PortColours&) = delete;
  PortColours& operator=(const PortColours&) = delete;

 private:
  graphics::DrawingPort* port_;
  graphics::Rgb16 fore_;
  std::optional<FontRecord> font_;
};

// The background of step 7: the rect in the background colour, or the
// shape of the click zone, drawn in the window's coordinates whatever the
// scroll offset of the context.
void draw_background(WindowPeer& w, DeviceContext& dc, IntPoint client) {
  graphics::DrawingPort& port = w.port;
  const IntPoint shift{client.x - dc.origin().x, client.y - dc.origin().y};
  if (w.offscreen.chain || (w.flags.erase && zone_kind(w.click_zone) == ZoneKind::none)) {
    dc.fill_rect(w.rect.translated(shift), raster::Brush::solid(w.color.to_color()));
    return;
  }
  if (!w.flags.erase) return;
  PortColours colours(port);
  port.set_fore_color(w.color);
  switch (zone_kind(w.click_zone)) {
    case ZoneKind::oval:
      port.paint_oval(rect_of(w.click_zone).translated(shift));
      break;
    case ZoneKind::polygon: {
      std::vector<IntPoint> points = polygon_of(w.click_zone);
      for (IntPoint& p : points) p = {p.x + shift.x, p.y + shift.y};
      port.frame_poly(points, w.flags.closed_zone);
      break;
    }
    default:
      break;
  }
}

}  // namespace

HeldWindows::HeldWindows(std::vector<WindowPeer*> peers) : peers_(std::move(peers)), objects_(peers_.size()) {
  for (std::size_t i = 0; i < peers_.size(); ++i) objects_[i] = peers_[i]->lisp_object();
}

WindowPeer* HeldWindows::at(std::size_t i) {
  Value object = objects_[i];
  if (!orvane::is_true(object)) return peers_[i];  // a peer without object: nothing can destroy it from Lisp
  return still_open(object, peers_[i]) ? peers_[i] : nullptr;
}

HeldWindows children_of(const WindowPeer& w) {
  std::vector<WindowPeer*> list;
  for (WindowPeer* c = w.first_child; c; c = c->next_sibling) list.push_back(c);
  return HeldWindows(std::move(list));
}

bool drawn(const WindowPeer& w) { return !w.flags.transparent || w.flags.edit; }

bool paints_opaquely(const WindowPeer& w) { return (w.flags.erase && is_nil(w.click_zone)) || w.flags.opaque; }

IntRect visible_rect(WindowPeer& w, bool whole) { return visible_area(w, whole, false); }

namespace {

// The start window search from w; `owner` is the window whose buffers are
// being composed (offscreen form) or null (screen form).
WindowPeer* search_start(WindowPeer& w, const IntRect& r, WindowPeer* owner, int level) {
  if (r.empty() || r.intersected(w.rect) != r) return nullptr;
  if (!owner && w.offscreen.chain) return w.get_transfer_mode() == 0 ? &w : nullptr;
  for (WindowPeer* c = w.first_child; c; c = c->next_sibling) {
    if (!c->flags.visible || !(drawn(*c) || w.flags.edit)) continue;
    if (owner && c->offscreen_owner() == owner && c->drawing_buffer() != buffer_at_level(*owner, level)) continue;
    const IntRect mine = map_rect(w, *c, r);
    if (!mine.intersects(c->rect)) continue;
    if (WindowPeer* found = search_start(*c, mine, owner, level)) return found;
    // A window in front that takes part without painting the whole area
    // must be painted over what lies behind it: the search stops here.
    break;
  }
  if (paints_opaquely(w) || w.in_page()) return &w;
  return nullptr;
}

}  // namespace

WindowPeer* start_window(WindowPeer& w, const IntRect& r, std::optional<int> level) {
  return search_start(w, r, level ? &w : nullptr, level.value_or(0));
}

void draw_window(WindowPeer& w, DeviceContext& dc, const IntRect& r, bool clip, bool hook) {
  // Each message may destroy w: nothing of it is touched after that.
  const Value object = w.lisp_object();
  const auto gone = [&] { return orvane::is_true(object) && !still_open(object, &w); };
  const IntPoint client = client_origin(w, dc);
  const std::optional<Region> base = dc.clip();
  if (clip) {
    Region area(r.intersected(visible_rect(w, false)));
    if (gone()) return;
    if (!w.drawing_buffer()) {
      for (WindowPeer* c = w.first_child; c; c = c->next_sibling)
        if (c->flags.visible && drawn(*c) && paints_opaquely(*c)) area.subtract(Region(map_rect(*c, w, c->rect)));
    }
    clip_within(dc, base, client, area);
  }
  draw_background(w, dc, client);
  {
    PortColours colours(w.port);
    w.port.set_fore_color(w.color_fore);
    w.port.set_font(w.font);
    layer().update_rect = r;
    send_to(w, "paint");
    if (gone()) {
      colours.forget();
      return;
    }
    if (hook) w.native_draw();
  }
  if (w.flags.edit) send_if_understood(w, "edit-paint");
  if (gone()) return;
  if (w.flags.frame && !w.flags.edit && !w.in_page()) {
    PortColours colours(w.port);
    w.port.set_fore_color(w.color_fore);
    if (clip) {
      const IntRect whole = r.intersected(visible_rect(w, true));
      clip_within(dc, base, client, Region(whole));
    }
    send_if_understood(w, "draw-frame");
    if (gone()) {
      colours.forget();
      return;
    }
  }
  if (clip) dc.set_clip(base);
}

namespace {

// Step 3 of the paint, with the screen area of the system window.
void paint_in(WindowPeer& w, const IntRect& r, WindowPeer* capture, bool direct, const Region& area) {
  if (!drawn(w) || (!w.flags.visible && &w != capture)) return;
  if (!r.intersects(w.rect)) return;
  const Value object = w.lisp_object();
  DeviceContext dc = screen_context(w, &area);
  // The system window's area within the rectangle being painted.
  Region clip_area(r);
  clip_area.offset(client_origin(w, dc).x, client_origin(w, dc).y);
  clip_area.intersect(area);
  if (dc.clip()) dc.set_clip(dc.clip()->intersected(clip_area));
  graphics::DrawingSession session(w.port, dc);
  graphics::Offscreen* buffer = w.drawing_buffer();
  WindowPeer* owner = w.offscreen_owner();
  const bool owns_alone = owner == &w && (!w.parent || !w.parent->drawing_buffer());
  if (buffer && !direct && (capture || owns_alone)) {
    const IntRect s = r.intersected(w.rect);
    if (capture || owner->flags.scrolled || !owner->flags.recomposed) {
      copy_buffer_to_screen(w, s, &clip_area);
    } else {
      LispStackMark mark;
      Value area = make_rect(s);
      lisp_push(area);
      send_if_understood(w, "copy-offscreen", {area});
      if (orvane::is_true(object) && !still_open(object, &w)) return;
    }
    if (!capture) owner->flags.recomposed = false;
  }
  WindowPeer* start = start_window(w, r, std::nullopt);
  if (start && start != &w) {
    paint_in(*start, map_rect(w, *start, r), capture, direct, area);
    return;
  }
  HeldWindows children = children_of(w);
  if (!buffer || direct) {
    draw_window(w, dc, r, !capture, !capture);
  } else if (!capture) {
    PortColours colours(w.port);
    w.port.set_fore_color(w.color_fore);
    w.port.set_font(w.font);
    w.native_draw();
  }
  for (std::size_t i = children.size(); i-- > 0;)
    if (WindowPeer* c = children.at(i); c && c->parent == &w) paint_in(*c, map_rect(w, *c, r), capture, direct, area);
}

// The window whose screen area w draws in.
WindowPeer* painter_of(WindowPeer& w) {
  if (w.in_page()) return &w;
  return w.page_level() ? nullptr : w.system;
}

}  // namespace

void paint_window(WindowPeer& w, const IntRect& r, WindowPeer* capture, bool direct) {
  WindowPeer* painter = painter_of(w);
  if (!painter || !painter->hwnd) return;
  paint_in(w, r, capture, direct, system_area(*painter));
}

void WindowPeer::paint_message() {
  if (!in_page() || !hwnd) return;
  desktop::Desktop& d = window_desktop();
  update_offscreen(*this);
  paint_begin();
  {
    desktop::PaintScope scope(d, hwnd);
    const IntRect area = scope.paint().paint_rect;
    if (!area.empty()) paint_in(*this, area, nullptr, false, system_area(*this));
  }
  paint_end();
  port.set_dirty_rect({});
}

void WindowPeer::paint_begin() {
  HeldWindows children = children_of(*this);
  for (std::size_t i = 0; i < children.size(); ++i)
    if (WindowPeer* c = children.at(i)) c->paint_begin();
}

void WindowPeer::paint_end() {
  HeldWindows children = children_of(*this);
  for (std::size_t i = 0; i < children.size(); ++i)
    if (WindowPeer* c = children.at(i)) c->paint_end();
}

void WindowPeer::paint() { send_if_understood(*this, "window-paint"); }

Value send_if_understood(const WindowPeer& w, std::string_view selector, std::initializer_list<Value> args) {
  Value object = w.lisp_object();
  if (!orvane::is_true(object) || value_in_object(object, selector) == kNoValue) return kNoValue;
  return send_to(w, selector, args);
}

}  // namespace orvane::ui
