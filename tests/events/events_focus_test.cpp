// Keys reaching the key focus window, and focus changes.
#include <gtest/gtest.h>

#include "events/event_lines.h"

namespace orvane::testing {
namespace {

TEST(EventsFocus, CharactersGoToTheKeyFocusWindowUnlessSystemKeyDownTookTheKey) {
  WindowTitle title;
  RunResult r = title.play(
      "(obj-test-window\n"
      "  (define (key-down _c) (say label 'key-down _c))\n"
      "  (define (activate-focus) (say label 'activate-focus))\n"
      "  (define (deactivate-focus) (say label 'deactivate-focus)))\n"
      "(define (system-key-down _code)\n"
      "  (cond ((= _code 378) (set-focus W2) (say 'focus (eq? (get-focus) W2)) t)\n"
      "        ((= _code 376) (set-focus ()) (say 'focus (get-focus)) t)\n"
      "        (t (= _code 13))))\n"
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7) 'handles-keys? t))\n"
      "  (set! W2 (show-window 'w2 W1 '(:size (40 30) :position (50 40) :type 7)))\n"
      "  (say 'ready (eq? (get-focus) W1))\n"
      "  (pump-forever))",
      "wait 50\ntype a\nkey enter\nkey tab\nkey f1\ntype b\nkey f1\nkey f2\ntype c\nwait 20\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // The window took the focus when it was activated.
  EXPECT_EQ(lines_starting(r.out, "ready"), Lines{"ready t"});
  EXPECT_EQ(lines_after(r.out), (Lines{"w1 key-down 97",
                         // Enter was taken by system-key-down; Tab was not.
                         "w1 key-down 9",
                         "w1 deactivate-focus", "w2 activate-focus", "focus t", "w2 key-down 98",
                         // The same window again: nothing changes.
                         "focus t",
                         "w2 deactivate-focus", "focus ()"}));
}

}  // namespace
}  // namespace orvane::testing
