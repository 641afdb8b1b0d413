// Classes, instances and descriptors move at every collection: every lookup
// must still find what was defined before.
#include "core/collector.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ObjectsGcTest : public ObjectsTest {};

TEST_F(ObjectsGcTest, AHierarchyWithEverySlotKindSurvivesCollections) {
  lisp(R"(
    (define (garbage _n) (while (> _n 0) (list 1 2 3 (+ 0.5 _n)) (set! _n (- _n 1))))
    (define m (new-mixin 'm))
    (m (define (mixed) 'from-mixin))
    (define base (new-class 'base))
    (base (defslot text :default "base text")
          (defslot items :default nil)
          (defslot b :type byte :default 7)
          (defslot w :type word :default 1000)
          (defslot f1 :type boolean :default t)
          (defslot f2 :type boolean :default nil)
          (define (describe) (list text b w f1 f2)))
    (define heir (new-class 'heir m base))
    (define obj (make-instance heir))
    (obj (set! items (list (+ 0.25 1) "a string" (list 'deep 'list))))
    (garbage 20000)
    (recycle 0))");
  EXPECT_TRUE(equal(lisp("(send obj describe)"), lisp("(list \"base text\" 7 1000 t nil)")));
  EXPECT_TRUE(equal(lisp("(obj items)"), lisp("(list 1.25 \"a string\" '(deep list))")));
  EXPECT_EQ(lisp("(send obj mixed)"), s("from-mixin"));
  // Redefinitions after a collection propagate through moved tables.
  lisp("(garbage 20000) (recycle 0) (base (define (describe) 'redefined)) (recycle 0)");
  EXPECT_EQ(lisp("(send obj describe)"), s("redefined"));
  EXPECT_EQ(lisp("(send (make-instance heir) describe)"), s("redefined"));
  EXPECT_TRUE(equal(lisp("(obj (list b w f1 f2))"), lisp("(list 7 1000 t nil)")));
}

TEST_F(ObjectsGcTest, ManyClassesAndInstancesStayConsistent) {
  lisp(R"(
    (define Objects nil)
    (define (make-classes _n _super)
      (while (> _n 0)
        (set! _super (new-class 'generated _super))
        (_super (defslot level :default _n))
        (set! Objects (cons (make-instance _super) Objects))
        (set! _n (- _n 1)))
      _super)
    (define root (new-class 'root))
    (root (define (level-plus _x) (+ level _x)))
    (define last-class (make-classes 60 root))
    (recycle 0))");
  EXPECT_EQ(lisp("(send (car Objects) level-plus 100)"), make_fixnum(101));
  EXPECT_EQ(lisp("(send (car (last-pair Objects)) level-plus 100)"), make_fixnum(160));
  lisp("(root (define (level-plus _x) (- level _x))) (recycle 0)");
  EXPECT_EQ(lisp("(send (car Objects) level-plus 1)"), make_fixnum(0));
  EXPECT_EQ(list_length(lisp("(genealogy last-class)")), 62u);
}

TEST_F(ObjectsGcTest, ResolvedSelectorsAndSlotValuesMoveWithTheirRecords) {
  lisp(R"(
    (define k (new-class 'k))
    (k (defslot label :default nil))
    (define objs nil)
    (define (fill-up _n)
      (while (> _n 0)
        (let ((_o (make-instance k)))
          (_o (set! label (list _n (string-append "label-" (string _n)))))
          (set! objs (cons _o objs)))
        (set! _n (- _n 1)))))");
  lisp("(fill-up 500) (recycle 0) (set! objs (list-tail objs 250)) (recycle 0)");
  EXPECT_TRUE(equal(lisp("((car objs) label)"), lisp("(list 251 \"label-251\")")));
  EXPECT_TRUE(equal(lisp("((car (last-pair objs)) label)"), lisp("(list 500 \"label-500\")")));
}

}  // namespace
}  // namespace orvane
