// The clause engine: defining predicates, proving goals, unification and
// backtracking, answers given back to the caller's variables.
#include "core/equality.h"
#include "eval/eval.h"
#include "support/eval_helpers.h"
#include "test_primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ClausesTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    register_test_primitives();
    // (defclause (app () _l _l))
    run(list({sym("defclause"), list({sym("app"), kNil, var("l"), var("l")})}));
    // (defclause (app (_h . _t) _l (_h . _r)) (app _t _l _r))
    Value h = var("h");
    run(list({sym("defclause"),
              list({sym("app"), cons(h, var("t")), var("l"), cons(var("h"), var("r"))}),
              list({sym("app"), var("t"), var("l"), var("r")})}));
  }
  Value n(std::int32_t x) { return num(x); }
  // Runs `goal` inside a function body and answers (result . captured), where
  // captured is the value of the variable named `out` afterwards.
  Value prove_in_function(Value goal, const char* out) {
    Value fn = list({sym("lambda"), kNil, list({sym("t-cons"), goal, var(out)})});
    return run(list({fn}));
  }
};

TEST_F(ClausesTest, PredicatesAreValuesNewestClauseFirst) {
  Value p = symbol_global(sym("app"));
  EXPECT_EQ(p.tag(), tag::predicate);
  EXPECT_EQ(run(list({sym("clause?"), sym("app")})), g_sym.t);
  Value first = car(Value::make(tag::list, p.payload()));
  // The recursive clause was defined last, so it comes first.
  EXPECT_EQ(list_length(cdr(cdr(first))), 1u);
}

TEST_F(ClausesTest, AppendRunsBackwards) {
  Value goal = list({sym("app"), var("x"), quoted(list({n(3)})), quoted(list({n(1), n(2), n(3)}))});
  Value r = prove_in_function(goal, "x");
  EXPECT_EQ(car(r), g_sym.t);
  EXPECT_TRUE(equal(cdr(r), list({n(1), n(2)})));
}

TEST_F(ClausesTest, AppendRunsForwards) {
  Value goal = list({sym("app"), quoted(list({n(1)})), quoted(list({n(2), n(3)})), var("z")});
  Value r = prove_in_function(goal, "z");
  EXPECT_EQ(car(r), g_sym.t);
  EXPECT_TRUE(equal(cdr(r), list({n(1), n(2), n(3)})));
}

TEST_F(ClausesTest, FailureLeavesTheCallersVariablesUnbound) {
  Value goal = list({sym("app"), var("x"), quoted(list({n(9)})), quoted(list({n(1), n(2)}))});
  Value fn = list({sym("lambda"), kNil, list({sym("t-cons"), goal, list({sym("free?"), var("x")})})});
  Value r = run(list({fn}));
  EXPECT_EQ(car(r), kNil);
  EXPECT_EQ(cdr(r), g_sym.t);
}

TEST_F(ClausesTest, LispGoalsFailTheClauseWhenNil) {
  // (defclause (positive _n) (t-less 0 _n))
  run(list({sym("defclause"), list({sym("positive"), var("n")}), list({sym("t-less"), n(0), var("n")})}));
  EXPECT_EQ(run(list({sym("positive"), n(3)})), g_sym.t);
  EXPECT_EQ(run(list({sym("positive"), n(-3)})), kNil);
}

TEST_F(ClausesTest, BacktrackingTriesTheNextClause) {
  // Facts: (parent tom bob) (parent bob ann); rule (grand _x _z) (parent _x _y) (parent _y _z)
  run(list({sym("defclause"), list({sym("parent"), sym("bob"), sym("ann")})}));
  run(list({sym("defclause"), list({sym("parent"), sym("tom"), sym("bob")})}));
  run(list({sym("defclause"), list({sym("grand"), var("x"), var("z")}),
            list({sym("parent"), var("x"), var("y")}), list({sym("parent"), var("y"), var("z")})}));
  Value goal = list({sym("grand"), quoted(sym("tom")), var("who")});
  Value r = prove_in_function(goal, "who");
  EXPECT_EQ(car(r), g_sym.t);
  EXPECT_EQ(cdr(r), sym("ann"));
  EXPECT_EQ(run(list({sym("grand"), quoted(sym("bob")), quoted(sym("ann"))})), kNil);
}

