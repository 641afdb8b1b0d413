// Hit testing over nested windows, click zones as the windows answer them,
// `named`, and the rectangles of a window in other windows' coordinates.
#include "windows/geometry_fixture.h"

namespace orvane::ui::testing {
namespace {

// The page at (0, 0) of the root; a at (10 10) in it with b (20 20) and c
// (60 60) inside; d at (200 10) in the page. c, d and the page do not
// handle the mouse.
class HitTest : public GeometryWindows {
 protected:
  void SetUp() override {
    GeometryWindows::SetUp();
    window("root", "nil", 0, 0, 0, 0);
    window("page", "root", 0, 0, 400, 300);
    window("a", "page", 10, 10, 100, 100);
    window("b", "a", 20, 20, 30, 30);
    window("c", "a", 60, 60, 30, 30);
    window("d", "page", 200, 10, 50, 50);
    eval_text("(begin (c (set! handles-mouse? nil)) (d (set! handles-mouse? nil)) (page (set! handles-mouse? nil)))");
  }
  std::string found(std::string_view from, int x, int y) {
    return value_to_text(eval_text("(let ((_w (send " + std::string(from) + " find-window " + std::to_string(x) +
                                   " " + std::to_string(y) + "))) (if _w (_w label) 'none))"));
  }
};

TEST_F(HitTest, FindWindowDescendsToTheDeepestWindowThatAnswers) {
  EXPECT_EQ(found("page", 35, 35), "b");
  EXPECT_EQ(found("a", 25, 25), "b");  // from a window, in its own coordinates
  // c does not handle the mouse: its parent answers for it.
  EXPECT_EQ(found("page", 75, 75), "a");
  EXPECT_EQ(found("page", 15, 15), "a");
  // A point given as one point.
  EXPECT_EQ(value_to_text(eval_text("((send page find-window (make-point 35 35)) label)")), "b");
}

TEST_F(HitTest, PageAnswersNilForPointsItsWindowsCover) {
  eval_text("(page (set! handles-mouse? t))");
  EXPECT_EQ(found("page", 210, 20), "none");  // d covers it without answering
  EXPECT_EQ(found("page", 300, 250), "page");  // nothing covers it
  eval_text("(page (set! handles-mouse? nil))");
  EXPECT_EQ(found("page", 300, 250), "none");
}

TEST_F(HitTest, HiddenWindowsAreNotSearched) {
  peer("b").flags.visible = false;
  EXPECT_EQ(found("page", 35, 35), "a");
}

TEST_F(HitTest, HandlesMouseMethodAndEditModeAnswerToo) {
  eval_text("(obj-tw (define (get-handles-mouse?) (eq? label 'd)))");
  EXPECT_EQ(found("page", 210, 20), "d");
  EXPECT_EQ(found("page", 35, 35), "none");  // b says no through the method
  eval_text("(obj-tw (define (get-handles-mouse?) nil))");
  EXPECT_EQ(found("page", 210, 20), "none");
  peer("d").flags.edit = true;
  eval_text("(obj-tw (define (editor-selectable?) nil))");  // a method is asked, not taken as true
  EXPECT_EQ(found("page", 210, 20), "none");
  eval_text("(obj-tw (define (editor-selectable?) t))");
  EXPECT_EQ(found("page", 210, 20), "d");
}

TEST_F(HitTest, LineZoneToleranceIsFiveUnboundAndTwoForThicknessOne) {
  eval_text("(send a set-click-zone (cons (make-point 0 0) (make-point 100 100)))");
  EXPECT_EQ(found("page", 10 + 50, 10 + 55), "a");  // about 3.5 from the line
  EXPECT_EQ(found("page", 10 + 50, 10 + 58), "none");  // about 5.7: past 5, and inside a's rect
  eval_text("(define thickness 1)");
  EXPECT_EQ(found("page", 10 + 50, 10 + 52), "a");
  EXPECT_EQ(found("page", 10 + 50, 10 + 54), "none");
  eval_text("(set! thickness 7)");
  EXPECT_EQ(found("page", 10 + 50, 10 + 58), "a");
}

TEST_F(HitTest, HandlersDestroyingWindowsDuringTheSearchAreSurvived) {
  // d, in front of a, destroys a before a is searched.
  eval_text(R"((d (add-override 'point-in-click-zone?
                  (lambda (_x _y) (send a destroy) ((overriden point-in-click-zone?) _x _y)))))");
  EXPECT_EQ(found("page", 35, 35), "none");
  EXPECT_EQ(window_peer_or_null(eval_text("a")), nullptr);
  EXPECT_EQ(window_peer_or_null(eval_text("b")), nullptr);
  // A window destroyed in its own zone test answers nothing.
  eval_text(R"((d (add-override 'point-in-click-zone? (lambda (_x _y) (send d destroy) t))))");
  EXPECT_EQ(found("page", 210, 20), "none");
  EXPECT_EQ(window_peer_or_null(eval_text("d")), nullptr);
}

