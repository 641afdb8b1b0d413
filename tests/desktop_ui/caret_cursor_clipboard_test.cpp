// The caret (show and hide counts, blinking, drawing inside what is visible
// of its window), cursors and the clipboard's formats.
#include <gtest/gtest.h>

#include "desktop_ui/ui_fixture.h"

namespace orvane::desktop::testing {
namespace {

constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kInvertedGrey = 0x7f7f7f;

class CaretTest : public UiTest {
 protected:
  Hwnd window;
  void SetUp() override {
    UiTest::SetUp();
    window = child({100, 100, 300, 200});
    settle();
  }
  std::uint32_t at(IntPoint client) {
    const IntPoint p = desktop.client_to_screen(window, client);
    return desktop.framebuffer().pixel(p.x, p.y);
  }
};

TEST_F(CaretTest, ShowAndHideNest) {
  ASSERT_EQ(at({10, 10}), kGrey);
  ASSERT_TRUE(ui.caret.create(window, 2, 12));
  EXPECT_EQ(ui.caret.hide_count(), 1);  // a new caret is hidden
  EXPECT_FALSE(ui.caret.visible());
  EXPECT_TRUE(ui.caret.set_position({10, 10}));
  EXPECT_EQ(at({10, 10}), kGrey);

  EXPECT_TRUE(ui.caret.show(window));
  EXPECT_TRUE(ui.caret.visible());
  EXPECT_EQ(at({10, 10}), kInvertedGrey);
  EXPECT_EQ(at({11, 21}), kInvertedGrey);
  EXPECT_EQ(at({12, 10}), kGrey);
  EXPECT_EQ(at({10, 22}), kGrey);

  EXPECT_TRUE(ui.caret.hide());
  EXPECT_TRUE(ui.caret.hide());
  EXPECT_EQ(at({10, 10}), kGrey);
  EXPECT_TRUE(ui.caret.show());
  EXPECT_FALSE(ui.caret.visible());  // one hide still stands
  EXPECT_TRUE(ui.caret.show());
  EXPECT_TRUE(ui.caret.visible());
  EXPECT_FALSE(ui.caret.show());  // no hide left to undo
  EXPECT_EQ(ui.caret.hide_count(), 0);

  // Another window's show and hide do not count.
  EXPECT_FALSE(ui.caret.hide(frame));
  EXPECT_TRUE(ui.caret.visible());
}

TEST_F(CaretTest, MovingRedrawsAndDestroyingRestores) {
  ui.caret.create(window, 1, 10);
  ui.caret.show();
  ui.caret.set_position({50, 20});
  EXPECT_EQ(at({10, 10}), kGrey);
  EXPECT_EQ(at({50, 20}), kInvertedGrey);
  EXPECT_EQ(ui.caret.position(), (IntPoint{50, 20}));
  EXPECT_TRUE(ui.caret.destroy());
  EXPECT_EQ(at({50, 20}), kGrey);
  EXPECT_FALSE(ui.caret.destroy());
  EXPECT_FALSE(ui.caret.set_position({1, 1}));
}

TEST_F(CaretTest, ACaretForAnotherWindowReplacesTheFirst) {
  const Hwnd other = child({400, 100, 500, 200});
  settle();
  ui.caret.create(window, 2, 10);
  ui.caret.show();
  ui.caret.create(other, 2, 10);
  EXPECT_EQ(ui.caret.owner(), other);
  EXPECT_EQ(at({0, 0}), kGrey);
}

TEST_F(CaretTest, OnlyTheVisiblePartOfTheWindowIsInverted) {
  const Hwnd cover = child({100, 100, 120, 200});  // above window's left edge
  desktop.set_window_pos(cover, Desktop::kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  settle();
  ui.caret.create(window, 40, 5);
  ui.caret.set_position({0, 0});
  ui.caret.show();
  EXPECT_EQ(at({5, 0}), kGrey);           // under the covering sibling
  EXPECT_EQ(at({30, 0}), kInvertedGrey);  // in the open
  ui.caret.hide();
  EXPECT_EQ(at({30, 0}), kGrey);
}

TEST_F(CaretTest, APaintOverTheCaretIsNotInvertedBack) {
  ui.caret.create(window, 4, 4);
  ui.caret.set_position({10, 10});
  ui.caret.show();
  {
    raster::DeviceContext dc = desktop.get_dc(window);
    dc.fill_rect({0, 0, 200, 100}, raster::Brush::solid(raster::Color{0, 255, 0}));
  }
  ui.caret.hide();
  EXPECT_EQ(at({10, 10}), 0x00ff00u);
  EXPECT_EQ(at({13, 13}), 0x00ff00u);
}

TEST_F(CaretTest, StaysShownAcrossItsOwnersPaintAndGoesWithIt) {
  ui.caret.create(window, 3, 8);
  ui.caret.set_position({20, 20});
  ui.caret.show();
  desktop.invalidate_rect(window, nullptr, true);
  settle();  // the window erases and paints its client area again
  EXPECT_TRUE(ui.caret.drawn());
  EXPECT_EQ(at({20, 20}), kInvertedGrey);
  EXPECT_EQ(at({23, 20}), kGrey);
  ui.caret.hide();
  EXPECT_EQ(at({20, 20}), kGrey);
  ui.caret.show();
  EXPECT_TRUE(desktop.destroy_window(window));
  EXPECT_FALSE(ui.caret.owner());
  EXPECT_FALSE(ui.caret.visible());
}

TEST_F(CaretTest, BlinksAtTheBlinkTimeOnTheDesktopClock) {
  ui.caret.set_blink_time(100);
  ui.caret.create(window, 2, 10);
  ui.caret.show();
  const std::uint64_t shown_at = clock.milliseconds();
  std::vector<std::pair<std::uint64_t, bool>> toggles;
  // A timer of our own watches the caret every 10 ms.
  desktop.set_timer(frame, 5, 10);
  bool last = ui.caret.drawn();
  hook = [&](Desktop&, Hwnd h, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (h == frame && m == WM_TIMER && w == 5 && ui.caret.drawn() != last) {
      last = ui.caret.drawn();
      toggles.emplace_back(clock.milliseconds() - shown_at, last);
    }
    return std::nullopt;
  };
  screen.idle_until(shown_at + 450);
  run();
  ASSERT_GE(toggles.size(), 4u);
  EXPECT_FALSE(toggles[0].second);
  EXPECT_TRUE(toggles[1].second);
  for (std::size_t i = 0; i < toggles.size(); ++i) {
    EXPECT_GE(toggles[i].first, (i + 1) * 100);
    EXPECT_LT(toggles[i].first, (i + 1) * 100 + 20);
  }
}

TEST(Cursors, BuiltInShapesMadeCursorsAndTheDisplayCount) {
  platform::VirtualClock clock;
  FakeScreen screen(clock, {100, 100});
  Cursors cursors(screen);
  const Hcursor ibeam = cursors.load_cursor(IDC_IBEAM);
  ASSERT_TRUE(ibeam);
  EXPECT_FALSE(cursors.load_cursor(12345));
  EXPECT_EQ(cursors.set_cursor(ibeam), cursors.load_cursor(IDC_ARROW));
  EXPECT_EQ(screen.shape(), platform::CursorShape::ibeam);
  cursors.set_cursor(cursors.load_cursor(IDC_SIZENWSE));
  EXPECT_EQ(screen.shape(), platform::CursorShape::size_nwse);

  // A "CURS" resource: image, mask, hot spot row 3, column 12.
  std::vector<std::uint8_t> curs(68, 0);
  curs[0] = 0x80;
  curs[32] = 0xc0;
  curs[65] = 3;
  curs[67] = 12;
  const auto made = cursor_from_resource(curs);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->hot_spot, (IntPoint{12, 3}));
  EXPECT_EQ(made->image[0], 0x80);
  EXPECT_EQ(made->mask[0], 0xc0);
  EXPECT_FALSE(cursor_from_resource(std::span(curs).first(40)));
  curs[67] = 200;
  EXPECT_EQ(cursor_from_resource(curs)->hot_spot.x, 15);

  const Hcursor hand = cursors.create_cursor(*made);
  cursors.set_cursor(hand);
  ASSERT_TRUE(screen.custom());
  EXPECT_EQ(screen.custom()->hot_spot, (IntPoint{12, 3}));
  EXPECT_FALSE(cursors.destroy_cursor(hand));  // in use
  EXPECT_FALSE(cursors.destroy_cursor(ibeam));  // built in

  EXPECT_EQ(cursors.show_cursor(false), -1);
  EXPECT_EQ(screen.shape(), platform::CursorShape::hidden);
  EXPECT_EQ(cursors.show_cursor(true), 0);
  EXPECT_TRUE(screen.custom());

  cursors.begin_wait();
  EXPECT_EQ(screen.shape(), platform::CursorShape::wait);
  cursors.end_wait();
  cursors.set_cursor(ibeam);
  EXPECT_TRUE(cursors.destroy_cursor(hand));
  EXPECT_FALSE(cursors.is_cursor(hand));
  EXPECT_EQ(cursors.set_cursor(hand), ibeam);  // a destroyed cursor is refused
  EXPECT_EQ(cursors.current(), ibeam);
}

TEST(ClipboardFormats, RegisteredNamesAndTypedData) {
  platform::VirtualClock clock;
  FakeScreen screen(clock, {100, 100});
  Clipboard clipboard(screen);
  const std::uint32_t pict = clipboard.register_format("CF_MACPICT");
  const std::uint32_t lisp = clipboard.register_format("CF_ORVANE_LISP");
  EXPECT_GE(pict, kFirstRegisteredFormat);
  EXPECT_NE(pict, lisp);
  EXPECT_EQ(clipboard.register_format("cf_macpict"), pict);
  EXPECT_EQ(clipboard.format_name(lisp), "CF_ORVANE_LISP");
  EXPECT_EQ(clipboard.format_name(CF_TEXT), std::nullopt);
  EXPECT_EQ(clipboard.register_format(""), 0u);

  // Closed: nothing goes in or out.
  EXPECT_FALSE(clipboard.set_data(pict, {1, 2, 3}));
  EXPECT_FALSE(clipboard.data(pict));

  ASSERT_TRUE(clipboard.open({}));
  EXPECT_FALSE(clipboard.open({}));
  EXPECT_TRUE(clipboard.empty());
  EXPECT_TRUE(clipboard.set_data(pict, {1, 2, 3}));
  EXPECT_TRUE(clipboard.set_text("caf\xe9\r\nbar"));
  EXPECT_FALSE(clipboard.set_data(0xC999, {1}));  // never registered
  EXPECT_EQ(clipboard.data(pict), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(clipboard.text(), "caf\xe9\r\nbar");
  EXPECT_EQ(clipboard.formats(), (std::vector<std::uint32_t>{pict, CF_TEXT}));
  EXPECT_TRUE(clipboard.close());

  // The text crossed to the host; the other format stays ours.
  EXPECT_EQ(screen.host_clipboard, "caf\xe9\r\nbar");
  EXPECT_TRUE(clipboard.is_format_available(pict));

  // Another program puts text on the host's clipboard: it replaces everything.
  screen.host_clipboard = "from elsewhere";
  EXPECT_FALSE(clipboard.is_format_available(pict));
  EXPECT_TRUE(clipboard.is_format_available(CF_TEXT));
  clipboard.open({});
  EXPECT_EQ(clipboard.text(), "from elsewhere");
  const auto bytes = clipboard.data(CF_TEXT);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->back(), 0);  // CF_TEXT ends in a zero byte
  clipboard.empty();
  EXPECT_TRUE(clipboard.formats().empty());
  clipboard.close();
}

}  // namespace
}  // namespace orvane::desktop::testing
