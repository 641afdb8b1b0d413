#include "shell/event_primitives.h"

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "graphics/geometry_values.h"
#include "platform/desktop/desktop.h"
#include "shell/cursors.h"
#include "shell/dispatch_state.h"
#include "shell/event_pump.h"
#include "shell/mouse_state.h"
#include "shell/title_shell.h"
#include "ui/key_focus.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::shell {

namespace {

using namespace desktop;

// The desktop of the title playing now; null outside a play.
Desktop* play_desktop() { return dispatch_state().desktop; }

Value boolean(bool b) { return b ? g_sym.t : kNil; }

bool key_is_down(std::uint8_t key) {
  Desktop* d = play_desktop();
  return d && d->key_down(key);
}

Value p_process_events(Value mask, Value) {
  TitleShell* shell = TitleShell::current();
  if (!shell || !play_desktop()) return kNoValue;
  shell->event_pass(is_fixnum(mask) ? mask.fixnum() : -1);
  return kNoValue;
}

// The mouse capture window lets go, and the mouse-down state ends.
void flush_mouse() {
  if (!play_desktop()) return;
  if (ui::WindowPeer* capture = ui::layer().capture) capture->release_mouse();
  end_mouse_down();
}

Value p_flush_mouse_events() {
  flush_mouse();
  return kNoValue;
}

Value p_flush_all_events() {
  flush_mouse();
  if (Desktop* d = play_desktop()) {
    Message m;
    while (d->peek_message(m, {}, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
  }
  return kNoValue;
}

Value sp_without_event(Value forms) {
  EventFlagRaised raised;
  return eval_sequence(forms);
}

Value p_get_event_flag() { return make_fixnum(g_event_poll.event_flag); }
Value p_set_event_flag(Value flag) {
  g_event_poll.event_flag = is_fixnum(flag) ? flag.fixnum() : 0;
  return kNoValue;
}

Value p_get_focus() {
  ui::WindowPeer* focus = play_desktop() ? ui::layer().key_focus : nullptr;
  return focus ? focus->lisp_object() : kNil;
}

// Algorithm of the key focus: the object's window (nil: none).
Value p_set_focus(Value object) {
  ui::set_key_focus(object == kNil ? nullptr : &ui::window_peer(object));
  return kNoValue;
}

Value p_double_click_p(Value window) {
  const MouseState& m = dispatch_state().mouse;
  return boolean(m.double_click && (window == kNil || window == m.last_click_window));
}

Value p_has_mouse_moved_p(Value point) { return boolean(point_of(point) != dispatch_state().mouse.last_mouse); }
Value p_last_click_window() { return dispatch_state().mouse.last_click_window; }
Value p_last_click_time() { return make_fixnum(0); }
Value p_last_click_point() {
  raster::IntPoint p = dispatch_state().mouse.last_click;
  return make_point(p.x, p.y);
}
Value p_last_mouse_point() {
  raster::IntPoint p = dispatch_state().mouse.last_mouse;
  return make_point(p.x, p.y);
}
Value p_mouse_window() { return dispatch_state().mouse.mouse_window; }

// The re-examine message goes to the current object's window, else to the
// mouse window's.
Value p_reset_mouse() {
  ui::WindowPeer* w = ui::window_peer_or_null(g_mem.self);
  if (!w) w = ui::window_peer_or_null(dispatch_state().mouse.mouse_window);
  Hwnd hwnd;
  if (w) hwnd = w->is_root() ? dispatch_state().client : w->hwnd;
  if (play_desktop()) {
    reset_mouse(hwnd);
  } else {
    dispatch_state().mouse.last_mouse = {-1, -1};
  }
  return kNoValue;
}

Value p_stilldown() {
  Desktop* d = play_desktop();
  return boolean(d && d->button_still_down());
}
Value p_in_mouse_down_p() { return boolean(dispatch_state().mouse.in_mouse_down); }
Value p_shift_key_p() { return boolean(key_is_down(VK_SHIFT)); }
Value p_capslock_key_p() {
  Desktop* d = play_desktop();
  return boolean(d && (d->key_state(VK_CAPITAL) & 1));
}
Value p_option_key_p() { return boolean(key_is_down(VK_MENU)); }
Value p_control_key_p() { return boolean(key_is_down(VK_CONTROL)); }
Value p_cmd_key_p() { return kNil; }

Value p_set_cursor(Value cursor) {
  Value number = cursor;
  Value convert = symbol_global(intern("symbolic-cursor"));
  if (convert != kNoValue) number = call(convert, {cursor});
  if (!is_fixnum(number)) raise_error(2, cursor);
  if (dispatch_state().cursors) dispatch_state().cursors->set(number.fixnum());
  return kNoValue;
}
Value p_show_cursor() {
  if (dispatch_state().cursors) dispatch_state().cursors->show(true);
  return kNoValue;
}
Value p_hide_cursor() {
  if (dispatch_state().cursors) dispatch_state().cursors->show(false);
  return kNoValue;
}
Value p_show_arrow() {
  if (dispatch_state().cursors) dispatch_state().cursors->set(kArrowCursor);
  return kNoValue;
}
Value p_show_watch() {
  if (dispatch_state().cursors) dispatch_state().cursors->show_watch();
  return kNoValue;
}

}  // namespace

void register_event_primitives() {
  defprim("process-events", p_process_events);
  defprim("flush-all-events", p_flush_all_events);
  defprim("flush-mouse-events", p_flush_mouse_events);
  defspecial("without-event", sp_without_event);
  defprim("get-event-flag", p_get_event_flag);
  defprim("set-event-flag", p_set_event_flag);
  defprim("get-focus", p_get_focus);
  defprim("set-focus", p_set_focus);
  defprim("double-click?", p_double_click_p);
  defprim("has-mouse-moved?", p_has_mouse_moved_p);
  defprim("last-click-window", p_last_click_window);
  defprim("last-click-time", p_last_click_time);
  defprim("last-click-point", p_last_click_point);
  defprim("last-mouse-point", p_last_mouse_point);
  defprim("mouse-window", p_mouse_window);
  defprim("reset-mouse", p_reset_mouse);
  defprim("stilldown", p_stilldown);
  defprim("in-mouse-down?", p_in_mouse_down_p);
  defprim("shift-key?", p_shift_key_p);
  defprim("capslock-key?", p_capslock_key_p);
  defprim("option-key?", p_option_key_p);
  defprim("control-key?", p_control_key_p);
  defprim("cmd-key?", p_cmd_key_p);
  defprim("menu-key?", p_control_key_p);
  defprim("set-cursor", p_set_cursor);
  defprim("show-cursor", p_show_cursor);
  defprim("hide-cursor", p_hide_cursor);
  defprim("show-arrow", p_show_arrow);
  defprim("show-watch", p_show_watch);
  // Message names other parts of the run-time send.
  for (const char* name : {"paint", "edit-paint", "after-paint", "mouse-select", "set-size", "drag", "handles-mouse?",
                           "show-update?", "open-file", "open-folder", "print-file", "start-appl", "frame-width",
                           "Appl"})
    intern(name);
}

}  // namespace orvane::shell
