// The mouse state machine in headless titles: what clicks, double clicks,
// drags and moves send to window objects, a modal window's `out-of-modal`,
// windows closed and throws escaping inside their own handlers, and the
// pump's masks.
#include <gtest/gtest.h>

#include "events/event_lines.h"

namespace orvane::testing {
namespace {

// Runs `body` in a 400 x 300 page, then pumps until the script ends.
RunResult run_in_page(WindowTitle& title, const std::string& setup, const std::string& body,
                      const std::string& events) {
  return title.play(setup + "\n(define (toplevel-loop) (open-page 400 300)\n" + body + "\n(say 'ready)\n(pump-forever))",
                    events);
}

// w1 in the page at (20 30), w2 inside it at (10 10): w2 covers page points
// (30..70, 40..70).
constexpr const char* kTwoWindows =
    "(set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7 :can-double-click? t)))\n"
    "(set! W2 (show-window 'w2 W1 '(:size (40 30) :position (10 10) :type 7 :can-double-click? ()) 'draggable? t))\n";

TEST(EventsMouse, ClicksReachTheWindowUnderThePointInItsCoordinatesAndDoubleClicksOnlyWhereAllowed) {
  WindowTitle title;
  RunResult r = run_in_page(title,
                            "(obj-test-window (define (mouse-up-system _x _y)\n"
                            "  (say label 'mouse-up-system _x _y 'double (double-click? nil) (double-click? W1)\n"
                            "       'down (in-mouse-down?) 'last (eq? (last-click-window) self-object)\n"
                            "       (last-click-point))))\n"
                            "(obj-test-window (define (ready-mouse-drag? _x _y) ()))\n"
                            "(define self-object ())\n"
                            "(obj-test-window (define (mouse-down-system _x _y) (set! self-object (mouse-window))\n"
                            "  (say label 'mouse-down-system _x _y (in-mouse-down?))))",
                            kTwoWindows,
                            "wait 50\nclick 300 200\nwait 600\nclick 25 35\nwait 600\ndouble-click 90 90\nwait 600\n"
                            "double-click 40 50\nwait 600\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_after(r.out),
            (Lines{// The empty page: nothing.
                   "w1 mouse-down-system 5 5 t", "w1 mouse-up-system 5 5 double () () down () last t (5 . 5)",
                   "w1 mouse-down-system 70 60 t", "w1 mouse-up-system 70 60 double () () down () last t (60 . 70)",
                   "w1 mouse-down-system 70 60 t", "w1 mouse-up-system 70 60 double t t down () last t (60 . 70)",
                   // w2 does not take double clicks: two single presses.
                   "w2 mouse-down-system 10 10 t", "w2 mouse-up-system 10 10 double () () down () last t (10 . 10)",
                   "w2 mouse-down-system 10 10 t", "w2 mouse-up-system 10 10 double () () down () last t (10 . 10)"}));
}

TEST(EventsMouse, MovesReportEnteringAndLeavingOnlyWhenThePointChangesUnlessResetMouseForcesIt) {
  WindowTitle title;
  RunResult r = run_in_page(title,
                            "(define (system-key-down _code) (reset-mouse) (say 'reset (last-mouse-point)) t)",
                            std::string(kTwoWindows) + "(set! Say-Moves? t)",
                            "wait 50\nmove 25 35\nwait 20\nmove 25 35\nwait 20\nkey f1\nwait 20\nmove 40 50\nwait 20\n"
                            "move 300 200\nwait 20\nmove 300 200\nwait 20\nkey f1\nwait 20\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_after(r.out),
            (Lines{"w1 enter-mouse", "w1 mouse-move-system 5 5",
                   // The same point again: nothing; after reset-mouse the same point is reported.
                   "reset (-1 . -1)", "w1 mouse-move-system 5 5",
                   "w1 exit-mouse", "w2 enter-mouse", "w2 mouse-move-system 10 10",
                   "w2 exit-mouse", "page enter-mouse", "page mouse-move-system 300 200",
                   "reset (-1 . -1)", "page mouse-move-system 300 200"}));
}

TEST(EventsMouse, ADragStartsWhenTheWindowIsReadyAndMovesThenGoOutAsDragsFromTheClick) {
  WindowTitle title;
  RunResult r = run_in_page(title,
                            "(obj-test-window (define (get-draggable? _x _y) (say label 'get-draggable? _x _y) ())\n"
                            "  (define (ready-mouse-drag? _x _y) (say label 'ready-mouse-drag? _x _y) draggable?))",
                            kTwoWindows, "wait 50\ndrag 40 50 60 60 2\nwait 20\ndrag 25 35 45 45 2\nwait 20\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_after(r.out), (Lines{"w2 ready-mouse-drag? 10 10", "w2 get-draggable? 10 10",
                                       "w2 mouse-down-system 10 10", "w2 default-mouse-down 10 10",
                                       "w2 mouse-drag-system 30 20 20 10", "w2 mouse-up-system 30 20",
                                       // w1 is not draggable: asked at the press and at each move.
                                       "w1 ready-mouse-drag? 5 5", "w1 mouse-down-system 5 5",
                                       "w1 default-mouse-down 5 5", "w1 ready-mouse-drag? 25 15",
                                       "w1 mouse-up-system 25 15"}));
}

