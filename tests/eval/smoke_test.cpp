#include <gtest/gtest.h>

#include "core/primitives.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "support/forms.h"
#include "support/runtime_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

Value add2(Value a, Value b) { return make_integer(integer_of(a) + integer_of(b)); }

class EvalSmoke : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    defprim("add2", add2);
  }
};

TEST_F(EvalSmoke, LambdaApplication) {
  Value form = list({list({sym("lambda"), list({var("x"), var("y")}), list({sym("add2"), var("x"), var("y")})}),
                     num(1), num(2)});
  auto r = eval_toplevel(form);
  ASSERT_TRUE(r.completed);
  EXPECT_EQ(r.value, num(3));
}

}  // namespace
}  // namespace orvane
