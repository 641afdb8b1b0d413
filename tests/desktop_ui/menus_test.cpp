// Menus driven by clicks and keys: the commands that reach WM_COMMAND, the
// notifications around them, and the menu calls themselves.
#include <gtest/gtest.h>

#include "desktop_ui/ui_fixture.h"
#include "platform/desktop/menu_layout.h"

namespace orvane::desktop::testing {
namespace {

constexpr int kOpen = 101, kSave = 102, kExit = 103, kOne = 201, kTwo = 202, kCopy = 301, kPaste = 302,
              kHelp = 401;

class MenuTest : public UiTest {
 protected:
  Hmenu bar, file, recent, edit;

  void SetUp() override {
    UiTest::SetUp();
    Menus& m = ui.menus;
    bar = m.create_menu();
    file = m.create_popup_menu();
    recent = m.create_popup_menu();
    edit = m.create_popup_menu();
    m.append_menu(file, MF_STRING, kOpen, "&Open...\tCtrl+O");
    m.append_menu(file, MF_GRAYED, kSave, "&Save");
    m.append_menu(file, MF_SEPARATOR, 0, "");
    m.append_menu(file, MF_POPUP, recent.value, "&Recent");
    m.append_menu(file, MF_CHECKED, kExit, "E&xit");
    m.append_menu(recent, MF_STRING, kOne, "One");
    m.append_menu(recent, MF_STRING, kTwo, "Two");
    m.append_menu(edit, MF_STRING, kCopy, "&Copy");
    m.append_menu(edit, MF_STRING, kPaste, "&Paste");
    m.append_menu(bar, MF_POPUP, file.value, "&File");
    m.append_menu(bar, MF_POPUP, edit.value, "&Edit");
    m.append_menu(bar, MF_STRING, kHelp, "&Help");
    ASSERT_TRUE(m.set_menu(frame, bar));
  }

