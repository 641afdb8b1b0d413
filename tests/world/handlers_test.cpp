// The slots a window of the standard world takes instead of a class of its
// own: each handler is called with the window itself.
#include <gtest/gtest.h>

#include "world/world_title.h"

namespace orvane::testing {
namespace {

TEST(WorldHandlers, OnClickAndOnKeyGetTheWindowItself) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(define-page one ()
  (view pad :position '(20 30) :size '(50 40) :handles-keys? t
        :on-click (lambda (_w _x _y)
                    (prin (if (eq? _w (window 'pad)) "click on pad" "click on something else"))
                    (new-line))
        :on-key (lambda (_w _char)
                  (prin (if (eq? _w (window 'pad)) "key on pad" "key on something else"))
                  (new-line))))
(define (init-user) (go-page 'one) (send (window 'pad) set-focus))
)lisp",
                           // The menu bar takes the frame's top 18 rows.
                           "wait 100\nclick 40 60\nwait 50\nclick 200 200\nwait 50\ntype x\nwait 50\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.out), (std::vector<std::string>{"click on pad", "key on pad"})) << r.err;
}

}  // namespace
}  // namespace orvane::testing
