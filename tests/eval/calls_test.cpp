// Calling primitives and closures: arity codes, missing and extra arguments,
// the compile step, closures of every kind.
#include "core/equality.h"
#include "eval/eval.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class CallsTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
  }
  Value n(std::int32_t x) { return num(x); }
  Value note(std::int32_t x) { return list({sym("t-note"), n(x)}); }
};

TEST_F(CallsTest, MissingFixedArgumentsAreNilAndExtrasAreNotEvaluated) {
  EXPECT_TRUE(equal(run(list({sym("t-two"), n(1)})), cons(n(1), kNil)));
  EXPECT_TRUE(equal(run(list({sym("t-two"), note(1), note(2), note(3)})), cons(n(1), n(2))));
  ASSERT_EQ(evaluation_log().size(), 2u);
}

TEST_F(CallsTest, RestArrayEndsWithTheAbsentMarker) {
  EXPECT_TRUE(equal(run(list({sym("t-rest1"), n(1)})), cons(n(1), n(0))));
  EXPECT_TRUE(equal(run(list({sym("t-rest1"), n(1), n(2), n(3)})), cons(n(1), n(2))));
}

TEST_F(CallsTest, ReversedRestEvaluatesFromTheLast) {
  Value r = run(list({sym("t-reversed"), note(1), note(2), note(3)}));
  EXPECT_TRUE(equal(r, list({n(3), n(2), n(1)})));
  ASSERT_EQ(evaluation_log().size(), 3u);
  EXPECT_EQ(evaluation_log()[0], n(3));
  EXPECT_EQ(evaluation_log()[2], n(1));
}

TEST_F(CallsTest, LambdaWithTooFewAndTooManyArguments) {
  Value fn = list({sym("lambda"), list({var("x"), var("y")}), list({sym("t-list"), var("x"), var("y")})});
  EXPECT_TRUE(equal(run(list({fn, n(1), n(2)})), list({n(1), n(2)})));
  Value fn2 = list({sym("lambda"), list({var("x"), var("y")}), list({sym("t-list"), var("x"), var("y")})});
  EXPECT_TRUE(equal(run(list({fn2, n(1)})), list({n(1), kNil})));
  Value fn3 = list({sym("lambda"), list({var("x")}), var("x")});
  EXPECT_EQ(run(list({fn3, n(1), note(2)})), n(1));
  EXPECT_TRUE(evaluation_log().empty());
}

TEST_F(CallsTest, RestParameterCollectsTheRemainingArguments) {
  Value fn = list({sym("lambda"), cons(var("x"), var("more")), var("more")});
  EXPECT_TRUE(equal(run(list({fn, n(1), n(2), n(3)})), list({n(2), n(3)})));
}

TEST_F(CallsTest, CompileRewritesVariablesToDepthAndIndex) {
  // (lambda (_a) (let ((_b 1)) (lambda (_c) (t-list _a _b _c _d))))
  Value a1 = var("a"), a2 = var("a"), b1 = var("b"), b2 = var("b"), c1 = var("c"), c2 = var("c"), d = var("d");
  Value inner = list({sym("lambda"), list({c1}), list({sym("t-list"), a2, b2, c2, d})});
  Value outer = list({sym("lambda"), list({a1}), list({sym("let"), list({list({b1, n(1)})}), inner})});
  Value fn = compile_function(outer);
  ASSERT_EQ(fn.tag(), tag::function);
  auto ref = [](Value v) { return node_of(v).w0 & kPayloadMask; };
  EXPECT_EQ(ref(a1), 0u);               // parameter 0
  EXPECT_EQ(ref(b1), 1u);               // first local of the outer function
  EXPECT_EQ(ref(c1), 0u);               // parameter of the inner one
  EXPECT_EQ(ref(a2), (1u << 16) | 0u);  // one frame up, slot 0
  EXPECT_EQ(ref(b2), (1u << 16) | 1u);
  EXPECT_EQ(ref(c2), 0u);
  EXPECT_EQ(ref(d), 1u);  // a new local of the inner function
  // Header of the outer function: one fixed parameter, one local.
  std::uint32_t header = node_of(fn).w0 & kPayloadMask;
  EXPECT_EQ(header >> 17, 1u);
  EXPECT_EQ(header & 0x1ff, 1u);
}

