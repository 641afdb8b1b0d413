// The geometry primitives from Lisp, and the hit tests underneath them.
#include <gtest/gtest.h>

#include "graphics/hit_tests.h"
#include "lib/lisp_test.h"

namespace orvane {
namespace {

using testing::LispTest;

class GeometryTest : public LispTest {};

TEST_F(GeometryTest, Rectangles) {
  EXPECT_TRUE(gives("(rect-position '(1 2 10 20))", "(2 . 1)"));
  EXPECT_TRUE(gives("(rect-size '(1 2 10 20))", "(18 . 9)"));
  EXPECT_TRUE(gives("(rect-width '(1 2 10 20))", "9"));
  EXPECT_TRUE(gives("(rect-height '(1 2 10 20))", "18"));
  EXPECT_TRUE(gives("(rect-center '(0 0 5 5))", "(2 . 2)"));
  EXPECT_TRUE(gives("(rect-center '(-5 -5 0 0))", "(-2 . -2)"));
  EXPECT_TRUE(gives("(inflate-rect '(10 10 20 20) 2 -1)", "(8 11 22 19)"));
  EXPECT_TRUE(gives("(offset-rect '(0 0 4 4) 3 5)", "(3 5 7 9)"));
  EXPECT_TRUE(gives("(offset-rect '(0 0 4 4) '(5 . 3) nil)", "(3 5 7 9)"));
  EXPECT_TRUE(gives("(point->rect '(7 . 3))", "(0 0 3 7)"));
  EXPECT_TRUE(gives("(points->rect '(2 . 1) '(20 . 10))", "(1 2 11 22)"));
  EXPECT_TRUE(gives("(enclosing-rect nil)", "(0 0 0 0)"));
  EXPECT_TRUE(gives("(enclosing-rect '((0 0 2 2) (5 5 5 9) (1 -1 3 1)))", "(0 -1 3 2)"));
  EXPECT_TRUE(gives("(enclosing-rect '((5 5 5 9)))", "(0 0 0 0)"));
}

TEST_F(GeometryTest, RectanglePredicates) {
  EXPECT_TRUE(gives("(point-in-rect? 10 20 '(0 0 10 30))", "()"));
  EXPECT_TRUE(gives("(point-in-rect? 9 29 '(0 0 10 30))", "t"));
  EXPECT_TRUE(gives("(point-in-rect? '(29 . 9) '(0 0 10 30))", "t"));
  EXPECT_TRUE(gives("(point-in-rect? '(30 . 9) '(0 0 10 30))", "()"));
  EXPECT_TRUE(gives("(rect-overlaps? '(0 0 10 10) '(9 9 20 20))", "t"));
  EXPECT_TRUE(gives("(rect-overlaps? '(0 0 10 10) '(10 0 20 10))", "()"));
  EXPECT_TRUE(gives("(empty-rect? '(0 0 0 10))", "t"));
  EXPECT_TRUE(gives("(empty-rect? '(0 0 1 1))", "()"));
  // x 15, y 40 clamped into (0 0 10 30): right and bottom are reachable.
  EXPECT_TRUE(gives("(stick-in-rect '(40 . 15) '(0 0 10 30))", "(30 . 10)"));
  EXPECT_TRUE(gives("(stick-in-rect '(-4 . 5) '(0 0 10 30))", "(0 . 5)"));
}

TEST_F(GeometryTest, CoordinatesAreSixteenBits) {
  EXPECT_TRUE(gives("(rect-width '(0 0 32768 0))", "-32768"));
  EXPECT_TRUE(gives("(rect-width '(0 0 65537 0))", "1"));
}

TEST_F(GeometryTest, Points) {
  EXPECT_TRUE(gives("(make-point 3 4)", "(4 . 3)"));
  EXPECT_TRUE(gives("(point-x (make-point 3 4))", "3"));
  EXPECT_TRUE(gives("(point-y (make-point 3 4))", "4"));
  eval_text("(define p (make-point 3 4))");
  EXPECT_TRUE(gives("(point-x p 9)", "9"));
  EXPECT_TRUE(gives("(point-y p -2)", "-2"));
  EXPECT_TRUE(gives("p", "(-2 . 9)"));
  eval_text("(define q (copy-point p))");
  eval_text("(point-x q 0)");
  EXPECT_TRUE(gives("p", "(-2 . 9)"));
  EXPECT_TRUE(gives("(add-point '(1 . 2) '(10 . 20))", "(11 . 22)"));
  EXPECT_TRUE(gives("(subtract-point '(1 . 2) '(10 . 20))", "(-9 . -18)"));
  EXPECT_TRUE(gives("(offset-point '(1 . 2) 5 6)", "(7 . 7)"));
}

TEST_F(GeometryTest, Distances) {
  EXPECT_TRUE(gives("(distance-point '(0 . 0) '(4 . 3) t)", "5"));
  EXPECT_TRUE(gives("(distance-point 0 0 '(4 . 3) t)", "5"));
  EXPECT_TRUE(gives("(distance-point '(0 . 0) '(1 . 1) t)", "1"));
  EXPECT_TRUE(gives("(distance-point '(0 . 0) '(4 . 3))", "5.0"));
  EXPECT_TRUE(gives("(distance-line-point '(0 . 0) '(0 . 10) 5 3)", "3"));
  EXPECT_TRUE(gives("(distance-line-point '(0 . 0) '(0 . 10) '(-3 . 5) nil)", "3"));
  EXPECT_TRUE(gives("(distance-line-point '(0 . 0) '(0 . 0) 5 3)", "0"));
  EXPECT_TRUE(gives("(in-edge? '(2 . 5) '(0 . 0) '(0 . 10) 2)", "t"));
  EXPECT_TRUE(gives("(in-edge? '(3 . 5) '(0 . 0) '(0 . 10) 2)", "()"));
  EXPECT_TRUE(gives("(in-edge? '(0 . 13) '(0 . 0) '(0 . 10) 2)", "()"));  // past the end
  EXPECT_TRUE(gives("(in-edge? '(0 . 12) '(0 . 0) '(0 . 10) 2)", "t"));
}

TEST_F(GeometryTest, PolygonsAndOvals) {
  eval_text("(define tri '((0 . 0) (0 . 10) (10 . 0)))");
  EXPECT_TRUE(gives("(point-in-poly? '(2 . 2) tri)", "t"));
  EXPECT_TRUE(gives("(point-in-poly? '(8 . 8) tri)", "()"));
  EXPECT_TRUE(gives("(point-in-poly? '(0 . 0) nil)", "()"));
  EXPECT_TRUE(gives("(point-on-poly? '(5 . 6) tri nil 1)", "t"));
  EXPECT_TRUE(gives("(point-on-poly? '(5 . 5) tri nil 0)", "t"));    // on the hypotenuse
  EXPECT_TRUE(gives("(point-on-poly? '(5 . 0) tri nil 0)", "()"));  // on the closing side
  EXPECT_TRUE(gives("(point-on-poly? '(5 . 0) tri t 0)", "t"));
  EXPECT_TRUE(gives("(point-in-oval? '(5 . 10) '(0 0 20 10))", "t"));
  EXPECT_TRUE(gives("(point-in-oval? '(0 . 0) '(0 0 20 10))", "()"));
  EXPECT_TRUE(gives("(point-in-oval? '(0 . 0) '(0 0 0 10))", "()"));
  EXPECT_TRUE(gives("(point-on-oval? '(0 . 10) '(0 0 20 10) 0)", "t"));
  EXPECT_TRUE(gives("(point-on-oval? '(1 . 10) '(0 0 20 10) 0)", "()"));
  EXPECT_TRUE(gives("(point-on-oval? '(1 . 10) '(0 0 20 10) 1)", "t"));
  EXPECT_TRUE(gives("(point-on-oval? '(5 . 10) '(0 0 20 10) 4)", "()"));
  EXPECT_TRUE(gives("(point-on-oval? '(5 . 10) '(0 0 20 10) 5)", "t"));
}

TEST_F(GeometryTest, Regions) {
  eval_text("(define a (newrgn))");
  eval_text("(define b (newrgn))");
  eval_text("(define c (newrgn))");
  EXPECT_TRUE(gives("(emptyrgn a)", "t"));
  EXPECT_EQ(eval_text("(setrectrgn a 0 0 10 10)"), kNoValue);
  EXPECT_TRUE(gives("(get-rgn-rect a)", "(0 0 10 10)"));
  eval_text("(rect-rgn b '(5 5 15 15))");
  eval_text("(sectrgn a b c)");
  EXPECT_TRUE(gives("(get-rgn-rect c)", "(5 5 10 10)"));
  eval_text("(unionrgn a b c)");
  EXPECT_TRUE(gives("(get-rgn-rect c)", "(0 0 15 15)"));
  EXPECT_TRUE(gives("(ptinrgn '(12 . 2) c)", "()"));
  eval_text("(diffrgn a b c)");
  EXPECT_TRUE(gives("(ptinrgn '(4 . 9) c)", "t"));
  EXPECT_TRUE(gives("(ptinrgn '(5 . 9) c)", "()"));
  eval_text("(xorrgn a b c)");
  EXPECT_TRUE(gives("(ptinrgn '(7 . 7) c)", "()"));
  EXPECT_TRUE(gives("(ptinrgn '(14 . 14) c)", "t"));
  EXPECT_TRUE(gives("(rect-in-rgn? '(9 9 20 20) a)", "t"));
  EXPECT_TRUE(gives("(rect-in-rgn? '(10 0 20 20) a)", "()"));
  // The destination comes first.
  eval_text("(copyrgn a b)");
  EXPECT_TRUE(gives("(equalrgn a b)", "t"));
  EXPECT_TRUE(gives("(get-rgn-rect a)", "(5 5 15 15)"));
  eval_text("(offsetrgn a -5 1)");
  EXPECT_TRUE(gives("(get-rgn-rect a)", "(0 6 10 16)"));
  EXPECT_TRUE(gives("(equalrgn a b)", "()"));
  eval_text("(rect-region a '(1 2 3 4))");
  EXPECT_TRUE(gives("(get-rgn-rect a)", "(1 2 3 4)"));
  eval_text("(setemptyrgn a)");
  EXPECT_TRUE(gives("(emptyrgn a)", "t"));
  EXPECT_TRUE(gives("(get-rgn-rect a)", "(0 0 0 0)"));
  EXPECT_EQ(eval_text("(disposergn c)"), kNoValue);
}

TEST_F(GeometryTest, OvalAndPolygonRegions) {
  eval_text("(define o (create-oval-rgn '(0 0 20 10)))");
  EXPECT_TRUE(gives("(get-rgn-rect o)", "(0 0 20 10)"));
  EXPECT_TRUE(gives("(ptinrgn '(5 . 10) o)", "t"));
  EXPECT_TRUE(gives("(ptinrgn '(0 . 0) o)", "()"));
  eval_text("(define p (poly->rgn '((0 . 0) (0 . 10) (10 . 10) (10 . 0))))");
  EXPECT_TRUE(gives("(get-rgn-rect p)", "(0 0 10 10)"));
  EXPECT_TRUE(gives("(emptyrgn (poly->rgn nil))", "t"));
}

TEST_F(GeometryTest, DisposedAndForgedRegionsAreRefused) {
  eval_text("(define r (newrgn))");
  eval_text("(disposergn r)");
  EXPECT_EQ(error_code("(emptyrgn r)"), 2);
  EXPECT_EQ(error_code("(disposergn r)"), 2);
  EXPECT_EQ(error_code("(emptyrgn 5)"), 2);
  EXPECT_EQ(error_code("(emptyrgn '(1 2))"), 2);
}

TEST_F(GeometryTest, BadArgumentsRaiseErrorTwo) {
  EXPECT_EQ(error_code("(rect-width '(1 2 3))"), 2);
  EXPECT_EQ(error_code("(rect-width 5)"), 2);
  EXPECT_EQ(error_code("(rect-width '(1 2 \"3\" 4))"), 2);
  EXPECT_EQ(error_code("(point-x 5)"), 2);
  EXPECT_EQ(error_code("(point-x '(1 . 2) \"x\")"), 2);
  EXPECT_EQ(error_code("(make-point 1 2.5)"), 2);
  EXPECT_EQ(error_code("(point-in-poly? '(1 . 1) 7)"), 2);
  EXPECT_EQ(error_code("(point-in-poly? '(1 . 1) '((0 . 0) 3))"), 2);
  EXPECT_EQ(error_code("(enclosing-rect '((0 0 1 1) nil))"), 2);
}

// --- The algorithms underneath ---------------------------------------------------

using graphics::IntPoint;

TEST(HitTests, EvenOddWithVerticesOnTheRay) {
  // A diamond: the ray from its centre passes through the right vertex.
  IntPoint diamond[] = {{0, 5}, {5, 0}, {10, 5}, {5, 10}};
  EXPECT_TRUE(graphics::point_in_polygon({5, 5}, diamond));
  EXPECT_FALSE(graphics::point_in_polygon({-1, 5}, diamond));
  // A polygon with a horizontal edge at the height of the ray.
  IntPoint notch[] = {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 5}, {3, 5}, {3, 10}, {0, 10}};
  EXPECT_TRUE(graphics::point_in_polygon({1, 5}, notch));
  EXPECT_FALSE(graphics::point_in_polygon({4, 7}, notch));
  EXPECT_TRUE(graphics::point_in_polygon({8, 7}, notch));
}

TEST(HitTests, ScanExtents) {
  IntPoint tri[] = {{10, 0}, {20, 10}, {0, 10}};
  graphics::ScanExtent e = graphics::scan_extents(tri, 5);
  EXPECT_EQ(e.min_x, 5);
  EXPECT_EQ(e.max_x, 15);
  e = graphics::scan_extents(tri, 10);  // lower ends are excluded
  EXPECT_EQ(e.min_x, 32000);
  EXPECT_EQ(e.max_x, 0);
  e = graphics::scan_extents({}, 3);
  EXPECT_EQ(e.min_x, 0);
  EXPECT_EQ(e.max_x, 0);
}

}  // namespace
}  // namespace orvane
