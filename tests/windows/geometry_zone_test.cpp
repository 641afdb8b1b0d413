// Click zones: reading zone Values, the tolerance rule, hits on each shape
// and their outlines drawn by draw-frame.
#include <gtest/gtest.h>

#include "core/memory.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "support/eval_helpers.h"
#include "ui/click_zone.h"

namespace orvane::ui {
namespace {

using raster::IntPoint;
using raster::IntRect;

class ClickZoneValues : public orvane::testing::EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    defprim("test-click-zone", +[](Value zone) {
      click_zone_of(zone);
      return kNoValue;
    });
  }
};

TEST_F(ClickZoneValues, ShapesAreToldApart) {
  EXPECT_EQ(click_zone_of(kNil).shape, ZoneShape::whole);

  ClickZone oval = click_zone_of(make_rect({1, 2, 30, 40}));
  EXPECT_EQ(oval.shape, ZoneShape::oval);
  EXPECT_EQ(oval.oval, (IntRect{1, 2, 30, 40}));

  ClickZone line = click_zone_of(cons(make_point(1, 2), make_point(30, 40)));
  ASSERT_EQ(line.shape, ZoneShape::line);
  EXPECT_EQ(line.points, (std::vector<IntPoint>{{1, 2}, {30, 40}}));

  Value triangle = list_of({make_point(0, 0), make_point(20, 0), make_point(0, 20)});
  ClickZone polygon = click_zone_of(triangle);
  EXPECT_EQ(polygon.shape, ZoneShape::polygon);
  EXPECT_EQ(polygon.points.size(), 3u);
}

TEST_F(ClickZoneValues, MalformedZonesAreRefused) {
  using orvane::testing::list;
  using orvane::testing::quoted;
  using orvane::testing::sym;
  for (Value bad : {make_integer(4), list_of({make_integer(1), make_integer(2)}),
                    list_of({make_point(1, 1), make_integer(3)})})
    EXPECT_EQ(error_of(list({sym("test-click-zone"), quoted(bad)})), 2);
  EXPECT_EQ(error_of(list({sym("test-click-zone"), quoted(make_rect({0, 0, 9, 9}))})), -1);
}

TEST_F(ClickZoneValues, ToleranceComesFromThickness) {
  EXPECT_EQ(zone_tolerance(kNoValue), 5);
  EXPECT_EQ(zone_tolerance(kNil), 5);
  EXPECT_EQ(zone_tolerance(make_integer(1)), 2);
  EXPECT_EQ(zone_tolerance(make_integer(3)), 3);
}

TEST(ClickZoneHits, WholeRectExcludesItsRightAndBottomEdges) {
  ClickZone whole;
  IntRect rect{0, 0, 50, 40};
  EXPECT_TRUE(zone_hit(whole, rect, {0, 0}, false, 5));
  EXPECT_TRUE(zone_hit(whole, rect, {49, 39}, false, 5));
  EXPECT_FALSE(zone_hit(whole, rect, {50, 10}, false, 5));
  EXPECT_FALSE(zone_hit(whole, rect, {10, 40}, false, 5));
}

TEST(ClickZoneHits, LineToleranceFiveUnboundTwoForThicknessOne) {
  ClickZone line{ZoneShape::line, {}, {{0, 10}, {100, 10}}};
  IntRect rect{0, 0, 200, 200};
  EXPECT_TRUE(zone_hit(line, rect, {50, 15}, false, 5));
  EXPECT_FALSE(zone_hit(line, rect, {50, 16}, false, 5));
  EXPECT_TRUE(zone_hit(line, rect, {50, 12}, false, 2));
  EXPECT_FALSE(zone_hit(line, rect, {50, 13}, false, 2));
  // Past the segment's ends, beyond the tolerance.
  EXPECT_FALSE(zone_hit(line, rect, {110, 10}, false, 5));
}

TEST(ClickZoneHits, OvalOpenOnItsOutlineClosedInside) {
  ClickZone oval{ZoneShape::oval, {0, 0, 100, 60}, {}};
  IntRect rect{0, 0, 100, 60};
  IntPoint centre{50, 30}, on_edge{0, 30}, near_edge{3, 30}, corner{1, 1};
  EXPECT_TRUE(zone_hit(oval, rect, centre, true, 5));
  EXPECT_FALSE(zone_hit(oval, rect, corner, true, 5));
  EXPECT_FALSE(zone_hit(oval, rect, centre, false, 5));
  EXPECT_TRUE(zone_hit(oval, rect, on_edge, false, 5));
  EXPECT_TRUE(zone_hit(oval, rect, near_edge, false, 5));
  EXPECT_FALSE(zone_hit(oval, rect, {20, 30}, false, 5));
}

TEST(ClickZoneHits, PolygonOpenExcludesTheClosingSegment) {
  ClickZone polygon{ZoneShape::polygon, {}, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}};
  IntRect rect{0, 0, 200, 200};
  IntPoint inside{50, 50}, on_first{50, 2}, on_closing{2, 50};
  EXPECT_TRUE(zone_hit(polygon, rect, inside, true, 5));
  EXPECT_FALSE(zone_hit(polygon, rect, {150, 50}, true, 5));
  EXPECT_FALSE(zone_hit(polygon, rect, inside, false, 5));
  EXPECT_TRUE(zone_hit(polygon, rect, on_first, false, 5));
  EXPECT_FALSE(zone_hit(polygon, rect, on_closing, false, 5));
}

class DrawZone : public ::testing::Test {
 protected:
  graphics::Offscreen buffer{graphics::OffscreenSpec::of({0, 0, 40, 40})};
  bool black(int x, int y) { return buffer.surface().color_at(x, y) == raster::colors::black; }
  void SetUp() override { buffer.context().fill_rect({0, 0, 40, 40}, raster::Brush::solid(raster::colors::white)); }
};

TEST_F(DrawZone, WholeZoneFramesTheFrameRectInCopyModeWhateverThePenMode) {
  buffer.port().pen_mode(static_cast<int>(raster::Mix::xor_pen));
  for (int pass = 0; pass < 2; ++pass) draw_zone(buffer.port(), ClickZone{}, {5, 5, 20, 15}, false);
  // Copy mode: drawn twice, the frame is still there.
  EXPECT_TRUE(black(5, 5));
  EXPECT_TRUE(black(19, 14));
  EXPECT_TRUE(black(12, 5));
  EXPECT_FALSE(black(12, 10));  // hollow
  EXPECT_FALSE(black(20, 10));
  EXPECT_EQ(buffer.context().mix(), raster::Mix::xor_pen);  // the port's mode is left as it was
}

TEST_F(DrawZone, PolygonOutlineClosesOnlyForClosedZones) {
  ClickZone polygon{ZoneShape::polygon, {}, {{5, 5}, {30, 5}, {30, 30}}};
  draw_zone(buffer.port(), polygon, {}, false);
  EXPECT_TRUE(black(20, 5));
  EXPECT_TRUE(black(30, 20));
  EXPECT_FALSE(black(17, 17));  // the closing diagonal
  draw_zone(buffer.port(), polygon, {}, true);
  EXPECT_TRUE(black(17, 17));
}

TEST_F(DrawZone, LineZoneDrawsItsSegment) {
  ClickZone line{ZoneShape::line, {}, {{2, 20}, {35, 20}}};
  draw_zone(buffer.port(), line, {}, false);
  EXPECT_TRUE(black(2, 20));
  EXPECT_TRUE(black(30, 20));
  EXPECT_FALSE(black(30, 21));
}

}  // namespace
}  // namespace orvane::ui
