// The menu tree of the title playing now (a documented singleton): the root
// record, the menu bar, the menus made without a parent after the root, the
// next command number; and the desktop menus it is mirrored onto.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/desktop/handle.h"
#include "platform/desktop/menu.h"

namespace orvane::ui {

class MenuRecord;

inline constexpr std::uint32_t kFirstMenuCommand = 10000;

struct MenuTree {
  MenuRecord* root = nullptr;
  MenuRecord* bar = nullptr;
  // Menus made without a parent once the root exists: they stay apart from
  // the root's tree (pop-ups of `popup-select`), and their commands are
  // found all the same.
  std::vector<MenuRecord*> loose;
  // Grows only: every item and font entry takes the next one.
  std::uint32_t next_command = kFirstMenuCommand;
};

MenuTree& menu_tree();
// A fresh tree (the registration of a new world); keeps the desktop menus
// attached. The tree's Lisp objects are kept alive by the collector from
// then on: menus on the screen answer their commands until closed.
void reset_menu_tree();

// The shell attaches the frame's desktop menus once the frame exists and
// detaches them before destroying the frame; without them records are kept
// but nothing is shown.
void attach_menus(desktop::Menus& menus, desktop::Hwnd frame);
void detach_menus();
// The desktop menus and the frame, or null / none when detached.
desktop::Menus* attached_menus();
desktop::Hwnd menu_frame();

// Every record of the tree and the loose menus, parents before children,
// until `visit` answers true; answers the record it stopped at.
MenuRecord* find_record(const std::function<bool(MenuRecord&)>& visit);

}  // namespace orvane::ui
