// Golden pixels of lines and closed shapes.
#include <gtest/gtest.h>

#include "platform/raster/device_context.h"
#include "raster/pixels.h"

namespace orvane::raster {
namespace {

using testing::kRgbLegend;
using testing::pixels_of;
using testing::rows;
using testing::white_surface;

struct Canvas {
  Surface surface;
  DeviceContext dc;
  Canvas(int w, int h, PixelFormat f = PixelFormat::rgb32) : surface(white_surface(w, h, f)), dc(surface) {
    dc.set_brush(Brush::hollow());
  }
  std::string str() const { return pixels_of(surface, kRgbLegend); }
};

TEST(Lines, LastPixelIsNotDrawn) {
  Canvas c(8, 3);
  c.dc.move_to({1, 1});
  c.dc.line_to({6, 1});
  EXPECT_EQ(c.str(), rows({"........", ".#####..", "........"}));
  EXPECT_EQ(c.dc.position(), (IntPoint{6, 1}));
}

TEST(Lines, SlopedLineTakesNearestPixelTiesDownward) {
  Canvas c(6, 4);
  c.dc.move_to({0, 0});
  c.dc.line_to({4, 2});
  EXPECT_EQ(c.str(), rows({"#.....", ".##...", "...#..", "......"}));
}

TEST(Lines, ReversedLineCoversTheSamePixels) {
  for (IntPoint end : {IntPoint{9, 3}, IntPoint{3, 9}, IntPoint{9, 9}, IntPoint{7, 2}, IntPoint{0, 6}}) {
    Canvas forward(12, 12), backward(12, 12);
    forward.dc.move_to({1, 1});
    forward.dc.line_to(end);
    forward.dc.set_pixel(end, colors::black);
    backward.dc.move_to(end);
    backward.dc.line_to({1, 1});
    backward.dc.set_pixel({1, 1}, colors::black);
    EXPECT_EQ(forward.str(), backward.str()) << end.x << "," << end.y;
  }
}

TEST(Lines, SteepLineHasOnePixelPerRow) {
  Canvas c(3, 6);
  c.dc.move_to({0, 0});
  c.dc.line_to({2, 5});
  EXPECT_EQ(c.str(), rows({"#..", "#..", ".#.", ".#.", "..#", "..."}));
}

TEST(Lines, WidePenIsRoundAndCoversBothEnds) {
  Canvas c(9, 5);
  c.dc.set_pen({PenStyle::solid, 3, colors::black});
  c.dc.move_to({2, 2});
  c.dc.line_to({6, 2});
  EXPECT_EQ(c.str(), rows({".........", ".#######.", ".#######.", ".#######.", "........."}));
}

TEST(Lines, WideNibsAreRoundWithinTheirWidth) {
  // A wide pen draws its nib even for a line of no length (round caps).
  Canvas two(4, 4), four(4, 4);
  two.dc.set_pen({PenStyle::solid, 2, colors::black});
  two.dc.move_to({2, 2});
  two.dc.line_to({2, 2});
  EXPECT_EQ(two.str(), rows({"....", ".##.", ".##.", "...."}));
  four.dc.set_pen({PenStyle::solid, 4, colors::black});
  four.dc.move_to({2, 2});
  four.dc.line_to({2, 2});
  EXPECT_EQ(four.str(), rows({".##.", "####", "####", ".##."}));
}

TEST(Lines, HugePenCostsOnlyTheVisiblePart) {
  Canvas c(8, 8);
  c.dc.set_pen({PenStyle::solid, 32767, colors::black});
  c.dc.move_to({-30000, 4});
  c.dc.line_to({30000, 4});
  EXPECT_EQ(c.surface.color_at(0, 0), colors::black);
  EXPECT_EQ(c.surface.color_at(7, 7), colors::black);
}

TEST(Lines, DottedPenAlternatesAndFillsGapsOnlyWhenOpaque) {
  Canvas c(8, 2);
  c.dc.set_pen({PenStyle::dot, 1, colors::black});
  c.dc.set_background_color(testing::kRed);
  c.dc.set_background_mode(BackgroundMode::opaque);
  c.dc.move_to({0, 0});
  c.dc.line_to({7, 0});
  c.dc.set_background_mode(BackgroundMode::transparent);
  c.dc.move_to({0, 1});
  c.dc.line_to({7, 1});
  EXPECT_EQ(c.str(), rows({"#r#r#r#.", "#.#.#.#."}));
}

TEST(Lines, NullPenOnlyMoves) {
  Canvas c(4, 1);
  c.dc.set_pen(Pen::null_pen());
  c.dc.line_to({3, 0});
  EXPECT_EQ(c.str(), "....");
  EXPECT_EQ(c.dc.position(), (IntPoint{3, 0}));
}

TEST(Lines, PolylineJoinsSegments) {
  Canvas c(5, 5);
  IntPoint pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  c.dc.polyline(pts);
  EXPECT_EQ(c.str(), rows({"#####", "....#", "....#", "....#", ".####"}));
}

TEST(Lines, XorMixTwiceRestores) {
  Canvas c(6, 6);
  c.dc.set_mix(Mix::xor_pen);
  c.dc.set_pen({PenStyle::solid, 1, colors::white});
  for (int i = 0; i < 2; ++i) {
    c.dc.move_to({0, 0});
    c.dc.line_to({5, 3});
  }
  EXPECT_EQ(c.str(), rows({"......", "......", "......", "......", "......", "......"}));
}

TEST(Rectangles, OnePixelPenFramesInsideTheRectangle) {
  Canvas c(8, 6);
  c.dc.set_brush(Brush::solid(testing::kRed));
  c.dc.rectangle({1, 1, 6, 5});
  EXPECT_EQ(c.str(), rows({"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}));
}

TEST(Rectangles, NullPenFillsOnePixelLess) {
  Canvas c(7, 6);
  c.dc.set_pen(Pen::null_pen());
  c.dc.set_brush(Brush::solid(colors::black));
  c.dc.rectangle({1, 1, 6, 5});
  EXPECT_EQ(c.str(), rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));
}

TEST(Rectangles, InsideFramePenStaysInside) {
  Canvas c(8, 7);
  c.dc.set_pen({PenStyle::inside_frame, 2, colors::black});
  c.dc.rectangle({1, 1, 7, 7});
  EXPECT_EQ(c.str(), rows({"........", ".######.", ".######.", ".##..##.", ".##..##.", ".######.",
                           ".######."}));
}

TEST(Rectangles, WideSolidPenIsCentredOnTheOutline) {
  Canvas c(9, 9);
  c.dc.set_pen({PenStyle::solid, 3, colors::black});
  c.dc.rectangle({2, 2, 8, 8});
  // The outline columns 2 and 7 widen to 1..3 and 6..8.
  EXPECT_EQ(c.str(), rows({".........", ".########", ".########", ".########", ".###..###", ".###..###",
                           ".########", ".########", ".########"}));
}

TEST(Rectangles, RoundRectCorners) {
  Canvas c(8, 6);
  c.dc.round_rect({0, 0, 8, 6}, {4, 4});
  EXPECT_EQ(c.str(), rows({".######.", "#......#", "#......#", "#......#", "#......#", ".######."}));
}

TEST(Ellipses, SmallCircleTouchesItsBox) {
  Canvas c(5, 5);
  c.dc.ellipse({0, 0, 5, 5});
  EXPECT_EQ(c.str(), rows({".###.", "#...#", "#...#", "#...#", ".###."}));
}

TEST(Ellipses, FilledEllipseAndNullPen) {
  Canvas c(9, 5);
  c.dc.set_pen(Pen::null_pen());
  c.dc.set_brush(Brush::solid(colors::black));
  c.dc.ellipse({0, 0, 9, 5});  // without a pen: the ellipse of (0 0 8 4)
  EXPECT_EQ(c.str(), rows({".######..", "########.", "########.", ".######..", "........."}));
}

TEST(Ellipses, TwoByTwoIsFull) {
  Canvas c(2, 2);
  c.dc.set_brush(Brush::solid(colors::black));
  c.dc.ellipse({0, 0, 2, 2});
  EXPECT_EQ(c.str(), rows({"##", "##"}));
}

TEST(Ellipses, LargeEllipseIsSymmetricAndTouchesAllSides) {
  Canvas c(41, 23);
  c.dc.set_pen(Pen::null_pen());
  c.dc.set_brush(Brush::solid(colors::black));
  c.dc.ellipse({0, 0, 41, 23});  // without a pen: the ellipse of (0 0 40 22)
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(c.surface.pixel(x, y), c.surface.pixel(39 - x, y)) << x << "," << y;
    }
  auto black = [&](int x, int y) { return c.surface.color_at(x, y) == colors::black; };
  EXPECT_TRUE(black(20, 0));
  EXPECT_TRUE(black(20, 21));
  EXPECT_TRUE(black(0, 11));
  EXPECT_TRUE(black(39, 11));
  EXPECT_FALSE(black(0, 0));
}

TEST(Arcs, QuarterArcFromTopToLeft) {
  Canvas c(7, 7);
  // Counter-clockwise from the radial through the top to the radial through the left.
  c.dc.arc({0, 0, 7, 7}, {3, 0}, {0, 3});
  EXPECT_EQ(c.str(), rows({"..##...", ".#.....", "#......", "#......", ".......", ".......", "......."}));
}

TEST(Arcs, SameStartAndEndDrawsTheWholeEllipse) {
  Canvas a(7, 7), b(7, 7);
  a.dc.arc({0, 0, 7, 7}, {6, 3}, {6, 3});
  b.dc.ellipse({0, 0, 7, 7});
  EXPECT_EQ(a.str(), b.str());
}

TEST(Arcs, PieFillsItsSectorAndDrawsRadii) {
  Canvas c(9, 9);
  c.dc.set_brush(Brush::solid(testing::kRed));
  c.dc.pie({0, 0, 9, 9}, {8, 4}, {4, 0});
  EXPECT_EQ(c.str(), rows({"....##...", "....#r##.", "....#rr#.", "....#rrr#", "....#####", ".........",
                           ".........", ".........", "........."}));
}

TEST(Polygons, FillRules) {
  // A pentagram: the centre is outside by the alternate rule, inside by winding.
  IntPoint star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  Canvas alt(21, 20), wind(21, 20);
  for (Canvas* c : {&alt, &wind}) {
    c->dc.set_pen(Pen::null_pen());
    c->dc.set_brush(Brush::solid(colors::black));
  }
  wind.dc.set_fill_mode(FillMode::winding);
  alt.dc.polygon(star);
  wind.dc.polygon(star);
  EXPECT_EQ(alt.surface.color_at(10, 10), colors::white);
  EXPECT_EQ(wind.surface.color_at(10, 10), colors::black);
  EXPECT_EQ(alt.surface.color_at(10, 2), colors::black);
  EXPECT_EQ(wind.surface.color_at(10, 2), colors::black);
}

TEST(Polygons, SquareWithoutPenMatchesRectangleRule) {
  Canvas c(6, 6);
  c.dc.set_pen(Pen::null_pen());
  c.dc.set_brush(Brush::solid(colors::black));
  IntPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  c.dc.polygon(square);
  EXPECT_EQ(c.str(), rows({"......", ".####.", ".####.", ".####.", ".####.", "......"}));
}

TEST(Polygons, OutlinedTriangle) {
  Canvas c(7, 5);
  c.dc.set_brush(Brush::solid(testing::kRed));
  IntPoint tri[] = {{0, 0}, {6, 0}, {0, 4}};
  c.dc.polygon(tri);
  EXPECT_EQ(c.str(), rows({"#######", "#rrr##.", "#rr#...", "###....", "#......"}));
}

TEST(Shapes, PatternBrushUsesTextAndBackgroundColours) {
  Canvas c(4, 2);
  c.dc.set_text_color(testing::kBlue);
  c.dc.set_background_color(testing::kGreen);
  c.dc.fill_rect({0, 0, 4, 2}, Brush::with_pattern(Pattern8::gray()));
  EXPECT_EQ(c.str(), rows({"bgbg", "gbgb"}));
}

TEST(Shapes, PatternIsAnchoredAtTheBrushOriginWhateverTheDcOrigin) {
  Canvas c(4, 1);
  c.dc.set_origin({1, 0});
  c.dc.fill_rect({-1, 0, 3, 1}, Brush::with_pattern(Pattern8::gray(), colors::black, colors::white));
  EXPECT_EQ(c.str(), "#.#.");
}

TEST(Shapes, FrameAndInvertRect) {
  Canvas c(5, 4);
  c.dc.frame_rect({0, 0, 5, 4}, Brush::solid(colors::black));
  c.dc.invert_rect({1, 0, 3, 2});
  EXPECT_EQ(c.str(), rows({"#..##", "###.#", "#...#", "#####"}));
}

TEST(Shapes, EveryMixFollowsItsTruthTable) {
  // Pen value 0b1100, destination 0b1010 on an 8-bit surface: the result's
  // four low bits are the mix's truth table.
  for (int m = 1; m <= 16; ++m) {
    Surface s(1, 1, PixelFormat::indexed8);
    s.set_pixel(0, 0, 0x0a);
    DeviceContext dc(s);
    dc.set_mix(static_cast<Mix>(m));
    ColorTable table = s.color_table();
    dc.set_brush(Brush::solid(table[0x0c]));
    dc.set_pen(Pen::null_pen());
    dc.paint_region(Region(IntRect{0, 0, 1, 1}));
    std::uint32_t expected = 0;
    for (int bit = 0; bit < 4; ++bit) {
      int p = (0x0c >> bit) & 1, d = (0x0a >> bit) & 1;
      expected |= static_cast<std::uint32_t>(((m - 1) >> (p * 2 + d)) & 1) << bit;
    }
    EXPECT_EQ(s.pixel(0, 0) & 0x0f, expected) << "mix " << m;
  }
}

TEST(Clipping, DrawingStaysInsideTheClipAndTheSurface) {
  Canvas c(6, 4);
  c.dc.set_origin({1, 1});
  c.dc.intersect_clip_rect({0, 0, 3, 2});
  c.dc.set_brush(Brush::solid(colors::black));
  c.dc.fill_rect({-10, -10, 100, 100}, Brush::solid(colors::black));
  EXPECT_EQ(c.str(), rows({"......", ".###..", ".###..", "......"}));
  EXPECT_EQ(c.dc.clip_box(), (IntRect{0, 0, 3, 2}));
  EXPECT_FALSE(c.dc.get_pixel({3, 0}).has_value());
  EXPECT_EQ(c.dc.get_pixel({0, 0}), colors::black);
}

TEST(Clipping, ExcludedRectangleIsLeftAlone) {
  Canvas c(5, 1);
  c.dc.exclude_clip_rect({1, 0, 3, 1});
  c.dc.fill_rect({0, 0, 5, 1}, Brush::solid(colors::black));
  EXPECT_EQ(c.str(), "#..##");
}

TEST(Clipping, HugeShapesCostOnlyTheirVisiblePart) {
  Canvas c(4, 4);
  c.dc.set_pen({PenStyle::solid, 1, colors::black});
  c.dc.move_to({-2000000000 / 2, 2});
  c.dc.line_to({2000000000 / 2, 2});
  c.dc.ellipse({-100000000, -100000000, 100000000, 100000000});
  c.dc.set_pen(Pen::null_pen());
  c.dc.set_brush(Brush::solid(colors::black));
  IntPoint tall[] = {{-1, -1000000000}, {2, -1000000000}, {2, 1000000000}, {-1, 1000000000}};
  c.dc.polygon(tall);
  EXPECT_EQ(c.surface.color_at(3, 2), colors::black);
  EXPECT_EQ(c.surface.color_at(0, 0), colors::black);
}

TEST(Surfaces, ShapesOnEveryDepth) {
  for (PixelFormat f : {PixelFormat::mono1, PixelFormat::indexed8, PixelFormat::rgb24, PixelFormat::rgb32}) {
    Canvas c(5, 5, f);
    c.dc.ellipse({0, 0, 5, 5});
    EXPECT_EQ(c.str(), rows({".###.", "#...#", "#...#", "#...#", ".###."})) << bits_per_pixel(f);
  }
}

}  // namespace
}  // namespace orvane::raster
