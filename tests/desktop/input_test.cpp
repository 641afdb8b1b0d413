// Input: hit testing, capture, double clicks, keys with their lParam bits
// and their characters, disabled windows, moving, sizing and close boxes.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

using Kind = InputEvent::Kind;

class InputTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Dbl", CS_DBLCLKS);
    register_logging_class("Plain", 0);
    // A captioned, sizable window at (100, 100), 200 x 150.
    window = create("Dbl", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250}, {}, 0, "W");
    run_until_idle();
    log.clear();
  }
  std::vector<std::uint32_t> input_to(Hwnd h) {
    std::vector<std::uint32_t> out;
    for (auto m : messages_to(h))
      if ((m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) ||
          (m >= WM_KEYFIRST && m <= WM_KEYLAST))
        out.push_back(m);
    return out;
  }
  Hwnd window;
};

TEST_F(InputTest, HitTestingFindsCaptionCloseBoxBordersAndClient) {
  auto hit = [&](IntPoint p) { return desktop.send_message(window, WM_NCHITTEST, 0, lparam_of(p)); };
  EXPECT_EQ(hit({150, 110}), HTCAPTION);
  EXPECT_EQ(hit({300 - 4 - 2 - 8, 100 + 4 + 2 + 7}), HTCLOSE);
  EXPECT_EQ(hit({101, 180}), HTLEFT);
  EXPECT_EQ(hit({298, 180}), HTRIGHT);
  EXPECT_EQ(hit({150, 248}), HTBOTTOM);
  EXPECT_EQ(hit({101, 101}), HTTOPLEFT);
  EXPECT_EQ(hit({298, 248}), HTBOTTOMRIGHT);
  EXPECT_EQ(hit({150, 180}), HTCLIENT);
  EXPECT_EQ(hit({50, 50}), HTNOWHERE);
}

