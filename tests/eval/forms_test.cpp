// The built-in forms and the native special forms.
#include "core/equality.h"
#include "eval/eval.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class FormsTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
  }
  Value n(std::int32_t x) { return num(x); }
};

TEST_F(FormsTest, EmptyFormsGiveTheirDefaults) {
  EXPECT_EQ(run(list({sym("and")})), g_sym.t);
  EXPECT_EQ(run(list({sym("or")})), kNil);
  EXPECT_EQ(run(list({sym("begin")})), kNoValue);
  EXPECT_EQ(run(list({sym("if"), kNil, n(1)})), kNoValue);
  EXPECT_EQ(run(list({sym("when"), kNil, n(1)})), kNil);
  EXPECT_EQ(run(list({sym("when"), g_sym.t})), kNoValue);
}

TEST_F(FormsTest, NoValueCountsAsFalseInConditionals) {
  Value void_call = list({sym("void")});
  EXPECT_EQ(run(list({sym("if"), void_call, n(1), n(2)})), n(2));
  EXPECT_EQ(run(list({sym("and"), n(1), void_call})), kNil);
  EXPECT_EQ(run(list({sym("or"), void_call, n(3)})), n(3));
}

TEST_F(FormsTest, CondClauses) {
  EXPECT_EQ(run(list({sym("cond"), list({n(5)})})), n(5));
  EXPECT_EQ(run(list({sym("cond"), list({kNil, n(1)})})), kNoValue);
  EXPECT_EQ(run(list({sym("cond"), list({kNil, n(1)}), list({sym("else"), n(2)})})), n(2));
  // (cond (7 => f)) calls f's value with 7; f itself is not evaluated.
  EXPECT_EQ(run(list({sym("cond"), list({n(7), sym("=>"), sym("t-note")})})), n(7));
  ASSERT_EQ(evaluation_log().size(), 1u);
  EXPECT_EQ(evaluation_log()[0], n(7));
}

TEST_F(FormsTest, CaseMatchesByEqvAndCatchAll) {
  set_symbol_global(sym("a"), n(10));
  set_symbol_global(sym("b"), n(20));
  EXPECT_EQ(run(list({sym("case"), n(2), list({list({n(1), n(2)}), sym("a")}), list({sym("else"), sym("b")})})), n(10));
  EXPECT_EQ(run(list({sym("case"), n(9), list({g_sym.t, sym("b")})})), n(20));
  EXPECT_EQ(run(list({sym("case"), n(9), list({n(1), sym("a")})})), kNoValue);
}

TEST_F(FormsTest, LoopsRunTheRightNumberOfTimes) {
  set_symbol_global(sym("counter"), n(0));
  Value bump = list({sym("set!"), sym("counter"), list({sym("t-add"), sym("counter"), n(1)})});
  EXPECT_EQ(run(list({sym("repeat"), n(4), bump})), kNoValue);
  EXPECT_EQ(symbol_global(sym("counter")), n(4));
  run(list({sym("while"), kNil, bump}));
  EXPECT_EQ(symbol_global(sym("counter")), n(4));
  run(list({sym("until"), g_sym.t, bump}));
  EXPECT_EQ(symbol_global(sym("counter")), n(5));
  run(list({sym("while"), list({sym("t-less"), sym("counter"), n(9)}), bump}));
  EXPECT_EQ(symbol_global(sym("counter")), n(9));
}

TEST_F(FormsTest, SetOnAnythingButAVariableOrSymbolIsError2) {
  EXPECT_EQ(error_of(list({sym("set!"), n(3), n(1)})), 2);
  EXPECT_EQ(run(list({sym("set!"), sym("x"), n(1)})), n(1));
  EXPECT_EQ(symbol_global(sym("x")), n(1));
}

TEST_F(FormsTest, UnboundSymbolIsError6) {
  EXPECT_EQ(error_of(sym("never-bound")), 6);
}

TEST_F(FormsTest, ApplyingANonFunctionIsError5WithTheHead) {
  set_symbol_global(sym("five"), n(5));
  EXPECT_EQ(error_of(list({sym("five"), n(1)})), 5);
  EXPECT_NE(last_alert().find("five"), std::string::npos);
}

TEST_F(FormsTest, FluidLetRestoresOnExitAndOnlyWhenComplete) {
  set_symbol_global(sym("fa"), n(1));
  set_symbol_global(sym("fb"), n(2));
  Value form = list({sym("fluid-let"), list({list({sym("fa"), n(10)}), list({sym("fb"), n(20)})}),
                     list({sym("t-add"), sym("fa"), sym("fb")})});
  EXPECT_EQ(run(form), n(30));
  EXPECT_EQ(symbol_global(sym("fa")), n(1));
  EXPECT_EQ(symbol_global(sym("fb")), n(2));
  // An error in the second binding: the first keeps its new value.
  Value failing = list({sym("fluid-let"), list({list({sym("fa"), n(10)}), list({sym("fb"), sym("unbound-thing")})}),
                        n(0)});
  EXPECT_EQ(error_of(failing), 6);
  EXPECT_EQ(symbol_global(sym("fa")), n(10));
}