TEST_F(HitTest, OvalAndPolygonZonesOpenAndClosed) {
  eval_text("(send d set-click-zone '(0 0 50 50))");
  eval_text("(d (set! handles-mouse? t))");
  EXPECT_EQ(found("page", 225, 35), "none");  // the centre of an open oval
  EXPECT_EQ(found("page", 201, 35), "d");  // its outline
  peer("d").flags.closed_zone = true;
  EXPECT_EQ(found("page", 225, 35), "d");
  EXPECT_EQ(found("page", 201, 11), "none");  // the rect's corner lies outside the oval

  eval_text("(send d set-click-zone (list (make-point 0 0) (make-point 40 0) (make-point 40 40)))");
  EXPECT_EQ(found("page", 230, 20), "d");  // inside the closed triangle
  peer("d").flags.closed_zone = false;
  EXPECT_EQ(found("page", 230, 20), "none");
  EXPECT_EQ(found("page", 239, 30), "d");  // on its right side
  EXPECT_EQ(found("page", 220, 30), "none");  // on the closing diagonal, which an open zone leaves out
}

TEST_F(HitTest, ClickZoneMethodsAndThePage) {
  EXPECT_TRUE(gives("(send a get-click-zone)", "()"));
  eval_text("(send a set-click-zone '(1 2 3 4))");
  EXPECT_TRUE(gives("(send a get-click-zone)", "(1 2 3 4)"));
  EXPECT_NE(error_code("(send a set-click-zone 12)"), -1);
  EXPECT_TRUE(gives("(send a get-click-zone)", "(1 2 3 4)"));  // a refused zone changes nothing
  // The page answers t wherever the point is, whatever its zone.
  eval_text("(send page set-click-zone '(0 0 1 1))");
  EXPECT_TRUE(gives("(send page point-in-click-zone? 500 500)", "t"));
  EXPECT_TRUE(gives("(send b point-in-click-zone? 29 29)", "t"));
  EXPECT_TRUE(gives("(send b point-in-click-zone? 30 29)", "()"));
}

TEST_F(HitTest, NamedFindsChildrenByNameAndPath) {
  peer("a").set_name(intern("alpha"));
  peer("b").set_name(intern("beta"));
  peer("c").set_name(make_integer(7));
  EXPECT_TRUE(gives("((send page named 'alpha) label)", "a"));
  EXPECT_TRUE(gives("((send page named '(alpha beta)) label)", "b"));
  EXPECT_TRUE(gives("((send a named 7) label)", "c"));
  EXPECT_TRUE(gives("((send a named nil) label)", "a"));
  EXPECT_TRUE(gives("(send page named 'beta)", "()"));  // not a direct child
  EXPECT_TRUE(gives("(send page named '(alpha gamma))", "()"));
  EXPECT_TRUE(gives("(send page named '(alpha beta gamma))", "()"));
}

TEST_F(HitTest, RectanglesInOtherWindowsCoordinates) {
  EXPECT_TRUE(gives("(send b get-window-rect)", "(0 0 30 30)"));
  EXPECT_TRUE(gives("(send b get-parent-rect)", "(20 20 50 50)"));
  EXPECT_TRUE(gives("(send b get-system-rect)", "(20 20 50 50)"));
  EXPECT_TRUE(gives("(send b get-root-rect)", "(30 30 60 60)"));
  EXPECT_TRUE(gives("(send a get-system-rect)", "(0 0 100 100)"));  // a is its own system window
  EXPECT_TRUE(gives("(send a get-parent-rect)", "(10 10 110 110)"));
  EXPECT_TRUE(gives("(send b translate (make-point 1 2) d)", "(22 . -169)"));
  EXPECT_TRUE(gives("(send b translate '(0 0 5 5) a)", "(20 20 25 25)"));
  EXPECT_NE(error_code("(send b translate '(0 0 5 5) 3)"), -1);
  EXPECT_TRUE(gives("(send d touch-rect? '(240 50 300 60))", "t"));
  EXPECT_TRUE(gives("(send d touch-rect? '(250 50 300 60))", "()"));
}

TEST_F(HitTest, PointTestsAndViewRects) {
  EXPECT_TRUE(gives("(list (send a point-in-window? 99 0) (send a point-in-window? 100 0))", "(t ())"));
  EXPECT_TRUE(gives("(send a point-in-window? (make-point 5 5))", "t"));
  eval_text("(send a set-view-rect '(10 10 20 20))");
  EXPECT_TRUE(gives("(send a get-view-rect)", "(10 10 20 20)"));
  EXPECT_TRUE(gives("(list (send a point-in-view? 10 10) (send a point-in-view? 5 5))", "(t ())"));
  EXPECT_TRUE(gives("(send a get-virtual-rect)", "(0 0 100 100)"));
}

TEST_F(HitTest, GetMouseIsTheCursorInTheWindowsCoordinates) {
  raster::IntPoint p = on_screen("b", {4, 6});
  screen.mouse(platform::InputEvent::Kind::mouse_move, p);
  desktop.pump_input();
  EXPECT_TRUE(gives("(send b get-mouse)", "(6 . 4)"));
  EXPECT_TRUE(gives("(send a get-mouse)", "(26 . 24)"));
}

TEST_F(HitTest, GetBlotterIsThePage) {
  EXPECT_TRUE(gives("((get-blotter) label)", "page"));
  EXPECT_NE(error_code("(send (make-instance obj-tw) get-window-rect)"), -1);
}

}  // namespace
}  // namespace orvane::ui::testing
