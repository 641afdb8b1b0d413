// Scroll bar amounts are cut at the ends of the bar's range.
#include <gtest/gtest.h>

#include "platform/desktop/message.h"
#include "shell/object_procedure.h"

namespace orvane::shell {
namespace {

desktop::ScrollInfo bar(int min, int max, unsigned page, int pos) {
  desktop::ScrollInfo info;
  info.min = min;
  info.max = max;
  info.page = page;
  info.pos = pos;
  return info;
}

TEST(ScrollClamp, AmountsInsideTheRangeAreKept) {
  EXPECT_EQ(clamp_scroll(10, bar(0, 100, 0, 50)), 10);
  EXPECT_EQ(clamp_scroll(-10, bar(0, 100, 0, 50)), -10);
}

TEST(ScrollClamp, APageNearTheEndScrollsOnlyTheRemainingDistance) {
  EXPECT_EQ(clamp_scroll(30, bar(0, 100, 0, 90)), 10);
  EXPECT_EQ(clamp_scroll(-30, bar(0, 100, 0, 12)), -12);
  // With a page of 20 the last position is 81.
  EXPECT_EQ(clamp_scroll(20, bar(0, 100, 20, 70)), 11);
  EXPECT_EQ(clamp_scroll(-50, bar(-20, 100, 0, 10)), -30);
}

TEST(ScrollClamp, AtTheEndNothingIsLeft) {
  EXPECT_EQ(clamp_scroll(5, bar(0, 100, 0, 100)), 0);
  EXPECT_EQ(clamp_scroll(-5, bar(0, 100, 0, 0)), 0);
  EXPECT_EQ(clamp_scroll(5, bar(0, 100, 20, 81)), 0);
  // A page larger than the range leaves no room at all.
  EXPECT_EQ(clamp_scroll(5, bar(0, 10, 50, 0)), 0);
}

}  // namespace
}  // namespace orvane::shell
