// Painting in headless titles: pages with nested windows, frames, erase and
// opaque flags, click-zone backgrounds, offscreen buffers at two levels with
// masks, `copy-offscreen`, scrolling, repaint counts, drawing on windows.
#include <gtest/gtest.h>

#include "paint_golden.h"
#include "support/window_title.h"

namespace orvane::testing {
namespace {

RunResult run_in_page(WindowTitle& title, const std::string& body, const std::string& events) {
  return title.play("(define (toplevel-loop) (open-page 320 200)\n" + body + "\n(pump-forever))", events);
}

TEST(PaintTitle, NestedWindowsPaintBackToFrontWithFramesInsideTheirFrameWidth) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (10 10) :type 7 :color (65535 65535 0) :erase? t)))
    (define b (show-window 'b a '(:size (120 80) :position (20 20) :color blue :erase? t :frame? t)))
    (define c (show-window 'c b '(:size (40 40) :position (100 50) :color red :erase? t))))",
                            "wait 100\nframe nested.png\n");
    ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  expect_golden_frame(title, "nested.png");
}

}  // namespace
}  // namespace orvane::testing
