#include "shell/mouse_state.h"

#include "core/memory.h"
#include "platform/desktop/desktop.h"
#include "shell/dispatch_state.h"
#include "shell/guarded_calls.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::shell {

namespace {

using raster::IntPoint;
using ui::WindowPeer;

desktop::Desktop& desk() { return *dispatch_state().desktop; }
MouseState& mouse() { return dispatch_state().mouse; }

Value fixnum(int n) { return make_fixnum(n); }

IntPoint to_root(desktop::Hwnd from, IntPoint p) { return desk().map_point(from, dispatch_state().client, p); }
IntPoint from_root(const WindowPeer& to, IntPoint p) { return desk().map_point(dispatch_state().client, to.hwnd, p); }

// A window's own desktop window, or for the page, where it captures: the MDI client.
desktop::Hwnd capture_window_of(const WindowPeer& w) { return w.is_page() ? dispatch_state().client : w.hwnd; }

// The window of the page's tree under a point of the root: the window of the
// page under the point asks its `find-window`. Null: the page. A world
// whose windows do not answer `find-window` gets the deepest window object
// the desktop finds there.
WindowPeer* window_under(IntPoint root_point) {
  desktop::Desktop& d = desk();
  desktop::Hwnd h = d.child_window_from_point(dispatch_state().client, root_point);
  WindowPeer* system = ui::window_peer_of(h);
  if (!system || !system->in_page()) return nullptr;
  IntPoint local = from_root(*system, root_point);
  Value found = guarded_send(system->lisp_object(), "find-window", {fixnum(local.x), fixnum(local.y)});
  WindowPeer* w = ui::window_peer_or_null(found);
  if (found == kNoValue) {
    for (desktop::Hwnd at = d.window_from_point(d.client_to_screen(dispatch_state().client, root_point)); at && !w;
         at = d.parent(at))
      w = ui::window_peer_of(at);
  }
  return w && !w->is_page() && !w->is_root() ? w : nullptr;
}

// The drag check, with the current point in the last click window's coordinates.
void drag_check(IntPoint point) {
  MouseState& m = mouse();
  if (!m.drag_armed) return;
  Value window = m.last_click_window;
  if (!is_true(guarded_send(window, "ready-mouse-drag?", {fixnum(point.x), fixnum(point.y)}))) return;
  m.dragging = true;
  m.drag_armed = false;
  if (!is_true(guarded_send(window, "get-draggable?", {fixnum(point.x), fixnum(point.y)}))) return;
  if (WindowPeer* w = ui::window_peer_or_null(window)) w->start_drag(m.last_click.x, m.last_click.y, false);
}

// The target becomes the mouse window; a change ends the mouse-down state and
// tells the old window (while it lives and is not closing) and the new one.
void become_mouse_window(Value target) {
  MouseState& m = mouse();
  if (m.mouse_window == target) return;
  end_mouse_down();
  Value old = m.mouse_window;
  m.mouse_window = target;
  WindowPeer* old_peer = ui::window_peer_or_null(old);
  if (old_peer && !old_peer->flags.in_close) guarded_send(old, "exit-mouse");
  guarded_send(target, "enter-mouse");
}

}  // namespace

bool mouse_press(desktop::Hwnd hwnd, IntPoint point, bool double_click) {
  MouseState& m = mouse();
  ui::WindowLayer& layer = ui::layer();
  IntPoint root = to_root(hwnd, point);
  WindowPeer* target = layer.capture ? layer.capture : window_under(root);
  WindowPeer* page = layer.page;
  if (!target) target = page;
  if (page && page->modal && (!target || target->system != page->modal)) {
    guarded_send(page->modal->lisp_object(), "out-of-modal", {fixnum(root.x), fixnum(root.y)});
    return true;
  }
  if (!target || target == page || target->is_root()) return false;
  Value object = target->lisp_object();
  become_mouse_window(object);
  target = ui::window_peer_or_null(object);
  if (!target) return true;
  if (!target->handles_capture_itself()) desk().set_capture(target->hwnd);
  IntPoint local = from_root(*target, root);
  m.last_click_window = object;
  m.last_click = local;
  m.last_mouse = local;
  m.drag_armed = true;
  m.double_click = target->flags.can_double_click && double_click;
  m.in_mouse_down = true;
  drag_check(local);
  guarded_send(object, "mouse-down-system", {fixnum(local.x), fixnum(local.y)});
  return true;
}

bool mouse_release(desktop::Hwnd hwnd, IntPoint point) {
  MouseState& m = mouse();
  if (!m.in_mouse_down) {
    end_mouse_down();
    return false;
  }
  ui::WindowLayer& layer = ui::layer();
  IntPoint root = to_root(hwnd, point);
  Value target = layer.capture ? layer.capture->lisp_object() : m.last_click_window;
  end_mouse_down();
  if (WindowPeer* w = ui::window_peer_or_null(target)) {
    IntPoint local = from_root(*w, root);
    guarded_send(target, "mouse-up-system", {fixnum(local.x), fixnum(local.y)});
  }
  return true;
}

void mouse_move(desktop::Hwnd hwnd, IntPoint point, bool forced) {
  MouseState& m = mouse();
  ui::WindowLayer& layer = ui::layer();
  if (m.in_mouse_down && !desk().button_still_down()) end_mouse_down();
  IntPoint root = to_root(hwnd, point);
  if (m.drag_armed)
    if (WindowPeer* clicked = ui::window_peer_or_null(m.last_click_window)) drag_check(from_root(*clicked, root));
  WindowPeer* target = layer.capture;
  if (!target && m.in_mouse_down) {
    target = ui::window_peer_or_null(m.last_click_window);
    if (!target) target = layer.page;
  }
  if (!target) {
    target = window_under(root);
    if (target && !target->flags.active && !(target->system && target->system->flags.floating)) target = nullptr;
    if (!target) target = layer.page;
  }
  if (!target || !target->hwnd) return;
  Value object = target->lisp_object();
  IntPoint local = from_root(*target, root);
  if (object == m.mouse_window && local == m.last_mouse && !forced) return;
  m.last_mouse = local;
  become_mouse_window(object);
  if (!ui::window_peer_or_null(object)) return;
  guarded_send(object, "activate-cursor", {fixnum(local.x), fixnum(local.y)});
  if (m.dragging) {
    guarded_send(object, "mouse-drag-system",
                 {fixnum(local.x), fixnum(local.y), fixnum(local.x - m.last_click.x), fixnum(local.y - m.last_click.y)});
  } else {
    guarded_send(object, "mouse-move-system", {fixnum(local.x), fixnum(local.y)});
  }
}

void end_mouse_down() {
  MouseState& m = mouse();
  bool was_down = m.in_mouse_down || m.dragging;
  m.in_mouse_down = m.dragging = m.drag_armed = false;
  if (!was_down) return;
  ui::WindowLayer& layer = ui::layer();
  if (layer.capture) {
    desk().set_capture(capture_window_of(*layer.capture));
  } else {
    desk().release_capture();
  }
  if (layer.drag) layer.drag->release_drag();
}

void reset_mouse(desktop::Hwnd hwnd) {
  using namespace desktop;
  mouse().last_mouse = {-1, -1};
  if (!hwnd) return;
  Desktop& d = desk();
  Message waiting;
  for (std::uint32_t message : {ui::kReexamineMessage, WM_LBUTTONUP, WM_NCLBUTTONUP})
    if (d.peek_message(waiting, hwnd, message, message, PM_NOREMOVE)) return;
  d.post_message(hwnd, ui::kReexamineMessage);
}

}  // namespace orvane::shell
