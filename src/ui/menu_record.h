// The native peer of an `obj-menu` object: its menu record, which mirrors
// the object onto the frame's menu bar and the desktop's pop-up menus.
//
// A record is a menu (the root, the menu bar, a menu of the bar, a nested
// or pop-up menu) with a desktop menu of its own, or an item: one numbered
// command in its parent's desktop menu. The record keeps the truth (title,
// check mark, grey, whether it is shown) and the desktop menu follows it,
// so a menu that has no entry for the moment (a hidden menu of the bar)
// gets its entry back as it was.
//
// Entries are addressed by position, counted from the parent's slots: the
// children and the font entries of a font menu, in the order they were made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "objects/peers.h"
#include "platform/desktop/menu.h"

namespace orvane::ui {

class MenuRecord;

// One entry place in a menu: a child record, or an entry of a font menu
// (a command of its own, whose text is a font's name).
struct MenuSlot {
  MenuRecord* child = nullptr;
  std::uint32_t font_command = 0;
  std::string font_name;
};

class MenuRecord final : public InterfacePeer {
 public:
  MenuRecord() = default;
  // A record freed without being closed leaves its tree silently.
  ~MenuRecord() override;
  MenuRecord(const MenuRecord&) = delete;
  MenuRecord& operator=(const MenuRecord&) = delete;

  void mark_values(ValueMarker& m) override;
  // The initialisation: reads the object's slots and takes its place in the
  // menu tree and on the desktop. Error 2 with a parent that is no open menu.
  void open(Value object) override;
  // Closes the children, removes the entry, destroys the desktop menu,
  // leaves the tree and frees the record (`this` is gone afterwards).
  void close() override;
  void show() override;
  void hide() override;
  void enable() override;
  void disable() override;
  bool enabled() const override;
  Value get_title() override;
  void set_title(Value title) override;

  bool initialised() const { return initialised_; }
  bool is_root() const;
  bool is_bar() const;
  bool is_item() const { return item_; }
  bool is_font_menu() const { return font_menu_; }
  bool visible() const { return visible_; }
  bool checked() const { return checked_; }
  bool separator() const { return separator_; }
  std::uint32_t command() const { return command_; }
  desktop::Hmenu system_menu() const { return system_menu_; }
  MenuRecord* parent() const { return parent_; }
  const std::vector<MenuSlot>& slots() const { return slots_; }

  // The entry's zero-based place among its parent's entries; -1 when it
  // has none.
  int entry_index() const;
  void set_checked(bool checked);
  void make_separator();
  Value accelerator() const { return accelerator_; }
  void set_accelerator(Value accelerator);
  // Appends one command a name (font menus).
  void add_font_entries(Value names);
  // The text of the font entry with that command (empty when none).
  std::string font_entry_text(std::uint32_t command) const;
  // Checks the entries whose text is `name`, clears the others.
  void check_font(std::string_view name);

  // Stored only.
  Value before_menu = kNil;
  graphics::Rgb16 colour;
  std::int16_t selection = 0;
  bool item_flag = false, popup_flag = false, font_flag = false;

 private:
  void read_slots(Value object);
  void become_root();
  void become_bar();
  void join_parent();
  // The text of the entry: the title, with the accelerator text for an item.
  std::string entry_text() const;
  std::uint32_t entry_flags() const;
  // Puts this record's entry into the parent's desktop menu at its place.
  void insert_entry();
  void remove_entry();
  // Rewrites the entry after its text or kind changed, keeping its place.
  void rewrite_entry();
  void detach_from_tree();
  // The place of this record's entry in its parent's desktop menu.
  std::uint32_t desktop_index() const;
  // The desktop menu's index of the slot `i` of this menu.
  int desktop_index_of_slot(std::size_t i) const;

  bool initialised_ = false;
  Value title_ = kNil;  // a string
  Value accelerator_ = kNil;
  MenuRecord* parent_ = nullptr;
  std::vector<MenuSlot> slots_;
  desktop::Hmenu system_menu_;
  std::uint32_t command_ = 0;
  bool visible_ = false;
  bool font_menu_ = false;
  bool item_ = false;
  bool separator_ = false;
  bool checked_ = false;
  bool grayed_ = false;
  bool has_entry_ = false;    // the entry is in the parent's desktop menu now
  bool placeholder_ = false;  // the menu bar still carries its empty first entry
};

// The record of a menu object; error 2 with the object when it has none
// (a closed menu, or no menu at all).
MenuRecord& menu_record(Value object);
// The record of an object when it has one, else null.
MenuRecord* menu_record_or_null(Value object);

}  // namespace orvane::ui
