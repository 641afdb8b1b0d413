// Link slots: resolution by find-link or a linker, references, resets.
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class LinksTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    lisp(R"(
      (define Lookups 0)
      (define node (new-class 'node))
      (node (defslot name))
      (define target (make-instance node))
      (target (set! name 'foo))
      (define other (make-instance node))
      (other (set! name 'bar))
      (define (find-link _key _slot)
        (set! Lookups (+ Lookups 1))
        (if (eq? _key 'foo) target other))
      (define (by-linker _key) (set! Lookups (+ Lookups 100)) other)
      (define holder (new-class 'holder))
      (holder (defslot plain :link? t)
              (defslot linked :link? t :linker by-linker)
              (defslot many :link? t :list? t))
      (define h (make-instance holder)))");
  }
};

TEST_F(LinksTest, ALinkWithoutLinkerCallsFindLinkOnceUntilReset) {
  lisp("(h (set-reference! 'plain 'foo))");
  EXPECT_EQ(lisp("(h (linked? 'plain))"), kNil);
  EXPECT_EQ(lisp("(h plain)"), global("target"));
  EXPECT_EQ(lisp("(h plain)"), global("target"));
  EXPECT_EQ(global("Lookups"), make_fixnum(1));
  EXPECT_EQ(lisp("(h (linked? 'plain))"), g_sym.t);
  // The reference of a resolved slot is the object's name.
  EXPECT_EQ(lisp("(h (get-reference 'plain))"), s("foo"));
  EXPECT_EQ(lisp("(h (reset-link 'plain))"), kNoValue);
  EXPECT_EQ(lisp("(h (linked? 'plain))"), kNil);
  EXPECT_EQ(lisp("(h plain)"), global("target"));
  EXPECT_EQ(global("Lookups"), make_fixnum(2));
  EXPECT_EQ(lisp("(h (read-slot-ref 'plain))"), s("foo"));
  EXPECT_EQ(lisp("(h (read-slot 'plain))"), global("target"));
}

TEST_F(LinksTest, ALinkerSlotKeepsKeyAndObjectInALinkCell) {
  lisp("(h (set-reference! 'linked 'anything))");
  EXPECT_EQ(lisp("(h linked)"), global("other"));
  EXPECT_EQ(lisp("(h linked)"), global("other"));
  EXPECT_EQ(global("Lookups"), make_fixnum(100));
  EXPECT_EQ(lisp("(h (linked? 'linked))"), g_sym.t);
  EXPECT_EQ(lisp("(h (get-reference 'linked))"), s("anything"));
  // Assignment replaces the resolved object and keeps the key.
  lisp("(h (set! linked target))");
  EXPECT_EQ(lisp("(h linked)"), global("target"));
  EXPECT_EQ(lisp("(h (get-reference 'linked))"), s("anything"));
  lisp("(h (reset-link 'linked))");
  EXPECT_EQ(lisp("(h linked)"), global("other"));
  EXPECT_EQ(global("Lookups"), make_fixnum(200));
}

TEST_F(LinksTest, AssigningAnUnresolvedLinkerSlotStoresACellWithoutKey) {
  lisp("(h (set! linked target))");
  EXPECT_EQ(lisp("(h linked)"), global("target"));
  EXPECT_EQ(lisp("(h (get-reference 'linked))"), kNoValue);
  EXPECT_EQ(global("Lookups"), make_fixnum(0));
}

TEST_F(LinksTest, ListLinksReportNamesElementByElement) {
  lisp("(h (set-reference! 'many (list target 'loose other)))");
  EXPECT_TRUE(equal(lisp("(h (get-reference 'many))"), lisp("'(foo loose bar)")));
  EXPECT_EQ(lisp("(h (linked? 'many))"), kNil);
  lisp("(h (set-reference! 'many (list target other)))");
  EXPECT_EQ(lisp("(h (linked? 'many))"), g_sym.t);
}

TEST_F(LinksTest, WriteSlotOnALinkSlotStoresTheReference) {
  lisp("(h (write-slot 'plain 'foo))");
  EXPECT_EQ(lisp("(h (get-reference 'plain))"), s("foo"));
  EXPECT_EQ(lisp("(h plain)"), global("target"));
}

TEST_F(LinksTest, ResolvedLinksSurviveCollections) {
  lisp("(h (set-reference! 'linked 'k1) (set-reference! 'plain 'foo))");
  lisp("(h linked) (h plain) (recycle 0) (recycle 0)");
  EXPECT_EQ(lisp("(h linked)"), global("other"));
  EXPECT_EQ(lisp("(h (get-reference 'linked))"), s("k1"));
  EXPECT_EQ(lisp("(h plain)"), global("target"));
  EXPECT_EQ(global("Lookups"), make_fixnum(101));
}

}  // namespace
}  // namespace orvane
