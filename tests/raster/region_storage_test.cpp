// Regions keep pixman's region in opaque storage; copies, moves and the
// rectangle walk must carry regions of many rectangles (whose bands pixman
// keeps on the heap) intact.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/raster/region.h"

namespace orvane::raster {
namespace {

Region staircase() {
  std::vector<IntRect> steps;
  for (int i = 0; i < 6; ++i) steps.push_back({i * 3, i * 2, i * 3 + 5, i * 2 + 2});
  return Region::from_rects(steps);
}

std::vector<IntRect> walked(const Region& r) {
  std::vector<IntRect> out;
  r.for_each_rect([&](const IntRect& rect) { out.push_back(rect); });
  return out;
}

TEST(RegionStorage, WalksTheSameRectanglesItLists) {
  const Region r = staircase();
  ASSERT_GT(r.rect_count(), 1u);
  EXPECT_EQ(walked(r), r.rects());
  EXPECT_TRUE(walked(Region()).empty());
}

TEST(RegionStorage, MovesCarryManyRectangles) {
  Region original = staircase();
  const std::vector<IntRect> want = original.rects();
  Region moved(std::move(original));
  EXPECT_EQ(moved.rects(), want);
  EXPECT_TRUE(original.empty());

  Region target(IntRect{100, 100, 120, 120});
  target = std::move(moved);
  EXPECT_EQ(target.rects(), want);
  EXPECT_TRUE(moved.empty());
  // The emptied sources are whole regions still.
  moved.unite(Region(IntRect{0, 0, 2, 2}));
  EXPECT_EQ(moved.bounds(), (IntRect{0, 0, 2, 2}));
}

TEST(RegionStorage, CopiesOfManyRectanglesAreIndependent) {
  Region a = staircase();
  Region b = a;
  b.subtract(Region(IntRect{0, 0, 40, 5}));
  EXPECT_NE(a.rects(), b.rects());
  EXPECT_EQ(a.rects(), staircase().rects());
  Region c;
  c = b;
  EXPECT_TRUE(c == b);
}

}  // namespace
}  // namespace orvane::raster
