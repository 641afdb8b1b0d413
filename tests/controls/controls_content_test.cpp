// The state of controls as titles set and read it: check box and choice
// content, choices in one parent excluding each other, the button's default
// and 3D flags with its view rect, and enabling.
#include <gtest/gtest.h>

#include "controls/control_title.h"

namespace orvane::testing {
namespace {

TEST(ControlsContent, ChoicesOfOneParentExcludeEachOtherAndLeaveOtherSiblingsAlone) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (define box (show-window 'box Page '(:size (200 200) :position (10 10))))
    (define a (show-control test-choice 'a box '(:size (80 16) :position (0 0) :title "A")))
    (define b (show-control test-choice 'b box '(:size (80 16) :position (0 20) :title "B")))
    (define c (show-control test-choice 'c box '(:size (80 16) :position (0 40) :title "C")))
    (define check (show-control test-checkbox 'check box '(:size (80 16) :position (0 60) :title "K")))
    (define elsewhere (show-control test-choice 'elsewhere Page '(:size (80 16) :position (250 0))))
    (define (states) (list (send a get-content) (send b get-content) (send c get-content)
                           (send check get-content) (send elsewhere get-content)))
    (say 'opened (states))
    (send check set-content t)
    (send elsewhere set-content t)
    (send a set-content t)
    (say 'a (states))
    (send c set-content 'yes)
    (say 'c (states))
    (send c set-content ())
    (say 'none (states))
    (send check set-content ())
    (say 'unchecked (states)))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "opened"), std::vector<std::string>{"opened (() () () () ())"});
  EXPECT_EQ(lines_starting(r.out, "a "), std::vector<std::string>{"a (t () () t t)"});
  EXPECT_EQ(lines_starting(r.out, "c "), std::vector<std::string>{"c (() () t t t)"});
  EXPECT_EQ(lines_starting(r.out, "none"), std::vector<std::string>{"none (() () () t t)"});
  EXPECT_EQ(lines_starting(r.out, "unchecked"), std::vector<std::string>{"unchecked (() () () () t)"});
}

TEST(ControlsContent, TheDefaultButtonsViewRectIsInsetUnless3DAndTitlesAreReported) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (set! Say-Titles? t)
    (define ok (show-control test-button 'ok Page '(:size (80 24) :position (10 10) :title "OK" :default? t)))
    (define plain (show-control test-button 'plain Page '(:size (80 24) :position (10 40) :title "Go")))
    (say 'flags (send ok get-default?) (send ok get-3d?) (send plain get-default?))
    (say 'views (send ok get-view-rect) (send plain get-view-rect))
    (send ok set-3d? t)
    (say '3d (send ok get-3d?) (send ok get-view-rect))
    (send ok set-3d? ())
    (send plain set-default? t)
    (send plain set-default? t)
    (say 'default (send plain get-view-rect))
    (send plain set-title "Stop")
    (say 'title (send plain get-title) (send plain get-view-rect))
    (say 'enabled (send plain enabled?))
    (send plain disable)
    (say 'disabled (send plain enabled?))
    (send plain enable)
    (say 'enabled-again (send plain enabled?)))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "flags"), std::vector<std::string>{"flags t () ()"});
  EXPECT_EQ(lines_starting(r.out, "views"), std::vector<std::string>{"views (3 3 77 21) (0 0 80 24)"});
  EXPECT_EQ(lines_starting(r.out, "3d"), std::vector<std::string>{"3d t (0 0 80 24)"});
  // The default flag changing once sends title-update with the title; the
  // same value again does nothing.
  EXPECT_EQ(lines_starting(r.out, "plain title-update"),
            (std::vector<std::string>{"plain title-update Go", "plain title-update Go"}));
  EXPECT_EQ(lines_starting(r.out, "default"), std::vector<std::string>{"default (3 3 77 21)"});
  EXPECT_EQ(lines_starting(r.out, "title "), std::vector<std::string>{"title Stop (3 3 77 21)"});
  EXPECT_EQ(lines_starting(r.out, "enabled"),
            (std::vector<std::string>{"enabled t", "enabled-again t"}));
  EXPECT_EQ(lines_starting(r.out, "disabled"), std::vector<std::string>{"disabled ()"});
}

}  // namespace
}  // namespace orvane::testing