TEST_F(FormsTest, NativeSpecialForms) {
  EXPECT_EQ(run(list({sym("unless"), g_sym.t, n(1)})), kNil);
  EXPECT_EQ(run(list({sym("unless"), kNil, n(1), n(2)})), n(2));
  EXPECT_EQ(run(list({sym("prog1"), n(1), list({sym("t-note"), n(2)})})), n(1));
  EXPECT_EQ(evaluation_log().size(), 1u);
  EXPECT_EQ(run(list({sym("comment"), list({sym("t-note"), n(3)})})), kNoValue);
  EXPECT_EQ(evaluation_log().size(), 1u);
  EXPECT_EQ(run(list({sym("try"), kNil, n(1)})), kNil);
  EXPECT_EQ(run(list({sym("free?"), list({sym("void")})})), g_sym.t);
  EXPECT_EQ(run(list({sym("free?"), n(1)})), kNil);
  EXPECT_EQ(error_of(list({sym("test"), kNil})), 2);
  EXPECT_EQ(run(list({sym("test"), n(1)})), kNoValue);
}

TEST_F(FormsTest, Quasiquote) {
  set_symbol_global(sym("b"), n(2));
  set_symbol_global(sym("l"), list({n(3), n(4)}));
  Value form = list({sym("quasiquote"), sym("a"), list({sym("unquote"), sym("b")}),
                     list({sym("unquote-splicing"), sym("l")}), list({sym("x"), list({sym("unquote"), sym("b")})})});
  Value expected = list({sym("a"), n(2), n(3), n(4), list({sym("x"), n(2)})});
  EXPECT_TRUE(equal(run(form), expected));
  // The spliced list is copied: the original is untouched.
  EXPECT_TRUE(equal(symbol_global(sym("l")), list({n(3), n(4)})));
}

TEST_F(FormsTest, TypecaseMatchesByType) {
  Value form = list({sym("typecase"), n(5), list({sym("string"), n(1)}), list({sym("integer"), n(2)})});
  EXPECT_EQ(run(form), n(2));
  EXPECT_EQ(run(list({sym("typecase"), kNil, list({g_sym.t, n(7)})})), n(7));
}

TEST_F(FormsTest, DestructuringBinds) {
  // (bind (a (b) . c) '(1 (2) 3 4) (t-list a b c))
  Value pattern = cons(sym("ba"), cons(list({sym("bb")}), sym("bc")));
  Value value = list({n(1), list({n(2)}), n(3), n(4)});
  Value form = list({sym("bind"), pattern, quoted(value), list({sym("t-list"), sym("ba"), sym("bb"), sym("bc")})});
  EXPECT_TRUE(equal(run(form), list({n(1), n(2), list({n(3), n(4)})})));

  Value optionals = list({sym("bind-optionals"), list({sym("o1"), list({sym("o2"), n(9)})}), quoted(list({n(1)})),
                          list({sym("t-list"), sym("o1"), sym("o2")})});
  EXPECT_TRUE(equal(run(optionals), list({n(1), n(9)})));

  Value keys = list({sym("bind-keywords"), list({sym("k1"), list({sym("k2"), n(5)})}),
                     quoted(list({intern(":k1"), n(7)})), list({sym("t-list"), sym("k1"), sym("k2")})});
  EXPECT_TRUE(equal(run(keys), list({n(7), n(5)})));
  Value odd = list({sym("bind-keywords"), list({sym("k1")}), quoted(list({intern(":k1")})), n(0)});
  EXPECT_EQ(error_of(odd), 2);
  EXPECT_EQ(error_of(list({sym("bind"), n(3), n(1)})), 2);
}

TEST_F(FormsTest, DefineFunctionAndValue) {
  Value def = list({sym("define"), list({sym("add3"), var("x")}), list({sym("t-add"), var("x"), n(3)})});
  EXPECT_EQ(run(def), sym("add3"));
  EXPECT_EQ(run(list({sym("add3"), n(4)})), n(7));
  EXPECT_EQ(run(list({sym("define"), sym("answer"), n(42)})), sym("answer"));
  EXPECT_EQ(symbol_global(sym("answer")), n(42));
  // Two forms after the name: the first is skipped unevaluated.
  run(list({sym("define"), sym("other"), list({sym("t-note"), n(1)}), n(5)}));
  EXPECT_EQ(symbol_global(sym("other")), n(5));
  EXPECT_TRUE(evaluation_log().empty());
}

TEST_F(FormsTest, WithVisitsValuesOnExit) {
  Value form = list({sym("with"), list({list({var("a"), n(1)})}), var("a")});
  EXPECT_EQ(run(form), n(1));
}

}  // namespace
}  // namespace orvane