  IntRect bar_item(int i) const { return ui.menus.menu_bar_item_rects(frame).at(static_cast<std::size_t>(i)); }
  // Where an item of a pop-up opened at `top_left` lies.
  IntPoint popup_item(Hmenu menu, IntPoint top_left, int i) const {
    const PopupLayout layout = layout_popup(*ui.menus.items(menu));
    return centre(layout.items.at(static_cast<std::size_t>(i)).translated(top_left));
  }
  IntPoint file_item(int i) const { return popup_item(file, {bar_item(0).left, bar_item(0).bottom}, i); }
  IntPoint recent_item(int i) const {
    const IntPoint file_origin{bar_item(0).left, bar_item(0).bottom};
    const PopupLayout file_layout = layout_popup(*ui.menus.items(file));
    const IntRect anchor = file_layout.items.at(3).translated(file_origin);
    return popup_item(recent, {file_origin.x + file_layout.size.width - 3, anchor.top - 3}, i);
  }
};

TEST_F(MenuTest, TheBarTakesTheTopOfTheFrameAndPaints) {
  const IntRect r = ui.menus.menu_bar_rect(frame);
  EXPECT_EQ(r.top, 0);
  EXPECT_GT(r.height(), 12);
  EXPECT_EQ(desktop.client_to_screen(frame, {0, 0}).y, r.bottom);
  run();
  // Face grey around the labels, dark text on it.
  EXPECT_EQ(desktop.framebuffer().color_at(bar_item(0).left + 1, r.top + 1), (raster::Color{192, 192, 192}));
  int dark = 0;
  for (int y = bar_item(0).top; y < bar_item(0).bottom; ++y)
    for (int x = bar_item(0).left; x < bar_item(0).right; ++x)
      dark += desktop.framebuffer().color_at(x, y) == raster::colors::black;
  EXPECT_GT(dark, 5);
}

TEST_F(MenuTest, DrawMenuBarMakesRoomForItemsThatWrap) {
  const int one_row = ui.menus.menu_bar_rect(frame).height();
  for (int i = 0; i < 30; ++i) ui.menus.append_menu(bar, MF_STRING, 500 + i, "&Wide item");
  ui.menus.draw_menu_bar(frame);
  settle();
  const IntRect r = ui.menus.menu_bar_rect(frame);
  EXPECT_GE(r.height(), 3 * one_row);
  EXPECT_EQ(desktop.client_to_screen(frame, {0, 0}).y, r.bottom);
  const std::vector<IntRect> items = ui.menus.menu_bar_item_rects(frame);
  EXPECT_TRUE(r.contains({items.back().left, items.back().top}));
  screen.click(centre(items.back()));
  run();
  EXPECT_EQ(commands(), std::vector<int>{529});
}

TEST_F(MenuTest, ClickOnTheBarThenOnAnItemSendsItsCommand) {
  screen.click(centre(bar_item(0)));
  screen.click(file_item(0));
  run();
  EXPECT_EQ(commands(), std::vector<int>{kOpen});
  const int init = index_of(frame, WM_INITMENU);
  const int popup = index_of(frame, WM_INITMENUPOPUP);
  const int command = index_of(frame, WM_COMMAND);
  ASSERT_GE(init, 0);
  EXPECT_LT(init, popup);
  EXPECT_LT(popup, command);
  EXPECT_EQ(log[static_cast<std::size_t>(init)].wparam, bar.value);
  EXPECT_EQ(log[static_cast<std::size_t>(popup)].wparam, file.value);
  EXPECT_EQ(low_word(static_cast<std::uintptr_t>(log[static_cast<std::size_t>(popup)].lparam)), 0);
  EXPECT_GE(index_of(frame, WM_EXITMENULOOP), 0);
}

TEST_F(MenuTest, DraggingFromTheBarAndReleasingOnAnItemChooses) {
  screen.press(centre(bar_item(1)));
  screen.wait(20);
  screen.move(centre(bar_item(0)));  // across to File
  screen.wait(20);
  screen.move(file_item(4));
  screen.wait(20);
  screen.release(file_item(4));
  run();
  EXPECT_EQ(commands(), std::vector<int>{kExit});
  // Both pop-ups were announced before they opened.
  std::vector<WParam> opened;
  for (const auto& l : logged(frame, WM_INITMENUPOPUP)) opened.push_back(l.wparam);
  EXPECT_EQ(opened, (std::vector<WParam>{edit.value, file.value}));
}

TEST_F(MenuTest, DisabledItemsAndSeparatorsNeverChoose) {
  screen.click(centre(bar_item(0)));
  screen.click(file_item(1));  // Save, greyed
  screen.click(file_item(2));  // the separator
  screen.key(VK_ESCAPE);
  screen.key(VK_ESCAPE);
  // By keys too: Alt+F, down to Save, Enter.
  screen.key_down(VK_MENU, true);
  screen.key('F', true);
  screen.key_up(VK_MENU);
  screen.key(VK_DOWN);
  screen.key(VK_RETURN);
  run();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(logged(frame, WM_INITMENUPOPUP).size(), 2u);  // the menu did open, twice
}

TEST_F(MenuTest, ThePopupHandlerCanGreyAnItemBeforeItOpens) {
  hook = [&](Desktop&, Hwnd, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (m == WM_INITMENUPOPUP && w == file.value) ui.menus.enable_menu_item(file, kOpen, MF_BYCOMMAND | MF_GRAYED);
    return std::nullopt;
  };
  screen.click(centre(bar_item(0)));
  screen.click(file_item(0));
  screen.key(VK_ESCAPE);
  run();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(ui.menus.menu_state(file, kOpen, MF_BYCOMMAND) & MF_GRAYED, static_cast<int>(MF_GRAYED));
}

TEST_F(MenuTest, SubMenusOpenUnderTheMouse) {
  screen.click(centre(bar_item(0)));
  screen.move(file_item(3));
  screen.click(recent_item(1));
  run();
  EXPECT_EQ(commands(), std::vector<int>{kTwo});
  const auto popups = logged(frame, WM_INITMENUPOPUP);
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[1].wparam, recent.value);
  EXPECT_EQ(low_word(static_cast<std::uintptr_t>(popups[1].lparam)), 3);
}

TEST_F(MenuTest, TheMenuKeyThenArrowsAndEnter) {
  screen.key(VK_MENU, true);  // Alt alone: the bar, File highlighted
  screen.key(VK_RIGHT);       // Edit
  screen.key(VK_DOWN);        // opens Edit on Copy
  screen.key(VK_DOWN);        // Paste
  screen.key(VK_RETURN);
  run();
  EXPECT_EQ(commands(), std::vector<int>{kPaste});
}

TEST_F(MenuTest, AltReleasedAfterAnotherKeyEntersNoMenuMode) {
  screen.key_down(VK_MENU, true);
  screen.key('Q', true);  // no menu has Q: nothing opens
  screen.key_up(VK_MENU);
  screen.key(VK_DOWN);  // in menu mode these would open File and choose Open
  screen.key(VK_RETURN);
  screen.key_down(VK_MENU, true);
  screen.key('E', true);  // opens Edit; Escape twice leaves it before Alt goes up
  screen.key(VK_ESCAPE, true);
  screen.key(VK_ESCAPE, true);
  screen.key_up(VK_MENU);
  screen.key(VK_DOWN);
  screen.key(VK_RETURN);
  run();
  EXPECT_TRUE(commands().empty());
}

TEST_F(MenuTest, ArrowsSkipSeparatorsAndOpenSubMenus) {
  screen.key(VK_F10);
  screen.key(VK_DOWN);   // File on Open
  screen.key(VK_DOWN);   // Save
  screen.key(VK_DOWN);   // over the separator to Recent
  screen.key(VK_RIGHT);  // opens Recent on One
  screen.key(VK_RETURN);
  run();
  EXPECT_EQ(commands(), std::vector<int>{kOne});
}

TEST_F(MenuTest, MnemonicsOpenMenusAndChooseItems) {
  screen.key_down(VK_MENU, true);
  screen.key('E', true);
  screen.key_up(VK_MENU);
  screen.type("p");
  screen.key_down(VK_MENU, true);
  screen.key('F', true);
  screen.key_up(VK_MENU);
  screen.type("x");
  run();
  EXPECT_EQ(commands(), (std::vector<int>{kPaste, kExit}));
}

TEST_F(MenuTest, EscapeLeavesLevelByLevel) {
  screen.key_down(VK_MENU, true);
  screen.key('F', true);
  screen.key_up(VK_MENU);
  screen.key(VK_ESCAPE);  // back to the bar
  screen.key(VK_ESCAPE);  // out of the menu
  screen.type("o");        // a plain key for the frame now
  run();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(logged(frame, WM_EXITMENULOOP).size(), 1u);
  ASSERT_FALSE(logged(frame, WM_CHAR).empty());
  EXPECT_EQ(logged(frame, WM_CHAR).back().wparam, static_cast<WParam>('o'));
}

TEST_F(MenuTest, ACommandOnTheBarItselfIsChosenByAClick) {
  screen.click(centre(bar_item(2)));
  run();
  EXPECT_EQ(commands(), std::vector<int>{kHelp});
}

TEST_F(MenuTest, AClickOnTheBarBesideItsItemsOpensNothing) {
  screen.click({600, centre(bar_item(0)).y});
  screen.type("o");  // reaches the frame: no menu is being tracked
  run();
  EXPECT_TRUE(logged(frame, WM_INITMENUPOPUP).empty());
  ASSERT_FALSE(logged(frame, WM_CHAR).empty());
}

TEST_F(MenuTest, APressOutsideLeavesTheMenuAndOtherWindowsRepaint) {
  screen.click(centre(bar_item(0)));
  screen.click({600, 400});
  run();
  EXPECT_TRUE(commands().empty());
  // The pop-up is gone and the frame painted again where it was.
  EXPECT_EQ(desktop.framebuffer().color_at(file_item(0).x, file_item(0).y), (raster::Color{128, 128, 128}));
}

TEST_F(MenuTest, TheHighlightedItemIsNavyWhenItIsAnnounced) {
  std::vector<std::pair<int, raster::Color>> seen;
  hook = [&](Desktop& d, Hwnd, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
    if (m == WM_MENUSELECT && Hmenu{static_cast<std::uint32_t>(l)} == file) {
      const IntPoint p = file_item(low_word(w) == kOpen ? 0 : 4);
      seen.emplace_back(low_word(w), d.framebuffer().color_at(p.x, p.y - 4));
    }
    return std::nullopt;
  };
  screen.click(centre(bar_item(0)));
  screen.move(file_item(0));
  screen.wait(20);  // two moves at once would coalesce into the last
  screen.move(file_item(4));
  screen.key(VK_ESCAPE);
  screen.key(VK_ESCAPE);
  run();
  EXPECT_TRUE(commands().empty());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(kOpen, raster::Color{0, 0, 128}));
  EXPECT_EQ(seen[1], std::make_pair(kExit, raster::Color{0, 0, 128}));
  // The last announcement says the menu closed.
  const auto selects = logged(frame, WM_MENUSELECT);
  EXPECT_EQ(high_word(selects.back().wparam), 0xffff);
  EXPECT_EQ(selects.back().lparam, 0);
}

