#include "shell/object_procedure.h"

#include <algorithm>
#include <optional>

#include "graphics/geometry_values.h"
#include "platform/desktop/desktop.h"
#include "shell/cursors.h"
#include "shell/dispatch_state.h"
#include "shell/guarded_calls.h"
#include "shell/mouse_state.h"
#include "ui/window_layer.h"
#include "ui/window_lists.h"
#include "ui/window_peer.h"

namespace orvane::shell {

namespace {

using namespace desktop;
using ui::WindowPeer;

Desktop& desk() { return *dispatch_state().desktop; }

bool is_fixnum_value(Value v) { return v.tag() == tag::integer; }
int fixnum_or_zero(Value v) { return is_fixnum_value(v) ? v.fixnum() : 0; }

bool activation_left_alone(const WindowPeer& w) { return w.flags.floating || ui::layer().alert_up; }

bool within(const WindowPeer* w, const WindowPeer& ancestor) {
  for (; w; w = w->parent)
    if (w == &ancestor) return true;
  return false;
}

// The window and its active descendants get `deactivate`; the mouse window
// among them has the mouse position looked at again.
void deactivated(WindowPeer& peer) {
  if (activation_left_alone(peer)) return;
  Value mouse_object = dispatch_state().mouse.mouse_window;
  bool had_mouse = within(ui::window_peer_or_null(mouse_object), peer);
  ui::deactivate_tree(peer);
  WindowPeer* mouse_window = ui::window_peer_or_null(mouse_object);
  if (had_mouse && mouse_window && !mouse_window->flags.in_close && mouse_window->hwnd)
    desk().post_message(mouse_window->hwnd, ui::kReexamineMessage);
}

void private_activate(WindowPeer& peer) {
  ui::refresh_front_window();
  if (activation_left_alone(peer) || ui::layer().front != &peer) return;
  ui::activate_tree(peer);
}

}  // namespace

void window_resized(WindowPeer& peer, int width, int height) {
  raster::IntRect old = peer.rect;
  raster::IntRect now{0, 0, width, height};
  if (peer.virtual_rect == old) peer.virtual_rect = now;
  peer.rect = peer.view_rect = peer.frame_rect = now;
  guarded_send(peer.lisp_object(), "size-update", {make_fixnum(old.width()), make_fixnum(old.height())});
  if (WindowPeer* still = ui::window_peer_or_null(peer.lisp_object())) still->previous_rect = now;
}

namespace {

void close_requested(WindowPeer& peer) {
  Value object = peer.lisp_object();
  if (is_true(guarded_send(object, "appeal"))) guarded_send(object, "destroy");
}

// The scroll bar's code as an amount; `end-scroll` for the end of a scroll.
int scroll_amount(WindowPeer& peer, int bar, int code, int thumb) {
  Value object = peer.lisp_object();
  const bool h = bar == SB_HORZ;
  auto ask = [&](const char* selector) { return fixnum_or_zero(guarded_send(object, selector)); };
  switch (code) {
    case SB_LINEUP: return -ask(h ? "line-width" : "line-height");
    case SB_LINEDOWN: return ask(h ? "line-width" : "line-height");
    case SB_PAGEUP: return -ask(h ? "page-width" : "page-height");
    case SB_PAGEDOWN: return ask(h ? "page-width" : "page-height");
    case SB_THUMBPOSITION: return thumb - desk().get_scroll_pos(peer.hwnd, bar);
    case SB_ENDSCROLL: guarded_send(object, "end-scroll"); return 0;
    default: return 0;
  }
}

// A scroll bar's amount cut so that the position stays within the bar's
// range (with a page, the last position that still shows a whole page).
int clamp_scroll(int amount, const ScrollInfo& info) {
  int last = info.page > 0 ? info.max - static_cast<int>(info.page) + 1 : info.max;
  int target = std::clamp(info.pos + amount, info.min, std::max(info.min, last));
  return target - info.pos;
}

// A scroll bar message: the amount clamped into the bar's range, the bar
// moved and `scroll` sent.
void scrolled(WindowPeer& peer, int bar, WParam wparam) {
  int amount = scroll_amount(peer, bar, static_cast<int>(wparam & 0xffff), static_cast<std::int16_t>(wparam >> 16));
  if (amount == 0 || !ui::window_peer_or_null(peer.lisp_object())) return;
  std::optional<ScrollInfo> info = desk().get_scroll_info(peer.hwnd, bar);
  if (!info) return;
  amount = clamp_scroll(amount, *info);
  if (amount == 0) return;
  desk().set_scroll_pos(peer.hwnd, bar, info->pos + amount);
  Value dx = make_fixnum(bar == SB_HORZ ? amount : 0), dy = make_fixnum(bar == SB_HORZ ? 0 : amount);
  guarded_send(peer.lisp_object(), "scroll", {dx, dy});
}

// A command from a child control: `select` to the control's object.
void control_command(LParam lparam) {
  dispatch_state().mouse.double_click = false;
  WindowPeer* control = ui::window_peer_of(Hwnd{static_cast<std::uint32_t>(lparam)});
  if (!control) return;
  Value object = control->lisp_object();
  end_mouse_down();
  shell_cursors().show_watch();
  guarded_send(object, "select", {kNil});
}

// The page's children follow the z-order of their desktop windows, which
// the desktop changes itself (a click activating a window raises it).
void follow_desktop_z_order(WindowPeer& page) {
  WindowPeer* previous = nullptr;
  for (Hwnd h : desk().children(dispatch_state().client)) {
    WindowPeer* w = ui::window_peer_of(h);
    if (!w || w->parent != &page) continue;
    ui::unlink_child(*w);
    ui::link_child_after(*w, previous);
    previous = w;
  }
}

// Windows directly in the page stay behind the page's windoids: one going
// to the top, or behind a windoid other than the last, goes behind the last.
void keep_windoids_in_front(WindowPeer& peer, WindowPos& pos) {
  if (!peer.in_page() || peer.flags.floating || (pos.flags & SWP_NOZORDER)) return;
  WindowPeer* last = ui::last_windoid(*ui::layer().page);
  if (!last || !last->hwnd) return;
  const Hwnd after = pos.insert_after;
  WindowPeer* after_peer = ui::window_peer_of(after);
  bool to_top = after == Desktop::kTop || after == Desktop::kTopmost;
  if (to_top || (after_peer && after_peer->flags.floating && after_peer != last)) pos.insert_after = last->hwnd;
}

LResult handle(WindowPeer& peer, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) window_resized(peer, x_of(lparam) & 0xffff, y_of(lparam) & 0xffff);
      break;
    case WM_DESTROY:
      if (!peer.is_page() && peer.hwnd == hwnd) guarded_send(peer.lisp_object(), "destroy");
      return 0;
    case WM_PAINT:
      if (peer.in_page()) {
        peer.paint_message();
      } else {
        desk().validate_rect(hwnd, nullptr);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      close_requested(peer);
      return 0;
    case WM_QUERYENDSESSION:
      return 1;
    case WM_CHILDACTIVATE:
      if (peer.flags.floating) return 0;
      break;
    case WM_WINDOWPOSCHANGING:
      if (auto* pos = pointer_of<WindowPos>(lparam)) keep_windoids_in_front(peer, *pos);
      break;
    case WM_WINDOWPOSCHANGED:
      if (peer.in_page()) {
        auto* pos = pointer_of<WindowPos>(lparam);
        if (pos && !(pos->flags & SWP_NOZORDER)) follow_desktop_z_order(*peer.parent);
        ui::refresh_front_window();
      }
      break;
    case WM_MDIACTIVATE: {
      // The desktop's MDI activation: the default handling first, then the
      // private activate message for the window activated, `deactivate` for
      // the one left.
      LResult r = ui::default_window_procedure(peer, hwnd, message, wparam, lparam);
      if (!peer.in_page()) return r;
      if (Hwnd{static_cast<std::uint32_t>(lparam)} == hwnd) desk().post_message(hwnd, ui::kActivateMessage);
      if (Hwnd{static_cast<std::uint32_t>(wparam)} == hwnd) deactivated(peer);
      return r;
    }
    case ui::kActivateMessage:
      if (peer.in_page()) private_activate(peer);
      return 0;
    case WM_GETMINMAXINFO:
      if (auto* info = pointer_of<MinMaxInfo>(lparam)) apply_grow_limits(peer, desk().style(hwnd), *info);
      return 0;
    case WM_COMMAND:
      if (lparam != 0) control_command(lparam);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lparam == 0) scrolled(peer, message == WM_HSCROLL ? SB_HORZ : SB_VERT, wparam);
      return 0;
    case WM_CHAR:
      character_typed(static_cast<int>(wparam & 0xff));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (mouse_press(hwnd, point_of(lparam), message == WM_LBUTTONDBLCLK)) return 0;
      break;
    case WM_LBUTTONUP:
      if (mouse_release(hwnd, point_of(lparam))) return 0;
      break;
    case WM_MOUSEMOVE:
      mouse_move(hwnd, point_of(lparam), false);
      break;
    case ui::kReexamineMessage:
      mouse_move(hwnd, desk().screen_to_client(hwnd, desk().cursor_position()), true);
      return 0;
    default:
      break;
  }
  // The window may be gone: its desktop window's default handling still runs.
  if (WindowPeer* still = ui::window_peer_of(hwnd))
    return ui::default_window_procedure(*still, hwnd, message, wparam, lparam);
  return desk().is_window(hwnd) ? desk().def_window_proc(hwnd, message, wparam, lparam) : 0;
}

}  // namespace

