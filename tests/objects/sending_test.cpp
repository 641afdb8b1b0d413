// Message sending as programs use it: the send form, message forms inside
// a receiver, sends from native code, and overrides of names that were
// never selectors.
#include "eval/eval.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class SendingTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    lisp(R"(
      (define k (new-class 'k))
      (k (defslot v :default 'slot-v)
         (define (echo _a _b) (list _a _b v))
         (define (gather _a . _more) (list _a _more))
         (define (escape) (throw 'out 'thrown))
         (define first-of car)
         (define sum +)
         (define constant 5))
      (define other (new-class 'other))
      (other (define (echo _a) (list 'other _a)))
      (define obj (make-instance k))
      (define v 'global-v)
      (define evaluated 0))");
  }
};

TEST_F(SendingTest, ArgumentsAreEvaluatedInTheCallersContext) {
  EXPECT_TRUE(equal(lisp("(send obj echo v 2)"), lisp("'(global-v 2 slot-v)")));
  EXPECT_EQ(car(cdr(lisp("(send obj echo 1 (self))"))), kNoObject);
  // Inside the receiver the same name is the slot.
  EXPECT_TRUE(equal(lisp("(obj (echo v 2))"), lisp("'(slot-v 2 slot-v)")));
}

TEST_F(SendingTest, MissingArgumentsAreNilAndExtraOnesAreEvaluatedButDropped) {
  EXPECT_TRUE(equal(lisp("(send obj echo 1)"), lisp("'(1 () slot-v)")));
  EXPECT_TRUE(equal(lisp("(send obj echo 1 2 (set! evaluated (+ evaluated 1)))"), lisp("'(1 2 slot-v)")));
  EXPECT_EQ(lisp("evaluated"), make_fixnum(1));
}

TEST_F(SendingTest, ARestParameterCollectsTheArgumentsAfterTheFixedOnes) {
  EXPECT_TRUE(equal(lisp("(send obj gather 1 2 3)"), lisp("'(1 (2 3))")));
  EXPECT_TRUE(equal(lisp("(send obj gather 1)"), lisp("'(1 ())")));
  EXPECT_TRUE(equal(lisp("(send obj gather)"), lisp("'(() ())")));
}

TEST_F(SendingTest, MethodsOfEveryKind) {
  EXPECT_EQ(lisp("(send obj first-of '(7 8))"), make_fixnum(7));
  EXPECT_EQ(lisp("(send obj sum 1 2 3 4)"), make_fixnum(10));
  EXPECT_EQ(lisp("(send obj sum)"), make_fixnum(0));
  EXPECT_TRUE(equal(lisp("(send (make-instance other) echo 1)"), lisp("'(other 1)")));
  EXPECT_EQ(lisp_error("(send obj constant)"), 5);
  // A quoted selector evaluates to a symbol, which is no function.
  EXPECT_EQ(lisp_error("(send obj 'echo 1 2)"), 5);
  EXPECT_EQ(lisp_error("(send obj no-such-method 1)"), 6);
  EXPECT_EQ(lisp("(self)"), kNoObject);
}

TEST_F(SendingTest, SelfAndTheLispStackAreRestoredOnEveryExit) {
  std::uint32_t top = g_mem.lisp_stack_top;
  EXPECT_EQ(lisp("(catch 'out (send obj escape 1 2 3))"), s("thrown"));
  EXPECT_EQ(g_mem.lisp_stack_top, top);
  EXPECT_EQ(lisp_error("(send obj echo (car 5) 2)"), 2);
  EXPECT_EQ(g_mem.lisp_stack_top, top);
  EXPECT_EQ(lisp("(begin (obj (echo 1 2)) (self))"), kNoObject);
  EXPECT_EQ(lisp("(k (send obj echo 1 2) (self))"), global("k"));
  EXPECT_EQ(lisp("(obj)"), kNoValue);
}

TEST_F(SendingTest, ArgumentsThatAllocateSurviveCollectionsAtEveryAllocation) {
  g_mem.gc_stress = true;
  EXPECT_TRUE(equal(lisp("(send obj gather (list 1 2) (list 3 4) (list 5 (list 6)))"),
                    lisp("'((1 2) ((3 4) (5 (6))))")));
  EXPECT_TRUE(equal(lisp("(send obj echo (send obj gather (list 'a) (list 'b)) (list 'c))"),
                    lisp("'(((a) ((b))) (c) slot-v)")));
  EXPECT_TRUE(equal(lisp("(obj (gather (list 1) (list 2) (list 3)))"), lisp("'((1) ((2) (3)))")));
  g_mem.gc_stress = false;
}

TEST_F(SendingTest, NativeSendsAndCallsTakeTheirArgumentsFromAnArray) {
  Value obj = global("obj");
  Value one = make_fixnum(1), two = make_fixnum(2), three = make_fixnum(3);
  EXPECT_TRUE(equal(send(obj, s("echo"), {one, two}), lisp("'(1 2 slot-v)")));
  EXPECT_TRUE(equal(send(s("obj"), s("echo"), {one}), lisp("'(1 () slot-v)")));
  EXPECT_TRUE(equal(send(obj, s("gather"), {one, two, three}), lisp("'(1 (2 3))")));
  EXPECT_EQ(send(obj, s("sum"), {one, two, three}), make_fixnum(6));
  EXPECT_EQ(g_mem.self, kNoObject);
  Value gather = lisp("(lambda (_a . _more) (list _a _more))");
  EXPECT_TRUE(equal(call(gather, {one, two, three}), lisp("'(1 (2 3))")));
  EXPECT_TRUE(equal(call(gather, {}), lisp("'(() ())")));
}

TEST_F(SendingTest, OverridesOfNamesThatWereNeverSelectorsAreSeen) {
  lisp("(define greeting 'global) (obj (add-override 'greeting 'overridden))");
  EXPECT_EQ(lisp("(obj greeting)"), s("overridden"));
  EXPECT_EQ(lisp("greeting"), s("global"));
  EXPECT_EQ(lisp("((make-instance k) greeting)"), s("global"));
  // Even a primitive's name.
  lisp("(obj (add-override 'car (lambda (_l) 'overridden-car)))");
  EXPECT_EQ(lisp("(obj (car '(1 2)))"), s("overridden-car"));
  EXPECT_EQ(lisp("(car '(1 2))"), make_fixnum(1));
  lisp("(obj (remove-override 'car) (remove-override 'greeting))");
  EXPECT_EQ(lisp("(obj (car '(1 2)))"), make_fixnum(1));
  EXPECT_EQ(lisp("(obj greeting)"), s("global"));
}

}  // namespace
}  // namespace orvane
