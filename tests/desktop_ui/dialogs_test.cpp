// Modal dialogs and message boxes: the id they answer for clicks and keys,
// the owner held off meanwhile, the other windows still painted.
#include <gtest/gtest.h>

#include "desktop_ui/ui_fixture.h"
#include "platform/desktop/controls.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop::testing {
namespace {

class DialogTest : public UiTest {
 protected:
  // Runs at WM_INITDIALOG, with the dialog's handle: queues input that
  // needs the dialog's layout.
  std::function<void(Hwnd)> on_open;
  Hwnd opened;

  DialogProc watcher() {
    return [this](Desktop&, Hwnd dialog, std::uint32_t message, WParam, LParam) {
      if (message == WM_INITDIALOG) {
        opened = dialog;
        if (on_open) on_open(dialog);
        return true;  // the focus to the first tab stop
      }
      return false;
    };
  }
  IntPoint centre_of(Hwnd control) const { return centre(desktop.window_rect(control)); }
  static int row_height() { return dialog_font() ? dialog_font()->metrics().line_height : 13; }

  Alert ok_quit() const {
    Alert box;
    box.text = "Out of Memory";
    box.buttons = {{IDOK, "OK"}, {2, "Quit"}};
    box.close_result = 0;
    return box;
  }
};

TEST_F(DialogTest, AClickedButtonEndsTheDialogWithItsId) {
  DialogTemplate t;
  t.caption = "Question";
  t.size = {200, 80};
  t.controls = {{ControlKind::static_text, 99, "Go on?", {10, 10, 190, 30}, 0},
                {ControlKind::push_button, IDOK, "OK", {20, 45, 95, 68}, BS_DEFPUSHBUTTON},
                {ControlKind::push_button, 7, "&Later", {105, 45, 180, 68}, 0}};
  on_open = [&](Hwnd dialog) { screen.click(centre_of(ui.dialogs.dialog_item(dialog, 7))); };
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, watcher()), 7);
  EXPECT_FALSE(desktop.is_window(opened));
  EXPECT_TRUE(desktop.is_enabled(frame));
}

TEST_F(DialogTest, EnterChoosesTheDefaultButtonAndEscapeCancels) {
  Alert box = ok_quit();
  box.default_button = 1;
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.alert(frame, box), 2);

  screen.key(VK_ESCAPE);  // Quit has IDCANCEL's number: Escape is Quit
  EXPECT_EQ(ui.dialogs.alert(frame, ok_quit()), 2);

  Alert only_ok = ok_quit();
  only_ok.buttons = {{IDOK, "OK"}};
  screen.key(VK_ESCAPE);  // no Cancel button: the alert's close answer
  EXPECT_EQ(ui.dialogs.alert(frame, only_ok), 0);

  screen.key(VK_ESCAPE);
  EXPECT_EQ(ui.dialogs.message_box(frame, "Save changes?", "Editor", MB_OKCANCEL), IDCANCEL);
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.message_box(frame, "Save changes?", "Editor", MB_OKCANCEL), IDOK);
}

TEST_F(DialogTest, TabMovesTheFocusAndEnterTakesTheFocusedButton) {
  screen.key(VK_TAB);
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.message_box(frame, "Really?", "", MB_YESNO), IDNO);
  screen.key(VK_TAB, false, true);  // Shift+Tab from Yes wraps to No... then back
  screen.key(VK_TAB);
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.message_box(frame, "Really?", "", MB_YESNO), IDYES);
}

TEST_F(DialogTest, MnemonicsClickTheirButtons) {
  screen.type("n");
  EXPECT_EQ(ui.dialogs.message_box(frame, "Really?", "", MB_YESNOCANCEL), IDNO);
  screen.key_down(VK_MENU, true);
  screen.key('Y', true);
  screen.key_up(VK_MENU);
  EXPECT_EQ(ui.dialogs.message_box(frame, "Really?", "", MB_YESNOCANCEL), IDYES);
}

