// Menus driven by the mouse and the keyboard: commands reaching `select`,
// `update` before a menu opens, greyed items, accelerators, pop-up
// selection from a window, and font entries reaching the key focus window.
#include "menus/menu_fixture.h"
#include "ui/menu_accelerators.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::testing {
namespace {

using namespace desktop;
using platform::InputEvent;

class MenuInputTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    lisp(kBar);
    lisp("(send bar show)");
  }
  // Dispatches as the title's event pump does: key-downs are offered to
  // the accelerators first.
  void run_input() {
    Message m;
    for (int guard = 0; guard < 100000 && desktop.get_message(m); ++guard) {
      if (m.message == WM_KEYDOWN &&
          ui::translate_menu_accelerator(static_cast<int>(m.wparam), desktop.key_down(VK_CONTROL),
                                         desktop.key_down(VK_SHIFT), desktop.key_down(VK_MENU)))
        continue;
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  }
  void key(std::uint8_t vk, bool control = false, bool shift = false) {
    InputEvent e;
    e.modifiers.control = control;
    e.modifiers.shift = shift;
    if (control) {
      e.kind = InputEvent::Kind::key_down;
      e.virtual_key = VK_CONTROL;
      screen.add(e);
    }
    e.kind = InputEvent::Kind::key_down;
    e.virtual_key = vk;
    screen.add(e);
    e.kind = InputEvent::Kind::key_up;
    screen.add(e);
    if (control) {
      e.modifiers.control = false;
      e.virtual_key = VK_CONTROL;
      screen.add(e);
    }
    screen.wait(50);
  }
  void click(raster::IntPoint p) { screen.click(p); }
  // Clicks a menu of the bar, then its item; Escape leaves what stays open.
  void click_item(std::string_view menu, int bar_index, int item) {
    click(centre(bar_item(bar_index)));
    click(popup_item(hmenu(menu), bar_index, item));
    key(VK_ESCAPE);
    key(VK_ESCAPE);
    run_input();
  }
};

TEST_F(MenuInputTest, AClickedCommandReachesItsItemAfterItsMenusUpdate) {
  click_item("file", 0, 2);
  EXPECT_EQ(log(), "((file update) (quit select))");
}

TEST_F(MenuInputTest, AGreyedItemOrAnItemOfAGreyedMenuIsNeverChosen) {
  lisp("(send quit disable)");
  click_item("file", 0, 2);
  EXPECT_EQ(log(), "((file update))");
  // `update` may grey an item before the menu shows.
  clear_log();
  lisp(
      "(obj-test-menu (define (update) (note name 'update) (if (eq? name 'file) (send (send (self) named "
      "'open) disable))))");
  click_item("file", 0, 0);
  EXPECT_EQ(log(), "((file update))");
}

TEST_F(MenuInputTest, TheKeyboardOpensTheBarMovesAndChooses) {
  // Alt alone selects the bar; Right moves to Edit, Left back to File; Down
  // opens it on its first item; Down skips the separator; Enter chooses.
  key(VK_MENU);
  key(VK_RIGHT);
  key(VK_LEFT);
  key(VK_DOWN);
  key(VK_DOWN);
  key(VK_RETURN);
  run_input();
  EXPECT_EQ(log(), "((file update) (quit select))");
}

TEST_F(MenuInputTest, AcceleratorsChooseTheirItemsFromTheKeyboard) {
  key('Q', true);
  key(VK_F1 + 4, true);
  key('O', true, true);  // with Shift: not the accelerator
  key('Z', true);
  run_input();
  EXPECT_EQ(log(), "((file update) (quit select) (edit update) (copy select))");
  EXPECT_FALSE(ui::translate_menu_accelerator('Q', false));
  EXPECT_FALSE(ui::translate_menu_accelerator('Q', true, false, true));
}

TEST_F(MenuInputTest, AcceleratorsOfGreyedOrHiddenItemsDoNothing) {
  lisp("(send open disable)");
  key('O', true);
  run_input();
  EXPECT_EQ(log(), "((file update))") << "the key is taken, the item not chosen";
  clear_log();
  lisp("(send file disable) (send open enable)");
  EXPECT_TRUE(ui::translate_menu_accelerator('O', true));
  EXPECT_EQ(log(), "((file update))");
  clear_log();
  lisp("(send file enable) (send file hide)");
  EXPECT_FALSE(ui::translate_menu_accelerator('O', true)) << "a menu off the bar";
  lisp("(send file show) (send open close)");
  EXPECT_FALSE(ui::translate_menu_accelerator('O', true)) << "a closed item";
  EXPECT_EQ(log(), "()");
}

