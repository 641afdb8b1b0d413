// The Lisp methods of `obj-window` for opening, showing, closing and
// destroying, the properties, the tree and its lists, z-order, titles and
// modal windows. Each works on the native peer of `self` (error 2 without
// one).
#include "core/errors.h"
#include "core/memory.h"
#include "core/symbols.h"
#include "graphics/drawing_values.h"
#include "graphics/fonts_record.h"
#include "graphics/geometry_values.h"
#include "objects/native_classes.h"
#include "objects/stack_roots.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/window_closing.h"
#include "ui/window_layer.h"
#include "ui/window_lists.h"
#include "ui/window_methods.h"
#include "ui/window_module.h"
#include "ui/window_peer.h"
#include "ui/window_properties.h"

namespace orvane::ui {

namespace {

WindowPeer& me() { return window_peer(self_object()); }
Value truth(bool b) { return b ? g_sym.t : kNil; }
Value object_or_nil(const WindowPeer* w) { return w ? w->lisp_object() : kNil; }
Value fix(int n) { return make_fixnum(n); }

// An operation of the receiver's peer, answering no-value.
template <void (WindowPeer::*Op)()>
Value plain_hook() {
  (me().*Op)();
  return kNoValue;
}

// A z-order operation on the receiver.
template <void (*Op)(WindowPeer&)>
Value tree_op() {
  Op(me());
  return kNoValue;
}

// --- Opening, closing, destroying ---------------------------------------------

// An object without a peer (never opened, or destroyed) gets a new one, its
// configuration chain built from its class and parent, before it opens.
Value m_open() {
  Value self = self_object();
  if (!has_peer(self)) {
    open_peer(self);
    object_peer(self).setup_constructor(self, kNil);
  }
  window_peer(self).open(self);
  return kNoValue;
}
Value m_in_close_p() { return truth(in_close(me())); }
Value m_appeal() { return truth(me().appeal()); }

// --- The hooks ---------------------------------------------------------------------

template <void (WindowPeer::*Op)(int, int)>
Value point_hook(Value x, Value y) {
  raster::IntPoint p = point_argument(x, y);
  (me().*Op)(p.x, p.y);
  return kNoValue;
}


Value m_key_down(Value code) {
  me().key_down(integer_of(code));
  return kNoValue;
}
Value m_find_handles_keys() { return object_or_nil(find_handles_keys(me())); }
Value m_position_update(Value x, Value y) {
  me().position_update(point_argument(x, y));
  return kNoValue;
}
Value m_size_update(Value w, Value h) {
  raster::IntPoint old = point_argument(w, h);
  me().size_update(old.x, old.y);
  return kNoValue;
}
Value m_title_update(Value old) {
  me().title_update(old);
  return kNoValue;
}
Value m_get_content() { return me().get_content(); }
Value m_set_content(Value v) {
  me().set_content(v);
  return kNoValue;
}
Value m_get_selection() { return me().get_selection(); }
Value m_set_selection(Value v) {
  me().set_selection(v);
  return kNoValue;
}

// --- Position, size, font, colours -------------------------------------------------

Value m_get_position() {
  raster::IntPoint p = me().get_position();
  return make_point(p.x, p.y);
}
Value m_set_position(Value p) {
  me().set_position(p);
  return kNoValue;
}
Value m_get_size() {
  raster::IntPoint s = me().get_size();
  return make_point(s.x, s.y);
}
Value m_get_size_x() { return fix(me().get_size().x); }
Value m_get_size_y() { return fix(me().get_size().y); }
Value m_set_size(Value s) {
  me().set_size(s);
  return kNoValue;
}
Value m_get_font() { return make_font_value(me().font); }
Value m_set_font(Value f) {
  me().set_font(f);
  return kNoValue;
}

// Converts and stores a colour; the window is invalidated only when it
// changed.
void set_colour(graphics::Rgb16 WindowPeer::*field, std::string_view ref, Value raw) {
  WindowPeer& w = me();
  record_color_ref(w.lisp_object(), ref, raw);
  auto c = symbolic_color(raw);
  if (!c) raise_error(2, raw);
  if (w.*field == *c) return;
  w.*field = *c;
  w.invalidate(w.rect);
}
Value m_get_color() { return make_color_list(me().color); }
Value m_set_color(Value c) {
  set_colour(&WindowPeer::color, "color-ref", c);
  return kNoValue;
}
Value m_get_color_fore() { return make_color_list(me().color_fore); }
Value m_set_color_fore(Value c) {
  set_colour(&WindowPeer::color_fore, "color-fore-ref", c);
  return kNoValue;
}
Value m_get_effect() { return me().effect; }
Value m_set_effect(Value e) {
  me().effect = e;
  return kNoValue;
}
Value m_get_transfer_mode() { return fix(me().get_transfer_mode()); }
Value m_set_transfer_mode(Value m) {
  me().transfer_mode = integer_of(m);
  return kNoValue;
}
Value m_get_zoom_factor() { return fix(me().zoom); }

// --- Flags -------------------------------------------------------------------------

template <bool WindowFlags::*Flag>
Value get_flag() {
  return truth(me().flags.*Flag);
}
// Stores the flag; the invalidating setters redraw the window.
template <bool WindowFlags::*Flag, bool Invalidates>
Value set_flag(Value v) {
  WindowPeer& w = me();
  w.flags.*Flag = is_true(v);
  if (Invalidates) w.invalidate(w.rect);
  return kNoValue;
}
Value m_set_grow_icon_p(Value) {
  me();
  return kNoValue;
}
Value m_user_visible_p() { return truth(me().user_visible()); }
Value m_closable_p() {
  WindowPeer& w = me();
  WindowLayer& l = layer();
  if (!l.desktop || !w.hwnd || !l.desktop->is_window(w.hwnd)) return kNil;
  return truth((l.desktop->style(w.hwnd) & desktop::WS_SYSMENU) != 0);
}

// --- The tree and its lists --------------------------------------------------------

Value m_get_system() { return object_or_nil(me().system); }
Value m_get_brother() { return object_or_nil(me().next_sibling); }
Value m_get_syswin() {
  WindowPeer& w = me();
  return w.hwnd ? make_pointer(w.hwnd.value, PointerKind::pointer) : kNil;
}
Value m_get_offscreen() { return object_or_nil(me().offscreen_owner()); }
Value m_front_window() { return object_or_nil(front_window(me())); }
Value m_front_windoid() { return object_or_nil(front_windoid(me())); }
Value m_last_windoid() { return object_or_nil(last_windoid(me())); }
Value m_next_window() { return object_or_nil(next_window(me())); }
Value m_previous_window() { return object_or_nil(previous_window(me())); }

Value object_list(bool windoids, Value all) {
  std::vector<WindowPeer*> list = child_list(me(), windoids, is_true(all));
  objects::ListBuilder out;
  for (WindowPeer* w : list) out.add(w->lisp_object());
  return out.list();
}
Value m_children(Value all) { return object_list(false, all); }
Value m_windoids(Value all) { return object_list(true, all); }

Value m_send_behind(Value other) {
  send_behind(me(), window_peer(other));
  return kNoValue;
}
Value m_get_modal() { return object_or_nil(me().modal); }
Value m_set_modal(Value w) {
  WindowPeer& page = me();
  set_modal_window(page, is_true(w) ? &window_peer(w) : nullptr);
  return kNoValue;
}

Value m_get_region() { return me().get_region(); }
Value m_load_from_pathname(Value path) {
  me().load_from_pathname(path);
  return kNoValue;
}

}  // namespace

void register_window_methods(Value klass) {
  keep_windows_alive();
  register_method(klass, "open", m_open);
  register_method(klass, "close", plain_hook<&WindowPeer::close>);
  register_method(klass, "in-close?", m_in_close_p);
  register_method(klass, "appeal", m_appeal);
  register_method(klass, "destroy", plain_hook<&WindowPeer::destroy>);
  register_method(klass, "paint", plain_hook<&WindowPeer::paint>);
  register_method(klass, "after-paint", plain_hook<&WindowPeer::after_paint>);
  register_method(klass, "mouse-down", point_hook<&WindowPeer::mouse_down>);
  register_method(klass, "mouse-up", point_hook<&WindowPeer::mouse_up>);
  register_method(klass, "mouse-move", point_hook<&WindowPeer::mouse_move>);
  register_method(klass, "mouse-drag", point_hook<&WindowPeer::mouse_drag>);
  register_method(klass, "mouse-select", point_hook<&WindowPeer::mouse_select>);
  register_method(klass, "key-down", m_key_down);
  register_method(klass, "activate", plain_hook<&WindowPeer::activate>);
  register_method(klass, "deactivate", plain_hook<&WindowPeer::deactivate>);
  register_method(klass, "activate-focus", plain_hook<&WindowPeer::activate_focus>);
  register_method(klass, "deactivate-focus", plain_hook<&WindowPeer::deactivate_focus>);
  register_method(klass, "find-handles-keys", m_find_handles_keys);
  register_method(klass, "position-update", m_position_update);
  register_method(klass, "size-update", m_size_update);
  register_method(klass, "title-update", m_title_update);
  register_method(klass, "cut", plain_hook<&WindowPeer::cut>);
  register_method(klass, "copy", plain_hook<&WindowPeer::copy>);
  register_method(klass, "paste", plain_hook<&WindowPeer::paste>);
  register_method(klass, "clear", plain_hook<&WindowPeer::clear>);
  register_method(klass, "select-all", plain_hook<&WindowPeer::select_all>);
  register_method(klass, "get-content", m_get_content);
  register_method(klass, "set-content", m_set_content);
  register_method(klass, "get-selection", m_get_selection);
  register_method(klass, "set-selection", m_set_selection);

  register_method(klass, "get-position", m_get_position);
  register_method(klass, "set-position", m_set_position);
  register_method(klass, "get-size", m_get_size);
  register_method(klass, "get-size-x", m_get_size_x);
  register_method(klass, "get-size-y", m_get_size_y);
  register_method(klass, "set-size", m_set_size);
  register_method(klass, "get-font", m_get_font);
  register_method(klass, "set-font", m_set_font);
  register_method(klass, "get-color", m_get_color);
  register_method(klass, "set-color", m_set_color);
  register_method(klass, "get-color-fore", m_get_color_fore);
  register_method(klass, "set-color-fore", m_set_color_fore);
  register_method(klass, "get-effect", m_get_effect);
  register_method(klass, "set-effect", m_set_effect);
  register_method(klass, "get-transfer-mode", m_get_transfer_mode);
  register_method(klass, "set-transfer-mode", m_set_transfer_mode);
  register_method(klass, "get-zoom-factor", m_get_zoom_factor);

  register_method(klass, "get-frame?", get_flag<&WindowFlags::frame>);
  register_method(klass, "set-frame?", set_flag<&WindowFlags::frame, true>);
  register_method(klass, "get-erase?", get_flag<&WindowFlags::erase>);
  register_method(klass, "set-erase?", set_flag<&WindowFlags::erase, true>);
  register_method(klass, "get-opaque?", get_flag<&WindowFlags::opaque>);
  register_method(klass, "set-opaque?", set_flag<&WindowFlags::opaque, true>);
  register_method(klass, "get-scroll?", get_flag<&WindowFlags::scroll>);
  register_method(klass, "set-scroll?", set_flag<&WindowFlags::scroll, false>);
  register_method(klass, "get-grow-icon?", get_flag<&WindowFlags::grow_icon>);
  register_method(klass, "set-grow-icon?", m_set_grow_icon_p);
  register_method(klass, "get-edit?", get_flag<&WindowFlags::edit>);
  register_method(klass, "set-edit?", set_flag<&WindowFlags::edit, false>);
  register_method(klass, "get-hide-on-close?", get_flag<&WindowFlags::hide_on_close>);
  register_method(klass, "set-hide-on-close?", set_flag<&WindowFlags::hide_on_close, false>);
  register_method(klass, "get-was-visible?", get_flag<&WindowFlags::was_visible>);
  register_method(klass, "set-was-visible?", set_flag<&WindowFlags::was_visible, false>);
  register_method(klass, "get-can-double-click?", get_flag<&WindowFlags::can_double_click>);
  register_method(klass, "set-can-double-click?", set_flag<&WindowFlags::can_double_click, false>);
  register_method(klass, "get-visible?", get_flag<&WindowFlags::visible>);
  register_method(klass, "get-floating?", get_flag<&WindowFlags::floating>);
  register_method(klass, "active-window?", get_flag<&WindowFlags::active>);
  register_method(klass, "user-visible?", m_user_visible_p);
  register_method(klass, "closable?", m_closable_p);

  register_method(klass, "get-system", m_get_system);
  register_method(klass, "get-brother", m_get_brother);
  register_method(klass, "get-syswin", m_get_syswin);
  register_method(klass, "get-offscreen", m_get_offscreen);
  register_method(klass, "front-window", m_front_window);
  register_method(klass, "front-windoid", m_front_windoid);
  register_method(klass, "last-windoid", m_last_windoid);
  register_method(klass, "next-window", m_next_window);
  register_method(klass, "previous-window", m_previous_window);
  register_method(klass, "children", m_children);
  register_method(klass, "windoids", m_windoids);
  register_method(klass, "bring-to-front", tree_op<&bring_to_front>);
  register_method(klass, "bring-forward", tree_op<&bring_forward>);
  register_method(klass, "send-backward", tree_op<&send_backward>);
  register_method(klass, "send-to-back", tree_op<&send_to_back>);
  register_method(klass, "send-behind", m_send_behind);
  register_method(klass, "get-modal", m_get_modal);
  register_method(klass, "set-modal", m_set_modal);
  register_method(klass, "get-region", m_get_region);
  register_method(klass, "load-from-pathname", m_load_from_pathname);
}

}  // namespace orvane::ui
