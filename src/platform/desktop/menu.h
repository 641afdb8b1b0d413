// Menus: menu bars shown in a frame's non-client area and pop-up menus,
// with Win32's calls (CreateMenu, AppendMenu, CheckMenuItem, SetMenu,
// TrackPopupMenu ...) and messages: WM_INITMENU when menu mode starts,
// WM_INITMENUPOPUP before a pop-up opens (its handler may still change the
// items), WM_MENUSELECT as the highlight moves, and WM_COMMAND with the item
// id, posted to the owner when a command is chosen. Tracking runs as a modal
// loop through the desktop's message queue, so everything else keeps
// painting while a menu is open.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

// A menu handle: an id, never a host pointer; ids are not reused.
struct Hmenu {
  std::uint32_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  constexpr bool operator==(const Hmenu&) const = default;
};

struct MenuItem {
  std::uint32_t flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
  int id = 0;               // the command id (not for pop-up entries)
  Hmenu sub_menu;           // MF_POPUP entries
  // "&" marks the mnemonic; a tab separates the accelerator text, shown
  // right-aligned.
  std::string text;

  bool separator() const { return (flags & MF_SEPARATOR) != 0; }
  bool popup() const { return (flags & MF_POPUP) != 0; }
  bool disabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool grayed() const { return (flags & MF_GRAYED) != 0; }
  bool checked() const { return (flags & MF_CHECKED) != 0; }
};

class MenuTracker;
class FrameMenuBar;

class Menus {
 public:
  // Registers the pop-up window class with the desktop, which must outlive
  // this object.
  explicit Menus(Desktop& desktop);
  ~Menus();
  Menus(const Menus&) = delete;
  Menus& operator=(const Menus&) = delete;

  Desktop& desktop() { return desktop_; }

  // --- Building ----------------------------------------------------------
  Hmenu create_menu();        // for a menu bar
  Hmenu create_popup_menu();  // for a pop-up or a sub-menu
  // Destroys the menu and its sub-menus; a bar is removed from its frame.
  bool destroy_menu(Hmenu menu);
  bool is_menu(Hmenu menu) const;

  // `id_or_popup` is the command id, or with MF_POPUP the sub-menu's handle value.
  bool append_menu(Hmenu menu, std::uint32_t flags, std::uintptr_t id_or_popup, std::string_view text);
  // Before the item named by position (MF_BYPOSITION; past the end appends)
  // or by command id (searched in sub-menus too).
  bool insert_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id_or_popup,
                   std::string_view text);
  bool modify_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id_or_popup,
                   std::string_view text);
  // Removes the item; a sub-menu it held is kept (remove) or destroyed (delete).
  bool remove_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags);
  bool delete_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags);

  // The previous check state (MF_CHECKED or MF_UNCHECKED), -1 when no such item.
  int check_menu_item(Hmenu menu, std::uint32_t item, std::uint32_t flags);
  // The previous MF_GRAYED / MF_DISABLED bits, -1 when no such item.
  int enable_menu_item(Hmenu menu, std::uint32_t item, std::uint32_t flags);

  int item_count(Hmenu menu) const;  // -1 for no menu
  int item_id(Hmenu menu, int position) const;  // -1 for pop-ups and nothing
  Hmenu sub_menu(Hmenu menu, int position) const;
  // GetMenuState: the item's flags (with the sub-menu's item count in the
  // high byte for a pop-up), -1 when no such item.
  int menu_state(Hmenu menu, std::uint32_t item, std::uint32_t flags) const;
  std::optional<std::string> menu_string(Hmenu menu, std::uint32_t item, std::uint32_t flags) const;
  const MenuItem* find_item(Hmenu menu, std::uint32_t item, std::uint32_t flags) const;
  const std::vector<MenuItem>* items(Hmenu menu) const;

  // --- Menu bars ---------------------------------------------------------
  // Gives the frame the bar (none: takes it away) and resizes its client area.
  bool set_menu(Hwnd frame, Hmenu bar);
  Hmenu get_menu(Hwnd frame) const;
  // Repaints the bar (after its items changed).
  void draw_menu_bar(Hwnd frame);
  // The bar's rectangle in framebuffer coordinates; empty when none.
  raster::IntRect menu_bar_rect(Hwnd frame) const;
  // The rectangles of the bar's items, framebuffer coordinates.
  std::vector<raster::IntRect> menu_bar_item_rects(Hwnd frame) const;

  // --- Tracking ------------------------------------------------------------
  // TrackPopupMenu: shows the pop-up at a framebuffer point (placed by the
  // TPM_ alignment flags, kept on the screen) and tracks it. With
  // TPM_RETURNCMD answers the chosen command (0 when none); otherwise
  // posts WM_COMMAND to the owner and answers whether the menu was shown.
  int track_popup_menu(Hmenu popup, std::uint32_t flags, raster::IntPoint screen_point, Hwnd owner);
  // Ends the menu being tracked, if any (EndMenu).
  void end_menu();
  bool tracking() const { return tracker_ != nullptr; }

 private:
  friend class MenuTracker;
  friend class FrameMenuBar;

  struct MenuData {
    bool popup = false;
    std::vector<MenuItem> items;
  };
  MenuData* data(Hmenu menu);
  const MenuData* data(Hmenu menu) const;
  // The menu (maybe a sub-menu) and index of an item named by position or id.
  std::pair<MenuData*, int> locate(Hmenu menu, std::uint32_t item, std::uint32_t flags);
  std::pair<const MenuData*, int> locate(Hmenu menu, std::uint32_t item, std::uint32_t flags) const;
  std::optional<MenuItem> make_item(std::uint32_t flags, std::uintptr_t id_or_popup, std::string_view text) const;
  void bar_changed(Hmenu menu);
  void run_tracker(MenuTracker& tracker);
  // Drops a frame's bar hook; kept alive while a tracker may still use it.
  void retire_bar(Hwnd frame);

  Desktop& desktop_;
  std::unordered_map<std::uint32_t, MenuData> menus_;
  std::uint32_t next_handle_ = 0x4d00;
  std::unordered_map<Hwnd, std::unique_ptr<FrameMenuBar>> bars_;
  std::vector<std::unique_ptr<FrameMenuBar>> retired_bars_;
  MenuTracker* tracker_ = nullptr;
};

}  // namespace orvane::desktop
