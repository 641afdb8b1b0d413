// The arithmetic of interactive sizing and of region drags.
#include <gtest/gtest.h>

#include "ui/drag_geometry.h"
#include "ui/grow_tracker.h"

namespace orvane::ui {
namespace {

using raster::IntPoint;
using raster::IntRect;

TEST(GrowTracker, CornerStaysWithinLimitsInEitherDirection) {
  GrowTracker g({100, 100}, {150, 140}, {20, 10, 80, 60}, 0);
  EXPECT_EQ(g.rect(), (IntRect{100, 100, 150, 140}));

  EXPECT_TRUE(g.follow({300, 300}));  // beyond the maximum
  EXPECT_EQ(g.corner(), (IntPoint{180, 160}));
  EXPECT_TRUE(g.follow({105, 102}));  // below the minimum
  EXPECT_EQ(g.corner(), (IntPoint{120, 110}));
  EXPECT_TRUE(g.follow({10, 95}));  // left of and above the start: the rectangle flips
  EXPECT_EQ(g.corner(), (IntPoint{20, 90}));
  EXPECT_EQ(g.rect(), (IntRect{20, 90, 100, 100}));
  EXPECT_TRUE(g.follow({95, 0}));  // the minimum holds on the far side too
  EXPECT_EQ(g.corner(), (IntPoint{80, 40}));
}

TEST(GrowTracker, AnUnchangedCornerIsNoMove) {
  GrowTracker g({0, 0}, {50, 50}, {0, 0, 60, 60}, 0);
  EXPECT_TRUE(g.follow({70, 70}));
  EXPECT_FALSE(g.follow({90, 65}));  // clamped to the same corner
  EXPECT_EQ(g.corner(), (IntPoint{60, 60}));
}

TEST(GrowTracker, AxisKeepsOneDimension) {
  GrowTracker keep_height({0, 0}, {40, 30}, {}, 1);
  keep_height.follow({70, 90});
  EXPECT_EQ(keep_height.rect(), (IntRect{0, 0, 70, 30}));
  GrowTracker keep_width({0, 0}, {40, 30}, {}, 2);
  keep_width.follow({70, 90});
  EXPECT_EQ(keep_width.rect(), (IntRect{0, 0, 40, 90}));
  EXPECT_FALSE(keep_width.follow({10, 90}));
}

TEST(GrowTracker, LimitsTheWrongWayRoundGiveTheMinimum) {
  GrowTracker g({0, 0}, {5, 5}, {50, 40, 10, 10}, 0);
  g.follow({30, 30});
  EXPECT_EQ(g.corner(), (IntPoint{50, 40}));
}

TEST(DragGeometry, PointerIsClampedIntoTheLimitAndParkedOutsideTheSlop) {
  DragGeometry g({0, 0, 100, 80}, {-20, -20, 120, 100}, {40, 30, 60, 50}, {45, 35}, false, 0);
  EXPECT_EQ(g.follow({10, 10}), (IntPoint{10, 10}));
  EXPECT_EQ(g.follow({110, 90}), (IntPoint{99, 79}));  // the right and bottom edges lie outside
  EXPECT_EQ(g.follow({-5, -5}), (IntPoint{0, 0}));
  EXPECT_EQ(g.follow({120, 50}), std::nullopt);
  EXPECT_EQ(g.follow({-21, 50}), std::nullopt);
}

TEST(DragGeometry, KeepingTheRegionInsideNarrowsThePointer) {
  // The region spans 5 left and 14 right of the start (its last pixel).
  IntRect box{40, 30, 60, 50};
  IntPoint start{45, 35};
  DragGeometry g({0, 0, 100, 80}, {0, 0, 100, 80}, box, start, true, 0);
  IntPoint low = *g.follow({0, 0});
  IntPoint high = *g.follow({99, 79});
  EXPECT_EQ(low, (IntPoint{5, 5}));
  EXPECT_EQ(high, (IntPoint{85, 65}));
  // The moved box stays inside the limit at both ends.
  IntRect at_low = box.translated(low - start), at_high = box.translated(high - start);
  EXPECT_EQ(at_low.left, 0);
  EXPECT_EQ(at_low.top, 0);
  EXPECT_EQ(at_high.right, 100);
  EXPECT_EQ(at_high.bottom, 80);
  // A region wider than the limit pins the pointer to its low edge.
  DragGeometry wide({0, 0, 10, 10}, {0, 0, 10, 10}, box, start, true, 0);
  EXPECT_EQ(wide.follow({9, 9}), (IntPoint{5, 5}));
}

TEST(DragGeometry, AxisHoldsTheStartCoordinate) {
  DragGeometry horizontal({0, 0, 100, 100}, {0, 0, 100, 100}, {}, {50, 50}, false, 1);
  EXPECT_EQ(horizontal.follow({70, 90}), (IntPoint{70, 50}));
  DragGeometry vertical({0, 0, 100, 100}, {0, 0, 100, 100}, {}, {50, 50}, false, 2);
  EXPECT_EQ(vertical.follow({70, 90}), (IntPoint{50, 90}));
}

}  // namespace
}  // namespace orvane::ui
