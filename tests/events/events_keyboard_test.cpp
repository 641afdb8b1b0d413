// The keyboard path through the event pump: which keys `system-key-down`
// is offered and with which codes, what a non-nil answer consumes, and
// throws leaving the handler.
#include "support/window_title.h"

namespace orvane::testing {
namespace {

// A toplevel loop that pumps every event until the script's end quits.
constexpr const char* kPumpingLoop = "(define (toplevel-loop) (pump-forever))\n";

class KeyboardTest : public ::testing::Test {
 protected:
  RunResult play(const std::string& lisp, const std::string& events) { return title.play(lisp, events); }
  WindowTitle title;
};

TEST_F(KeyboardTest, SystemKeyDownIsOfferedFunctionAndEditingKeysAndControlLettersOnly) {
  std::string lisp = std::string(kPumpingLoop) +
                     "(define (system-key-down _code) (say 'key _code) nil)\n";
  RunResult r = play(lisp,
                     "key f1\nkey a\nkey 7\nkey ctrl+a\nkey keypad-enter\nkey enter\nkey end\nkey keypad-5\n"
                     "key escape\nkey f15\nkey =\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // A and 7 are typed, not offered; Control alone and keypad 5 (a digit) neither.
  EXPECT_EQ(r.out, "key 378\nkey 65\nkey 3\nkey 13\nkey 46\nkey 27\nkey 369\nkey 61\n");
}

TEST_F(KeyboardTest, TheHandlerRunsWithTheEventFlagRaisedByThePump) {
  std::string lisp = std::string(kPumpingLoop) +
                     "(define (system-key-down _code) (say 'offered _code (get-event-flag)) (= _code 13))\n";
  RunResult r = play(lisp, "key enter\nkey tab\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // One for the toplevel loop's call, one for the pump.
  EXPECT_EQ(r.out, "offered 13 2\noffered 9 2\n");
}

TEST_F(KeyboardTest, AThrowLeavingTheHandlerReachesTheCatchOutsideProcessEvents) {
  std::string lisp =
      "(define (system-key-down _code) (throw 'away _code))\n"
      "(define (toplevel-loop)\n"
      "  (while t (say 'caught (catch 'away (while t (process-events nil))) (get-event-flag))))\n";
  RunResult r = play(lisp, "key f1\nkey f2\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // The catch restores the event flag the pump had raised.
  EXPECT_EQ(r.out, "caught 378 1\ncaught 376 1\n");
}

TEST_F(KeyboardTest, AThrowWithoutCatchIsError17AndThePumpGoesOn) {
  std::string lisp = std::string(kPumpingLoop) +
                     "(define (system-key-down _code) (say 'offered _code) (throw 'nowhere _code))\n";
  RunResult r = play(lisp, "key f1\nkey f2\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "offered 378\noffered 376\n");
  EXPECT_NE(r.err.find("17"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("nowhere"), std::string::npos) << r.err;
}

TEST_F(KeyboardTest, AnErrorInAHandlerIsReportedAndTheNextKeyStillArrives) {
  std::string lisp = std::string(kPumpingLoop) +
                     "(define (system-key-down _code) (say 'offered _code) (car 5))\n";
  RunResult r = play(lisp, "key f1\nkey f2\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "offered 378\noffered 376\n");
  EXPECT_NE(r.err.find("Error"), std::string::npos) << r.err;
}

TEST_F(KeyboardTest, AQuitFromAHandlerEndsTheRunInOrder) {
  std::string lisp = std::string(kPumpingLoop) +
                     "(define (system-key-down _code) (say 'quitting _code) (quit))\n";
  RunResult r = play(lisp, "key escape\nkey f1\nwait 10\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "quitting 27\n");
}

// A throw out of a handler that a send from Lisp reached stops at the
// dispatch's own catch frame: the catch around the send sees a normal
// return, and the pump, finding no catch for the tag any more, raises 17.
TEST_F(KeyboardTest, AThrowWhoseCatchIsGoneWhenThePumpCarriesItOnIsError17) {
  std::string lisp =
      "(obj-test-window (define (appeal) (say label 'appeal) (throw 'tag 'thrown)))\n"
      "(define (system-key-down _code) (say 'inner (catch 'tag (send W1 close) 'closed)) t)\n"
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 40) :type 7)))\n"
      "  (say 'caught (catch 'toplevel (pump-forever))))\n";
  RunResult r = play(lisp, "wait 50\nkey f1\nwait 20\n");
  EXPECT_EQ(lines_starting(r.out, "w1 appeal"), std::vector<std::string>{"w1 appeal"});
  EXPECT_EQ(lines_starting(r.out, "inner"), std::vector<std::string>{"inner closed"});
  EXPECT_EQ(lines_starting(r.out, "caught"), std::vector<std::string>{"caught ()"});
  EXPECT_NE(r.err.find("Error: 17, tag"), std::string::npos) << r.err;
}

// The background poll of a long loop reaches the pump only while the event
// flag is 0 or below.
TEST_F(KeyboardTest, ALoopThatDoesNotPumpIsPolledUnlessTheEventFlagIsRaised) {
  std::string lisp =
      "(define Got nil)\n"
      "(define (system-key-down _code) (set! Got _code) nil)\n"
      "(define (spin-until-key _n) (while (and (not Got) (> _n 0)) (set! _n (- _n 1))) (say 'got Got))\n"
      "(define (toplevel-loop)\n"
      "  (set-event-flag 0)\n"
      "  (without-event (say 'flag (get-event-flag)) (spin-until-key 2000000))\n"
      "  (say 'flag (get-event-flag))\n"
      "  (spin-until-key 20000000)\n"
      "  (quit))\n";
  RunResult r = play(lisp, "key f1\nwait 10000\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "flag 1\ngot ()\nflag 0\ngot 378\n");
}

}  // namespace
}  // namespace orvane::testing
