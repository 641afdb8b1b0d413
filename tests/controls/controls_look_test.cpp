// How controls look: a page with every control in its states against its
// golden frame, the check box's box in a short window, a caption without
// title, a disabled button's grey title, and repaints only on a change.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/control_title.h"
#include "support/golden_image.h"

namespace orvane::testing {
namespace {

using raster::Color;

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kGrayText{128, 128, 128};

TEST(ControlsLook, APageOfEveryControlInItsStates) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (show-control test-button 'b1 Page '(:size (90 26) :position (10 10) :erase? t :title "Plain"))
    (show-control test-button 'b2 Page '(:size (90 26) :position (110 10) :erase? t :title "Default" :default? t))
    (show-control test-button 'b3 Page '(:size (90 26) :position (210 10) :erase? t :title "3D default" :default? t :3d? t))
    (send (show-control test-button 'b4 Page '(:size (90 26) :position (310 10) :erase? t :title "Dimmed")) disable)
    (show-control test-checkbox 'c1 Page '(:size (110 16) :position (10 50) :erase? t :title "Unchecked"))
    (send (show-control test-checkbox 'c2 Page '(:size (110 16) :position (130 50) :erase? t :title "Checked")) set-content t)
    (define c3 (show-control test-checkbox 'c3 Page '(:size (110 16) :position (250 50) :erase? t :title "Dimmed")))
    (send c3 set-content t)
    (send c3 disable)
    (show-control test-choice 'r1 Page '(:size (110 16) :position (10 80) :erase? t :title "Choice"))
    (send (show-control test-choice 'r2 Page '(:size (110 16) :position (130 80) :erase? t :title "Selected")) set-content t)
    (send (show-control test-choice 'r3 Page '(:size (110 16) :position (250 80) :erase? t :title "Dimmed")) disable)
    (show-control test-caption 'l1 Page '(:size (120 40) :position (10 110) :erase? t :title "A caption on the left"))
    (show-control test-caption 'l2 Page '(:size (120 40) :position (140 110) :erase? t :title "Centred, wrapped over two lines")
                  'alignment 1)
    (show-control test-caption 'l3 Page '(:size (120 20) :position (270 110) :erase? t :title "One line only, cut" )
                  'single-line? t))",
                           "wait 100\nframe controls.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::optional<raster::Surface> f = title.frame("controls.png");
  ASSERT_TRUE(f);
  raster::Surface page(400, 160, raster::PixelFormat::rgb32);
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) page.set_pixel(x, y, f->pixel(x, y));
  EXPECT_TRUE(matches_golden(page, "controls", "controls"));
}

TEST(ControlsLook, ShortCheckBoxesCaptionsWithoutTitleAndDimmedButtons) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (define yellow (show-window 'yellow Page '(:size (300 100) :position (0 0) :color yellow :erase? t)))
    (show-control test-checkbox 'short yellow '(:size (60 10) :position (10 10) :title ""))
    (show-control test-caption 'none yellow '(:size (60 20) :position (100 10)))
    (show-control test-caption 'some yellow '(:size (60 20) :position (100 40) :title "Text"))
    (send (show-control test-button 'off yellow '(:size (80 24) :position (180 10) :title "MMMM")) disable))",
                           "wait 100\nframe look.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::optional<raster::Surface> f = title.frame("look.png");
  ASSERT_TRUE(f);
  // The 13-pixel box of a 10-pixel check box starts at its top.
  EXPECT_EQ(f->color_at(10 + 6, 10), kBlack);
  EXPECT_EQ(f->color_at(10, 10 + 5), kBlack);
  // A caption without title leaves what lies under it.
  const Color yellow = f->color_at(5, 5);
  int untouched = 0, inked = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 100; x < 160; ++x) untouched += f->color_at(x, y) == yellow;
  for (int y = 40; y < 60; ++y)
    for (int x = 100; x < 160; ++x) inked += f->color_at(x, y) != yellow;
  EXPECT_EQ(untouched, 60 * 20);
  EXPECT_GT(inked, 10);
  // The dimmed title: grey text with its white shadow.
  int grey = 0, white = 0;
  for (int y = 12; y < 32; ++y)
    for (int x = 182; x < 258; ++x) {
      grey += f->color_at(x, y) == kGrayText;
      white += f->color_at(x, y) == kWhite;
    }
  EXPECT_GT(grey, 20);
  EXPECT_GT(white, 20);
}

TEST(ControlsLook, SettingTheStateAControlHasRepaintsNothing) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (define k (show-control test-checkbox 'k Page '(:size (100 16) :position (10 10) :title "K")))
    (define c (show-control test-choice 'c Page '(:size (100 16) :position (10 40) :title "C")))
    (define b (show-control test-button 'b Page '(:size (100 24) :position (10 70) :title "B")))
    (trace-messages k '(paint))
    (trace-messages c '(paint))
    (trace-messages b '(paint))
    (process-events)
    (say 'same)
    (send k set-content ())
    (send c set-content ())
    (send b enable)
    (process-events)
    (say 'changed)
    (send k set-content t)
    (send c set-content t)
    (send b disable)
    (process-events))",
                           "wait 100\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::vector<std::string> after_same = lines_after(r.out, "same");
  ASSERT_FALSE(after_same.empty());
  EXPECT_EQ(after_same.front(), "changed");
  std::vector<std::string> after_change = lines_after(r.out, "changed");
  std::sort(after_change.begin(), after_change.end());
  after_change.erase(std::unique(after_change.begin(), after_change.end()), after_change.end());
  EXPECT_EQ(after_change, (std::vector<std::string>{"b paint", "c paint", "k paint", "ready"}));
}

TEST(ControlsLook, AFastCaptionDrawsItsNewTitleAtOnceAndAnOtherWaitsForItsPaint) {
  ControlTitle title;
  RunResult r = title.play(R"(
    (define fast (show-control test-caption 'fast Page '(:size (100 20) :position (10 10) :title "Old" :erase? t
                                                         :fast-update? t)))
    (define slow (show-control test-caption 'slow Page '(:size (100 20) :position (10 40) :title "Old" :erase? t)))
    (trace-messages fast '(paint))
    (trace-messages slow '(paint))
    (process-events)
    (say 'set)
    (send fast set-title "MMMMMMMM")
    (send slow set-title "MMMMMMMM")
    (process-events))",
                           "wait 100\nframe captions.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_after(r.out, "set"), (std::vector<std::string>{"slow paint", "ready"}));
  std::optional<raster::Surface> f = title.frame("captions.png");
  ASSERT_TRUE(f);
  auto inked = [&](int top) {
    int n = 0;
    for (int y = top; y < top + 20; ++y)
      for (int x = 10; x < 110; ++x) n += f->color_at(x, y) == kBlack;
    return n;
  };
  EXPECT_GT(inked(10), 60);  // eight M: far more ink than "Old"
  EXPECT_EQ(inked(10), inked(40));
}

}  // namespace
}  // namespace orvane::testing
