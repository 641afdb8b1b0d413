// The run-time's side of the host: the terminal, error lines, the event
// poll and the waits, all through the current host and its clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "library/library_test.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/host.h"
#include "reader/destination.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class HostTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    test_host().use_virtual_clock = true;
    test_host().virtual_clock.advance(1'000'000);
    // Polls of earlier tests were noted on other clocks.
    g_event_poll.last_ms = test_host().virtual_clock.milliseconds();
    g_event_poll.countdown = 1;
  }
  // Long enough to reach the clock check of the event poll several times.
  void busy_loop() { eval_text("(let ((i 0)) (while (< i 20000) (set! i (+ i 1))))"); }
};

TEST_F(HostTest, TheRunTimeReadsTheHostsClock) {
  EXPECT_EQ(&platform::clock(), &test_host().virtual_clock);
  std::int32_t before = integer("(milliseconds)");
  test_host().virtual_clock.advance(1500);
  EXPECT_EQ(integer("(milliseconds)") - before, 1500);
}

TEST_F(HostTest, PrintingGoesToTheHostsTerminal) {
  TestHost& host = test_host();
  host.capture_terminal = true;
  eval_text("(prin \"caf\xE9\")");
  eval_text("(new-line)");
  eval_text("(prin '(1 \"a\"))");
  flush_terminal();
  // The run-time's own text: Windows-1252, lines ending in carriage returns.
  EXPECT_EQ(host.terminal, "caf\xE9\r(1 a)");
  EXPECT_GE(host.flushes, 1);
}

TEST_F(HostTest, ErrorLinesReachTheConsoleInUtf8) {
  test_host().forward_errors = true;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(error_code("(error-subr \"caf\xE9\")"), 0);
  std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("caf\xC3\xA9"), std::string::npos) << written;
  EXPECT_EQ(written.find('\xE9'), std::string::npos) << written;
}

TEST_F(HostTest, TheConsoleFlushesTheTerminalBeforeAnErrorLine) {
  test_host().forward_errors = true;
  std::istringstream in;
  std::ostringstream out;
  platform::Console console(in, out);
  platform::ConsoleRedirect redirect(console);
  platform::host().write_terminal("before");
  EXPECT_EQ(out.str(), "");  // collected, not yet sent
  ::testing::internal::CaptureStderr();
  error_code("(error-subr 1)");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(out.str(), "before");
}

TEST_F(HostTest, ThePollWaitsForThePlatformClock) {
  TestHost& host = test_host();
  busy_loop();
  EXPECT_EQ(host.polls, 0);  // the clock stood still
  host.virtual_clock.advance(99);
  busy_loop();
  EXPECT_EQ(host.polls, 0);
  host.virtual_clock.advance(1);
  busy_loop();
  EXPECT_EQ(host.polls, 1);  // once per 100 ms, however many checks
  busy_loop();
  EXPECT_EQ(host.polls, 1);
}

TEST_F(HostTest, ThePollIsSuspendedByTheEventFlag) {
  test_host().virtual_clock.advance(500);
  ++g_event_poll.event_flag;
  busy_loop();
  --g_event_poll.event_flag;
  EXPECT_EQ(test_host().polls, 0);
  busy_loop();
  EXPECT_EQ(test_host().polls, 1);
}

TEST_F(HostTest, LispRunByAPassDoesNotStartAnother) {
  TestHost& host = test_host();
  int depth = 0, deepest = 0;
  host.on_poll = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    // Lisp that would poll again: the clock moves on while it runs.
    host.virtual_clock.advance(1000);
    busy_loop();
    host.virtual_clock.advance(1000);
    busy_loop();
    --depth;
  };
  host.virtual_clock.advance(100);
  busy_loop();
  EXPECT_EQ(host.polls, 1);
  EXPECT_EQ(deepest, 1);
  EXPECT_FALSE(g_event_poll.in_pass);
  // After the pass, the next one comes when its time has come.
  host.virtual_clock.advance(100);
  busy_loop();
  EXPECT_EQ(host.polls, 2);
}

TEST_F(HostTest, AThrowOutOfAPassEndsThePass) {
  TestHost& host = test_host();
  host.on_poll = [] { throw_to_toplevel(); };
  host.virtual_clock.advance(100);
  EXPECT_EQ(error_code("(let ((i 0)) (while (< i 20000) (set! i (+ i 1))))"), -2);
  EXPECT_FALSE(g_event_poll.in_pass);
  host.on_poll = nullptr;
  host.virtual_clock.advance(100);
  busy_loop();
  EXPECT_EQ(host.polls, 2);
}

TEST_F(HostTest, WaitKeyPumpsEventsUntilAKeyComes) {
  TestHost& host = test_host();
  host.on_poll = [&] {
    if (host.polls == 3) host.keys.push_back(65);
  };
  std::uint64_t start = host.virtual_clock.milliseconds();
  // Passes at 0, 5 and 10 ms; the key is there after the third.
  EXPECT_TRUE(gives("(wait-key 1000)", "(10 . 65)"));
  EXPECT_EQ(host.polls, 3);
  EXPECT_EQ(host.virtual_clock.milliseconds() - start, 10u);
}

TEST_F(HostTest, WaitKeyRunsOutOnThePlatformClock) {
  TestHost& host = test_host();
  std::uint64_t start = host.virtual_clock.milliseconds();
  EXPECT_TRUE(gives("(wait-key 20)", "(20)"));
  EXPECT_EQ(host.virtual_clock.milliseconds() - start, 20u);
  EXPECT_EQ(host.polls, 5);  // at 0, 5, 10, 15 and 20 ms
  EXPECT_TRUE(gives("(wait-key 0)", "(0)"));
}

TEST_F(HostTest, TheLineEditorPumpsEventsWhileItWaitsForInput) {
  TestHost& host = test_host();
  host.event_pump = true;
  define("p", eval_text("(new-ptr 4)"));
  eval_text("(put-string-text \"ok\" p)");
  host.on_poll = [&] {
    if (host.polls == 3) eval_toplevel(read("(set-lecture p 2)"));
  };
  eval_text("(edit-wait)");
  EXPECT_EQ(host.polls, 3);
  EXPECT_TRUE(gives("(editgetc)", "111"));
}

TEST_F(HostTest, TheLineEditorDoesNotWaitWhenNoEventCanCome) {
  eval_text("(edit-wait)");  // no event pump: returns at once
  EXPECT_EQ(test_host().polls, 0);
  // Inside a pass, the pass's own events cannot arrive either.
  TestHost& host = test_host();
  host.event_pump = true;
  int inner_polls = -1;
  host.on_poll = [&] {
    eval_toplevel(read("(edit-wait)"));
    inner_polls = host.polls;
  };
  EXPECT_TRUE(run_event_pass());
  EXPECT_EQ(inner_polls, 1);
}

}  // namespace
}  // namespace orvane
