// The standard world's symbolic vocabulary: every conversion the window
// layer calls, in a title whose frame's client area is 400 x 300, and the
// errors it reports for what it cannot read.
#include <gtest/gtest.h>

#include "world/world_title.h"

namespace orvane::testing {
namespace {

// Points are (y . x) pairs: make-point takes x then y.
TEST(WorldConversions, SizesAndPositionsAreReadAgainstTheParent) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(check (list (desktop-frame-width) (desktop-frame-height)) '(400 300))
(check (symbolic-size '(120 80)) (make-point 120 80))
(check (symbolic-size (make-point 7 9)) (make-point 7 9))
(check (symbolic-size ()) (make-point 100 100))
(check (symbolic-size 'full) (make-point 400 300))
(check (symbolic-size '(full 40)) (make-point 400 40))
(check (symbolic-size '(50% 25%)) (make-point 200 75))
(check (symbolic-size '(10 100%)) (make-point 10 300))
(check (symbolic-size '(-48 -300)) (make-point 352 0))
(define Box (make-point 100 50))
(check (symbolic-position '(10 20) Box 7) (make-point 10 20))
(check (symbolic-position () Box 7) (make-point 0 0))
(check (symbolic-position 'center Box 7) (make-point 150 125))
(check (symbolic-position '(centre 40) Box 7) (make-point 150 40))
(check (symbolic-position '(right bottom) Box 7) (make-point 300 250))
(check (symbolic-position '(left top) Box 7) (make-point 0 0))
(check (symbolic-position '(-10 -20) Box 7) (make-point 290 230))
(check (symbolic-position '(25% 10%) Box 7) (make-point 100 30))
(check (symbolic-position '(middle 0) Box 7) (make-point 150 0))
(report-checks)
)lisp");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(all_checks_passed(r)) << r.out << r.err;
}

TEST(WorldConversions, ColoursFontsAlignmentsTypesAndCursors) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(check (symbolic-color 'white) '(65535 65535 65535))
(check (symbolic-color 'red) '(65535 0 0))
(check (symbolic-color 'grey) (symbolic-color 'gray))
(check (symbolic-color ()) '(65535 65535 65535))
(check (symbolic-color '(rgb 255 128 0)) '(65535 32896 0))
(check (rgb 1 2 3) '(257 514 771))
(check (symbolic-color "#ff8000") '(65535 32896 0))
(check (symbolic-color "#0A0b0C") (rgb 10 11 12))
(check (symbolic-color '(1 2 3)) '(1 2 3))
(check (symbolic-font ()) '("Arial" 12 0))
(check (symbolic-font 'system) '("Arial" 12 0))
(check (symbolic-font 'title) '("Arial" 18 0))
(check (symbolic-font 'mono) '("Courier New" 12 0))
(check (symbolic-font '("Times New Roman" 14)) '("Times New Roman" 14 0))
(check (symbolic-font '("Arial" 12 bold italic)) '("Arial" 12 3))
(check (symbolic-font '(serif 10 underline strike-out)) '("Times New Roman" 10 132))
(check (symbolic-font '("Arial" 12 5)) '("Arial" 12 5))
(check (symbolic-alignment ()) 0)
(check (symbolic-alignment 'center) 1)
(check (symbolic-alignment 'right) 2)
(check (symbolic-alignment '(right bottom)) 10)
(check (symbolic-alignment '(centre middle)) 5)
(check (symbolic-alignment 9) 9)
(check (symbolic-type ()) 7)
(check (symbolic-type 'plain) 7)
(check (symbolic-type 'dialog) 1)
(check (symbolic-type 'sizable) 0)
(check (symbolic-type 3) 3)
(check (symbolic-cursor ()) 0)
(check (symbolic-cursor 'ibeam) 1)
(check (symbolic-cursor 'wait) 4)
(check (symbolic-cursor 13) 13)
(report-checks)
)lisp");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(all_checks_passed(r)) << r.out << r.err;
}

TEST(WorldConversions, WhatCannotBeReadIsNamedInTheError) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(check-culprit (symbolic-color 'pruple) "unknown colour: pruple")
(check-culprit (symbolic-color "#12345g") "unknown colour: #12345g")
(check-culprit (symbolic-color '(1 2)) "unknown colour: (1 2)")
(check-culprit (symbolic-color '(a b c)) "unknown colour: (a b c)")
(check-culprit (symbolic-size 'huge) "unknown size: huge")
(check-culprit (symbolic-size '(big 10)) "unknown size: big")
(check-culprit (symbolic-size '(50%)) "unknown size: (50%)")
(check-culprit (symbolic-position '(there 0) (make-point 1 1) 7) "unknown position: there")
(check-culprit (symbolic-font '("Arial" 12 heavy)) "unknown font style: heavy")
(check-culprit (symbolic-font 'fancy) "unknown font: fancy")
(check-culprit (symbolic-alignment 'sideways) "unknown alignment: sideways")
(check-culprit (symbolic-alignment '(left under)) "unknown alignment: under")
(check-culprit (symbolic-type 'round) "unknown window type: round")
(check-culprit (symbolic-cursor 'hand-of-god) "unknown cursor: hand-of-god")
(check-culprit (kind-class 'slider) "unknown window kind: slider")
(check-culprit (go-page 'nowhere) "unknown page: nowhere")
(define-page typo () (view v :size '(10 10) :colour 'red))
(check-culprit (go-page 'typo) "unknown property: colour")
(check (bound? 'colour) ())
(check-culprit (define-menus (menu m "M" :colour 'red)) "unknown property: colour")
(report-checks)
)lisp");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(all_checks_passed(r)) << r.out << r.err;
}

TEST(WorldConversions, AnErrorInAPageReachesTheErrorLineAndTheTitleGoesOn) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(define-page broken () (view v :color 'pruple))
(define-page fine () (view w :size '(10 10)))
(define (init-user)
  (catch 'toplevel (go-page 'broken))
  (go-page 'fine)
  (prin "shown ") (prin Current-Page-Name) (new-line))
)lisp");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Error: 0, unknown colour: pruple"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("shown fine"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orvane::testing
