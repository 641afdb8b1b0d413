// The native stack guard: error 9 when native recursion runs the stack low,
// with room left for the error path to report it.
#include <cstdint>

#include "core/equality.h"
#include "eval/eval.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class StackGuardTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
    // A guard close to where the test stands, so that a few hundred nested
    // forms reach it; the error path gets its room below.
    char probe;
    g_native_stack_limit = reinterpret_cast<std::uintptr_t>(&probe) - (64u << 10);
    g_native_stack_error_room = 256u << 10;
  }
  // (t-add 1 (t-add 1 ... 1)), nested `depth` deep: native recursion.
  static Value nested_sum(int depth) {
    Value form = num(1);
    for (int i = 0; i < depth; ++i) form = list({sym("t-add"), num(1), form});
    return form;
  }
};

TEST_F(StackGuardTest, DeepNativeRecursionIsError9) {
  EXPECT_EQ(error_of(nested_sum(3000)), 9);
  EXPECT_EQ(run(nested_sum(10)), num(11));
}

TEST_F(StackGuardTest, TheErrorHandlerRunsInTheRoomOfTheErrorPath) {
  // The handler's own evaluation passes the guard only with the limit lowered.
  Value args = var("args");
  Value handler = list({sym("lambda"), args, list({sym("set!"), sym("trapped"), list({sym("car"), list({sym("cdr"), args})})})});
  run(list({sym("define"), sym("error-trap"), handler}));
  set_symbol_global(sym("some-handler"), sym("some-handler"));
  set_symbol_global(g_sym.error_handler, sym("some-handler"));
  EXPECT_EQ(error_of(nested_sum(3000)), -2);  // handled: no alert
  set_symbol_global(g_sym.error_handler, kNil);
  EXPECT_EQ(symbol_global(sym("trapped")), make_fixnum(9));
  // The limit is back: the same recursion trips it again.
  EXPECT_EQ(error_of(nested_sum(3000)), 9);
}

}  // namespace
}  // namespace orvane
