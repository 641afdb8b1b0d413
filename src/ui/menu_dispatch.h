// What the event dispatcher asks of the menus: a menu command chosen on the
// frame's menu bar (or from the keyboard through an accelerator), and a
// pop-up about to open.
#pragma once

#include <cstdint>

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

}  // namespace orvane::ui
