// A Lisp session: start-up with every module, evaluation that reports errors
// through the host and goes on, and results shown on the host's terminal.
#include <gtest/gtest.h>

#include "reader/reader.h"
#include "shell/session.h"
#include "support/runtime_fixture.h"
#include "support/test_host.h"

namespace orvane {
namespace {

using testing::TestHost;

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { host.capture_terminal = true; }
  TestHost host;
  shell::LispSession session{testing::small_config()};
};

TEST_F(SessionTest, ResultsAreShownOnTheTerminal) {
  Value result;
  ASSERT_TRUE(session.eval_datum(read_from_text("(cons 1 \"caf\xE9\")"), &result));
  session.show_result(result);
  EXPECT_EQ(host.terminal, "(1 . \"caf\xE9\")\r");
  EXPECT_GE(host.flushes, 1);
}

TEST_F(SessionTest, AnErrorIsReportedAndTheNextDatumRuns) {
  TextSource source("(car 5) (prin 7)");
  EXPECT_FALSE(session.run_source(source));
  EXPECT_EQ(host.last_alert.rfind("Error: 2, 5", 0), 0u) << host.last_alert;
  EXPECT_EQ(host.terminal, "7");
}

TEST_F(SessionTest, ASourceWithoutErrorsSucceeds) {
  TextSource source("(define x 3) (prin (+ x 1))");
  EXPECT_TRUE(session.run_source(source));
  EXPECT_EQ(host.terminal, "4");
  EXPECT_TRUE(host.last_alert.empty());
}

}  // namespace
}  // namespace orvane
