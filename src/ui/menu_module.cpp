// The methods of `obj-menu`. Each works on the receiver's menu record (error
// 2 when the receiver has none: a closed menu, or no menu), except `close`,
// which closes a closed menu again without complaint.
#include "ui/menu_module.h"

#include "core/errors.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/drawing_values.h"
#include "objects/native_classes.h"
#include "ui/menu_record.h"
#include "ui/menu_tree.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"

namespace orvane::ui {

namespace {

Value g_menu_class = kNil;  // set once at registration

Value truth(bool b) { return b ? g_sym.t : kNil; }
MenuRecord& self_record() { return menu_record(g_mem.self); }

Value m_close() {
  Value self = self_object();
  MenuRecord* record = menu_record_or_null(self);
  if (!record) return kNoValue;
  record->close();
  close_peer(self);
  return kNoValue;
}

Value m_draw() {
  MenuRecord& r = self_record();
  if (desktop::Menus* m = attached_menus(); m && r.is_bar()) m->draw_menu_bar(menu_frame());
  return kNoValue;
}

Value m_zero() {
  self_record();
  return make_fixnum(0);
}
Value m_nothing() {
  self_record();
  return kNoValue;
}
Value m_ignore(Value) {
  self_record();
  return kNoValue;
}
Value m_false() {
  self_record();
  return kNil;
}

Value m_get_checked_p() { return truth(self_record().checked()); }
Value m_check() {
  self_record().set_checked(true);
  return kNoValue;
}
Value m_uncheck() {
  self_record().set_checked(false);
  return kNoValue;
}
Value m_get_visible_p() { return truth(self_record().visible()); }

Value m_children(Value all) {
  MenuRecord& r = self_record();
  Value out = kNil, last = kNil;
  for (const MenuSlot& slot : r.slots()) {
    MenuRecord* child = slot.child;
    if (!child || (all == kNil && !child->is_item() && !child->visible())) continue;
    Value cell = cons(child->object(), kNil);
    if (last == kNil)
      out = cell;
    else
      set_cdr(last, cell);
    last = cell;
  }
  return out;
}

Value m_get_id() {
  MenuRecord& r = self_record();
  if (r.is_item()) return make_fixnum(r.entry_index());
  return make_fixnum(static_cast<std::int32_t>(r.command()));
}

Value m_add_font_items() {
  MenuRecord& r = self_record();
  r.add_font_entries(symbol_global(intern("Fonts")));
  return kNoValue;
}

Value m_get_accelerator() { return self_record().accelerator(); }
Value m_set_accelerator(Value v) {
  self_record().set_accelerator(v);
  return v;
}
Value m_get_before_menu() { return self_record().before_menu; }
Value m_set_before_menu(Value v) {
  self_record().before_menu = v;
  return v;
}
Value m_get_item_p() { return truth(self_record().item_flag); }
Value m_set_item_p(Value v) {
  self_record().item_flag = is_true(v);
  return v;
}
Value m_get_popup_p() { return truth(self_record().popup_flag); }
Value m_set_popup_p(Value v) {
  self_record().popup_flag = is_true(v);
  return v;
}
Value m_get_font_p() { return truth(self_record().font_flag); }
Value m_set_font_p(Value v) {
  self_record().font_flag = is_true(v);
  return v;
}
Value m_get_separator_p() { return truth(self_record().separator()); }
Value m_set_separator_p(Value v) {
  MenuRecord& r = self_record();
  if (!is_true(v)) raise_error(2, v);
  r.make_separator();
  return v;
}

Value m_update_menu_font(Value name) {
  MenuRecord& r = self_record();
  if (!is_string(name)) raise_error(2, name);
  r.check_font(string_view_of(name));
  return kNoValue;
}

Value m_get_size() { raise_error(47, g_mem.self); }

Value m_get_selection() { return make_fixnum(self_record().selection); }
Value m_set_selection(Value v) {
  MenuRecord& r = self_record();
  r.selection = static_cast<std::int16_t>(integer_of(v));
  return v;
}

// The child of `r` named `name` (a symbol or a fixnum), or null.
MenuRecord* child_named(const MenuRecord& r, Value name) {
  for (const MenuSlot& slot : r.slots())
    if (slot.child && slot.child->name() == name) return slot.child;
  return nullptr;
}

Value m_named(Value path) {
  MenuRecord* r = &self_record();
  if (path == kNil) return r->object();
  if (is_symbol(path) || is_fixnum(path)) {
    MenuRecord* child = child_named(*r, path);
    return child ? child->object() : kNil;
  }
  if (!is_pair(path)) return kNil;
  for (; is_pair(path) && r; path = cdr(path)) r = child_named(*r, car(path));
  return r ? r->object() : kNil;
}

Value m_get_color() { return make_color_list(self_record().colour); }
Value m_set_color(Value v) {
  MenuRecord& r = self_record();
  Value converted = call_world("symbolic-color", {v});
  r.colour = rgb_of(converted == kNoValue ? v : converted);
  return v;
}

Value p_hilite_menu(Value) { return kNoValue; }
Value p_get_menubar_height() { return make_fixnum(0); }

}  // namespace

Value make_menu_record() { return make_peer<MenuRecord>(); }

Value menu_class() { return g_menu_class; }

void register_menus() {
  reset_menu_tree();
  Value interface_class = symbol_global(intern("obj-interface"));
  Value k = make_native_class("obj-menu", make_menu_record, interface_class);
  g_menu_class = k;
  register_method(k, "close", m_close);
  register_method(k, "draw", m_draw);
  register_method(k, "get-icon", m_zero);
  register_method(k, "set-icon", m_ignore);
  register_method(k, "get-checked?", m_get_checked_p);
  register_method(k, "check", m_check);
  register_method(k, "uncheck", m_uncheck);
  register_method(k, "capture-mouse", m_nothing);
  register_method(k, "release-mouse", m_nothing);
  register_method(k, "get-visible?", m_get_visible_p);
  register_method(k, "children", m_children);
  register_method(k, "get-id", m_get_id);
  register_method(k, "add-apple-items", m_nothing);
  register_method(k, "add-font-items", m_add_font_items);
  register_method(k, "get-accelerator", m_get_accelerator);
  register_method(k, "set-accelerator", m_set_accelerator);
  register_method(k, "get-before-menu", m_get_before_menu);
  register_method(k, "set-before-menu", m_set_before_menu);
  register_method(k, "get-item?", m_get_item_p);
  register_method(k, "set-item?", m_set_item_p);
  register_method(k, "get-popup?", m_get_popup_p);
  register_method(k, "set-popup?", m_set_popup_p);
  register_method(k, "get-font?", m_get_font_p);
  register_method(k, "set-font?", m_set_font_p);
  register_method(k, "get-separator?", m_get_separator_p);
  register_method(k, "set-separator?", m_set_separator_p);
  register_method(k, "get-apple?", m_false);
  register_method(k, "set-apple?", m_ignore);
  register_method(k, "update-menu-font", m_update_menu_font);
  register_method(k, "get-size", m_get_size);
  register_method(k, "get-selection", m_get_selection);
  register_method(k, "set-selection", m_set_selection);
  register_method(k, "named", m_named);
  register_method(k, "get-color", m_get_color);
  register_method(k, "set-color", m_set_color);
  defprim("hilite-menu", p_hilite_menu);
  defprim("get-menubar-height", p_get_menubar_height);
  if (window_class() != kNil) register_method(window_class(), "popup-select", window_popup_select);
}

}  // namespace orvane::ui
