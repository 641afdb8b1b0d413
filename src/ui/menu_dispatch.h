// What the event dispatcher asks of the menus: a menu command chosen on the
// frame's menu bar (or from the keyboard through an accelerator), and a
// pop-up about to open.
#pragma once

#include <cstdint>
#include <optional>

#include "core/value.h"
#include "platform/desktop/menu.h"

namespace orvane::ui {

// The command selection: `select` to the item with that command number, or
// `set-text-font` with the entry's text to the key focus object for an entry
// of a font menu. False when no item has the number (the command is ignored).
bool dispatch_menu_command(std::uint32_t command);
// `update` to the menu whose desktop menu is about to open (nothing when no
// menu object owns it).
void menu_popup_opening(desktop::Hmenu menu);
// Whether the command number belongs to an item (not a font entry): the
// dispatcher shows the busy cursor first for those.
bool is_item_command(std::uint32_t command);

// The keyboard's accelerators, for the dispatcher to offer each key-down
// before its keyboard path: Control with the key of an item's accelerator
// (and neither Shift nor Alt) chooses the item, as the frame's menu would.
// The menus holding it get `update` first (as when they open); an item
// that is then greyed, or in a greyed menu, is not chosen. A chosen item
// reaches the frame as WM_COMMAND (high word 1), so its `select` comes
// through dispatch_menu_command. True when the key was an accelerator
// (taken, even when its item was greyed).
bool translate_menu_accelerator(int virtual_key, bool control, bool shift = false, bool alt = false);

// The object a command reaches without sending anything: the item's object
// for an item; for a font entry, nil once `set-text-font` went to the key
// focus object; nothing when no item has the number (`popup-select`).
std::optional<Value> choose_menu_command(std::uint32_t command);

}  // namespace orvane::ui
