// The font dialog and the check boxes it is built with: the choice it
// answers for keys and clicks, the choices left mixed, a face that is not
// installed refused, nothing when cancelled.
#include <gtest/gtest.h>

#include "desktop_ui/modal_opening.h"
#include "platform/desktop/controls.h"
#include "platform/desktop/font_dialog.h"
#include "platform/fonts/face_names.h"

namespace orvane::desktop::testing {
namespace {

class FontDialogTest : public ModalDialogTest {
 protected:
  std::optional<FontChoice> choose(const FontChoice& initial) { return choose_font(ui.dialogs, frame, initial); }
};

TEST_F(FontDialogTest, KeysChooseTheFaceTheSizeAndTheStyle) {
  const std::vector<std::string> faces = fonts::installed_families();
  ASSERT_FALSE(faces.empty());
  FontChoice initial{"Arial", 12, true, false, true, false, false};
  std::string face_list_text;
  when_open([&](Hwnd d) {
    const Hwnd list = ui.dialogs.dialog_item(d, kFontFaceList);
    const auto at = static_cast<WParam>(desktop.send_message(list, LB_GETCURSEL));
    desktop.send_message(list, LB_GETTEXT, at, lparam_of_pointer(&face_list_text));
    screen.key(VK_END);  // the face list has the focus
    screen.key(VK_TAB);
    screen.key(VK_HOME);  // the size list: 8 points
    screen.key('B', true);
    screen.key('U', true);
    screen.key(VK_RETURN);
  });
  FontChoice expected{faces.back(), 8, true, true, true, true, false};
  EXPECT_EQ(choose(initial), expected);
  EXPECT_EQ(face_list_text, "Arial") << "the initial face is selected";
}

TEST_F(FontDialogTest, ChoicesLeftMixedStayMixed) {
  const FontChoice mixed{"", 0, false, false, false, false, false};
  when_open([&](Hwnd) { screen.key(VK_RETURN); });
  EXPECT_EQ(choose(mixed), mixed);

  when_open([&](Hwnd) {
    screen.key('I', true);  // a style chosen: bold and italic are set together
    screen.key(VK_RETURN);
  });
  const FontChoice italic{"", 0, true, false, true, false, false};
  EXPECT_EQ(choose(mixed), italic);
}

TEST_F(FontDialogTest, AFaceThatIsNotInstalledIsRefused) {
  const std::vector<std::string> faces = fonts::installed_families();
  ASSERT_FALSE(faces.empty());
  when_open([&](Hwnd) {
    screen.key(VK_RETURN);  // refused: a message box over the dialog
    screen.key(VK_RETURN);  // ... which OK closes
    screen.key(VK_HOME);    // a face from the list
    screen.key(VK_RETURN);
  });
  std::optional<FontChoice> chosen = choose({"No Such Face At All", 10, true, false, false, false, false});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->face, faces.front());
  EXPECT_EQ(chosen->points, 10);
}

TEST_F(FontDialogTest, CancelEscapeAndTheEndOfInputAnswerNothing) {
  const FontChoice initial{"Courier New", 10, true, false, false, false, false};
  when_open([&](Hwnd d) { screen.click(centre(desktop.window_rect(ui.dialogs.dialog_item(d, IDCANCEL)))); });
  EXPECT_EQ(choose(initial), std::nullopt);
  when_open([&](Hwnd) {
    screen.key(VK_END);
    screen.key(VK_ESCAPE);
  });
  EXPECT_EQ(choose(initial), std::nullopt);
  hook = nullptr;
  EXPECT_EQ(choose(initial), std::nullopt);
}

TEST_F(FontDialogTest, AnInitialSizeOffTheListIsAddedInOrder) {
  std::vector<std::string> sizes;
  when_open([&](Hwnd d) {
    const Hwnd list = ui.dialogs.dialog_item(d, kFontSizeList);
    const auto count = desktop.send_message(list, LB_GETCOUNT);
    for (LResult i = 0; i < count; ++i) {
      std::string text;
      desktop.send_message(list, LB_GETTEXT, static_cast<WParam>(i), lparam_of_pointer(&text));
      sizes.push_back(text);
    }
    screen.key(VK_ESCAPE);
  });
  choose({"Arial", 13, true, false, false, false, false});
  ASSERT_GE(sizes.size(), 7u);
  EXPECT_EQ(sizes[4], "12");
  EXPECT_EQ(sizes[5], "13");
  EXPECT_EQ(sizes[6], "14");
}

// --- Check boxes -----------------------------------------------------------------

TEST_F(UiTest, CheckBoxesToggleByClickSpaceAndMessage) {
  std::vector<std::pair<int, LResult>> clicks;  // id, the check as the parent is told
  DialogTemplate t;
  t.size = {200, 90};
  t.controls = {{ControlKind::check_box, 10, "&Auto", {10, 10, 190, 30}, 0},
                {ControlKind::check_box, 11, "&Manual", {10, 35, 190, 55}, BS_CHECKBOX},
                {ControlKind::push_button, IDOK, "OK", {10, 60, 85, 83}, BS_DEFPUSHBUTTON}};
  DialogProc proc = [&](Desktop& d, Hwnd dlg, std::uint32_t m, WParam w, LParam) {
    if (m == WM_INITDIALOG) {
      const IntRect automatic = d.window_rect(ui.dialogs.dialog_item(dlg, 10));
      screen.click({automatic.left + 6, centre(automatic).y});  // on the box: checked
      screen.key(VK_SPACE);                                      // it has the focus: unchecked
      screen.key('A', true);                                     // its mnemonic: checked
      screen.click(centre(d.window_rect(ui.dialogs.dialog_item(dlg, 11))));  // told, not toggled
      screen.key(VK_RETURN);
      return true;
    }
    if (m == WM_COMMAND && (low_word(w) == 10 || low_word(w) == 11)) {
      clicks.emplace_back(low_word(w), d.send_message(ui.dialogs.dialog_item(dlg, low_word(w)), BM_GETCHECK));
      if (low_word(w) == 11) {
        EXPECT_EQ(d.send_message(ui.dialogs.dialog_item(dlg, 10), BM_GETCHECK), BST_CHECKED);
      }
      return true;
    }
    return false;
  };
  EXPECT_EQ(ui.dialogs.dialog_box(t, frame, proc), IDOK);
  const std::vector<std::pair<int, LResult>> expected{
      {10, BST_CHECKED}, {10, BST_UNCHECKED}, {10, BST_CHECKED}, {11, BST_UNCHECKED}};
  EXPECT_EQ(clicks, expected);
}

}  // namespace
}  // namespace orvane::desktop::testing