LResult object_procedure(WindowPeer& peer, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  return at_dispatch_boundary([&] { return handle(peer, hwnd, message, wparam, lparam); });
}

bool root_mouse_message(Hwnd client, std::uint32_t message, LParam lparam) {
  return at_dispatch_boundary([&]() -> LResult {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        return mouse_press(client, point_of(lparam), message == WM_LBUTTONDBLCLK);
      case WM_LBUTTONUP:
        return mouse_release(client, point_of(lparam));
      default:
        mouse_move(client, point_of(lparam), message == ui::kReexamineMessage);
        return 0;
    }
  }) != 0;
}

void apply_grow_limits(WindowPeer& peer, std::uint32_t style, MinMaxInfo& info) {
  Value limits = guarded_send(peer.lisp_object(), "grow-rect-limits");
  if (!is_true(limits) || !is_pair(limits)) return;
  raster::IntRect r = rect_of(limits);
  raster::IntRect none = desk().adjust_window_rect({0, 0, 0, 0}, style, 0);
  int extra_w = none.width(), extra_h = none.height();
  info.min_track_size = {r.left + extra_w, r.top + extra_h};
  info.max_track_size = {r.right + extra_w, r.bottom + extra_h};
}

void character_typed(int character) {
  dispatch_state().mouse.double_click = false;
  if (WindowPeer* focus = ui::layer().key_focus) guarded_send(focus->lisp_object(), "key-down", {make_fixnum(character)});
}

}  // namespace orvane::shell