TEST_F(MenuTest, TrackPopupMenuAnswersOrPostsTheCommand) {
  screen.click({100, 100});  // a press and release before the pop-up: nothing
  screen.click(popup_item(edit, {200, 150}, 1));
  run();
  log.clear();
  // Run the pop-up after the events above were delivered: place fresh ones.
  screen.click(popup_item(edit, {200, 150}, 1));
  EXPECT_EQ(ui.menus.track_popup_menu(edit, TPM_RETURNCMD, {200, 150}, frame), kPaste);
  EXPECT_TRUE(commands().empty());
  screen.click(popup_item(edit, {200, 150}, 0));
  EXPECT_EQ(ui.menus.track_popup_menu(edit, 0, {200, 150}, frame), 1);
  Message m;
  bool posted = false;
  while (desktop.peek_message(m, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE)) posted |= low_word(m.wparam) == kCopy;
  EXPECT_TRUE(posted);
  screen.click({5, 470});  // outside: nothing chosen
  EXPECT_EQ(ui.menus.track_popup_menu(edit, TPM_RETURNCMD, {200, 150}, frame), 0);
}

TEST_F(MenuTest, PopupsStayOnTheScreen) {
  // Opened near the bottom-right corner, the pop-up moves up and left.
  const PopupLayout layout = layout_popup(*ui.menus.items(edit));
  const IntPoint corner{639, 479};
  screen.click(popup_item(edit, {639 - layout.size.width, 479 - layout.size.height}, 0));
  EXPECT_EQ(ui.menus.track_popup_menu(edit, TPM_RETURNCMD, corner, frame), kCopy);
}

