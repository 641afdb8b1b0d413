// Standard scroll bars: range, page and position rules, and the scroll
// messages from arrows, the track and the thumb.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

using Kind = InputEvent::Kind;

class ScrollBarTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Test");
    // Client (1, 1)-(183, 183); the vertical bar at x 183..199, y 1..183.
    window = create("Test", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, {0, 0, 200, 200});
    ScrollInfo info;
    info.mask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.min = 0, info.max = 100, info.page = 10, info.pos = 0;
    desktop.set_scroll_info(window, SB_VERT, info);
    run_until_idle();
    log.clear();
  }
  std::vector<std::pair<int, int>> scrolls(std::uint32_t message) {
    std::vector<std::pair<int, int>> out;
    for (const auto& l : logged(window, message)) out.emplace_back(low_word(l.wparam), high_word(l.wparam));
    return out;
  }
  Hwnd window;
};

TEST_F(ScrollBarTest, PositionStaysWithinTheRangeLessThePage) {
  EXPECT_EQ(desktop.set_scroll_pos(window, SB_VERT, 95), 0);
  EXPECT_EQ(desktop.get_scroll_pos(window, SB_VERT), 91);
  ScrollInfo big;
  big.mask = SIF_PAGE;
  big.page = 500;
  desktop.set_scroll_info(window, SB_VERT, big);
  EXPECT_EQ(desktop.get_scroll_info(window, SB_VERT)->page, 101u);
  EXPECT_EQ(desktop.get_scroll_pos(window, SB_VERT), 0);
  EXPECT_TRUE(desktop.set_scroll_range(window, SB_HORZ, 10, 20));
  EXPECT_EQ(desktop.get_scroll_pos(window, SB_HORZ), 10);
  EXPECT_FALSE(desktop.get_scroll_info(Hwnd{}, SB_VERT));
  EXPECT_EQ(desktop.send_message(window, WM_NCHITTEST, 0, lparam_of({190, 100})), HTVSCROLL);
  EXPECT_EQ(desktop.send_message(window, WM_NCHITTEST, 0, lparam_of({100, 190})), HTHSCROLL);
}

TEST_F(ScrollBarTest, ArrowsAndTrackSendLineAndPageThenEndScroll) {
  screen.click({190, 175});  // the down arrow
  screen.click({190, 100});  // the track below the thumb
  screen.click({190, 5});    // the up arrow
  screen.click({5, 190});    // the left arrow of the horizontal bar
  run_until_idle();
  EXPECT_EQ(scrolls(WM_VSCROLL), (std::vector<std::pair<int, int>>{
                                     {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0},
                                     {SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(scrolls(WM_HSCROLL), (std::vector<std::pair<int, int>>{{SB_LINELEFT, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, HoldingAnArrowRepeats) {
  screen.mouse(Kind::mouse_down, {190, 175});
  screen.wait(1000);
  screen.mouse(Kind::mouse_up, {190, 175});
  Message m;
  while (desktop.get_message(m)) desktop.dispatch_message(m);
  const auto seen = scrolls(WM_VSCROLL);
  ASSERT_GE(seen.size(), 5u);
  EXPECT_EQ(seen.back().first, SB_ENDSCROLL);
  for (std::size_t i = 0; i + 1 < seen.size(); ++i) EXPECT_EQ(seen[i].first, SB_LINEDOWN);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition) {
  // The thumb (14 pixels for a page of 10 in 101) starts at the track's top, y 17.
  screen.mouse(Kind::mouse_down, {190, 20});
  screen.mouse(Kind::mouse_move, {190, 88});
  screen.mouse(Kind::mouse_up, {190, 88});
  run_until_idle();
  const auto seen = scrolls(WM_VSCROLL);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].first, SB_THUMBTRACK);
  EXPECT_EQ(seen[1], (std::pair<int, int>{SB_THUMBPOSITION, seen[0].second}));
  EXPECT_EQ(seen[2].first, SB_ENDSCROLL);
  // 68 of the 136 pixels the thumb can travel: half of the 91 positions.
  EXPECT_EQ(seen[0].second, 46);
  // The procedure, not the bar, decides the position.
  EXPECT_EQ(desktop.get_scroll_pos(window, SB_VERT), 0);
}

}  // namespace
}  // namespace orvane::desktop::testing