TEST_F(DialogTest, TheOwnerGetsNoInputButKeepsPainting) {
  int painted_during = 0;
  hook = [&](Desktop&, Hwnd h, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (h == frame && m == WM_PAINT && ui.dialogs.active_dialog()) ++painted_during;
    return std::nullopt;
  };
  on_open = [&](Hwnd dialog) {
    EXPECT_FALSE(desktop.is_enabled(frame));
    desktop.invalidate_rect(frame, nullptr, true);
    screen.click({5, 470});  // on the frame, outside the dialog
    screen.click(centre_of(ui.dialogs.dialog_item(dialog, IDOK)));
  };
  Alert box;
  box.text = "The file C:\\TITLE.RI was not found!";
  log.clear();
  const int result = ui.dialogs.dialog_box(
      [&] {
        DialogTemplate t;
        t.size = {220, 70};
        t.controls = {{ControlKind::static_text, 99, box.text, {8, 8, 212, 36}, SS_NOPREFIX},
                      {ControlKind::push_button, IDOK, "OK", {72, 40, 147, 63}, BS_DEFPUSHBUTTON}};
        return t;
      }(),
      frame, watcher());
  EXPECT_EQ(result, IDOK);
  EXPECT_GT(painted_during, 0);
  EXPECT_TRUE(logged(frame, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(desktop.is_enabled(frame));
}

TEST_F(DialogTest, AnAlertLaysOutItsTextAndButtonsAndIsClickable) {
  // The alert builds its own dialog: a timer of the frame, still running
  // during the modal loop, looks at it and clicks Quit.
  desktop.set_timer(frame, 77, 1);
  screen.idle_until(5);
  hook = [&](Desktop&, Hwnd h, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (h != frame || m != WM_TIMER || w != 77) return std::nullopt;
    desktop.kill_timer(frame, 77);
    const Hwnd dialog = ui.dialogs.active_dialog();
    const Hwnd quit = ui.dialogs.dialog_item(dialog, 2);
    EXPECT_TRUE(quit);
    if (!quit) return 0;
    EXPECT_EQ(desktop.window_text(quit), "Quit");
    EXPECT_EQ(ui.dialogs.item_text(dialog, 99), "Out of Memory");
    EXPECT_LT(desktop.window_rect(ui.dialogs.dialog_item(dialog, 99)).bottom, desktop.window_rect(quit).top);
    const IntRect r = desktop.window_rect(dialog);
    EXPECT_EQ(desktop.framebuffer().bounds().intersected(r), r);
    EXPECT_EQ(desktop.focus(), ui.dialogs.dialog_item(dialog, IDOK));  // the default button
    screen.click(centre_of(quit));
    return 0;
  };
  EXPECT_EQ(ui.dialogs.alert(frame, ok_quit()), 2);
}

TEST_F(DialogTest, APressDraggedOffTheButtonDoesNotClick) {
  DialogTemplate t;
  t.size = {160, 60};
  t.controls = {{ControlKind::push_button, IDOK, "OK", {40, 20, 115, 43}, BS_DEFPUSHBUTTON}};
  on_open = [&](Hwnd dialog) {
    const IntRect r = desktop.window_rect(ui.dialogs.dialog_item(dialog, IDOK));
    screen.press(centre(r));
    screen.wait(10);
    screen.move({r.right + 30, r.bottom + 30});
    screen.release({r.right + 30, r.bottom + 30});
    screen.wait(600);
    screen.key(VK_ESCAPE);
  };
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, watcher()), IDCANCEL);
}

TEST_F(DialogTest, TheProcedureSeesCommandsAndEndsTheDialogItself) {
  DialogTemplate t;
  t.size = {200, 80};
  t.close_result = -5;
  t.controls = {{ControlKind::edit, 10, "ab", {10, 10, 190, 30}, 0},
                {ControlKind::push_button, IDOK, "OK", {60, 45, 135, 68}, BS_DEFPUSHBUTTON}};
  std::string typed;
  int changes = 0;
  DialogProc proc = [&](Desktop& d, Hwnd dialog, std::uint32_t m, WParam w, LParam) {
    if (m == WM_INITDIALOG) {
      d.set_focus(ui.dialogs.dialog_item(dialog, 10));
      return false;  // the focus is placed
    }
    if (m == WM_COMMAND && low_word(w) == 10 && high_word(w) == EN_CHANGE) ++changes;
    if (m == WM_COMMAND && low_word(w) == IDOK) {
      typed = ui.dialogs.item_text(dialog, 10);
      ui.dialogs.end_dialog(dialog, 42);
      return true;
    }
    return false;
  };
  screen.type("cx");
  screen.key(VK_BACK);
  screen.key(VK_LEFT);
  screen.key(VK_LEFT);
  screen.type("Z");
  screen.key(VK_END);
  screen.type("!");
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, proc), 42);
  EXPECT_EQ(typed, "aZbc!");
  EXPECT_EQ(changes, 5);
}

