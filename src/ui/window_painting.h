// Painting window objects: invalidation, offscreen buffers and their
// composition, visible rectangles, start windows and the paint of a window
// directly in the page with its whole subtree. The window layer's other
// files (opening, showing, moving, the event dispatcher) call these.
//
// Every rectangle is in the coordinates of the window it is given with.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>

#include <vector>

#include "core/value.h"
#include "objects/stack_roots.h"

#include "platform/raster/device_context.h"
#include "platform/raster/geometry.h"
#include "platform/raster/region.h"

namespace orvane::graphics {
class Offscreen;
}

namespace orvane::ui {

class WindowPeer;

// Sends a message the window's class may leave undefined (the hooks of
// painting and scrolling): nothing, answering no-value, when its object has
// no such method.
Value send_if_understood(const WindowPeer& w, std::string_view selector, std::initializer_list<Value> args = {});

// Windows walked across messages to Lisp, whose handlers may destroy any
// of them: their objects are held on the Lisp stack, and a window destroyed
// meanwhile is answered as null.
class HeldWindows {
 public:
  explicit HeldWindows(std::vector<WindowPeer*> peers);
  std::size_t size() const { return peers_.size(); }
  WindowPeer* at(std::size_t i);

 private:
  std::vector<WindowPeer*> peers_;
  objects::StackRoots objects_;
};
// The children of w, front to back.
HeldWindows children_of(const WindowPeer& w);

// --- Invalidation --------------------------------------------------------------
// Marks r of w for repainting: the dirty rectangles of the buffers above w,
// then the desktop's update regions (the page's children take a rectangle
// they hold whole; anything else invalidates the whole screen, erasing).
void invalidate_rect(WindowPeer& w, const raster::IntRect& r, bool erase);
// Marks the whole window (its rect).
void invalidate_window(WindowPeer& w, bool erase = true);
// Removes r of w from the update region of the desktop window that paints it.
void validate_rect(WindowPeer& w, const raster::IntRect& r);

// --- Offscreen buffers -----------------------------------------------------------
// Gives w a chain of `levels` buffers at its rect (0: drops them), with the
// depth of `offscreen-depth` and the colour table of `offscreen-palette`,
// and invalidates it.
void set_offscreen_levels(WindowPeer& w, int levels);
// While one lives, the buffers of `owner` are being drawn into: replacing
// them raises error 2 (set-offscreen?), resizing them waits.
class BusyBuffers {
 public:
  explicit BusyBuffers(const WindowPeer& owner);
  ~BusyBuffers();
  BusyBuffers(const BusyBuffers&) = delete;
  BusyBuffers& operator=(const BusyBuffers&) = delete;
};
bool buffers_busy(const WindowPeer& owner);
// Drops the buffers w owns without a word to anyone (destruction).
void drop_offscreen(WindowPeer& w);
// Recreates the buffers of w at its current rect, keeping their number.
void resize_offscreen(WindowPeer& w);
// The owner's buffer of level L, or null.
graphics::Offscreen* buffer_at_level(const WindowPeer& owner, int level);
// The owner's current buffer: level 1, the last of its chain, where the
// composition ends (what the screen shows).
graphics::Offscreen* current_buffer(const WindowPeer& owner);
// Transfers src_rect of a buffer onto dst_rect of dst with a transfer mode
// (mode 36 through the buffer's mask, when it has one).
void transfer_buffer(raster::DeviceContext& dst, const raster::IntRect& dst_rect, graphics::Offscreen& source,
                     const raster::IntRect& src_rect, int mode);
// Copies r of w from its owner's current buffer to the screen with w's
// transfer mode, within `area` of the screen (null: w's system window's).
void copy_buffer_to_screen(WindowPeer& w, const raster::IntRect& r, const raster::Region* area);
// Offscreen composition: brings w's buffers (and those of its descendants)
// up to date.
void update_offscreen(WindowPeer& w);

// --- Painting ---------------------------------------------------------------------
// The visible rectangle of w: its rect, shrunk by `frame-width` for a framed
// window unless `whole`, cut by the parents' visible (view) rectangles.
raster::IntRect visible_rect(WindowPeer& w, bool whole);
// Whether w paints every pixel of its rect (erase without click zone, or opaque).
bool paints_opaquely(const WindowPeer& w);
// Whether w is drawn at all: not transparent, or in edit mode.
bool drawn(const WindowPeer& w);
// The start window for r from w: on screen (level nothing) or in the
// buffers of w at a level. Null: w itself.
WindowPeer* start_window(WindowPeer& w, const raster::IntRect& r, std::optional<int> level);
// Draws w alone within r on dc (whose drawing session is w's port's):
// clip, background, `paint`, the native drawing hook, `edit-paint`, the frame.
void draw_window(WindowPeer& w, raster::DeviceContext& dc, const raster::IntRect& r, bool clip, bool hook);
// Paints w within r on the screen: the whole subtree, from the start window.
// `capture` is a window whose buffer is always copied (image captures);
// `direct` draws windows of buffers straight onto the screen.
void paint_window(WindowPeer& w, const raster::IntRect& r, WindowPeer* capture, bool direct);

// Runs draw on w's current context: the one of its port's drawing session,
// or a context opened on the screen for the call (error 2 with w's object
// when w is not visible).
void draw_in_window(WindowPeer& w, const std::function<void(raster::DeviceContext&)>& draw);
// Registers draw-picture and draw-picture-in-rect.
void register_window_picture_methods(Value klass);

// --- Drawing contexts ----------------------------------------------------------
// What of the screen the windows of a system window (a window directly in
// the page) may draw on: its visible area, its children's included.
raster::Region system_area(const WindowPeer& system);
// A device context on the screen for w, its origin at w's scroll offset:
// the page and the root draw on their desktop windows; the others on what
// of their rect their parents leave visible, within their system window's
// area (`area`, or computed when null).
raster::DeviceContext screen_context(WindowPeer& w, const raster::Region* area = nullptr);
// A device context on the buffer w draws into, its origin at w's place in
// the owner's buffer and w's scroll offset, clipped to w's visible rect.
raster::DeviceContext buffer_context(WindowPeer& w, graphics::Offscreen& buffer);

}  // namespace orvane::ui
