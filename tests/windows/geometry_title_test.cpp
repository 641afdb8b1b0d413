// Hit testing and the outlines of sizing and region drags in headless
// titles: windows opened by the world, frames taken by the event script.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "platform/raster/geometry.h"
#include "support/window_title.h"

namespace orvane::testing {
namespace {

using raster::IntPoint;
using raster::IntRect;

// Runs `body` in a title whose page holds Board, a window of the page's size
// that is opened but not shown: the windows of the tests are Board's
// children, drawn by the desktop without the page-level paint handler.
RunResult run_on_board(WindowTitle& title, const std::string& body, const std::string& events = "wait 50\n") {
  return title.play("(define (toplevel-loop) (open-page 320 200)\n"
                    "(define Board (open-window 'board Page '(:size (320 200) :position (0 0))))\n" +
                        body + "\n(pump-forever))",
                    events);
}

// The pixels where two frames differ.
std::vector<IntPoint> differences(const raster::Surface& a, const raster::Surface& b) {
  std::vector<IntPoint> out;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.color_at(x, y) != b.color_at(x, y)) out.push_back({x, y});
  return out;
}

// The pixels of a region (given by a membership test over a box) that the
// test keeps, in scan order.
std::vector<IntPoint> pixels_where(const IntRect& box, const std::function<bool(IntPoint)>& keep) {
  std::vector<IntPoint> out;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      if (keep({x, y})) out.push_back({x, y});
  return out;
}

// The dotted outline of r: its one-pixel ring, every other pixel from its top-left.
std::vector<IntPoint> dotted_ring(const IntRect& r) {
  return pixels_where(r, [&](IntPoint p) {
    bool ring = p.x == r.left || p.x == r.right - 1 || p.y == r.top || p.y == r.bottom - 1;
    return ring && ((p.x - r.left + p.y - r.top) & 1) == 0;
  });
}

// A rectangle printed by Lisp as "(l t r b)" after a label.
IntRect rect_after(const std::string& out, const std::string& label) {
  std::vector<std::string> found = lines_starting(out, label + " ");
  EXPECT_EQ(found.size(), 1u) << out;
  IntRect r;
  if (found.empty()) return r;
  std::string rest = found[0].substr(label.size() + 2);
  std::istringstream in(rest);
  in >> r.left >> r.top >> r.right >> r.bottom;
  return r;
}

TEST(GeometryTitle, FindWindowOverNestedWindowsAndZonesWithThickness) {
  WindowTitle title;
  RunResult r = run_on_board(title, R"(
    (Board (set! handles-mouse? ()))
    (define a (show-window 'a Board '(:size (150 100) :position (10 10))))
    (define b (show-window 'b a '(:size (40 40) :position (20 20))))
    (define mute (show-window 'mute Board '(:size (50 50) :position (200 10)) 'handles-mouse? ()))
    (define line (show-window 'line Board '(:size (100 60) :position (10 120))))
    (define thin (show-window 'thin Board '(:size (100 60) :position (160 120)) 'thickness 1))
    (define ring (show-window 'ring Board '(:size (60 60) :position (260 10)) 'closed-zone? t))
    (send line set-click-zone (cons (make-point 0 0) (make-point 99 0)))
    (send thin set-click-zone (cons (make-point 0 0) (make-point 99 0)))
    (send ring set-click-zone '(0 0 60 60))
    (define (hit _x _y) (let ((_w (send Board find-window _x _y))) (if _w (_w label) 'none)))
    (say 'hits (hit 35 35) (hit 15 15) (hit 210 20) (hit 300 190))
    (say 'on-lines (hit 50 125) (hit 50 126) (hit 200 122) (hit 200 123))
    (say 'on-ring (hit 290 40) (hit 261 11))
    (send b hide)
    (say 'hidden (hit 35 35)))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "hits"), std::vector<std::string>{"hits b a none none"});
  // Tolerance 5 with thickness unbound, 2 with thickness 1.
  EXPECT_EQ(lines_starting(r.out, "on-lines"), std::vector<std::string>{"on-lines line none thin none"});
  // A closed oval zone: its centre, not its rect's corner.
  EXPECT_EQ(lines_starting(r.out, "on-ring"), std::vector<std::string>{"on-ring ring none"});
  EXPECT_EQ(lines_starting(r.out, "hidden"), std::vector<std::string>{"hidden a"});
}

// An outline drawn over w, a gray window at (20 20) of the board, by
// `setup`, moved by `action` and taken away by `finish` (whose answer is
// printed after "end"), with a frame before, after each step.
struct OutlineRun {
  RunResult result;
  IntRect root;  // w's rect in the root's (the framebuffer's) coordinates
  std::optional<raster::Surface> before, shown, moved, after;
};

OutlineRun play_outline(const std::string& setup, const std::string& action, const std::string& finish) {
  WindowTitle title;
  OutlineRun run;
  run.result = run_on_board(title,
                            "(define w (show-window 'w Board '(:size (200 150) :position (20 20) :color gray)))\n"
                            "(wait-key 100)\n(say 'root (send w get-root-rect))\n" +
                                setup + "\n(wait-key 100)\n" + action + "\n(wait-key 100)\n(say 'end " + finish + ")",
                            "wait 50\nframe before.png\nwait 100\nframe shown.png\nwait 100\nframe moved.png\n"
                            "wait 100\nframe after.png\nwait 50\n");
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  run.root = rect_after(run.result.out, "root");
  run.before = title.frame("before.png");
  run.shown = title.frame("shown.png");
  run.moved = title.frame("moved.png");
  run.after = title.frame("after.png");
  EXPECT_TRUE(run.before && run.shown && run.moved && run.after);
  return run;
}

TEST(GeometryTitle, ThePageAnswersNilInsideItsWindowsThatRefuseThePoint) {
  WindowTitle title;
  RunResult r = title.play(R"((define (toplevel-loop) (open-page 320 200)
    (define a (show-window 'a Page '(:size (100 80) :position (10 10))))
    (define mute (show-window 'mute Page '(:size (50 50) :position (200 10)) 'handles-mouse? ()))
    (define (hit _x _y) (let ((_w (send Page find-window _x _y))) (if _w (_w label) 'none)))
    (say 'hits (hit 20 20) (hit 210 20) (hit 300 150))
    (Page (set! handles-mouse? ()))
    (say 'refusing (hit 300 150))
    (pump-forever)))",
                           "wait 50\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "hits"), std::vector<std::string>{"hits a none page"});
  EXPECT_EQ(lines_starting(r.out, "refusing"), std::vector<std::string>{"refusing none"});
}

TEST(GeometryTitle, GrowOutlineIsDottedXorAndTheScreenComesBack) {
  OutlineRun run = play_outline("(define g (send w grow-setup (make-point 10 10) (make-point 60 50) nil '(20 20 150 100) 0))",
                                "(send w grow-action g (make-point 300 5))",
                                "(send w grow-terminate g (make-point 300 5))");
  ASSERT_TRUE(run.before && run.shown && run.moved && run.after);
  // Dragged up past the start: the height flips to the minimum above it.
  EXPECT_EQ(lines_starting(run.result.out, "end"), std::vector<std::string>{"end (10 -10 160 10)"});
  IntPoint o{run.root.left, run.root.top};
  EXPECT_EQ(differences(*run.before, *run.shown), dotted_ring(IntRect{10, 10, 60, 50}.translated(o)));
  EXPECT_EQ(differences(*run.before, *run.moved), dotted_ring(IntRect{10, -10, 160, 10}.translated(o)));
  EXPECT_TRUE(differences(*run.before, *run.after).empty());
}

TEST(GeometryTitle, RegionDragOutlineIsAGrayBandAndTheScreenComesBack) {
  OutlineRun run = play_outline(
      "(define rgn (newrgn)) (setrectrgn rgn 30 30 70 60) (define d (send w drag-setup rgn (make-point 40 40) 0 () t () 0 0))",
      "(send w drag-action d (make-point 90 45))", "(send w drag-terminate d (make-point 90 45))");
  ASSERT_TRUE(run.before && run.shown && run.moved && run.after);
  EXPECT_EQ(lines_starting(run.result.out, "end"), std::vector<std::string>{"end (5 . 50)"});
  // A band 3 pixels wide inside the region's edges, its pixels inverted
  // where the gray pattern (anchored at the root's origin) is set.
  auto band = [&](IntRect region) {
    region = region.translated(run.root.left, run.root.top);
    IntRect inner = region.inflated(-3, -3);
    return pixels_where(region, [&](IntPoint p) { return !inner.contains(p) && ((p.x + p.y) & 1) == 0; });
  };
  EXPECT_EQ(differences(*run.before, *run.shown), band({30, 30, 70, 60}));
  EXPECT_EQ(differences(*run.before, *run.moved), band({80, 35, 120, 65}));
  EXPECT_TRUE(differences(*run.before, *run.after).empty());
}

}  // namespace
}  // namespace orvane::testing