TEST_F(InputTest, ClientAndNonClientPressesAndCapture) {
  screen.click({150, 180});       // client
  screen.click({150, 110});       // caption: a move that goes nowhere
  screen.click({10, 10});         // outside every window
  run_until_idle();
  const auto seen = input_to(window);
  EXPECT_TRUE(in_order(seen, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NCLBUTTONDOWN}));
  const auto down = logged(window, WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(point_of(down[0].lparam), desktop.screen_to_client(window, {150, 180}));
  EXPECT_EQ(down[0].wparam & MK_LBUTTON, MK_LBUTTON);
  EXPECT_EQ(logged(window, WM_NCLBUTTONDOWN)[0].wparam, static_cast<WParam>(HTCAPTION));

  // With the capture, the mouse anywhere is client input of the captor.
  desktop.set_capture(window);
  log.clear();
  screen.mouse(Kind::mouse_move, {10, 10});
  run_until_idle();
  const auto moves = logged(window, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(point_of(moves[0].lparam), desktop.screen_to_client(window, {10, 10}));
  desktop.release_capture();
  EXPECT_EQ(count(window, WM_CAPTURECHANGED), 1u);
  // A second window taking the capture tells the first.
  const Hwnd other = create("Plain", WS_POPUP, {0, 0, 10, 10});
  desktop.set_capture(window);
  desktop.set_capture(other);
  EXPECT_EQ(count(window, WM_CAPTURECHANGED), 2u);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTimeAndPlace) {
  const Hwnd plain = create("Plain", WS_POPUP | WS_VISIBLE, {400, 100, 500, 200});
  run_until_idle();
  log.clear();
  screen.click({150, 180});
  screen.wait(100);
  screen.click({151, 181});       // a double click
  screen.wait(100);
  screen.click({151, 181});       // a third press starts over
  screen.wait(600);
  screen.click({151, 181});       // too late: a single click
  screen.wait(100);
  screen.click({154, 181});       // too far from the last press: single
  screen.wait(100);
  screen.click({450, 150});
  screen.wait(100);
  screen.click({450, 150});       // no CS_DBLCLKS: single
  Message m;
  while (desktop.get_message(m)) desktop.dispatch_message(m);
  EXPECT_EQ(input_to(window), (std::vector<std::uint32_t>{
                                  WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN,
                                  WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(count(plain, WM_LBUTTONDOWN), 2u);
  EXPECT_EQ(count(plain, WM_LBUTTONDBLCLK), 0u);
}

TEST_F(InputTest, KeysCarryTheExtendedBitAndTranslateToWindows1252Characters) {
  screen.key(Kind::key_down, VK_RETURN, {}, true);   // the keypad Enter
  screen.key(Kind::key_up, VK_RETURN, {}, true);
  screen.key(Kind::key_down, VK_RETURN);
  screen.key(Kind::key_down, VK_RETURN);             // auto-repeat
  screen.key(Kind::key_up, VK_RETURN);
  screen.key(Kind::key_down, 'E');
  screen.text("\xE9");                               // é
  screen.key(Kind::key_up, 'E');
  screen.key(Kind::key_down, 'A', {false, true, false});  // Control+A
  screen.key(Kind::key_down, VK_ESCAPE);
  screen.key(Kind::key_down, VK_BACK);
  screen.key(Kind::key_down, VK_F1);                 // no character
  run_until_idle();
  const auto keys = logged(window, WM_KEYDOWN);
  ASSERT_EQ(keys.size(), 8u);
  EXPECT_NE(keys[0].lparam & KF_EXTENDED_BIT, 0);
  EXPECT_EQ(keys[1].lparam & KF_EXTENDED_BIT, 0);
  EXPECT_EQ(keys[1].lparam & KF_REPEAT_BIT, 0);
  EXPECT_NE(keys[2].lparam & KF_REPEAT_BIT, 0);      // the key was already down
  EXPECT_EQ(keys[0].lparam & 0xffff, 1);             // repeat count
  const auto ups = logged(window, WM_KEYUP);
  ASSERT_FALSE(ups.empty());
  EXPECT_NE(static_cast<std::uint32_t>(ups[0].lparam) & KF_UP_BIT, 0u);
  std::vector<WParam> chars;
  for (const auto& c : logged(window, WM_CHAR)) chars.push_back(c.wparam);
  EXPECT_EQ(chars, (std::vector<WParam>{13, 13, 13, 0xE9, 1, 27, 8}));
}

TEST_F(InputTest, AModifiersFirstPressIsNoRepeat) {
  // The event of a modifier's own press already carries its bit.
  screen.key(Kind::key_down, VK_SHIFT, {true, false, false});
  screen.key(Kind::key_down, VK_SHIFT, {true, false, false});  // auto-repeat
  screen.key(Kind::key_up, VK_SHIFT, {});
  run_until_idle();
  const auto downs = logged(window, WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].lparam & KF_REPEAT_BIT, 0);
  EXPECT_NE(downs[1].lparam & KF_REPEAT_BIT, 0);
}

TEST_F(InputTest, AltMakesSystemKeysAndSystemCharacters) {
  screen.key(Kind::key_down, 'F', {false, false, true});
  screen.key(Kind::key_up, 'F', {false, false, true});
  run_until_idle();
  const auto down = logged(window, WM_SYSKEYDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_NE(down[0].lparam & KF_ALTDOWN_BIT, 0);
  const auto chars = logged(window, WM_SYSCHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wparam, static_cast<WParam>('f'));
  EXPECT_EQ(count(window, WM_KEYDOWN), 0u);
}

TEST_F(InputTest, ADisabledWindowGetsNoInput) {
  desktop.enable_window(window, false);
  EXPECT_EQ(desktop.focus(), Hwnd{});
  screen.click({150, 180});
  screen.key(Kind::key_down, 'A');
  run_until_idle();
  EXPECT_TRUE(input_to(window).empty());
  EXPECT_EQ(count(window, WM_ENABLE), 1u);
}

TEST_F(InputTest, TheClassCursorReplacesASizingCursorOverTheClientArea) {
  screen.mouse(Kind::mouse_move, {298, 175});  // the right sizing border
  run_until_idle();
  EXPECT_EQ(screen.cursor, platform::CursorShape::size_we);
  screen.mouse(Kind::mouse_move, {200, 175});
  run_until_idle();
  EXPECT_EQ(screen.cursor, platform::CursorShape::arrow);

  WindowClass text_class;
  text_class.name = "Text";
  text_class.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) { return d.def_window_proc(h, m, w, l); };
  text_class.cursor = platform::CursorShape::ibeam;
  ASSERT_TRUE(desktop.register_class(std::move(text_class)));
  WindowClass own_cursor;
  own_cursor.name = "OwnCursor";
  own_cursor.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) { return d.def_window_proc(h, m, w, l); };
  own_cursor.cursor = std::nullopt;
  ASSERT_TRUE(desktop.register_class(std::move(own_cursor)));
  create("Text", WS_CHILD | WS_VISIBLE, {10, 10, 60, 40}, window);
  create("OwnCursor", WS_CHILD | WS_VISIBLE, {100, 10, 150, 40}, window);
  run_until_idle();
  const IntPoint text_at = desktop.client_to_screen(window, {20, 20});
  const IntPoint own_at = desktop.client_to_screen(window, {120, 20});
  screen.mouse(Kind::mouse_move, text_at);
  run_until_idle();
  EXPECT_EQ(screen.cursor, platform::CursorShape::ibeam);
  screen.mouse(Kind::mouse_move, {298, 175});
  run_until_idle();
  screen.mouse(Kind::mouse_move, own_at);  // a class without a cursor leaves it alone
  run_until_idle();
  EXPECT_EQ(screen.cursor, platform::CursorShape::size_we);
}

TEST_F(InputTest, FocusMessagesGoToTheOldThenTheNewWindow) {
  const Hwnd child = create("Plain", WS_CHILD | WS_VISIBLE, {0, 0, 20, 20}, window);
  log.clear();
  desktop.set_focus(child);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].hwnd, window);
  EXPECT_EQ(log[0].message, WM_KILLFOCUS);
  EXPECT_EQ(log[1].hwnd, child);
  EXPECT_EQ(log[1].message, WM_SETFOCUS);
  screen.key(Kind::key_down, 'Q');
  run_until_idle();
  EXPECT_EQ(count(child, WM_KEYDOWN), 1u);
}