TEST_F(CallsTest, NestedFunctionsAreCompiledOnceAndSeeTheirParent) {
  // ((lambda (_a) ((lambda (_b) (t-add _a _b)) 2)) 40)
  Value inner = list({sym("lambda"), list({var("b")}), list({sym("t-add"), var("a"), var("b")})});
  Value outer = list({sym("lambda"), list({var("a")}), list({inner, n(2)})});
  Value form = list({outer, n(40)});
  EXPECT_EQ(run(form), n(42));
  EXPECT_EQ(run(form), n(42));
}

TEST_F(CallsTest, LetVariablesAreLocalsOfTheEnclosingFunction) {
  // (lambda (_x) (let ((_y 1)) _x) (t-add _x _y))
  Value fn = list({sym("lambda"), list({var("x")}), list({sym("let"), list({list({var("y"), n(1)})}), var("x")}),
                   list({sym("t-add"), var("x"), var("y")})});
  EXPECT_EQ(run(list({fn, n(5)})), n(6));
}

TEST_F(CallsTest, GammaCapturesTheValueAtCreation) {
  // (define (mk _x) (gamma () (_x) _x))
  run(list({sym("define"), list({sym("mk"), var("x")}),
            list({sym("gamma"), kNil, list({var("x")}), var("x")})}));
  Value closure = run(list({sym("mk"), n(7)}));
  EXPECT_EQ(closure.tag(), tag::closed);
  set_symbol_global(sym("g7"), closure);
  EXPECT_EQ(run(list({sym("g7")})), n(7));  // works after mk returned
  // Capturing with an expression, and parameters before captures.
  Value g = list({sym("gamma"), list({var("p")}), list({list({var("k"), n(100)})}), list({sym("t-add"), var("p"), var("k")})});
  EXPECT_EQ(run(list({g, n(1)})), n(101));
}

TEST_F(CallsTest, GammaCaptureOfAnUnboundVariableIsError2) {
  Value g = list({sym("lambda"), kNil, list({sym("gamma"), kNil, list({var("nowhere")}), n(1)})});
  EXPECT_EQ(error_of(list({g})), 2);
}

TEST_F(CallsTest, SyntaxReceivesItsFormsUnevaluated) {
  Value s = list({sym("syntax"), list({var("forms")}), var("forms")});
  Value r = run(list({s, list({sym("undefined-fn"), n(1)}), sym("zz")}));
  EXPECT_TRUE(equal(r, list({list({sym("undefined-fn"), n(1)}), sym("zz")})));
}

TEST_F(CallsTest, ForEachMapAndApply) {
  Value fn = list({sym("lambda"), list({var("x"), var("y")}), list({sym("t-add"), var("x"), var("y")})});
  Value r = run(list({sym("map"), fn, quoted(list({n(1), n(2), n(3)})), n(10)}));
  EXPECT_TRUE(equal(r, list({n(11), n(12), n(13)})));
  Value shortest = run(list({sym("map"), sym("t-cons"), quoted(list({n(1), n(2)})), quoted(list({n(3)}))}));
  EXPECT_TRUE(equal(shortest, list({cons(n(1), n(3))})));
  EXPECT_EQ(run(list({sym("apply"), sym("t-add"), n(1), quoted(list({n(2), n(3)}))})), n(6));
  EXPECT_EQ(run(list({sym("for-each"), sym("t-note"), quoted(list({n(1), n(2)}))})), kNoValue);
  EXPECT_EQ(evaluation_log().size(), 2u);
}

TEST_F(CallsTest, APrimitiveCodeWithMoreThanEightFixedArgumentsIsRefused) {
  // Such a code cannot come from defprim; a descriptor made by hand must
  // still not write past the argument array.
  Value nine = make_descriptor("t-nine", reinterpret_cast<ErasedFn>(t_add), 9, tag::primitive, false);
  Value form = list({nine, n(1), n(2), n(3), n(4), n(5), n(6), n(7), n(8), n(9)});
  EXPECT_EQ(error_of(form), 2);
  EXPECT_EQ(error_of(list({sym("apply"), nine, quoted(list({n(1)}))})), 2);
}

TEST_F(CallsTest, MapatomsCollectsSymbolsWhoseAnswerIsNotNil) {
  Value all = run(list({sym("mapatoms"), sym("void")}));
  EXPECT_EQ(list_length(all), g_mem.symbol_count - g_mem.symbols_free);
}

}  // namespace
}  // namespace orvane