TEST_F(MenuTest, AMenuCommandCanRunAModalAlert) {
  int answer = 0;
  hook = [&](Desktop&, Hwnd h, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (h == frame && m == WM_COMMAND && low_word(w) == kHelp) {
      answer = ui.dialogs.message_box(frame, "Orvane", "About", MB_OKCANCEL);
      return 0;
    }
    return std::nullopt;
  };
  screen.click(centre(bar_item(2)));
  screen.key(VK_RETURN);
  run();
  EXPECT_EQ(answer, IDOK);
}

TEST_F(MenuTest, HandlersThatDestroyMenusOrTheOwnerEndTrackingCleanly) {
  // The pop-up about to open is destroyed by its own notification.
  hook = [&](Desktop&, Hwnd, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (m == WM_INITMENUPOPUP && w == file.value) ui.menus.destroy_menu(file);
    // Moving to Edit takes the bar away from the frame altogether.
    if (m == WM_INITMENUPOPUP && w == edit.value) ui.menus.set_menu(frame, {});
    return std::nullopt;
  };
  screen.click(centre(bar_item(0)));
  screen.click(centre(bar_item(1)));
  screen.key(VK_DOWN);
  screen.key(VK_RETURN);
  screen.key(VK_ESCAPE);
  run();
  EXPECT_FALSE(ui.menus.is_menu(file));
  EXPECT_FALSE(ui.menus.tracking());
}

TEST_F(MenuTest, TheOwnerDestroyedWhileAMenuIsOpen) {
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (h == frame && m == WM_INITMENUPOPUP) d.destroy_window(frame);
    return std::nullopt;
  };
  screen.click(centre(bar_item(0)));
  screen.click({300, 300});
  run();
  EXPECT_FALSE(desktop.is_window(frame));
  EXPECT_FALSE(ui.menus.tracking());
  EXPECT_EQ(ui.menus.track_popup_menu(edit, TPM_RETURNCMD, {10, 10}, frame), 0);
}