TEST_F(InputTest, DraggingTheCaptionMovesAndABorderSizesWithinLimits) {
  screen.mouse(Kind::mouse_down, {150, 110});
  screen.mouse(Kind::mouse_move, {170, 125});
  screen.mouse(Kind::mouse_up, {170, 125});
  run_until_idle();
  EXPECT_EQ(desktop.window_rect(window), (IntRect{120, 115, 320, 265}));
  EXPECT_TRUE(in_order(messages_to(window), {WM_ENTERSIZEMOVE, WM_MOVING, WM_WINDOWPOSCHANGED, WM_EXITSIZEMOVE}));
  // Size from the right border; the procedure's minimum holds.
  hook = [](Desktop&, Hwnd, std::uint32_t m, WParam, LParam l) -> std::optional<LResult> {
    if (m == WM_GETMINMAXINFO) pointer_of<MinMaxInfo>(l)->min_track_size = {150, 100};
    return std::nullopt;
  };
  screen.mouse(Kind::mouse_down, {318, 200});
  screen.mouse(Kind::mouse_move, {350, 200});
  screen.mouse(Kind::mouse_move, {200, 200});
  screen.mouse(Kind::mouse_up, {200, 200});
  run_until_idle();
  EXPECT_EQ(desktop.window_rect(window), (IntRect{120, 115, 270, 265}));
  EXPECT_GE(count(window, WM_SIZING), 1u);
  EXPECT_EQ(logged(window, WM_SIZING)[0].wparam, static_cast<WParam>(WMSZ_RIGHT));
}

TEST_F(InputTest, InputEndingInsideAMoveEndsTheRunInOrder) {
  screen.mouse(Kind::mouse_down, {150, 110});
  screen.mouse(Kind::mouse_move, {250, 110});
  Message m;
  int loops = 0;
  while (desktop.get_message(m) && ++loops < 1000) desktop.dispatch_message(m);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_LT(loops, 1000);
  // The move was cancelled: the window went back where it was.
  EXPECT_EQ(desktop.window_rect(window), (IntRect{100, 100, 300, 250}));
  EXPECT_EQ(desktop.capture(), Hwnd{});
}

TEST_F(InputTest, TheCloseBoxSendsCloseWhenReleasedOnIt) {
  const IntPoint close{300 - 4 - 2 - 8, 100 + 4 + 2 + 7};
  const raster::Color unpressed = pixel({close.x - 7, close.y - 6});  // the box's top-left bevel
  // A timer samples the box while the button holds it.
  std::optional<raster::Color> held;
  hook = [&](Desktop&, Hwnd, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (m == WM_TIMER && !held) held = pixel({close.x - 7, close.y - 6});
    return std::nullopt;
  };
  desktop.set_timer(window, 1, 50);
  screen.mouse(Kind::mouse_down, close);
  screen.wait(100);
  screen.mouse(Kind::mouse_up, {150, 180});  // released elsewhere: nothing
  run_until_idle();
  desktop.kill_timer(window, 1);
  ASSERT_TRUE(held);
  EXPECT_NE(*held, unpressed);  // drawn pushed in while held
  EXPECT_EQ(count(window, WM_CLOSE), 0u);
  EXPECT_EQ(pixel({close.x - 7, close.y - 6}), unpressed);
  screen.click(close);
  run_until_idle();
  EXPECT_EQ(count(window, WM_CLOSE), 1u);
  EXPECT_FALSE(desktop.is_window(window));
}

TEST_F(InputTest, AWindowDestroyedInsideItsMouseMessageIsHarmless) {
  const Hwnd child = create("Plain", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, window);
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (m == WM_LBUTTONDOWN) {
      d.destroy_window(d.parent(h));
      d.destroy_window(h);
      d.set_capture(h);
      d.invalidate_rect(h, nullptr, true);
      return 0;
    }
    return std::nullopt;
  };
  const IntPoint p = desktop.client_to_screen(child, {5, 5});
  screen.click(p);
  screen.click(p);
  screen.mouse(Kind::mouse_move, {p.x + 1, p.y});
  run_until_idle();
  EXPECT_FALSE(desktop.is_window(child));
  EXPECT_FALSE(desktop.is_window(window));
  EXPECT_EQ(desktop.capture(), Hwnd{});
}

}  // namespace
}  // namespace orvane::desktop::testing
