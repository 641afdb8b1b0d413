// The event primitives read inside handlers: the mouse-down state, the
// mouse's point, the modifier keys, flushing, and the event flag.
#include <gtest/gtest.h>

#include "events/event_lines.h"

namespace orvane::testing {
namespace {

TEST(EventsPrimitives, InsideAPressTheMouseStateAndModifiersAreReadAndFlushingEndsThePress) {
  WindowTitle title;
  RunResult r = title.play(
      "(obj-test-window (define (mouse-down-system _x _y)\n"
      "  (say label 'down (stilldown) (in-mouse-down?) (has-mouse-moved? (make-point _x _y))\n"
      "       (has-mouse-moved? (make-point 0 0)) (eq? (mouse-window) W1) (shift-key?) (control-key?)\n"
      "       (option-key?) (menu-key?) (cmd-key?) (last-click-time))\n"
      "  (if (shift-key?) (flush-mouse-events))\n"
      "  (say label 'after (in-mouse-down?))))\n"
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7)))\n"
      "  (say 'ready)\n"
      "  (pump-forever))",
      "wait 50\nmove 25 35\npress\nwait 50\nrelease\nwait 600\nkey-down shift\nclick 25 35\nkey-up shift\n"
      "wait 600\nkey-down ctrl\nclick 25 35\nkey-up ctrl\nwait 600\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_after(r.out), (Lines{"w1 down t t () t t () () () () () 0", "w1 after t", "w1 mouse-up-system 5 5",
                                       // Shift held: the press is flushed and no release is sent.
                                       "w1 down t t () t t t () () () () 0", "w1 after ()",
                                       "w1 down t t () t t () t () t () 0", "w1 after t",
                                       "w1 mouse-up-system 5 5"}));
}

TEST(EventsPrimitives, WithoutEventRaisesTheFlagAroundItsBodyAndAnswersItsValue) {
  WindowTitle title;
  RunResult r = title.play(
      "(define (toplevel-loop)\n"
      "  (say 'start (get-event-flag))\n"
      "  (say 'inside (without-event (get-event-flag)) 'after (get-event-flag))\n"
      "  (say 'nested (without-event (without-event (get-event-flag))))\n"
      "  (say 'thrown (catch 'out (without-event (throw 'out (get-event-flag)))) (get-event-flag))\n"
      "  (set-event-flag -3)\n"
      "  (say 'set (get-event-flag))\n"
      "  (quit))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.out), (Lines{"start 1", "inside 2 after 1", "nested 3", "thrown 2 1", "set -3"}));
}

}  // namespace
}  // namespace orvane::testing
