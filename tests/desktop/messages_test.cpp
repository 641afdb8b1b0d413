// The queue: range filters and removal, WM_QUIT, paint after everything
// else, timers on the clock, mouse-move coalescing, the end of input.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

class MessagesTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Test", CS_DBLCLKS);
    window = create("Test", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    run_until_idle();
    log.clear();
  }
  Hwnd window;
};

TEST_F(MessagesTest, RangeFiltersTakeOnlyTheirMessagesAndRemoveOnlyWhenAsked) {
  desktop.post_message(window, WM_USER + 5, 1, 2);
  desktop.post_message(window, WM_KEYDOWN, 'A', 0);
  desktop.post_message(window, WM_LBUTTONDOWN, 0, 0);
  Message m;
  // The pump's button ranges (513-521) skip the user and key messages.
  ASSERT_TRUE(desktop.peek_message(m, {}, 513, 521, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_LBUTTONDOWN);
  ASSERT_TRUE(desktop.peek_message(m, {}, 513, 521, PM_REMOVE));
  EXPECT_EQ(m.message, WM_LBUTTONDOWN);
  EXPECT_FALSE(desktop.peek_message(m, {}, 513, 521, PM_REMOVE));
  ASSERT_TRUE(desktop.peek_message(m, {}, 256, 264, PM_REMOVE));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  EXPECT_EQ(m.wparam, static_cast<WParam>('A'));
  // A window filter: messages of other windows stay.
  const Hwnd other = create("Test", WS_POPUP, {0, 0, 10, 10});
  EXPECT_FALSE(desktop.peek_message(m, other, 0, 0, PM_REMOVE));
  ASSERT_TRUE(desktop.peek_message(m, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 5);
  EXPECT_EQ(m.wparam, 1u);
  EXPECT_EQ(m.lparam, 2);
}

TEST_F(MessagesTest, QuitComesAfterPostedMessagesWithItsCode) {
  desktop.post_message(window, WM_USER);
  desktop.post_quit_message(7);
  Message m;
  ASSERT_TRUE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_USER);
  // A filter that leaves WM_QUIT out does not see it.
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  EXPECT_FALSE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wparam, 7u);
}

TEST_F(MessagesTest, PaintComesOnlyWhenNothingElseIsQueued) {
  desktop.invalidate_rect(window, nullptr, true);
  desktop.post_message(window, WM_USER);
  Message m;
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER);
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  EXPECT_EQ(m.hwnd, window);
  // Paint stays until the window is validated.
  ASSERT_TRUE(desktop.peek_message(m, {}, WM_PAINT, WM_PAINT, PM_REMOVE));
  desktop.dispatch_message(m);
  EXPECT_TRUE(in_order(messages_to(window), {WM_PAINT, WM_ERASEBKGND}));
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_PAINT, WM_PAINT, PM_REMOVE));
}

TEST_F(MessagesTest, TimersFireOnTheClockOneAtATime) {
  desktop.set_timer(window, 9, 100);
  Message m;
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_TIMER, WM_TIMER, PM_REMOVE));
  clock.advance(350);  // late: still one WM_TIMER, no backlog
  ASSERT_TRUE(desktop.peek_message(m, {}, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(m.wparam, 9u);
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_TIMER, WM_TIMER, PM_REMOVE));
  // get_message waits for the next one: the screen moves the clock to it.
  ASSERT_TRUE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(clock.milliseconds(), 450u);
  EXPECT_TRUE(desktop.kill_timer(window, 9));
  EXPECT_FALSE(desktop.kill_timer(window, 9));
}

TEST_F(MessagesTest, WhenInputEndsTheRunEndsWithQuit) {
  screen.wait(10);
  screen.click({20, 20});
  Message m;
  std::vector<std::uint32_t> seen;
  while (desktop.get_message(m)) {
    seen.push_back(m.message);
    desktop.dispatch_message(m);
  }
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_TRUE(in_order(seen, {WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_GE(screen.presents, 0);
  // A loop that waits after the quit was taken ends too, rather than
  // waiting for input that never comes.
  EXPECT_FALSE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_QUIT);
  desktop.post_quit_message(3);
  EXPECT_FALSE(desktop.get_message(m));
  EXPECT_EQ(m.wparam, 3u);
}

TEST_F(MessagesTest, MouseMovesCoalesce) {
  for (int i = 0; i < 5; ++i) screen.mouse(InputEvent::Kind::mouse_move, {10 + i, 10});
  desktop.pump_input();
  Message m;
  ASSERT_TRUE(desktop.peek_message(m, {}, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
  EXPECT_EQ(point_of(m.lparam), (IntPoint{14, 10}));
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

TEST_F(MessagesTest, UserMessagesAndSendReturnTheProcedureAnswer) {
  hook = [](Desktop&, Hwnd, std::uint32_t m, WParam w, LParam) -> std::optional<LResult> {
    if (m == WM_USER + 1) return static_cast<LResult>(w * 2);
    return std::nullopt;
  };
  EXPECT_EQ(desktop.send_message(window, WM_USER + 1, 21), 42);
}

TEST_F(MessagesTest, PostedMessagesOfADestroyedWindowAreDropped) {
  desktop.post_message(window, WM_USER);
  desktop.set_timer(window, 1, 10);
  desktop.destroy_window(window);
  clock.advance(100);
  Message m;
  EXPECT_FALSE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace orvane::desktop::testing
