// The scheduler, with a virtual clock: ordering, suspension, killing from
// inside a run, clock processes' start, steps and end.
#include "core/equality.h"
#include "eval/eval.h"
#include "platform/clock.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ProcessesTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
    override_ = std::make_unique<platform::ClockOverride>(clock_);
  }
  void TearDown() override {
    override_.reset();
    EvalTest::TearDown();
  }
  Value n(std::int32_t x) { return num(x); }
  // Advances the virtual clock by a number of ticks (1/60 s).
  void advance_ticks(int ticks) { clock_.advance(static_cast<std::uint64_t>(ticks) * 50 / 3 + 1); }
  // A plain process named `name` whose function notes `tag`.
  Value make(const char* name, int tag, int quantum, Value once = kNil) {
    Value fn = list({sym("lambda"), kNil, list({sym("t-note"), n(tag)})});
    Value p = run(list({sym("new-process"), fn, quoted(sym(name)), n(quantum), kNil, once, kNil}));
    set_symbol_global(sym(name), p);
    return p;
  }
  void give_time() { run(list({sym("give-time")})); }
  std::vector<Value>& log() { return evaluation_log(); }

  platform::VirtualClock clock_{1000000};
  std::unique_ptr<platform::ClockOverride> override_;
};

TEST_F(ProcessesTest, EqualWakeUpTimesRunInStartOrder) {
  make("pa", 1, 60);
  make("pb", 2, 60);
  run(list({sym("run-process"), sym("pa")}));
  run(list({sym("run-process"), sym("pb")}));
  give_time();
  give_time();
  ASSERT_EQ(log().size(), 2u);
  EXPECT_EQ(log()[0], n(1));
  EXPECT_EQ(log()[1], n(2));
  give_time();  // neither is due again yet
  EXPECT_EQ(log().size(), 2u);
  advance_ticks(60);
  give_time();
  EXPECT_EQ(log().back(), n(1));
}

TEST_F(ProcessesTest, QuantumZeroRunsAtEveryCall) {
  make("pz", 7, 0);
  run(list({sym("run-process"), sym("pz")}));
  for (int i = 0; i < 5; ++i) give_time();
  EXPECT_EQ(log().size(), 5u);
}

TEST_F(ProcessesTest, ASuspendedFirstProcessBlocksTheOthers) {
  make("ps", 1, 0);
  make("pt", 2, 0);
  run(list({sym("run-process"), sym("ps")}));
  run(list({sym("run-process"), sym("pt")}));
  run(list({sym("suspend-process"), quoted(sym("ps"))}));
  give_time();
  give_time();
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(run(list({sym("process-suspended?"), sym("ps")})), g_sym.t);
  run(list({sym("resume-process"), sym("ps")}));
  give_time();
  ASSERT_EQ(log().size(), 1u);
  EXPECT_EQ(log()[0], n(1));
}

TEST_F(ProcessesTest, KillingItselfDuringARunDestroysItAfterTheRun) {
  Value fn = list({sym("lambda"), kNil, list({sym("t-note"), n(1)}), list({sym("kill-process"), sym("pk")})});
  Value p = run(list({sym("new-process"), fn, quoted(sym("pk")), n(0), kNil, kNil, kNil}));
  set_symbol_global(sym("pk"), p);
  run(list({sym("run-process"), sym("pk")}));
  give_time();
  give_time();
  EXPECT_EQ(log().size(), 1u);
  EXPECT_EQ(pointer_address(p), 0u);  // the Value wraps nothing now
  EXPECT_EQ(run(list({sym("get-processes")})), kNil);
  EXPECT_EQ(error_of(list({sym("get-process-name"), sym("pk")})), 2);
}

TEST_F(ProcessesTest, AnErrorKillsOnlyTheProcessThatRaisedIt) {
  Value bad = list({sym("lambda"), kNil, list({sym("no-such-function")})});
  set_symbol_global(sym("pbad"), run(list({sym("new-process"), bad, quoted(sym("pbad")), n(0), kNil, kNil, kNil})));
  make("pgood", 5, 0);
  run(list({sym("run-process"), sym("pbad")}));
  run(list({sym("run-process"), sym("pgood")}));
  give_time();  // pbad fails and is destroyed
  give_time();
  ASSERT_EQ(log().size(), 1u);
  EXPECT_EQ(log()[0], n(5));
  EXPECT_EQ(list_length(run(list({sym("get-processes")}))), 1u);
}

TEST_F(ProcessesTest, SetQuantumMovesTheWakeUpTime) {
  make("pq", 1, 100);
  run(list({sym("run-process"), sym("pq")}));
  Value before = run(list({sym("get-process-wake-up"), sym("pq")}));
  run(list({sym("set-process-quantum"), sym("pq"), n(5)}));
  Value after = run(list({sym("get-process-wake-up"), sym("pq")}));
  EXPECT_EQ(integer_of(after) - integer_of(before), 5);
  EXPECT_EQ(run(list({sym("get-process-quantum"), sym("pq")})), n(5));
}

TEST_F(ProcessesTest, GetProcessesListsTheLatestFirst) {
  make("early", 1, 10);
  make("late", 2, 500);
  run(list({sym("run-process"), sym("late")}));
  run(list({sym("run-process"), sym("early")}));
  give_time();
  give_time();  // both ran once; early is due again first
  Value l = run(list({sym("get-processes")}));
  ASSERT_EQ(list_length(l), 2u);
  EXPECT_EQ(car(l), symbol_global(sym("late")));
  EXPECT_EQ(run(list({sym("find-process"), quoted(sym("early"))})), symbol_global(sym("early")));
}

TEST_F(ProcessesTest, ClockProcessStartsStepsAndEnds) {
  // (new-clock-process start step end name delay duration quantum context)
  Value start = list({sym("lambda"), kNil, list({sym("t-note"), quoted(sym("start"))})});
  Value step = list({sym("lambda"), list({var("e")}), list({sym("t-note"), var("e")})});
  Value end = list({sym("lambda"), kNil, list({sym("t-note"), quoted(sym("end"))})});
  Value p = run(list({sym("new-clock-process"), start, step, end, quoted(sym("anim")), n(30), n(100), n(10), kNil}));
  set_symbol_global(sym("anim"), p);
  run(list({sym("run-process"), sym("anim")}));
  give_time();
  EXPECT_TRUE(log().empty());  // not due before the delay
  advance_ticks(30);
  give_time();
  ASSERT_EQ(log().size(), 2u);
  EXPECT_EQ(log()[0], sym("start"));
  EXPECT_EQ(log()[1], n(30));
  for (int i = 0; i < 10; ++i) {
    advance_ticks(10);
    give_time();
  }
  EXPECT_EQ(log().back(), sym("end"));
  EXPECT_EQ(pointer_address(p), 0u);
  // Every step between start and end got a growing elapsed time.
  for (std::size_t i = 2; i + 1 < log().size(); ++i) EXPECT_LT(integer_of(log()[i - 1]), integer_of(log()[i]));
}

TEST_F(ProcessesTest, ProcessFunctionsSurviveCollectionsBeforeTheyStart) {
  make("pgc", 9, 0);
  run(list({sym("recycle"), n(0)}));
  run(list({sym("run-process"), sym("pgc")}));
  give_time();
  ASSERT_EQ(log().size(), 1u);
  EXPECT_EQ(log()[0], n(9));
}

}  // namespace
}  // namespace orvane
