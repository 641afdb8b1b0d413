// A run-time with the menu test world, and a desktop whose frame carries
// the menus: its procedure hands menu commands and opening pop-ups to the
// menus as the title's frame does. Input is scripted on a fake screen.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "desktop_ui/ui_fixture.h"
#include "objects/objects_fixture.h"
#include "platform/desktop/menu_layout.h"
#include "ui/menu_dispatch.h"
#include "ui/menu_record.h"
#include "ui/menu_tree.h"

namespace orvane::testing {

inline std::string menu_world_text() {
  std::ifstream in(std::string(ORVANE_TESTS_DIR) + "/menus/menu_world.lsp");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A bar with File (Open, a separator, Quit checked), Edit (Copy) and Help
// (empty), not shown.
inline constexpr const char* kBar = R"(
  (define root (make-menu 'root nil ""))
  (define bar (make-menu 'bar root ""))
  (define file (make-menu 'file bar "File"))
  (define open (make-item 'open file "Open" 'accelerator '(:menu "O")))
  (define line (make-item 'line file "" 'separator? t))
  (define quit (make-item 'quit file "Quit" 'checked? t 'accelerator '(:menu "Q")))
  (define edit (make-menu 'edit bar "Edit"))
  (define copy (make-item 'copy edit "Copy" 'accelerator '((:menu "F5") (:menu "K"))))
  (define help (make-menu 'help bar "Help")))";

class MenuTest : public ObjectsTest {
 protected:
  platform::VirtualClock clock;
  desktop::testing::FakeScreen screen{clock, {640, 480}};
  desktop::Desktop desktop{screen, clock};
  desktop::DesktopUi ui{desktop};
  desktop::Hwnd frame;

  void SetUp() override {
    using namespace desktop;
    ObjectsTest::SetUp();
    WindowClass cls;
    cls.name = "MenuTestFrame";
    cls.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      if (m == WM_COMMAND && l == 0 && ui::dispatch_menu_command(static_cast<std::uint32_t>(low_word(w))))
        return 0;
      if (m == WM_INITMENUPOPUP) ui::menu_popup_opening(Hmenu{static_cast<std::uint32_t>(w)});
      return d.def_window_proc(h, m, w, l);
    };
    ASSERT_TRUE(desktop.register_class(std::move(cls)));
    CreateParams p;
    p.class_name = "MenuTestFrame";
    p.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
    p.width = 640;
    p.height = 480;
    frame = desktop.create_window(p);
    ASSERT_TRUE(frame);
    desktop.set_host_frame(frame);
    desktop.set_active_window(frame);
    desktop.set_focus(frame);
    ui::attach_menus(ui.menus, frame);
    lisp(menu_world_text());
  }
  void TearDown() override {
    ui::detach_menus();
    ObjectsTest::TearDown();
  }

  // The record and the desktop menu of the menu in the global `name`.
  ui::MenuRecord& record(std::string_view name) { return ui::menu_record(global(name)); }
  desktop::Hmenu hmenu(std::string_view name) { return record(name).system_menu(); }
  // The entries' texts of a menu, "|"-joined; "-" for separators, a "*"
  // after checked and a "~" after greyed entries.
  std::string entries(std::string_view name) { return entries_of(hmenu(name)); }
  std::string entries_of(desktop::Hmenu menu) {
    const auto* items = ui.menus.items(menu);
    if (!items) return "<none>";
    std::string out;
    for (const desktop::MenuItem& item : *items) {
      if (!out.empty()) out += "|";
      out += item.separator() ? "-" : item.text;
      if (item.checked()) out += "*";
      if (item.grayed()) out += "~";
    }
    return out;
  }
  // What reached the menus, oldest first, printed.
  std::string log() { return printed("(reverse Log)"); }
  void clear_log() { lisp("(set! Log nil)"); }

  raster::IntRect bar_item(int i) const {
    return ui.menus.menu_bar_item_rects(frame).at(static_cast<std::size_t>(i));
  }
  // The centre of item i of a pop-up opened below bar item `bar_index`.
  raster::IntPoint popup_item(desktop::Hmenu menu, int bar_index, int i) const {
    const raster::IntRect anchor = bar_item(bar_index);
    const desktop::PopupLayout layout = desktop::layout_popup(*ui.menus.items(menu));
    return centre(layout.items.at(static_cast<std::size_t>(i)).translated(anchor.left, anchor.bottom));
  }
  static raster::IntPoint centre(const raster::IntRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

}  // namespace orvane::testing
