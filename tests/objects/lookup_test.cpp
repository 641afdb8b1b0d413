// The inline lookup the evaluator tries first: it must answer the common
// cases (so sends stay fast) and never answer differently from the full
// lookup.
#include "objects/lookup.h"
#include "objects/object_hooks.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class InlineLookupTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    lisp(R"(
      (define base (new-class 'base))
      (base (defslot plain :default 1)
            (defslot flag :type boolean :default t)
            (defslot small :type byte :default 7)
            (defslot wide :type word :default 300)
            (defslot unallocated :allocate? nil :default 5)
            (defslot linked :link? t)
            (define (method _x) _x)
            (define constant 42))
      (define heir (new-class 'heir base))
      (define other (new-class 'other))
      (other (define (method) 'other) (define constant 0) (defslot plain :default 2))
      (define solo-owner (new-class 'solo-owner))
      (solo-owner (define (only-here) 'solo))
      (define inst (make-instance heir))
      (define overridden (make-instance heir))
      (overridden (add-override 'method 'replaced)))");
  }

  // Whether the inline lookup answered, checking that its answer is the
  // full lookup's whenever it does.
  bool answers(Value object, std::string_view name) {
    Value sym = intern(name);
    Value fast = kNoValue;
    bool answered = objects::lookup_common(object, sym, fast);
    if (answered) {
      EXPECT_EQ(fast, object_lookup(object, sym)) << name;
    }
    return answered;
  }
};

TEST_F(InlineLookupTest, AnswersMethodsConstantsAndValueSlotsOfCurrentInstances) {
  Value inst = global("inst");
  EXPECT_TRUE(answers(inst, "method"));
  EXPECT_TRUE(answers(inst, "constant"));
  EXPECT_TRUE(answers(inst, "plain"));
  EXPECT_TRUE(answers(global("heir"), "method"));
  EXPECT_EQ(lisp("(inst plain)"), make_fixnum(1));
  // Globals, and a selector only one class defines, seen from that class.
  EXPECT_TRUE(answers(inst, "car"));
  EXPECT_TRUE(answers(global("solo-owner"), "only-here"));
  lisp("(define solo-instance (make-instance solo-owner))");
  EXPECT_TRUE(answers(global("solo-instance"), "only-here"));
}

TEST_F(InlineLookupTest, ASingleDefinersSelectorIsSeenByItsHeirsOnly) {
  lisp("(define solo-heir (new-class 'solo-heir heir solo-owner)) (define both (make-instance solo-heir))");
  EXPECT_TRUE(answers(global("both"), "only-here"));
  EXPECT_FALSE(answers(global("inst"), "only-here"));
  EXPECT_EQ(object_lookup(global("inst"), s("only-here")), kNoValue);
  EXPECT_EQ(lisp("(send both only-here)"), s("solo"));
  EXPECT_EQ(lisp_error("(send inst only-here)"), 6);
}

TEST_F(InlineLookupTest, LeavesEveryOtherCaseToTheFullLookup) {
  Value inst = global("inst");
  for (std::string_view name : {"flag", "small", "wide", "unallocated", "linked"})
    EXPECT_FALSE(answers(inst, name)) << name;
  // A slot read through the class itself, and any lookup in an object with
  // overrides.
  EXPECT_FALSE(answers(global("heir"), "plain"));
  EXPECT_FALSE(answers(global("overridden"), "method"));
  EXPECT_FALSE(answers(global("overridden"), "plain"));
}

TEST_F(InlineLookupTest, AnInstanceMadeUnderAnOlderLayoutGoesToTheFullLookup) {
  // A new slot laid out again moves the heir's Value slots.
  lisp("(inst (set! plain 11))");
  lisp("(reset-inited heir) (reset-inited base) (base (defslot added :default 3))");
  lisp("(define fresh (make-instance heir))");
  Value fresh = global("fresh");
  Value inst = global("inst");
  EXPECT_FALSE(answers(inst, "plain"));
  // Its slots are no longer where the class says: unbound, never misread.
  EXPECT_EQ(lisp_error("(inst plain)"), 6);
  EXPECT_TRUE(answers(fresh, "plain"));
  EXPECT_TRUE(answers(fresh, "added"));
  EXPECT_EQ(lisp("(fresh added)"), make_fixnum(3));
}

TEST_F(InlineLookupTest, SendsAndMessageFormsAgreeWithTheFullLookupAfterRedefinition) {
  EXPECT_EQ(lisp("(send inst method 5)"), make_fixnum(5));
  EXPECT_EQ(lisp("(overridden method)"), s("replaced"));
  lisp("(base (define (method _x) (list _x plain)))");
  EXPECT_TRUE(answers(global("inst"), "method"));
  EXPECT_EQ(printed("(inst (method 5))"), "(5 1)");
  EXPECT_EQ(lisp("(send (make-instance other) method)"), s("other"));
}

}  // namespace
}  // namespace orvane
