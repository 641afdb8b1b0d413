// The colour dialog: the colour it answers for clicked swatches, typed
// fields and the custom colours, and nothing when it is cancelled.
#include <gtest/gtest.h>

#include "desktop_ui/modal_opening.h"
#include "platform/desktop/color_dialog.h"

namespace orvane::desktop::testing {
namespace {

using raster::Color;

class ColorDialogTest : public ModalDialogTest {
 protected:
  void click_item(int id) { screen.click(centre(desktop.window_rect(ui.dialogs.dialog_item(dialog, id)))); }
  std::optional<Color> choose(Color initial) { return choose_color(ui.dialogs, frame, initial); }
};

TEST_F(ColorDialogTest, AClickedSwatchIsTheAnswerOfOk) {
  when_open([&](Hwnd) {
    click_item(kColorBasicFirst + 8);
    click_item(IDOK);
  });
  EXPECT_EQ(choose({1, 2, 3}), basic_color(8));
  EXPECT_EQ(basic_color(8), (Color{255, 0, 0}));
  EXPECT_FALSE(desktop.is_window(dialog));
  EXPECT_TRUE(desktop.is_enabled(frame)) << "the owner is enabled again";
}

TEST_F(ColorDialogTest, TheFieldsStartAtTheInitialColourAndTypingChangesIt) {
  std::string fields;
  when_open([&](Hwnd d) {
    for (int id : {kColorRedField, kColorGreenField, kColorBlueField}) fields += ui.dialogs.item_text(d, id) + " ";
    // The red field has the focus, its caret at the end.
    screen.key(VK_BACK);
    screen.key(VK_BACK);
    screen.key(VK_BACK);
    screen.type("1x2");  // not a digit: ignored
    screen.key(VK_TAB);
    screen.type("999");  // 255 at most
    screen.key(VK_RETURN);
  });
  EXPECT_EQ(choose({200, 100, 7}), (Color{12, 255, 7}));
  EXPECT_EQ(fields, "200 100 7 ");
}

TEST_F(ColorDialogTest, AddedCustomColoursCanBeChosenAndStartWhite) {
  when_open([&](Hwnd) {
    click_item(kColorBasicFirst + 28);  // blue
    click_item(kColorAddCustom);        // into custom colour 0
    click_item(kColorBasicFirst + 9);   // yellow
    click_item(kColorCustomFirst + 0);
    click_item(IDOK);
  });
  EXPECT_EQ(choose({0, 0, 0}), basic_color(28));

  when_open([&](Hwnd) {
    click_item(kColorCustomFirst + 0);
    click_item(IDOK);
  });
  EXPECT_EQ(choose({0, 0, 0}), (Color{255, 255, 255})) << "each opening starts with white custom colours";
}

TEST_F(ColorDialogTest, CancelEscapeAndTheEndOfInputAnswerNothing) {
  when_open([&](Hwnd) {
    click_item(kColorBasicFirst + 3);
    click_item(IDCANCEL);
  });
  EXPECT_EQ(choose({9, 9, 9}), std::nullopt);

  when_open([&](Hwnd) { screen.key(VK_ESCAPE); });
  EXPECT_EQ(choose({9, 9, 9}), std::nullopt);

  hook = nullptr;
  EXPECT_EQ(choose({9, 9, 9}), std::nullopt) << "no input can come: the dialog ends as cancelled";
}

TEST_F(ColorDialogTest, TheInitialColourIsSelectedAndShown) {
  Color frame_pixel, preview;
  when_open([&](Hwnd) { screen.key(VK_ESCAPE); });
  auto on_open = hook;
  // The owner is enabled again while the dialog, painted, still stands.
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
    if (h == frame && m == WM_ENABLE && w != 0 && desktop.is_window(dialog)) {
      const IntRect swatch = desktop.window_rect(ui.dialogs.dialog_item(dialog, kColorBasicFirst + 18));
      frame_pixel = desktop.framebuffer().color_at(swatch.left, swatch.top);
      const IntPoint middle = centre(desktop.window_rect(ui.dialogs.dialog_item(dialog, kColorCurrent)));
      preview = desktop.framebuffer().color_at(middle.x, middle.y);
    }
    return on_open(d, h, m, w, l);
  };
  EXPECT_EQ(choose(basic_color(18)), std::nullopt);
  EXPECT_EQ(frame_pixel, (Color{0, 0, 0})) << "the basic colour equal to the initial one is framed";
  EXPECT_EQ(preview, basic_color(18));
}

}  // namespace
}  // namespace orvane::desktop::testing
