// A title that computes for long without pumping: the evaluator's background
// poll of the event pump keeps its windows painted, unless the title raised
// the event flag.
#include "support/window_title.h"

namespace orvane::testing {
namespace {

std::string spinning_title(const std::string& spin) {
  return "(define (spin _n) (while (> _n 0) (set! _n (- _n 1))))\n"
         "(define (toplevel-loop)\n"
         "  (set-event-flag 0)\n"
         "  (open-page 200 120)\n"
         "  (define w (show-window 'w Page '(:size (80 40) :position (10 10) :color red :erase? t)))\n"
         "  " + spin + "\n"
         "  (say 'paints (w paints))\n"
         "  (quit))\n";
}

TEST(BackgroundPollTest, ALongLoopKeepsANewWindowPainted) {
  WindowTitle title;
  RunResult r = title.play(spinning_title("(spin 3000000)"), "wait 20000\n");
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<std::string> said = lines_starting(r.out, "paints");
  ASSERT_EQ(said.size(), 1u) << r.out;
  EXPECT_NE(said[0], "paints 0") << "the window was never painted while the loop ran";
}

TEST(BackgroundPollTest, NothingIsPaintedWhileTheEventFlagIsRaised) {
  WindowTitle title;
  RunResult r = title.play(spinning_title("(without-event (spin 3000000))"), "wait 20000\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "paints"), std::vector<std::string>{"paints 0"});
}

}  // namespace
}  // namespace orvane::testing
