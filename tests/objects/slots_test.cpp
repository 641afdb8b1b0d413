// Slots: facets, propagation, copy on write, the instance layout, storage by
// kind, class-level values, overrides, read-slot and write-slot.
#include "objects/records.h"
#include "objects/slots.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;
using namespace orvane::objects;

class SlotsTest : public ObjectsTest {
 protected:
  Value entry(std::string_view klass, std::string_view slot) { return slot_entry_of(global(klass), s(slot)); }
};

TEST_F(SlotsTest, ASlotWithoutFacetsIsAllocatedAndUnbound) {
  lisp("(define k (new-class 'k)) (k (defslot x))");
  EXPECT_EQ(lisp("(k (slot-allocate? 'x))"), g_sym.t);
  EXPECT_EQ(lisp("(k (slot-default 'x))"), kNoValue);
  EXPECT_EQ(lisp("(k (slot-type 'x))"), g_sym.t);
  EXPECT_EQ(lisp_error("((make-instance k) x)"), 6);
  EXPECT_EQ(lisp("(define obj (make-instance k)) (obj (set! x 3)) (obj x)"), make_fixnum(3));
  // A slot name is not a global.
  EXPECT_EQ(lisp_error("x"), 6);
}

TEST_F(SlotsTest, EveryFacetIsStoredAsWrittenOrEvaluated) {
  lisp(R"(
    (define k (new-class 'k))
    (k (defslot s :default (+ 1 2) :initform (+ 3 4) :initialize? t :linker find-it
                  :type word :reader get-s :writer set-s :chooser pick :info "about s"
                  :allocate? (eq? 1 1) :link? nil :list? 1 :editable? t :invalidate? nil)))");
  EXPECT_EQ(lisp("(k (slot-default 's))"), make_fixnum(3));
  EXPECT_TRUE(equal(lisp("(k (slot-initform 's))"), lisp("'(+ 3 4)")));
  EXPECT_EQ(lisp("(k (slot-initialize? 's))"), g_sym.t);
  EXPECT_EQ(lisp("(k (slot-linker 's))"), s("find-it"));
  EXPECT_EQ(lisp("(k (slot-type 's))"), s("word"));
  EXPECT_EQ(lisp("(k (slot-reader 's))"), s("get-s"));
  EXPECT_EQ(lisp("(k (slot-writer 's))"), s("set-s"));
  EXPECT_EQ(lisp("(k (slot-chooser 's))"), s("pick"));
  EXPECT_TRUE(equal(lisp("(k (slot-info 's))"), make_string("about s")));
  EXPECT_TRUE(equal(lisp("(k (list (slot-allocate? 's) (slot-link? 's) (slot-list? 's)))"), lisp("(list t nil t)")));
  EXPECT_TRUE(equal(lisp("(k (list (slot-editable? 's) (slot-invalidate? 's)))"), lisp("(list t nil)")));
  EXPECT_EQ(lisp("(k (slot-name 's))"), s("s"));
  EXPECT_EQ(lisp("(k (slot-initial-value 's))"), make_fixnum(7));
  EXPECT_EQ(lisp_error("(k (defslot bad :colour 3))"), 2);
}

TEST_F(SlotsTest, SlotPrimitivesRefuseNamesThatAreNoSlotOfSelf) {
  lisp("(define k (new-class 'k)) (k (defslot x) (define (m) 1))");
  for (const char* form : {"(k (slot-default 'm))", "(k (slot-type 'nothing))", "(k (read-slot 'm))",
                           "(k (write-slot 'm 1))", "(k (get-reference 'm))", "(k (set-reference! 'm 1))",
                           "(k (reset-link 'm))", "(k (linked? 'm))", "(k (slot-initial-value 'm))",
                           "(slot-default 'x)", "(k (slot-name 5))"})
    EXPECT_EQ(lisp_error(form), 2) << form;
  EXPECT_EQ(lisp("(k (slot-exists? 'm))"), kNil);
  EXPECT_EQ(lisp("(k (slot-exists? 'x))"), g_sym.t);
  EXPECT_EQ(lisp("(slot-exists? 'x)"), kNil);
}

TEST_F(SlotsTest, TheLayoutIsFixedByTheFirstInstance) {
  lisp("(define k (new-class 'k)) (k (defslot x :type byte)) (make-instance k)");
  EXPECT_EQ(lisp_error("(k (defslot y))"), 56);
  EXPECT_EQ(lisp_error("(k (set-slot-field 'x :type 'word))"), 57);
  EXPECT_EQ(lisp_error("(k (set-slot-field 'x :allocate? nil))"), 57);
  EXPECT_EQ(lisp("(k (set-slot-field 'x :type 'byte))"), kNoValue);
  EXPECT_EQ(lisp("(k (set-slot-field 'x :default 4))"), kNoValue);
  lisp("(reset-inited k)");
  EXPECT_EQ(lisp("(k (defslot y :default 9) (set-slot-field 'x :type 'word))"), kNoValue);
  EXPECT_EQ(lisp("((make-instance k) y)"), make_fixnum(9));
}

TEST_F(SlotsTest, BooleansArePackedEightToAByteMostSignificantBitFirst) {
  lisp("(define k (new-class 'k))");
  for (int i = 0; i < 9; ++i) lisp("(k (defslot b" + std::to_string(i) + " :type boolean :default nil))");
  lisp("(k (defslot v :default 'value))");
  Value obj = lisp("(make-instance k)");
  // The highest index is laid out first: b8, b7 ... b1 share a byte, b0 takes the next.
  Value first = entry_locator(entry("k", "b8"));
  Value last = entry_locator(entry("k", "b0"));
  EXPECT_EQ(locator_mask(first), 0x80);
  EXPECT_EQ(locator_mask(entry_locator(entry("k", "b1"))), 0x01);
  EXPECT_EQ(locator_mask(last), 0x80);
  EXPECT_EQ(locator_offset(last), locator_offset(first) + 1);
  // Value slots come first.
  EXPECT_EQ(locator_offset(entry_locator(entry("k", "v"))), instance_at::slots);
  EXPECT_EQ(object_u16(global("k"), class_at::instance_size), instance_at::slots + 4 + 2);

  lisp("(define obj (make-instance k)) (obj (set! b3 t) (set! b0 'yes))");
  EXPECT_TRUE(equal(lisp("(obj (list b0 b1 b2 b3 b4 b8 v))"), lisp("(list t nil nil t nil nil 'value)")));
  lisp("(obj (set! b3 nil))");
  EXPECT_TRUE(equal(lisp("(obj (list b0 b3))"), lisp("(list t nil)")));
  (void)obj;
}

TEST_F(SlotsTest, BytesAndWordsKeepTheirLowBitsSigned) {
  lisp(R"(
    (define k (new-class 'k))
    (k (defslot b :type byte :default 0) (defslot w :type word :default 0))
    (define obj (make-instance k))
    (obj (set! b 200) (set! w 40000)))");
  EXPECT_EQ(lisp("(obj b)"), make_fixnum(-56));
  EXPECT_EQ(lisp("(obj w)"), make_fixnum(-25536));
  lisp("(obj (set! b -1) (set! w 7))");
  EXPECT_TRUE(equal(lisp("(obj (list b w))"), lisp("'(-1 7)")));
}

TEST_F(SlotsTest, DefaultsFillNewInstancesAndTheClassHoldsItsOwnValue) {
  lisp(R"(
    (define k (new-class 'k))
    (k (defslot colour :default 'red))
    (define heir (new-class 'heir k))
    (define i1 (make-instance heir)))");
  EXPECT_EQ(lisp("(i1 colour)"), s("red"));
  EXPECT_EQ(lisp("(heir colour)"), s("red"));
  // Writing through the class changes the class-level value, not instances.
  lisp("(heir (set! colour 'blue))");
  EXPECT_EQ(lisp("(heir colour)"), s("blue"));
  EXPECT_EQ(lisp("(k colour)"), s("red"));
  EXPECT_EQ(lisp("(i1 colour)"), s("red"));
  // A new default reaches the class-level values that still follow it.
  lisp("(k (defslot colour :default 'green))");
  EXPECT_EQ(lisp("(k colour)"), s("green"));
  EXPECT_EQ(lisp("(heir colour)"), s("blue"));
  EXPECT_EQ(lisp("(heir (slot-default 'colour))"), s("green"));
}

TEST_F(SlotsTest, FacetChangesReachHeirsThroughSharedAndCopiedDescriptors) {
  lisp(R"(
    (define a (new-class 'a))
    (a (defslot x :default 1))
    (define b (new-class 'b a))
    (define c (new-class 'c b))
    (c (set-slot-field 'x :info 'private-to-c))
    (a (set-slot-field 'x :default 2)))");
  // b shares a's descriptor; c has a copy of its own that still follows a.
  EXPECT_EQ(entry_descriptor(entry("a", "x")), entry_descriptor(entry("b", "x")));
  EXPECT_NE(entry_descriptor(entry("b", "x")), entry_descriptor(entry("c", "x")));
  EXPECT_EQ(lisp("(c (slot-default 'x))"), make_fixnum(2));
  EXPECT_EQ(lisp("(c (slot-info 'x))"), s("private-to-c"));
  EXPECT_EQ(lisp("(a (slot-info 'x))"), kNil);
  // A class that overrides a facet keeps it.
  lisp("(b (set-slot-field 'x :default 10)) (a (set-slot-field 'x :default 3))");
  EXPECT_EQ(lisp("(b (slot-default 'x))"), make_fixnum(10));
  EXPECT_EQ(lisp("(c (slot-default 'x))"), make_fixnum(10));
  EXPECT_EQ(lisp("((make-instance c) x)"), make_fixnum(10));
}

TEST_F(SlotsTest, ChangingAFacetOfALaidOutHeirKeepsItsInstancesIntact) {
  lisp(R"(
    (define a (new-class 'a))
    (a (defslot x :default 1) (defslot flag :type boolean :default t))
    (define b (new-class 'b a))
    (define obj (make-instance b))
    (obj (set! x 'kept))
    (b (set-slot-field 'x :default 5) (set-slot-field 'flag :info 'copied)))");
  EXPECT_TRUE(equal(lisp("(obj (list x flag))"), lisp("(list 'kept t)")));
  EXPECT_EQ(lisp("((make-instance b) x)"), make_fixnum(5));
}

TEST_F(SlotsTest, AnInstanceOfAnOlderLayoutNoLongerExposesItsSlots) {
  lisp(R"(
    (define k (new-class 'k))
    (k (defslot a :default 1))
    (define old (make-instance k))
    (reset-inited k)
    (make-instance k))");
  // An unchanged layout keeps older instances readable.
  EXPECT_EQ(lisp("(old a)"), make_fixnum(1));
  lisp("(reset-inited k) (k (defslot b :default 2))");
  EXPECT_EQ(lisp("((make-instance k) b)"), make_fixnum(2));
  EXPECT_EQ(lisp_error("(old a)"), 6);
  EXPECT_EQ(lisp_error("(old (set! a 5))"), 2);
  EXPECT_EQ(lisp("(recycle 0) ((make-instance k) a)"), make_fixnum(1));
}

TEST_F(SlotsTest, ANonAllocatedSlotFallsThroughToTheGlobal) {
  lisp("(define x 'global-x) (define k (new-class 'k)) (k (defslot x :allocate? nil))");
  EXPECT_EQ(lisp("((make-instance k) x)"), s("global-x"));
  lisp("(define obj (make-instance k)) (obj (set! x 'changed))");
  EXPECT_EQ(lisp("x"), s("changed"));
}

TEST_F(SlotsTest, OverridesComeFirstAndOverridenReachesTheMethod) {
  lisp(R"(
    (define k (new-class 'k))
    (k (define (paint) 'class-paint))
    (define obj (make-instance k))
    (obj (add-override 'paint (lambda () (list 'override ((overriden paint)))))))");
  EXPECT_TRUE(equal(lisp("(send obj paint)"), lisp("'(override class-paint)")));
  EXPECT_EQ(lisp("(send (make-instance k) paint)"), s("class-paint"));
  lisp("(obj (remove-override 'paint))");
  EXPECT_EQ(lisp("(send obj paint)"), s("class-paint"));
  EXPECT_EQ(lisp_error("(add-override 'paint 1)"), 2);
}

TEST_F(SlotsTest, ReadSlotAndWriteSlotGoThroughReadersWritersAndInvalidate) {
  lisp(R"(
    (define Log nil)
    (define k (new-class 'k))
    (k (defslot plain :default 1 :invalidate? t)
       (defslot guarded :default 2 :reader (lambda () (list 'read guarded))
                        :writer (lambda (_v) (set! guarded (* 10 _v))))
       (define (invalidate) (set! Log (cons 'invalidated Log))))
    (define obj (make-instance k)))");
  EXPECT_EQ(lisp("(obj (read-slot 'plain))"), make_fixnum(1));
  EXPECT_EQ(lisp("(obj (write-slot 'plain 5))"), make_fixnum(5));
  EXPECT_EQ(lisp("(obj plain)"), make_fixnum(5));
  EXPECT_TRUE(equal(global("Log"), lisp("'(invalidated)")));
  EXPECT_TRUE(equal(lisp("(obj (read-slot 'guarded))"), lisp("'(read 2)")));
  lisp("(obj (write-slot 'guarded 3))");
  EXPECT_EQ(lisp("(obj guarded)"), make_fixnum(30));
  EXPECT_TRUE(equal(global("Log"), lisp("'(invalidated)")));
}

TEST_F(SlotsTest, ObjectSlotsListsTheSlotNamesInSelectorOrder) {
  lisp("(define k (new-class 'k)) (k (defslot zeta) (defslot alpha) (define (m) 1))");
  EXPECT_TRUE(equal(lisp("(object-slots (make-instance k))"), lisp("'(zeta alpha)")));
}

}  // namespace
}  // namespace orvane