TEST_F(ClausesTest, MetaGoalClauseAndUnboundNameFails) {
  run(list({sym("defclause"), list({sym("likes"), sym("mary"), sym("wine")})}));
  // (defclause (has-rule _t) (clause _t))
  run(list({sym("defclause"), list({sym("has-rule"), var("t")}), list({sym("clause"), var("t")})}));
  Value pattern = quoted(list({list({sym("likes"), sym("mary"), sym("wine")})}));
  EXPECT_EQ(run(list({sym("has-rule"), pattern})), g_sym.t);
  // A clause pattern whose name is an unbound variable fails in order.
  run(list({sym("defclause"), list({sym("meta-unbound")}), list({sym("clause"), list({var("u")})})}));
  EXPECT_EQ(run(list({sym("meta-unbound")})), kNil);
}

TEST_F(ClausesTest, LogvarAndFree) {
  EXPECT_EQ(run(list({sym("logvar?"), quoted(var("q"))})), g_sym.t);
  EXPECT_EQ(run(list({sym("logvar?"), n(1)})), kNil);
  Value fn = list({sym("lambda"), list({var("a")}), list({sym("free"), var("a")})});
  EXPECT_EQ(run(list({fn, list({sym("void")})})), g_sym.t);
  Value fn2 = list({sym("lambda"), list({var("a")}), list({sym("free"), var("a")})});
  EXPECT_EQ(run(list({fn2, n(1)})), kNil);
}

TEST_F(ClausesTest, AssertEvaluatesItsArgument) {
  Value clause = quoted(list({list({sym("color"), sym("red")})}));
  EXPECT_EQ(run(list({sym("asserte"), clause})), sym("color"));
  EXPECT_EQ(run(list({sym("color"), quoted(sym("red"))})), g_sym.t);
  EXPECT_EQ(run(list({sym("color"), quoted(sym("blue"))})), kNil);
}

TEST_F(ClausesTest, PermutationsBacktrackThroughSelect) {
  // (sel _x (_x . _r) _r) and (sel _x (_h . _t) (_h . _r)) :- (sel _x _t _r)
  run(list({sym("defclause"), list({sym("sel"), var("x"), cons(var("x"), var("r")), var("r")})}));
  run(list({sym("defclause"), list({sym("sel"), var("x"), cons(var("h"), var("t")), cons(var("h"), var("r"))}),
            list({sym("sel"), var("x"), var("t"), var("r")})}));
  run(list({sym("defclause"), list({sym("perm"), kNil, kNil})}));
  run(list({sym("defclause"), list({sym("perm"), var("l"), cons(var("h"), var("t"))}),
            list({sym("sel"), var("h"), var("l"), var("r")}), list({sym("perm"), var("r"), var("t")})}));
  // A permutation of (1 2 3) that ends with 1: (perm '(1 2 3) _p) (t-less ...) would need
  // more clauses; ask directly for one whose first element is 3.
  run(list({sym("defclause"), list({sym("starts3"), var("p")}),
            list({sym("perm"), quoted(list({n(1), n(2), n(3)})), var("p")}),
            list({sym("eq?"), list({sym("t-car"), var("p")}), n(3)})}));
  Value r = prove_in_function(list({sym("starts3"), var("p")}), "p");
  ASSERT_EQ(car(r), g_sym.t);
  EXPECT_EQ(car(cdr(r)), n(3));
  EXPECT_EQ(list_length(cdr(r)), 3u);
}

}  // namespace
}  // namespace orvane