TEST_F(DialogTest, AListBoxSelectsByClickAndKeysAndScrolls) {
  DialogTemplate t;
  t.size = {200, 140};
  t.controls = {{ControlKind::list_box, 20, "", {10, 10, 190, 90}, 0},
                {ControlKind::push_button, IDOK, "OK", {60, 105, 135, 128}, BS_DEFPUSHBUTTON}};
  std::vector<int> selection_changes;
  std::string chosen;
  int top_after_keys = -1;
  DialogProc proc = [&](Desktop& d, Hwnd dialog, std::uint32_t m, WParam w, LParam) {
    const Hwnd list = ui.dialogs.dialog_item(dialog, 20);
    if (m == WM_INITDIALOG) {
      for (int i = 0; i < 20; ++i) {
        const std::string item = "Item " + std::to_string(i);
        d.send_message(list, LB_ADDSTRING, 0, lparam_of_pointer(item.c_str()));
      }
      EXPECT_EQ(d.send_message(list, LB_GETCOUNT), 20);
      EXPECT_EQ(d.send_message(list, LB_GETCURSEL), LB_ERR);
      const IntRect r = d.window_rect(list);
      screen.click({r.left + 20, r.top + 2 + 2 * row_height() + row_height() / 2});  // the third row
      for (int i = 0; i < 8; ++i) screen.key(VK_DOWN);
      screen.key(VK_RETURN);
      return true;
    }
    if (m == WM_COMMAND && low_word(w) == 20 && high_word(w) == LBN_SELCHANGE)
      selection_changes.push_back(static_cast<int>(d.send_message(list, LB_GETCURSEL)));
    if (m == WM_COMMAND && low_word(w) == IDOK) {
      const auto at = static_cast<WParam>(d.send_message(list, LB_GETCURSEL));
      d.send_message(list, LB_GETTEXT, at, lparam_of_pointer(&chosen));
      top_after_keys = static_cast<int>(d.send_message(list, LB_GETTOPINDEX));
    }
    return false;
  };
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, proc), IDOK);
  ASSERT_EQ(selection_changes.size(), 9u);
  EXPECT_EQ(selection_changes.front(), 2);
  EXPECT_EQ(selection_changes.back(), 10);
  EXPECT_EQ(chosen, "Item 10");
  EXPECT_GT(top_after_keys, 0);  // scrolled to keep the selection in view
}

TEST_F(DialogTest, ClosingOrTheEndOfInputAnswersTheCloseResult) {
  DialogTemplate t;
  t.caption = "Closable";
  t.size = {160, 60};
  t.close_result = 0;
  t.controls = {{ControlKind::push_button, IDOK, "OK", {40, 20, 115, 43}, BS_DEFPUSHBUTTON}};
  on_open = [&](Hwnd dialog) { desktop.post_message(dialog, WM_CLOSE); };
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, watcher()), 0);
  on_open = nullptr;
  // No input is left: the run ends, the dialog answers its close result and
  // the quit is left for the caller's loop.
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, watcher()), 0);
  Message m;
  EXPECT_FALSE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_QUIT);
}

TEST(OwnerlessAlert, ShowsBeforeAnyWindowExists) {
  platform::VirtualClock clock;
  FakeScreen screen(clock, {640, 480});
  Desktop desktop(screen, clock);
  DesktopUi ui(desktop);
  Alert box;
  box.text = "The file C:\\GAMES\\TITLE.RI was not found!";
  box.close_result = 0;
  screen.key(VK_RETURN);
  EXPECT_EQ(ui.dialogs.alert({}, box), IDOK);
  screen.key(VK_ESCAPE);
  EXPECT_EQ(ui.dialogs.alert({}, box), 0);
}

TEST(DialogUnits, AreQuartersAndEighthsOfTheDialogFont) {
  const fonts::Font* font = dialog_font();
  ASSERT_TRUE(font);
  const IntRect r = Dialogs::units_to_pixels({0, 0, 40, 16});
  EXPECT_EQ(r.bottom, 2 * font->metrics().line_height);
  EXPECT_GE(r.right, 40);
  EXPECT_LE(r.right, 80);
}

TEST(TextWrapping, BreaksAtSpacesLineEndsAndInsideLongWords) {
  const fonts::Font* font = dialog_font();
  ASSERT_TRUE(font);
  const int w = font->text_width("alpha beta");
  EXPECT_EQ(wrap_text(*font, "alpha beta gamma", w), (std::vector<std::string>{"alpha beta", "gamma"}));
  EXPECT_EQ(wrap_text(*font, "one\ntwo\r\nthree", 1000), (std::vector<std::string>{"one", "two", "three"}));
  const std::vector<std::string> pieces = wrap_text(*font, "abcdefghijklmnop", font->text_width("abcd"));
  ASSERT_GT(pieces.size(), 2u);
  std::string joined;
  for (const auto& p : pieces) {
    EXPECT_FALSE(p.empty());
    EXPECT_LE(font->text_width(p), font->text_width("abcd"));
    joined += p;
  }
  EXPECT_EQ(joined, "abcdefghijklmnop");
  EXPECT_EQ(wrap_text(*font, "", 50), std::vector<std::string>{""});
  EXPECT_EQ(wrap_text(*font, "W", 1), std::vector<std::string>{"W"});  // at least one character a line
}

}  // namespace
}  // namespace orvane::desktop::testing
