// The pump's message classes by mask, in the order it tries them.
#include <gtest/gtest.h>

#include "platform/desktop/messages.h"
#include "shell/event_masks.h"

namespace orvane::shell {
namespace {

using namespace desktop;

bool covers(const std::vector<MessageRange>& ranges, std::uint32_t message) {
  for (const MessageRange& r : ranges)
    if ((r.first == 0 && r.last == 0) || (message >= r.first && message <= r.last)) return true;
  return false;
}

// Where the first range holding the message stands; -1 when none does.
int position(const std::vector<MessageRange>& ranges, std::uint32_t message) {
  for (std::size_t i = 0; i < ranges.size(); ++i)
    if (message >= ranges[i].first && message <= ranges[i].last) return static_cast<int>(i);
  return -1;
}

TEST(EventMasks, MinusOneTakesEveryMessage) {
  EXPECT_EQ(pump_ranges(kAllEvents), (std::vector<MessageRange>{{0, 0}}));
}

TEST(EventMasks, MaskZeroStillTakesTimersIdleAndWaveOutputOnly) {
  auto ranges = pump_ranges(0);
  for (std::uint32_t m : {WM_TIMER, WM_ENTERIDLE, MM_WOM_OPEN, MM_WOM_CLOSE, MM_WOM_DONE}) EXPECT_TRUE(covers(ranges, m)) << m;
  for (std::uint32_t m : {WM_PAINT, WM_KEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_ACTIVATE, WM_USER, WM_QUIT})
    EXPECT_FALSE(covers(ranges, m)) << m;
}

TEST(EventMasks, EachClassTakesItsMessagesAndNoOthers) {
  auto mouse = pump_ranges(kMouseDownMask);
  EXPECT_EQ(pump_ranges(kMouseUpMask), mouse);
  for (std::uint32_t m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDBLCLK, 521u,
                          WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCMBUTTONDBLCLK})
    EXPECT_TRUE(covers(mouse, m)) << m;
  // Moves are in no class: only a pass over every message takes them.
  EXPECT_FALSE(covers(mouse, WM_MOUSEMOVE));
  EXPECT_FALSE(covers(mouse, WM_KEYDOWN));

  auto keys = pump_ranges(kKeyDownMask | kKeyUpMask);
  for (std::uint32_t m = WM_KEYFIRST; m <= WM_KEYLAST; ++m) EXPECT_TRUE(covers(keys, m)) << m;
  EXPECT_FALSE(covers(keys, WM_LBUTTONDOWN));

  auto update = pump_ranges(kUpdateMask);
  for (std::uint32_t m : {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}) EXPECT_TRUE(covers(update, m)) << m;
  EXPECT_FALSE(covers(update, WM_CLOSE));

  auto activate = pump_ranges(kActivateMask);
  for (std::uint32_t m : {WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, 9u, WM_ENABLE, WM_MOUSEACTIVATE, WM_CHILDACTIVATE,
                          WM_NCACTIVATE, WM_MDIACTIVATE})
    EXPECT_TRUE(covers(activate, m)) << m;
  EXPECT_FALSE(covers(activate, WM_SETTEXT));
}

TEST(EventMasks, ClassesAreTriedActivationMouseKeyboardPaintThenTheAlwaysTaken) {
  auto ranges = pump_ranges(kActivateMask | kMouseDownMask | kKeyDownMask | kUpdateMask);
  int activation = position(ranges, WM_ACTIVATE), mouse = position(ranges, WM_LBUTTONDOWN);
  int keys = position(ranges, WM_KEYDOWN), paint = position(ranges, WM_PAINT), timer = position(ranges, WM_TIMER);
  EXPECT_LT(activation, mouse);
  EXPECT_LT(mouse, keys);
  EXPECT_LT(keys, paint);
  EXPECT_LT(paint, timer);
  EXPECT_LT(position(ranges, WM_NCLBUTTONUP), keys);
}

}  // namespace
}  // namespace orvane::shell
