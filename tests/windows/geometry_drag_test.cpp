// Mouse capture and the native drag, interactive sizing with its XOR
// outline, and region drags, on hand-linked windows.
#include "windows/geometry_fixture.h"

namespace orvane::ui::testing {
namespace {

using raster::IntPoint;

// The page at (0 0) of the root, a at (10 10) in it, b at (20 20) in a.
class DragTest : public GeometryWindows {
 protected:
  void SetUp() override {
    GeometryWindows::SetUp();
    window("root", "nil", 0, 0, 0, 0);
    window("page", "root", 0, 0, 400, 300);
    window("a", "page", 10, 10, 200, 150);
    window("b", "a", 20, 20, 40, 40);
    // Something other than plain white under the outlines.
    raster::DeviceContext dc = desktop.get_dc({});
    for (int x = 0; x < 640; x += 5) dc.fill_rect({x, 0, x + 2, 480}, raster::Brush::solid({20, 90, 200}));
  }
  std::size_t changed_pixels(const std::vector<raster::Color>& before) {
    std::vector<raster::Color> now = snapshot();
    std::size_t n = 0;
    for (std::size_t i = 0; i < now.size(); ++i) n += now[i] != before[i];
    return n;
  }
  bool changed_at(const std::vector<raster::Color>& before, IntPoint screen_point) {
    return pixel(screen_point) != before[screen_point.y * 640 + screen_point.x];
  }
  // Whether a dotted line through p or its right neighbour was drawn there.
  bool dotted_at(const std::vector<raster::Color>& before, IntPoint screen_point) {
    return changed_at(before, screen_point) || changed_at(before, screen_point + IntPoint{1, 0});
  }
};

TEST_F(DragTest, CaptureFollowsTheCaptureWindow) {
  eval_text("(send b capture-mouse)");
  EXPECT_EQ(desktop.capture(), peer("b").hwnd);
  EXPECT_TRUE(gives("((send a capture-window) label)", "b"));
  eval_text("(send b release-mouse)");
  EXPECT_FALSE(desktop.capture());
  EXPECT_TRUE(gives("(send a capture-window)", "()"));
  // The page captures through the MDI client, whose events it receives.
  eval_text("(send page capture-mouse)");
  EXPECT_EQ(desktop.capture(), client);
  eval_text("(send page release-mouse)");
}

TEST_F(DragTest, NativeDragSendsDragAndHoldsTheCaptureUntilReleased) {
  EXPECT_TRUE(gives("(tracking-drag?)", "()"));
  peer("b").start_drag(3, 4, false);
  EXPECT_EQ(log_text(), "((b drag 3 4))");
  EXPECT_TRUE(gives("(tracking-drag?)", "t"));
  EXPECT_EQ(desktop.capture(), peer("b").hwnd);
  // A capture released during the drag goes back to the drag window.
  eval_text("(send a capture-mouse)");
  eval_text("(send a release-mouse)");
  EXPECT_EQ(desktop.capture(), peer("b").hwnd);
  eval_text("(send b release-drag)");
  EXPECT_TRUE(gives("(tracking-drag?)", "()"));
  EXPECT_FALSE(desktop.capture());

  peer("a").start_drag(5, 6, true);
  EXPECT_EQ(log_text(), "((b drag 3 4) (a mouse-reposition 5 6))");
  // A capture window set during the drag keeps the mouse when the drag ends.
  eval_text("(send b capture-mouse)");
  peer("a").release_drag();
  EXPECT_EQ(desktop.capture(), peer("b").hwnd);
  EXPECT_TRUE(gives("(tracking-drag?)", "()"));
}

TEST_F(DragTest, GrowOutlineFollowsTheCornerAndLeavesNoTrace) {
  std::vector<raster::Color> before = snapshot();
  eval_text("(define g (send a grow-setup (make-point 10 10) (make-point 60 50) nil '(20 20 100 80) 0))");
  // The outline spans from the start to the corner, over b.
  EXPECT_TRUE(dotted_at(before, on_screen("a", {10, 10})));
  EXPECT_TRUE(dotted_at(before, on_screen("a", {30, 49})));  // bottom edge, over b
  EXPECT_FALSE(dotted_at(before, on_screen("a", {30, 30})));  // inside

  eval_text("(send a grow-action g (make-point 300 300))");
  // Clamped to the maximum size: the corner is at (110 90).
  EXPECT_FALSE(dotted_at(before, on_screen("a", {30, 49})));
  EXPECT_TRUE(dotted_at(before, on_screen("a", {30, 89})));
  std::vector<raster::Color> grown = snapshot();
  eval_text("(send a grow-action g (make-point 400 200))");  // the same corner: nothing drawn
  EXPECT_EQ(snapshot(), grown);

  EXPECT_TRUE(gives("(send a grow-terminate g (make-point 0 0))", "(-10 -10 10 10)"));
  EXPECT_EQ(changed_pixels(before), 0u);
  EXPECT_NE(error_code("(send a grow-action g (make-point 1 1))"), -1);  // the record is gone
}

TEST_F(DragTest, GrowAxisAndBoundsClipTheOutline) {
  std::vector<raster::Color> before = snapshot();
  eval_text("(define g (send a grow-setup (make-point 10 10) (make-point 60 50) '(0 0 40 200) nil 1))");
  EXPECT_TRUE(dotted_at(before, on_screen("a", {10, 10})));
  EXPECT_FALSE(dotted_at(before, on_screen("a", {44, 10})));  // clipped by the bounds
  EXPECT_TRUE(gives("(send a grow-terminate g (make-point 90 300))", "(10 10 90 50)"));  // the height kept
  EXPECT_EQ(changed_pixels(before), 0u);
}

TEST_F(DragTest, RegionOutlineFollowsThePointerAndAnswersTheOffset) {
  std::vector<raster::Color> before = snapshot();
  eval_text("(define r (newrgn))");
  eval_text("(setrectrgn r 20 20 60 60)");
  eval_text("(define d (send a drag-setup r (make-point 30 30) 0 nil nil nil 0 0))");
  // The gray border: every other pixel of its outer row.
  int dots = 0;
  for (int x = 20; x < 60; ++x) dots += changed_at(before, on_screen("a", {x, 20}));
  EXPECT_EQ(dots, 20);
  EXPECT_FALSE(changed_at(before, on_screen("a", {40, 40})));

  eval_text("(send a drag-action d (make-point 80 50))");
  dots = 0;
  for (int x = 70; x < 110; ++x) dots += changed_at(before, on_screen("a", {x, 40}));
  EXPECT_EQ(dots, 20);
  EXPECT_FALSE(dotted_at(before, on_screen("a", {20, 20})));

  // The limit keeps the region inside a's rect (200 x 150): the pointer stops at 30 + 140.
  EXPECT_TRUE(gives("(send a drag-terminate d (make-point 500 100))", "(70 . 140)"));
  EXPECT_EQ(changed_pixels(before), 0u);
  EXPECT_NE(error_code("(emptyrgn r)"), -1);  // the drag deleted the region
  EXPECT_NE(error_code("(send a drag-action d (make-point 1 1))"), -1);
}

TEST_F(DragTest, RegionDragOutsideTheSlopHidesTheOutlineAndAnswersNil) {
  std::vector<raster::Color> before = snapshot();
  eval_text("(define r (newrgn))");
  eval_text("(setrectrgn r 20 20 60 60)");
  eval_text("(define d (send a drag-setup r (make-point 30 30) 0 nil t nil 0 2))");
  eval_text("(send a drag-action d (make-point 250 40))");  // outside a's rect: parked
  EXPECT_EQ(changed_pixels(before), 0u);
  eval_text("(send a drag-action d (make-point 90 70))");  // axis 2: x stays 30
  EXPECT_TRUE(dotted_at(before, on_screen("a", {20, 60})));
  EXPECT_TRUE(gives("(send a drag-terminate d (make-point -5 40))", "()"));
  EXPECT_EQ(changed_pixels(before), 0u);
}

TEST_F(DragTest, RegionImageMovesWithThePointerAndTheScreenComesBack) {
  // A mark in the region's box to follow.
  {
    raster::DeviceContext dc = desktop.get_dc(peer("a").hwnd);
    dc.fill_rect({20, 20, 30, 30}, raster::Brush::solid({250, 0, 0}));
  }
  std::vector<raster::Color> before = snapshot();
  eval_text("(define r (newrgn))");
  eval_text("(setrectrgn r 20 20 60 60)");
  eval_text("(define d (send a drag-setup r (make-point 20 20) 0 t t nil 0 0))");
  EXPECT_EQ(changed_pixels(before), 0u);  // the image stands where it was taken
  eval_text("(send a drag-action d (make-point 120 60))");
  EXPECT_EQ(pixel(on_screen("a", {125, 65})), (raster::Color{250, 0, 0}));
  EXPECT_TRUE(gives("(send a drag-terminate d (make-point 120 60))", "(40 . 100)"));
  EXPECT_EQ(changed_pixels(before), 0u);
}

}  // namespace
}  // namespace orvane::ui::testing
