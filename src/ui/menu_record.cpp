#include "ui/menu_record.h"

#include <algorithm>

#include "core/errors.h"
#include "core/memory.h"
#include "objects/native_classes.h"
#include "platform/desktop/messages.h"
#include "ui/menu_accelerators.h"
#include "ui/menu_tree.h"
#include "ui/window_layer.h"

namespace orvane::ui {

using namespace desktop;

namespace {

// Entry texts are compared on what a 32-byte buffer reads of them.
constexpr std::size_t kEntryTextRead = 31;

Value slot_of(Value object, std::string_view name) { return value_in_object(object, name); }

std::string text_of(Value v) {
  if (v == kNil || v == kNoValue) return {};
  Value text = title_text(v);
  return is_string(text) ? std::string(string_view_of(text)) : std::string();
}

bool is_colour_list(Value v) {
  int n = 0;
  for (; is_pair(v); v = cdr(v), ++n)
    if (!is_fixnum(car(v)) || car(v).fixnum() < 0 || car(v).fixnum() > 0xFFFF) return false;
  return v == kNil && n == 3;
}

}  // namespace

MenuRecord::~MenuRecord() {
  remove_entry();
  detach_from_tree();
  if (Menus* m = attached_menus(); m && system_menu_) m->destroy_menu(system_menu_);
}

void MenuRecord::mark_values(ValueMarker& m) {
  InterfacePeer::mark_values(m);
  m.mark(title_);
  m.mark(accelerator_);
  m.mark(before_menu);
}

bool MenuRecord::is_root() const { return menu_tree().root == this; }
bool MenuRecord::is_bar() const { return menu_tree().bar == this; }

// --- Initialisation -------------------------------------------------------------

void MenuRecord::open(Value object) {
  if (initialised_) return;
  Value parent = slot_of(object, "parent");
  if (parent == kNoValue) parent = kNil;
  MenuRecord* parent_record = nullptr;
  if (parent != kNil) {
    parent_record = menu_record_or_null(parent);
    // A parent must be an open menu; an item has no menu to hold entries.
    if (!parent_record || parent_record == this || !parent_record->initialised_ || parent_record->item_)
      raise_error(2, parent);
  }
  InterfacePeer::open(object);
  read_slots(object);
  initialised_ = true;
  MenuTree& tree = menu_tree();
  if (!parent_record) {
    if (!tree.root) {
      become_root();
    } else {
      if (Menus* m = attached_menus()) system_menu_ = m->create_popup_menu();
      tree.loose.push_back(this);
    }
    return;
  }
  parent_ = parent_record;
  if (parent_record == tree.root && !tree.bar)
    become_bar();
  else
    join_parent();
}

void MenuRecord::read_slots(Value object) {
  auto flag = [&](std::string_view name) { return is_true(slot_of(object, name)); };
  separator_ = flag("separator?");
  title_ = make_string(separator_ ? std::string("-") : text_of(slot_of(object, "title")));
  accelerator_ = slot_of(object, "accelerator");
  if (accelerator_ == kNoValue) accelerator_ = kNil;
  before_menu = slot_of(object, "before-menu");
  if (before_menu == kNoValue) before_menu = kNil;
  checked_ = flag("checked?");
  font_flag = flag("font?");
  item_flag = flag("item?") && !font_flag;
  popup_flag = flag("popup?");
  Value colour_value = slot_of(object, "color");
  if (is_colour_list(colour_value))
    colour = {car(colour_value).fixnum(), car(cdr(colour_value)).fixnum(),
              car(cdr(cdr(colour_value))).fixnum()};
}

void MenuRecord::become_root() {
  menu_tree().root = this;
  title_ = kNil;
  separator_ = checked_ = false;
}

void MenuRecord::become_bar() {
  MenuTree& tree = menu_tree();
  tree.bar = this;
  parent_->slots_.push_back(MenuSlot{this, 0, {}});
  separator_ = checked_ = false;
  placeholder_ = true;
  Menus* m = attached_menus();
  if (!m) return;
  system_menu_ = m->create_menu();
  m->append_menu(system_menu_, MF_STRING, 0, "");
  // The frame may show a bar already (the start-up's empty one): this one
  // replaces it at once.
  if (Hmenu old = m->get_menu(menu_frame())) {
    m->set_menu(menu_frame(), system_menu_);
    m->destroy_menu(old);
    visible_ = true;
  }
}

void MenuRecord::join_parent() {
  item_ = item_flag;
  font_menu_ = font_flag;
  if (!item_) separator_ = false;
  parent_->slots_.push_back(MenuSlot{this, 0, {}});
  if (item_) {
    command_ = menu_tree().next_command++;
    insert_entry();
    return;
  }
  if (Menus* m = attached_menus()) system_menu_ = popup_flag ? m->create_popup_menu() : m->create_menu();
  // Menus of the bar get their entry when shown.
  if (!parent_->is_root() && !parent_->is_bar()) insert_entry();
}

// --- Entries ---------------------------------------------------------------------

std::string MenuRecord::entry_text() const {
  std::string text = text_of(title_);
  if (item_)
    if (auto key = accelerator_key(accelerator_)) text += accelerator_text(*key);
  return text;
}

std::uint32_t MenuRecord::entry_flags() const {
  std::uint32_t flags = item_ ? (separator_ ? MF_SEPARATOR : MF_STRING) : MF_POPUP;
  if (grayed_) flags |= MF_GRAYED;
  if (checked_) flags |= MF_CHECKED;
  return flags;
}

int MenuRecord::desktop_index_of_slot(std::size_t i) const {
  int index = placeholder_ ? 1 : 0;
  for (std::size_t j = 0; j < i && j < slots_.size(); ++j)
    if (!slots_[j].child || slots_[j].child->has_entry_) ++index;
  return index;
}

int MenuRecord::entry_index() const {
  if (!parent_ || !has_entry_) return -1;
  auto it = std::ranges::find_if(parent_->slots_, [&](const MenuSlot& s) { return s.child == this; });
  return parent_->desktop_index_of_slot(static_cast<std::size_t>(it - parent_->slots_.begin())) -
         (parent_->placeholder_ ? 1 : 0);
}

std::uint32_t MenuRecord::desktop_index() const {
  return static_cast<std::uint32_t>(entry_index() + (parent_->placeholder_ ? 1 : 0));
}

void MenuRecord::insert_entry() {
  if (!parent_ || has_entry_) return;
  has_entry_ = true;
  Menus* m = attached_menus();
  if (!m || !parent_->system_menu_) return;
  if (!item_ && !system_menu_) return;
  const std::uintptr_t id = item_ ? command_ : system_menu_.value;
  m->insert_menu(parent_->system_menu_, desktop_index(), MF_BYPOSITION | entry_flags(), id, entry_text());
}

void MenuRecord::remove_entry() {
  if (!has_entry_ || !parent_) return;
  const std::uint32_t index = desktop_index();
  has_entry_ = false;
  if (Menus* m = attached_menus(); m && parent_->system_menu_)
    m->remove_menu(parent_->system_menu_, index, MF_BYPOSITION);
}

void MenuRecord::rewrite_entry() {
  if (!has_entry_) return;
  Menus* m = attached_menus();
  if (!m || !parent_->system_menu_) return;
  const std::uintptr_t id = item_ ? command_ : system_menu_.value;
  m->modify_menu(parent_->system_menu_, desktop_index(), MF_BYPOSITION | entry_flags(), id, entry_text());
}

void MenuRecord::set_checked(bool checked) {
  checked_ = checked;
  if (!has_entry_) return;
  if (Menus* m = attached_menus(); m && parent_->system_menu_)
    m->check_menu_item(parent_->system_menu_, desktop_index(),
                       MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuRecord::make_separator() {
  title_ = make_string("-");
  if (!item_) return;
  separator_ = true;
  rewrite_entry();
}

void MenuRecord::set_accelerator(Value accelerator) {
  accelerator_ = accelerator;
  if (item_) rewrite_entry();
}

void MenuRecord::add_font_entries(Value names) {
  Menus* m = attached_menus();
  for (; is_pair(names); names = cdr(names)) {
    Value name = car(names);
    if (!is_string(name)) continue;
    const std::uint32_t command = menu_tree().next_command++;
    slots_.push_back({nullptr, command, std::string(string_view_of(name))});
    if (m && system_menu_)
      m->insert_menu(system_menu_, static_cast<std::uint32_t>(desktop_index_of_slot(slots_.size() - 1)),
                     MF_BYPOSITION | MF_STRING, command, slots_.back().font_name);
  }
}

std::string MenuRecord::font_entry_text(std::uint32_t command) const {
  if (Menus* m = attached_menus(); m && system_menu_) {
    if (const auto* items = m->items(system_menu_))
      for (const MenuItem& item : *items)
        if (!item.popup() && !item.separator() && item.id == static_cast<int>(command & 0xFFFF))
          return item.text;
  }
  for (const MenuSlot& slot : slots_)
    if (!slot.child && slot.font_command == command) return slot.font_name;
  return {};
}

void MenuRecord::check_font(std::string_view name) {
  Menus* m = attached_menus();
  for (std::size_t i = slots_.size(); i-- > 0;) {
    MenuSlot& slot = slots_[i];
    if (slot.child && !slot.child->has_entry_) continue;
    std::string text = slot.child ? slot.child->entry_text() : slot.font_name;
    if (text.size() > kEntryTextRead) text.resize(kEntryTextRead);
    const bool same = text == name;
    if (slot.child) {
      slot.child->set_checked(same);
    } else if (m && system_menu_) {
      m->check_menu_item(system_menu_, static_cast<std::uint32_t>(desktop_index_of_slot(i)),
                         MF_BYPOSITION | (same ? MF_CHECKED : MF_UNCHECKED));
    }
  }
}

// --- The interface operations -----------------------------------------------------

void MenuRecord::show() {
  if (!initialised_) return;
  if (!visible_) {
    visible_ = true;
    Menus* m = attached_menus();
    if (is_bar()) {
      if (m && system_menu_) m->set_menu(menu_frame(), system_menu_);
    } else if (parent_ && parent_->is_bar()) {
      if (parent_->placeholder_) {
        parent_->placeholder_ = false;
        if (m && parent_->system_menu_) m->remove_menu(parent_->system_menu_, 0, MF_BYPOSITION);
      }
      insert_entry();
    } else if (parent_ && !parent_->is_root()) {
      insert_entry();  // a nested menu hidden before gets its entry back
    }
  }
  for (const MenuSlot& slot : slots_)
    if (slot.child) slot.child->show();
}

void MenuRecord::hide() {
  if (!initialised_ || !visible_) return;
  visible_ = false;
  if (is_bar()) {
    if (Menus* m = attached_menus(); m && system_menu_ && m->get_menu(menu_frame()) == system_menu_)
      m->set_menu(menu_frame(), {});
  } else if (parent_ && !parent_->is_root() && !item_) {
    remove_entry();
  }
}

void MenuRecord::enable() {
  grayed_ = false;
  rewrite_entry();
}

void MenuRecord::disable() {
  grayed_ = true;
  rewrite_entry();
}

bool MenuRecord::enabled() const {
  for (const MenuRecord* r = this; r; r = r->parent_)
    if (r->grayed_) return false;
  return true;
}

Value MenuRecord::get_title() { return title_; }

void MenuRecord::set_title(Value title) {
  if (separator_) return;  // a separator stays one
  title_ = make_string(text_of(title));
  rewrite_entry();
}

// --- Closing ------------------------------------------------------------------------

void MenuRecord::close() {
  if (!initialised_) return;
  if (!is_root() && !is_bar()) hide();
  while (!slots_.empty()) {
    MenuRecord* child = slots_.back().child;
    if (!child) {
      slots_.pop_back();
      continue;
    }
    Value child_object = child->object();
    child->close();  // leaves our slots
    if (has_peer(child_object)) close_peer(child_object);
  }
  remove_entry();
  if (Menus* m = attached_menus(); m && system_menu_) m->destroy_menu(system_menu_);
  system_menu_ = {};
  detach_from_tree();
  initialised_ = false;
}

void MenuRecord::detach_from_tree() {
  if (parent_) std::erase_if(parent_->slots_, [&](const MenuSlot& s) { return s.child == this; });
  parent_ = nullptr;
  has_entry_ = false;
  // The children's entries go with this record's desktop menu.
  for (MenuSlot& slot : slots_)
    if (slot.child) {
      slot.child->parent_ = nullptr;
      slot.child->has_entry_ = false;
    }
  slots_.clear();
  MenuTree& tree = menu_tree();
  if (tree.root == this) tree.root = nullptr;
  if (tree.bar == this) tree.bar = nullptr;
  std::erase(tree.loose, this);
}

MenuRecord* menu_record_or_null(Value object) {
  if (!has_peer(object)) return nullptr;
  return dynamic_cast<MenuRecord*>(&object_peer(object));
}

MenuRecord& menu_record(Value object) {
  MenuRecord* r = menu_record_or_null(object);
  if (!r) raise_error(2, object);
  return *r;
}

}  // namespace orvane::ui
