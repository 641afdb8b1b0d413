// Classes, inheritance by copy-down, method installation and propagation,
// message sending.
#include "objects/classes.h"
#include "objects/object_hooks.h"
#include "objects/records.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ClassesTest : public ObjectsTest {};

TEST_F(ClassesTest, TheFirstSuperclassWinsWhereTwoDefineTheSameMethod) {
  EXPECT_EQ(lisp(R"(
    (define a (new-class 'a))
    (a (define (paint) 'a-paint))
    (define b (new-class 'b))
    (b (define (paint) 'b-paint))
    (define c (new-class 'c a b))
    (send (make-instance c) paint))"),
            s("a-paint"));
  EXPECT_EQ(lisp("(define d (new-class 'd b a)) (send (make-instance d) paint)"), s("b-paint"));
}

TEST_F(ClassesTest, RedefiningInASuperclassReachesOnlyTheHeirsThatDidNotOverride) {
  lisp(R"(
    (define base (new-class 'base))
    (base (define (paint) 'old) (define (other) 1))
    (define heir (new-class 'heir base))
    (define grand-heir (new-class 'grand-heir heir))
    (define own (new-class 'own base))
    (own (define (paint) 'own-paint))
    (define own-heir (new-class 'own-heir own))
    (base (define (paint) 'new)))");
  EXPECT_EQ(lisp("(send (make-instance base) paint)"), s("new"));
  EXPECT_EQ(lisp("(send (make-instance heir) paint)"), s("new"));
  EXPECT_EQ(lisp("(send (make-instance grand-heir) paint)"), s("new"));
  EXPECT_EQ(lisp("(send (make-instance own) paint)"), s("own-paint"));
  EXPECT_EQ(lisp("(send (make-instance own-heir) paint)"), s("own-paint"));
  // A method defined in the superclass after the subclasses exist fills them.
  lisp("(base (define (late) 'late))");
  EXPECT_EQ(lisp("(send (make-instance own-heir) late)"), s("late"));
}

TEST_F(ClassesTest, ASingleDefinerKeepsItsMethodOutOfEveryTable) {
  lisp(R"(
    (define solo (new-class 'solo))
    (define solo-heir (new-class 'solo-heir solo))
    (define stranger (new-class 'stranger))
    (solo (define (only-here) 'solo-method)))");
  Value selector = s("only-here");
  EXPECT_EQ(symbol_entry(selector).definer, global("solo"));
  EXPECT_EQ(symbol_entry(selector).selector_index, -1);
  EXPECT_EQ(lisp("(send (make-instance solo-heir) only-here)"), s("solo-method"));
  // Unbound at top level and for an unrelated class.
  EXPECT_EQ(lisp_error("only-here"), 6);
  EXPECT_EQ(lisp_error("(send (make-instance stranger) only-here)"), 6);

  // A second definer moves the first one's method into the tables.
  lisp("(stranger (define (only-here) 'stranger-method))");
  EXPECT_EQ(symbol_entry(selector).definer, kAbsent);
  EXPECT_GE(symbol_entry(selector).selector_index, 0);
  EXPECT_EQ(lisp("(send (make-instance solo) only-here)"), s("solo-method"));
  EXPECT_EQ(lisp("(send (make-instance solo-heir) only-here)"), s("solo-method"));
  EXPECT_EQ(lisp("(send (make-instance stranger) only-here)"), s("stranger-method"));
  EXPECT_EQ(lisp_error("only-here"), 6);
}

TEST_F(ClassesTest, ATopLevelDefinitionOfASingleDefinersSelectorKeepsBoth) {
  lisp(R"(
    (define k (new-class 'k))
    (k (define (shared-name) 'method))
    (define shared-name 'global))");
  EXPECT_EQ(lisp("shared-name"), s("global"));
  EXPECT_EQ(lisp("(send (make-instance k) shared-name)"), s("method"));
}

TEST_F(ClassesTest, MethodsSeeSelfAndItsSlotsAndArguments) {
  EXPECT_EQ(lisp(R"(
    (define counter (new-class 'counter))
    (counter
      (defslot count :default 0)
      (define (bump _n) (set! count (+ count _n)) count))
    (define c1 (make-instance counter))
    (send c1 bump 5)
    (send c1 bump 2))"),
            make_fixnum(7));
  EXPECT_EQ(lisp("(send (make-instance counter) bump 1)"), make_fixnum(1));
}

TEST_F(ClassesTest, SelfIsRestoredAfterSendsApplicationsAndThrows) {
  lisp(R"(
    (define k (new-class 'k))
    (k (define (who) (self))
       (define (escape) (throw 'out 'thrown)))
    (define obj (make-instance k)))");
  EXPECT_EQ(lisp("(send obj who)"), global("obj"));
  EXPECT_EQ(lisp("(begin (send obj who) (self))"), kNoObject);
  EXPECT_EQ(lisp("(obj)"), kNoValue);
  EXPECT_EQ(lisp("(obj (who))"), global("obj"));
  EXPECT_EQ(lisp("(catch 'out (send obj escape))"), s("thrown"));
  EXPECT_EQ(lisp("(self)"), kNoObject);
  EXPECT_EQ(lisp("(k (catch 'out (send obj escape)) (self))"), global("k"));
}

TEST_F(ClassesTest, SendingToSomethingThatIsNoObjectReadsTheGlobals) {
  lisp("(define k (new-class 'k)) (k (define (paint) 'painted))");
  EXPECT_EQ(lisp_error("(send nil paint)"), 6);
  EXPECT_EQ(lisp("(send '(1 2) car '(3 4))"), make_fixnum(3));
  EXPECT_EQ(lisp("(self)"), kNoObject);
}

TEST_F(ClassesTest, SuperclassGenealogyAndTheRootClass) {
  lisp(R"(
    (define m (new-mixin 'm))
    (define b (new-class 'b))
    (define a (new-class 'a m b))
    (define lone (new-class 'lone)))");
  EXPECT_EQ(lisp("(superclass a)"), global("b"));
  EXPECT_EQ(lisp("(superclass lone)"), global("obj-root"));
  EXPECT_EQ(lisp("(superclass m)"), kNil);
  EXPECT_EQ(lisp("(superclass (make-instance a))"), global("b"));
  EXPECT_TRUE(equal(lisp("(ascendants a)"), lisp("(list m b)")));
  EXPECT_TRUE(equal(lisp("(genealogy a)"), lisp("(list a m b obj-root)")));
  EXPECT_TRUE(equal(lisp("(descendants b)"), lisp("(list a)")));
  EXPECT_EQ(lisp("(type-of (make-instance a))"), s("a"));
  EXPECT_EQ(lisp("(type-of a)"), s("a"));
  EXPECT_EQ(lisp("(type? (make-instance a) 'm)"), g_sym.t);
  EXPECT_EQ(lisp("(type? (make-instance a) 'obj-root)"), g_sym.t);
  EXPECT_EQ(lisp("(type? (make-instance a) 'lone)"), kNil);
  EXPECT_EQ(lisp("(type? a 'class)"), g_sym.t);
  EXPECT_EQ(lisp("(type? a 'instance)"), kNil);
  EXPECT_EQ(lisp("(type? (make-instance a) 'object)"), g_sym.t);
  EXPECT_EQ(lisp("(object-class (make-instance a))"), global("a"));
  EXPECT_EQ(lisp("(object-class a)"), global("a"));
}

TEST_F(ClassesTest, ClassesAndMixinsPrintWithTheirNames) {
  lisp("(define m (new-mixin 'm)) (define k (new-class 'k m))");
  EXPECT_EQ(printed("k"), "#<class k>");
  EXPECT_EQ(printed("m"), "#<mixin m>");
  EXPECT_EQ(printed("obj-root"), "#<class obj-root>");
  EXPECT_EQ(printed("obj-persistence"), "#<class obj-persistence>");
}

TEST_F(ClassesTest, ARedefinedClassReplacesItsPredecessorAmongTheSubclasses) {
  lisp(R"(
    (define base (new-class 'base))
    (define k (new-class 'k base))
    (define k (new-class 'k base)))");
  Value subs = lisp("(descendants base)");
  ASSERT_EQ(list_length(subs), 1u);
  EXPECT_EQ(car(subs), global("k"));
  lisp("(remove-class k)");
  EXPECT_EQ(lisp("(descendants base)"), kNil);
  EXPECT_EQ(lisp("(superclass k)"), global("base"));
}

TEST_F(ClassesTest, ClassesCreatedWhileSystemIsTrueAreListed) {
  Value before = global("System-Classes");
  EXPECT_TRUE(is_pair(before));  // the native classes of the start-up
  lisp("(define a (new-class 'a))");
  EXPECT_EQ(car(global("System-Classes")), global("a"));
  lisp("(set! System? nil) (define b (new-class 'b))");
  EXPECT_EQ(car(global("System-Classes")), global("a"));
}

TEST_F(ClassesTest, UniteClassChecksTheSuperclassesFromItsSecondUse) {
  lisp("(define b (new-class 'b)) (define c (new-class 'c)) (define a (new-class 'a b c))");
  EXPECT_EQ(lisp("(class-united? obj-persistence)"), kNil);
  EXPECT_EQ(lisp("(unite-class 'a c)"), global("a"));  // the first checks nothing
  EXPECT_EQ(lisp("(unite-class 'a b c)"), global("a"));
  EXPECT_EQ(lisp("(unite-class 'a)"), global("a"));
  EXPECT_EQ(lisp_error("(unite-class 'a c b)"), 2);
  EXPECT_EQ(lisp_error("(unite-class 'a b)"), 2);
  EXPECT_EQ(lisp("(unite-class 'obj-persistence obj-static-data)"), global("obj-persistence"));
  EXPECT_EQ(lisp("(class-united? obj-persistence)"), g_sym.t);
}

TEST_F(ClassesTest, TablesGrowWhenASelectorIndexPassesTheirEnd) {
  lisp("(define k (new-class 'k))");
  Value k = global("k");
  std::int32_t capacity = objects::class_capacity(k);
  EXPECT_GE(capacity, 200);
  EXPECT_EQ(lisp("(class-table-size k)"), make_fixnum(capacity));
  // Claim selectors until one lies past the table.
  for (int i = 0; i <= capacity; ++i) objects::ensure_selector_index(intern("sel-" + std::to_string(i)));
  Value far = intern("sel-" + std::to_string(capacity));
  lisp("(define other (new-class 'other))");
  lisp("(k (define sel-" + std::to_string(capacity) + " 'far)) (other (define sel-" +
       std::to_string(capacity) + " 'near))");
  EXPECT_EQ(objects::class_capacity(k), objects::selector_index(far) + 25);
  EXPECT_EQ(object_lookup(lisp("(make-instance k)"), far), s("far"));
}

TEST_F(ClassesTest, DefinitionsIntoAnInstanceAreRefused) {
  lisp("(define k (new-class 'k)) (define obj (make-instance k))");
  EXPECT_EQ(lisp_error("(obj (define x 1))"), 2);
  EXPECT_EQ(lisp_error("(obj (define (f) 1))"), 2);
  EXPECT_EQ(lisp_error("(obj (new-method 'g car))"), 2);
  EXPECT_EQ(lisp_error("(obj (defslot y))"), 2);
  EXPECT_EQ(lisp_error("(new-method 'g car)"), 2);
  // The instance record is untouched: the class still works.
  EXPECT_EQ(lisp_error("(send obj x)"), 6);
  EXPECT_EQ(lisp("(k (new-method 'g (lambda () 'g-result))) (send obj g)"), s("g-result"));
}

TEST_F(ClassesTest, AnUpdateHookRunsForPersistentClassesOnceSystemIsOff) {
  lisp(R"(
    (define Updated nil)
    (define (update-classes _k) (set! Updated (cons _k Updated)))
    (define early (new-class 'early obj-persistence))
    (set! System? nil)
    (define late (new-class 'late obj-persistence))
    (define plain (new-class 'plain))
    (define other-name (new-class 'late-copy obj-persistence)))");
  EXPECT_TRUE(equal(global("Updated"), lisp("(list late)")));
}

}  // namespace
}  // namespace orvane
