// Tracking a menu: the modal loop that runs while a menu bar or a pop-up is
// open. It reads the desktop's queue itself: mouse and keyboard messages
// move the highlight, open and close pop-ups and choose a command; every
// other message (paint, timers, posted ones) is dispatched as usual.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/menu.h"
#include "platform/desktop/menu_layout.h"

namespace orvane::desktop {

class FrameMenuBar;

class MenuTracker {
 public:
  // A bar's tracking, or a pop-up's (TrackPopupMenu) when bar is null.
  MenuTracker(Menus& menus, Hwnd owner, FrameMenuBar* bar, std::uint32_t flags);
  ~MenuTracker();
  MenuTracker(const MenuTracker&) = delete;
  MenuTracker& operator=(const MenuTracker&) = delete;

  // Starts with the bar item under a button press, the mouse button down.
  void start_with_bar_press(int bar_item);
  // Starts from the menu key: 0 selects the first bar item, a character
  // opens the item it is the mnemonic of.
  void start_with_key(char character);
  // Starts with a pop-up at a framebuffer point.
  void start_with_popup(Hmenu popup, raster::IntPoint point);

  // Runs the modal loop until a command is chosen or the menu is left.
  void run();
  void cancel() { done_ = true; }
  std::optional<int> chosen() const { return chosen_; }

  // The pop-up window's paint.
  void paint_popup_window(Hwnd hwnd, raster::DeviceContext& dc);

 private:
  struct Level {
    Hmenu menu;
    Hwnd window;
    raster::IntRect rect;  // framebuffer
    PopupLayout layout;
    int selected = -1;
  };
  struct Hit {
    int level = -1;  // -1: the bar
    int item = -1;
    bool on_menu = false;
  };

  const std::vector<MenuItem>* items_of(Hmenu menu) const;
  const MenuItem* item_at(int level, int index) const;
  Hit hit_test(raster::IntPoint p) const;

  void enter();
  void leave();
  void notify_select(Hmenu menu, int index);
  void select_bar(int index, bool open_popup, bool select_first);
  void select_in_level(int level, int index, bool open_sub, bool select_first);
  bool open_popup(Hmenu menu, raster::IntRect anchor, bool beside, int parent_index, bool select_first);
  void close_levels_from(int level);
  void redraw_level(int level);
  void choose(const MenuItem& item);
  // Carries out an item: opens its sub-menu or chooses its command.
  void activate(int level, int index);

  void on_mouse(const Message& m);
  void on_key_down(std::uint8_t key);
  void on_character(char c);
  int next_selectable(int level, int from, int step) const;
  int bar_item_count() const;
  Hmenu bar_menu() const;

  Menus& menus_;
  Desktop& desktop_;
  Hwnd owner_;
  FrameMenuBar* bar_;
  std::uint32_t flags_;
  std::vector<Level> levels_;
  bool button_down_ = false;
  bool done_ = false;
  bool entered_ = false;
  std::optional<int> chosen_;
  std::optional<int> quit_code_;
};

// The menu bar hook the desktop calls for a frame given a bar.
class FrameMenuBar final : public MenuBarHook {
 public:
  FrameMenuBar(Menus& menus, Hwnd frame, Hmenu menu) : menus_(menus), frame_(frame), menu_(menu) {}

  int height(int frame_width) const override;
  void paint(raster::DeviceContext& dc, const raster::IntRect& bar) override;
  void mouse_down(Desktop& desktop, Hwnd frame, raster::IntPoint screen_point) override;
  void key_menu(Desktop& desktop, Hwnd frame, int character) override;

  Hmenu menu() const { return menu_; }
  Hwnd frame() const { return frame_; }
  const std::vector<MenuItem>& items() const;
  BarLayout layout() const;
  int selected() const { return selected_; }
  // Highlights an item (-1: none) and repaints the bar.
  void set_selected(int index);
  void repaint();

 private:
  Menus& menus_;
  Hwnd frame_;
  Hmenu menu_;
  int selected_ = -1;
};

}  // namespace orvane::desktop
