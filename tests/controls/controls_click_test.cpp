// Controls under the mouse in headless titles: a button selects once when
// released over it and never when released elsewhere or disabled, its
// pressed look follows the pointer; check boxes toggle and choices select
// through mouse-down, mouse-drag and mouse-up.
#include <gtest/gtest.h>

#include "controls/control_title.h"

namespace orvane::testing {
namespace {

using raster::Color;

constexpr Color kHighlight{255, 255, 255};
constexpr Color kShadow{128, 128, 128};

TEST(ControlsClick, AButtonSelectsOnceReleasedOverItAndNeverElsewhereOrDisabled) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (show-control test-button 'b Page '(:size (80 24) :position (20 20) :title "Press"))
    (define d (show-control test-button 'd Page '(:size (80 24) :position (20 60) :title "Off")))
    (send d disable))",
                           // Inside and released inside; out and released outside; out and
                           // back in; the disabled button.
                           "wait 50\nclick 40 30\nwait 50\n"
                           "move 40 30\npress\nwait 20\nmove 300 200\nwait 20\nrelease\nwait 50\n"
                           "move 40 30\npress\nwait 20\nmove 300 200\nwait 20\nmove 50 35\nwait 20\nrelease\nwait 50\n"
                           "click 40 70\nwait 50\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_after(r.out), (std::vector<std::string>{"b select ()", "b select ()"}));
}

TEST(ControlsClick, TheButtonLooksPressedOnlyWhileThePointerIsOverIt) {
  ControlTitle title;
  RunResult r = title.play(R"((show-control test-button 'b Page '(:size (80 24) :position (20 20) :title "Press")))",
                           "wait 50\nframe raised.png\nmove 40 30\npress\nwait 20\nframe pressed.png\n"
                           "move 300 200\nwait 20\nframe out.png\nrelease\nwait 50\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::optional<raster::Surface> raised = title.frame("raised.png"), pressed = title.frame("pressed.png"),
                                 out = title.frame("out.png");
  ASSERT_TRUE(raised && pressed && out);
  // The top-left edge: highlight raised, shadow pressed.
  EXPECT_EQ(raised->color_at(25, 20), kHighlight);
  EXPECT_EQ(pressed->color_at(25, 20), kShadow);
  EXPECT_EQ(out->color_at(25, 20), kHighlight);
  EXPECT_EQ(lines_after(r.out), std::vector<std::string>{});
}

TEST(ControlsClick, CheckBoxesToggleAndChoicesSelectWhenReleasedOverThem) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (test-checkbox (define (select _arg) (say label 'select _arg (get-content))))
    (test-choice (define (select _arg) (say label 'select _arg (send a get-content) (send b get-content))))
    (define box (show-window 'box Page '(:size (300 200) :position (0 0))))
    (show-control test-checkbox 'k box '(:size (100 16) :position (20 10) :title "Check"))
    (define a (show-control test-choice 'a box '(:size (100 16) :position (20 40) :title "A")))
    (define b (show-control test-choice 'b box '(:size (100 16) :position (20 60) :title "B")))
    (define off (show-control test-checkbox 'off box '(:size (100 16) :position (20 90) :title "Off")))
    (send off disable))",
                           "wait 50\nclick 25 15\nwait 20\nclick 25 15\nwait 20\n"
                           "drag 25 15 250 150 3\nwait 20\n"
                           "click 25 45\nwait 20\nclick 25 65\nwait 20\nclick 25 95\nwait 20\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_after(r.out), (std::vector<std::string>{"k select () t", "k select () ()", "a select () t ()",
                                                          "b select () () t"}));
}

TEST(ControlsClick, ControlsClosedByTheirOwnSelectLeaveNothingBehind) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (test-button (define (select _arg) (say label 'select) (destroy)))
    (test-checkbox (define (select _arg) (say label 'select) (destroy)))
    (test-choice (define (select _arg) (say label 'select) (destroy)))
    (define box (show-window 'box Page '(:size (300 200) :position (0 0))))
    (show-control test-button 'b box '(:size (80 24) :position (20 10) :title "Go"))
    (show-control test-checkbox 'k box '(:size (80 16) :position (20 50) :title "K"))
    (show-control test-choice 'c box '(:size (80 16) :position (20 80) :title "C"))
    (show-control test-choice 'd box '(:size (80 16) :position (20 100) :title "D")))",
                           "wait 50\nclick 30 20\nwait 20\nclick 25 55\nwait 20\nclick 25 85\nwait 20\n"
                           "click 30 20\nwait 20\nclick 25 55\nwait 20\nclick 25 105\nwait 20\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // Once gone, their places are the box's.
  EXPECT_EQ(lines_after(r.out),
            (std::vector<std::string>{"b select", "k select", "c select", "box mouse-down-system 30 20",
                                      "box default-mouse-down 30 20", "box mouse-up-system 30 20",
                                      "box mouse-down-system 25 55", "box default-mouse-down 25 55",
                                      "box mouse-up-system 25 55", "d select"}));
}

}  // namespace
}  // namespace orvane::testing
