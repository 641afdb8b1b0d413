// The object procedure in process: scroll bar messages (the amounts the
// window answers, cut at the ends of the bar's range, become `scroll`; the
// end of a scroll is `end-scroll`), min/max sizes from `grow-rect-limits`,
// commands from controls, and the MDI client's size given to the page.
#include <gtest/gtest.h>

#include "platform/desktop/desktop.h"
#include "shell/cursors.h"
#include "shell/dispatch_state.h"
#include "shell/frame_procedure.h"
#include "windows/windows_fixture.h"

namespace orvane::testing {
namespace {

using namespace desktop;

class EventsProcedure : public WindowLayerTest {
 protected:
  void SetUp() override {
    WindowLayerTest::SetUp();
    shell::attach_dispatch(desk(), desk().parent(client()), client(), 0);
    lisp("(obj-test-window\n"
         "  (define (scroll _dx _dy) (say label 'scroll _dx _dy))\n"
         "  (define (line-height) 10) (define (page-height) 50)\n"
         "  (define (line-width) 7) (define (page-width) 30))\n"
         "(open-page 400 300)\n"
         "(set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7)))");
    hwnd = peer("W1").hwnd;
    set_bar(SB_VERT, 100, 0, 0);
    set_bar(SB_HORZ, 100, 0, 0);
  }
  void TearDown() override {
    shell::detach_dispatch();
    WindowLayerTest::TearDown();
  }

  // The window's bar ranges over 0..max.
  void set_bar(int which, int max, unsigned page, int pos) {
    ScrollInfo bar;
    bar.mask = SIF_RANGE | SIF_POS | SIF_PAGE;
    bar.max = max;
    bar.page = page;
    bar.pos = pos;
    desk().set_scroll_info(hwnd, which, bar);
  }

  // Sends the scroll message; answers what the window printed.
  std::string scroll(std::uint32_t message, int code, int thumb = 0) {
    std::string& terminal = test_host().terminal;
    terminal.clear();
    desk().send_message(hwnd, message, make_wparam(code, thumb), 0);
    std::string printed = terminal;
    std::replace(printed.begin(), printed.end(), '\r', '\n');
    return printed;
  }

  Hwnd hwnd;
};

TEST_F(EventsProcedure, LinesAndPagesScrollByTheWindowsAmountsUntilTheEndOfTheRange) {
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEDOWN), "w1 scroll 0 10\n");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEDOWN), "w1 scroll 0 50\n");
  // 40 are left of the range: only those are scrolled; then nothing.
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEDOWN), "w1 scroll 0 40\n");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEDOWN), "");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEDOWN), "");
  EXPECT_EQ(desk().get_scroll_pos(hwnd, SB_VERT), 100);
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEUP), "w1 scroll 0 -10\n");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_THUMBPOSITION, 25), "w1 scroll 0 -65\n");
  EXPECT_EQ(desk().get_scroll_pos(hwnd, SB_VERT), 25);
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEUP), "w1 scroll 0 -25\n");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_THUMBTRACK, 60), "");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_ENDSCROLL), "w1 end-scroll\n");
}

TEST_F(EventsProcedure, WithAPageTheLastPositionShowsAWholePage) {
  set_bar(SB_VERT, 100, 20, 70);
  // 81 is the last position: 11 are left.
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEDOWN), "w1 scroll 0 11\n");
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEDOWN), "");
}

TEST_F(EventsProcedure, TheHorizontalBarUsesTheWidthsAndScrollsAlongX) {
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LINERIGHT), "w1 scroll 7 0\n");
  EXPECT_EQ(scroll(WM_HSCROLL, SB_PAGERIGHT), "w1 scroll 30 0\n");
  EXPECT_EQ(scroll(WM_HSCROLL, SB_PAGELEFT), "w1 scroll -30 0\n");
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LINELEFT), "w1 scroll -7 0\n");
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LINELEFT), "");
  EXPECT_EQ(desk().get_scroll_pos(hwnd, SB_VERT), 0);
}

TEST_F(EventsProcedure, TheMdiClientsNewSizeIsThePagesWithSizeUpdate) {
  lisp("(trace-messages Page '(size-update))");
  test_host().terminal.clear();
  desk().move_window(client(), 0, 0, 500, 420);
  EXPECT_EQ(test_host().terminal, "page size-update 400 300\r");
  EXPECT_EQ(peer("Page").rect, (raster::IntRect{0, 0, 500, 420}));
  EXPECT_EQ(peer("Page").view_rect, (raster::IntRect{0, 0, 500, 420}));
  // The next change reports the size the first one gave.
  test_host().terminal.clear();
  desk().move_window(client(), 0, 0, 300, 200);
  EXPECT_EQ(test_host().terminal, "page size-update 500 420\r");
}

TEST_F(EventsProcedure, GrowRectLimitsGiveTheMinimumAndMaximumClientSizesPlusTheFrame) {
  lisp("(W1 (add-override 'grow-rect-limits (lambda () '(50 40 300 200))))");
  MinMaxInfo info;
  desk().send_message(hwnd, WM_GETMINMAXINFO, 0, lparam_of_pointer(&info));
  raster::IntRect frame = desk().adjust_window_rect({0, 0, 0, 0}, desk().style(hwnd), 0);
  EXPECT_EQ(info.min_track_size, (raster::IntSize{50 + frame.width(), 40 + frame.height()}));
  EXPECT_EQ(info.max_track_size, (raster::IntSize{300 + frame.width(), 200 + frame.height()}));
  // nil leaves the desktop's sizes alone.
  lisp("(W1 (add-override 'grow-rect-limits (lambda () ())))");
  MinMaxInfo untouched;
  untouched.min_track_size = {1, 2};
  desk().send_message(hwnd, WM_GETMINMAXINFO, 0, lparam_of_pointer(&untouched));
  EXPECT_EQ(untouched.min_track_size, (raster::IntSize{1, 2}));
}

TEST_F(EventsProcedure, ACommandFromAControlSendsSelectToItsObjectUnderTheBusyCursor) {
  lisp("(set! W2 (show-window 'w2 W1 '(:size (20 20) :position (5 5) :type 7)))");
  Hwnd control = peer("W2").hwnd;
  ASSERT_TRUE(shell::dispatch_state().cursors->restore_pending());
  test_host().terminal.clear();
  desk().send_message(hwnd, WM_COMMAND, make_wparam(0, BN_CLICKED), static_cast<LParam>(control.value));
  EXPECT_EQ(test_host().terminal, "w2 select ()\r");
  EXPECT_EQ(shell::dispatch_state().cursors->number(), shell::kWaitCursor);
  EXPECT_FALSE(shell::dispatch_state().cursors->restore_pending());
  // The frame gets the re-examine message, which brings the arrow back (the
  // fixture's frame has a procedure of its own: the frame procedure is
  // called as the title's frame would call it).
  Message m;
  ASSERT_TRUE(desk().peek_message(m, desk().parent(client()), ui::kReexamineMessage, ui::kReexamineMessage, PM_REMOVE));
  shell::frame_procedure(desk(), m.hwnd, m.message, m.wparam, m.lparam);
  EXPECT_EQ(shell::dispatch_state().cursors->number(), shell::kArrowCursor);
}

}  // namespace
}  // namespace orvane::testing