TEST_F(MenuTest, AcceleratorFormsAndTheKeysTheyName) {
  using ui::accelerator_virtual_key;
  EXPECT_EQ(ui::accelerator_key(lisp("'(:menu \"K\")")), "K");
  EXPECT_EQ(ui::accelerator_key(lisp("'((:menu \"K\") (:menu \"L\"))")), "K");
  for (const char* bad :
       {"'(:menu K)", "'(:menu \"K\" \"L\")", "'(:key \"K\")", "\"K\"", "'((:key \"K\"))", "nil"})
    EXPECT_EQ(ui::accelerator_key(lisp(bad)), std::nullopt) << bad;
  EXPECT_EQ(accelerator_virtual_key("q"), 'Q');
  EXPECT_EQ(accelerator_virtual_key("Q"), 'Q');
  EXPECT_EQ(accelerator_virtual_key("7"), '7');
  EXPECT_EQ(accelerator_virtual_key("/"), VK_OEM_2);
  EXPECT_EQ(accelerator_virtual_key("F12"), VK_F1 + 11);
  EXPECT_EQ(accelerator_virtual_key("f1"), VK_F1);
  EXPECT_EQ(accelerator_virtual_key("Del"), VK_DELETE);
  for (const char* none : {"", "F16", "F0", "Fx", "Ctrl", "\xE9", "f\xB2"})
    EXPECT_EQ(accelerator_virtual_key(none), std::nullopt) << none;
}

class MenuWindowTest : public MenuInputTest {
 protected:
  void SetUp() override {
    MenuInputTest::SetUp();
    ui::attach_window_layer(desktop, frame, frame);
    lisp(R"((define obj-note-window (new-class 'obj-note-window obj-window))
            (obj-note-window (define (set-text-font _name) (note 'window 'set-text-font _name)))
            (define w (make-instance obj-note-window))
            (w (link-object))
            (set! Fonts '("Arial" "Courier New"))
            (define tools (make-menu 'tools root "Tools" 'popup? t))
            (define hammer (make-item 'hammer tools "Hammer"))
            (define saw (make-item 'saw tools "Saw"))
            (define fonts (make-menu 'fonts tools "Font" 'font? t))
            (send fonts add-font-items))");
    CreateParams p;
    p.class_name = "MenuTestFrame";
    p.style = WS_CHILD | WS_VISIBLE;
    p.x = 100;
    p.y = 120;
    p.width = 200;
    p.height = 100;
    p.parent = frame;
    window_hwnd = desktop.create_window(p);
    ui::window_peer(global("w")).hwnd = window_hwnd;
  }
  void TearDown() override {
    ui::detach_window_layer();
    MenuInputTest::TearDown();
  }
  // The centre of item i of `menu` opened as a pop-up at the window.
  raster::IntPoint at_window(std::string_view menu, int i) {
    const raster::IntPoint origin = desktop.client_to_screen(window_hwnd, {0, 0});
    const PopupLayout layout = layout_popup(*ui.menus.items(hmenu(menu)));
    return centre(layout.items.at(static_cast<std::size_t>(i)).translated(origin.x, origin.y));
  }
  Hwnd window_hwnd;
};

TEST_F(MenuWindowTest, PopupSelectAnswersTheChosenItemWithoutSelectingIt) {
  click(at_window("tools", 1));
  EXPECT_EQ(printed("(send w popup-select tools nil nil)"), "saw");
  EXPECT_EQ(log(), "((tools update))");
  // Nothing chosen: nil.
  clear_log();
  click({600, 450});
  EXPECT_EQ(printed("(send w popup-select tools nil nil)"), "()");
  // Items and closed menus have nothing to show.
  EXPECT_EQ(lisp_error("(send w popup-select hammer nil nil)"), 2);
  EXPECT_EQ(lisp_error("(send w popup-select 'tools nil nil)"), 2);
}

TEST_F(MenuWindowTest, AFontEntrySendsItsNameToTheKeyFocusWindow) {
  ui::layer().key_focus = &ui::window_peer(global("w"));
  const std::uint32_t courier = record("saw").command() + 2;
  EXPECT_TRUE(ui::dispatch_menu_command(courier));
  EXPECT_EQ(log(), "((window set-text-font \"Courier New\"))");
  // From a pop-up: the font goes to the window, the answer is nil.
  clear_log();
  click(at_window("tools", 2));  // the pointer over the entry opens its menu
  key(VK_DOWN);
  key(VK_RETURN);
  EXPECT_EQ(printed("(send w popup-select tools nil nil)"), "()");
  EXPECT_EQ(log(), "((tools update) (fonts update) (window set-text-font \"Arial\"))");
  ui::layer().key_focus = nullptr;
}

}  // namespace
}  // namespace orvane::testing