TEST(MenuCalls, BuildCheckEnableAndRemove) {
  platform::VirtualClock clock;
  FakeScreen screen(clock, {320, 200});
  Desktop desktop(screen, clock);
  Menus menus(desktop);
  const Hmenu top = menus.create_menu();
  const Hmenu sub = menus.create_popup_menu();
  EXPECT_TRUE(menus.append_menu(sub, MF_STRING, 7, "Seven"));
  EXPECT_TRUE(menus.append_menu(top, MF_POPUP, sub.value, "Sub"));
  EXPECT_TRUE(menus.insert_menu(top, 0, MF_BYPOSITION, 5, "Five"));
  EXPECT_FALSE(menus.append_menu(top, MF_POPUP, 0xdead, "No such menu"));
  EXPECT_FALSE(menus.append_menu(sub, MF_POPUP, sub.value, "Itself"));
  EXPECT_EQ(menus.item_count(top), 2);
  EXPECT_EQ(menus.item_id(top, 0), 5);
  EXPECT_EQ(menus.item_id(top, 1), -1);
  EXPECT_EQ(menus.sub_menu(top, 1), sub);

  // By command, items of sub-menus are found too.
  EXPECT_EQ(menus.check_menu_item(top, 7, MF_BYCOMMAND | MF_CHECKED), static_cast<int>(MF_UNCHECKED));
  EXPECT_EQ(menus.check_menu_item(top, 7, MF_BYCOMMAND | MF_UNCHECKED), static_cast<int>(MF_CHECKED));
  EXPECT_EQ(menus.enable_menu_item(top, 0, MF_BYPOSITION | MF_GRAYED), static_cast<int>(MF_ENABLED));
  EXPECT_EQ(menus.enable_menu_item(top, 0, MF_BYPOSITION | MF_ENABLED), static_cast<int>(MF_GRAYED));
  EXPECT_EQ(menus.check_menu_item(top, 99, MF_BYCOMMAND), -1);
  EXPECT_EQ(menus.menu_state(top, 1, MF_BYPOSITION) >> 8, 1);
  EXPECT_EQ(menus.menu_string(top, 5, MF_BYCOMMAND), "Five");
  EXPECT_TRUE(menus.modify_menu(top, 5, MF_BYCOMMAND | MF_STRING, 6, "Six"));
  EXPECT_EQ(menus.menu_string(top, 6, MF_BYCOMMAND), "Six");

  // Remove keeps a sub-menu, delete destroys it.
  EXPECT_TRUE(menus.remove_menu(top, 1, MF_BYPOSITION));
  EXPECT_TRUE(menus.is_menu(sub));
  EXPECT_TRUE(menus.append_menu(top, MF_POPUP, sub.value, "Sub"));
  EXPECT_TRUE(menus.delete_menu(top, 1, MF_BYPOSITION));
  EXPECT_FALSE(menus.is_menu(sub));
  EXPECT_TRUE(menus.destroy_menu(top));
  EXPECT_FALSE(menus.destroy_menu(top));
  EXPECT_EQ(menus.item_count(top), -1);
  EXPECT_FALSE(menus.find_item(top, 0, MF_BYPOSITION));
}

TEST(MenuCalls, LabelsAndMnemonics) {
  EXPECT_EQ(parse_label("&File").shown, "File");
  EXPECT_EQ(parse_label("&File").mnemonic(), 'f');
  EXPECT_EQ(parse_label("Save &As").mnemonic(), 'a');
  EXPECT_EQ(parse_label("Fish && Chips").shown, "Fish & Chips");
  EXPECT_EQ(parse_label("Fish && Chips").mnemonic(), 0);
  EXPECT_EQ(parse_label("Trailing&").shown, "Trailing&");
}

}  // namespace
}  // namespace orvane::desktop::testing

namespace orvane::desktop::testing {
namespace {

// A menu taller than the room it has goes on in columns of equal width, each
// item whole, none past the room.
TEST(PopupLayoutTest, AMenuTallerThanItsRoomGoesOnInColumns) {
  std::vector<MenuItem> items(40);
  for (std::size_t i = 0; i < items.size(); ++i) items[i].text = "Face " + std::to_string(i);
  const PopupLayout tall = layout_popup(items);
  const PopupLayout wrapped = layout_popup(items, 200);
  ASSERT_EQ(wrapped.items.size(), items.size());
  EXPECT_LE(wrapped.size.height, 200);
  EXPECT_GT(wrapped.size.width, tall.size.width * 2) << "40 items in 200 pixels need at least three columns";
  int columns = 1;
  for (std::size_t i = 1; i < wrapped.items.size(); ++i) {
    const raster::IntRect& r = wrapped.items[i];
    EXPECT_EQ(r.height(), tall.items[i].height());
    EXPECT_EQ(r.width(), tall.items[i].width());
    EXPECT_LE(r.bottom, wrapped.size.height);
    if (r.left != wrapped.items[i - 1].left) {
      ++columns;
      EXPECT_EQ(r.left, wrapped.items[i - 1].right) << "columns side by side";
      EXPECT_EQ(r.top, wrapped.items[0].top) << "a column starts at the top";
    }
  }
  EXPECT_EQ(wrapped.size.width, wrapped.items.back().right + (wrapped.items[0].left));
  EXPECT_GE(columns, 3);
  // A menu that fits stays one column.
  EXPECT_EQ(layout_popup(items, tall.size.height).size, tall.size);
}

}  // namespace
}  // namespace orvane::desktop::testing