TEST(EventsMouse, WithAModalWindowAPressElsewhereSendsOnlyOutOfModal) {
  WindowTitle title;
  RunResult r = run_in_page(
      title, "(obj-test-window (define (out-of-modal _x _y) (say label 'out-of-modal _x _y (in-mouse-down?))))",
      "(set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7)))\n"
      "(set! W3 (show-window 'w3 Page '(:size (100 80) :position (200 30) :type 7)))\n"
      "(send Page set-modal W3)",
      "wait 50\nclick 25 35\nwait 600\nclick 350 250\nwait 600\nclick 210 40\nwait 600\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_after(r.out), (Lines{"w3 out-of-modal 25 35 ()", "w3 out-of-modal 350 250 ()",
                                       "w3 mouse-down-system 10 10", "w3 default-mouse-down 10 10",
                                       "w3 mouse-up-system 10 10"}));
}

TEST(EventsMouse, ClickingABackWindowDeactivatesTheFrontOneAndActivatesIt) {
  WindowTitle title;
  RunResult r = run_in_page(title, "",
                            "(set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7)))\n"
                            "(set! W2 (show-window 'w2 Page '(:size (100 80) :position (200 30) :type 7)))\n"
                            "(trace-messages W1 '(activate deactivate))\n(trace-messages W2 '(activate deactivate))",
                            "wait 50\nclick 25 35\nwait 600\nclick 25 35\nwait 600\nclick 210 40\nwait 600\n");
  ASSERT_EQ(r.status, 0) << r.err;
  Lines activation = lines_where(lines_after(r.out), [](const std::string& l) {
    return has(l, "activate") || has(l, "expose") || has(l, "mouse-down-system");
  });
  EXPECT_EQ(activation, (Lines{"w2 deactivate", "w2 deexpose", "w1 activate", "w1 expose",
                               "w1 mouse-down-system 5 5",
                               // Already in front: no activation again.
                               "w1 mouse-down-system 5 5",
                               "w1 deactivate", "w1 deexpose", "w2 activate", "w2 expose",
                               "w2 mouse-down-system 10 10"}));
}

TEST(EventsMouse, AWindowClosedInItsOwnHandlerGetsNoMoreAndAThrowReachesTheCatchOutsideThePump) {
  WindowTitle title;
  RunResult r = title.play(
      "(obj-test-window (define (mouse-down-system _x _y)\n"
      "  (say label 'mouse-down-system _x _y)\n"
      "  (cond ((eq? label 'closer) (send W1 close) (say 'closed-inside (send W1 object-opened?)))\n"
      "        ((eq? label 'thrower) (throw 'away label)))))\n"
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W1 (show-window 'closer Page '(:size (100 80) :position (20 30) :type 7)))\n"
      "  (set! W2 (show-window 'thrower Page '(:size (100 80) :position (200 30) :type 7)))\n"
      "  (trace-messages W1 '(appeal destroy))\n"
      "  (say 'ready)\n"
      "  (while t (say 'caught (catch 'away (pump-forever)) (get-event-flag))))",
      "wait 50\nclick 25 35\nwait 600\nclick 25 35\nwait 600\nclick 210 40\nwait 600\nclick 210 40\nwait 600\n");
  ASSERT_EQ(r.status, 0) << r.err;
  Lines closer = lines_where(lines_after(r.out), [](const std::string& l) { return starts(l, "closer") && !has(l, "expose"); });
  EXPECT_EQ(closer, (Lines{"closer mouse-down-system 5 5", "closer appeal", "closer hide-event", "closer destroy"}));
  EXPECT_EQ(lines_starting(r.out, "closed-inside"), Lines{"closed-inside ()"});
  // The throw goes on after the press's dispatch; the release still arrives.
  Lines thrower =
      lines_where(lines_after(r.out), [](const std::string& l) { return starts(l, "thrower m") || starts(l, "caught"); });
  EXPECT_EQ(thrower, (Lines{"thrower mouse-down-system 10 10", "caught thrower 1", "thrower mouse-up-system 10 10",
                            "thrower mouse-down-system 10 10", "caught thrower 1", "thrower mouse-up-system 10 10"}));
}

TEST(EventsMouse, AMaskTakesOnlyItsClassesAndMovesDoNotHoldTheInputBehindThem) {
  WindowTitle title;
  RunResult r = run_in_page(title,
                            "(obj-test-window (define (key-down _c) (say label 'key-down _c)))\n"
                            "(define (system-key-down _code) (say 'system-key-down _code) ())\n"
                            "(define (pump _mask _times) (while (> _times 0) (process-events _mask) "
                            "(set! _times (- _times 1))))",
                            "(set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 30) :type 7) "
                            "'handles-keys? t))\n"
                            "(say 'mask-0) (pump 0 50) (say 'mask-256) (pump 256 50) (say 'mask-2) (pump 2 50)\n"
                            "(say 'mask-8) (pump 8 50) (say 'all)",
                            "click 25 35\nkey f1\ntype z\nwait 500\n");
  ASSERT_EQ(r.status, 0) << r.err;
  Lines lines = lines_of(r.out);
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_LT(at("mask-2"), at("w1 mouse-down-system 5 5"));
  EXPECT_LT(at("w1 mouse-up-system 5 5"), at("mask-8"));
  EXPECT_LT(at("mask-8"), at("system-key-down 378"));
  EXPECT_LT(at("w1 key-down 122"), at("all"));
  EXPECT_LT(at("w1 key-down 122"), static_cast<std::ptrdiff_t>(lines.size()));
}

}  // namespace
}  // namespace orvane::testing
