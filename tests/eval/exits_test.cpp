// Non-local exits through every kind of context record, and the error path.
#include "core/equality.h"
#include "eval/context.h"
#include "eval/eval.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ExitsTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
  }
  Value n(std::int32_t x) { return num(x); }
  Value catch_(Value tag, std::initializer_list<Value> body) {
    Value forms = list_of(body);
    return cons(sym("catch"), cons(quoted(tag), forms));
  }
  Value throw_(Value tag, Value v) { return list({sym("throw"), quoted(tag), v}); }
};

TEST_F(ExitsTest, CatchAndThrow) {
  EXPECT_EQ(run(catch_(sym("a"), {throw_(sym("a"), n(5)), n(6)})), n(5));
  EXPECT_EQ(run(catch_(sym("a"), {n(7)})), n(7));
  EXPECT_EQ(run(catch_(sym("a"), {})), kNoValue);
  EXPECT_EQ(run(catch_(sym("a"), {catch_(sym("b"), {throw_(sym("a"), n(1))})})), n(1));
  // Every record is popped on the way: nothing is left in the chain.
  EXPECT_EQ(Context::innermost(), nullptr);
}

TEST_F(ExitsTest, ThrowWithoutCatchIsError17) {
  EXPECT_EQ(error_of(throw_(sym("z"), n(1))), 17);
  EXPECT_EQ(run(list({sym("catched?"), quoted(sym("z"))})), kNil);
  EXPECT_EQ(run(catch_(sym("z"), {list({sym("catched?"), quoted(sym("z"))})})), g_sym.t);
}

TEST_F(ExitsTest, UnwindProtectRunsCleanupOnThrowAndNormalExit) {
  Value cleanup = list({sym("set!"), sym("x"), n(2)});
  Value form = catch_(sym("a"), {list({sym("unwind-protect"), throw_(sym("a"), n(1)), cleanup})});
  EXPECT_EQ(run(form), n(1));
  EXPECT_EQ(symbol_global(sym("x")), n(2));
  set_symbol_global(sym("x"), n(0));
  EXPECT_EQ(run(list({sym("unwind-protect"), n(9), cleanup})), n(9));
  EXPECT_EQ(symbol_global(sym("x")), n(2));
}

TEST_F(ExitsTest, ThrowOutOfCleanupWhileUnwindingLetsTheFirstExitContinue) {
  Value inner = list({sym("unwind-protect"), throw_(sym("a"), n(1)), throw_(sym("b"), n(2))});
  Value form = catch_(sym("a"), {catch_(sym("b"), {inner})});
  EXPECT_EQ(run(form), n(1));
}

// A cleanup that runs during an exit may itself catch a throw out of an inner
// cleanup: that inner throw is not "another exit unwinding" and must reach its
// catch, as it does outside any exit.
TEST_F(ExitsTest, ThrowOutOfInnerCleanupRunningDuringAnExitReachesItsCatch) {
  Value inner = catch_(sym("b"), {list({sym("unwind-protect"), n(2), throw_(sym("b"), n(3))})});
  set_symbol_global(sym("r"), n(0));
  EXPECT_EQ(run(inner), n(3));
  Value set_r = list({sym("set!"), sym("r"), inner});
  Value form = catch_(sym("a"), {list({sym("unwind-protect"), throw_(sym("a"), n(1)), set_r})});
  EXPECT_EQ(run(form), n(1));
  EXPECT_EQ(symbol_global(sym("r")), n(3));
  EXPECT_EQ(Context::innermost(), nullptr);
}

TEST_F(ExitsTest, FluidLetIsRestoredWhenAThrowPasses) {
  set_symbol_global(sym("fv"), n(1));
  Value form = catch_(sym("a"), {list({sym("fluid-let"), list({list({sym("fv"), n(2)})}), throw_(sym("a"), sym("fv"))})});
  EXPECT_EQ(run(form), n(2));
  EXPECT_EQ(symbol_global(sym("fv")), n(1));
}

TEST_F(ExitsTest, ThrowsPassCallFramesAndRestoreTheLispStack) {
  std::uint32_t top = g_mem.lisp_stack_top;
  Value fn = list({sym("lambda"), list({var("x")}), list({sym("t-add"), var("x"), throw_(sym("a"), var("x"))})});
  EXPECT_EQ(run(catch_(sym("a"), {list({fn, n(4)})})), n(4));
  EXPECT_EQ(g_mem.lisp_stack_top, top);
  EXPECT_EQ(CallFrame::env(), nullptr);
}

TEST_F(ExitsTest, EventFlagIsRestoredByTheCatch) {
  g_event_poll.event_flag = 0;
  // A primitive raising the flag stands in for without-event.
  defprim("t-raise-flag", +[]() -> Value {
    ++g_event_poll.event_flag;
    return kNoValue;
  });
  Value form = catch_(sym("a"), {list({sym("t-raise-flag")}), throw_(sym("a"), n(1))});
  EXPECT_EQ(run(form), n(1));
  EXPECT_EQ(g_event_poll.event_flag, 0);
}

TEST_F(ExitsTest, ErrorHandlerReceivesErrorTrap) {
  // The handler is a symbol whose value is a syntax-free primitive: record
  // the six arguments through a lambda bound to error-trap at top level.
  Value args = var("args");
  Value handler = list({sym("lambda"), args, list({sym("set!"), sym("trapped"), args})});
  run(list({sym("define"), sym("error-trap"), handler}));
  set_symbol_global(g_sym.error_handler, sym("some-handler"));
  set_symbol_global(sym("some-handler"), sym("some-handler"));
  EXPECT_EQ(error_of(list({sym("error-subr"), n(33)})), -2);  // handled: no alert
  Value trapped = symbol_global(sym("trapped"));
  EXPECT_TRUE(equal(trapped, list({make_fixnum(1010), make_fixnum(0), n(33), kNoObject, kNil, kNil})));
}

TEST_F(ExitsTest, ErrorTextNamesCodeCulpritAndSelf) {
  EXPECT_EQ(error_of(list({sym("error-subr"), n(12)})), 0);
  EXPECT_EQ(last_alert().substr(0, 12), "Error: 0, 12");
}

TEST_F(ExitsTest, RunawayRecursionIsAnOrderlyError) {
  // (define (loop _n) (t-add 1 (loop _n)))
  run(list({sym("define"), list({sym("runaway"), var("n")}), list({sym("t-add"), n(1), list({sym("runaway"), var("n")})})}));
  EXPECT_EQ(error_of(list({sym("runaway"), n(0)})), 9);
  EXPECT_EQ(g_mem.lisp_stack_top, g_mem.lisp_stack_base);
  // The run-time is usable afterwards.
  EXPECT_EQ(run(list({sym("t-add"), n(1), n(2)})), n(3));
}

TEST_F(ExitsTest, LexicalClosureAfterItsFrameExitedIsError2) {
  // (define (maker _x) (lambda () _x)) ; ((maker 1))
  run(list({sym("define"), list({sym("maker"), var("x")}), list({sym("lambda"), kNil, var("x")})}));
  Value closure = run(list({sym("maker"), n(1)}));
  EXPECT_EQ(closure.tag(), tag::lexical);
  set_symbol_global(sym("stale"), closure);
  EXPECT_EQ(error_of(list({sym("stale")})), 2);
}

TEST_F(ExitsTest, TopLevelThrowWithoutCatchEndsTheEvaluation) {
  EXPECT_FALSE(eval_toplevel(list({sym("toplevel")})).completed);
  EXPECT_EQ(run(n(1)), n(1));
}

}  // namespace
}  // namespace orvane
