// Configurations, the configuration classes and their peers, native classes
// and methods.
#include "core/native_objects.h"
#include "objects/native_classes.h"
#include "objects/records.h"
#include "objects_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ConfigurationsTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    lisp(R"(
      (define panel (new-class 'panel obj-interface))
      (panel
        (defslot configuration :default '(panel-config (:title "Class title" :size 10) ()))
        (defslot name)
        (defslot parent :default nil)
        (defslot page-parent :default nil)
        (defslot owners-inited? :default t)
        (defslot inherit-configuration? :default t)
        (defslot standard-name :default 'std)))");
  }
};

TEST_F(ConfigurationsTest, HeadersNameTypeAndOwner) {
  EXPECT_EQ(lisp("(header-name :initargs)"), kNil);
  EXPECT_EQ(lisp("(header-name 'foo)"), s("foo"));
  EXPECT_EQ(lisp("(header-name 12)"), make_fixnum(12));
  EXPECT_EQ(lisp("(header-name '(button ok page1))"), s("ok"));
  EXPECT_EQ(lisp("(header-type '(button ok page1))"), s("button"));
  EXPECT_EQ(lisp("(header-owner '(button ok page1))"), s("page1"));
  EXPECT_TRUE(equal(lisp("(list (header-type 'foo) (header-owner 'foo) (header-type :initargs))"), lisp("(list nil nil nil)")));
  EXPECT_TRUE(equal(lisp("(list (tag? 'a) (tag? 3) (tag? \"a\") (tag? '(a)))"), lisp("(list t t nil nil)")));
  EXPECT_EQ(lisp("(config-name '((button ok page1) () ()))"), s("ok"));
  EXPECT_EQ(lisp("(config-name nil)"), kNil);
  EXPECT_EQ(lisp("(config-type '((button ok page1) () ()))"), s("button"));
  EXPECT_EQ(lisp("(config-owner '(foo () ()))"), kNil);
  EXPECT_EQ(lisp_error("(config-name 5)"), 2);
}

TEST_F(ConfigurationsTest, ConfigurationPartsAreReadAndReplacedInPlace) {
  lisp("(define Cfg (list 'head '(:a 1) '((child () ())) '(page1 () ()) '(page2 () ())))");
  EXPECT_EQ(lisp("(config-header Cfg)"), s("head"));
  EXPECT_TRUE(equal(lisp("(config-properties Cfg)"), lisp("'(:a 1)")));
  EXPECT_TRUE(equal(lisp("(config-children Cfg)"), lisp("'((child () ()))")));
  EXPECT_EQ(list_length(lisp("(config-pages Cfg)")), 2u);
  lisp(R"(
    (set-config-header Cfg 'new-head)
    (set-config-properties Cfg '(:b 2))
    (set-config-children Cfg nil)
    (set-config-pages Cfg '((p () ()))))");
  EXPECT_TRUE(equal(global("Cfg"), lisp("'(new-head (:b 2) () (p () ()))")));
  EXPECT_EQ(lisp_error("(set-config-pages '(a b) nil)"), 2);
}

TEST_F(ConfigurationsTest, CreationArgumentsComeBeforeTheClassConfiguration) {
  lisp("(define p (make-instance panel)) (p (link-object) (setup-constructor '(:title \"Given\")))");
  EXPECT_TRUE(equal(lisp("(p (search-property 'title))"), make_string("Given")));
  EXPECT_EQ(lisp("(p (search-property 'size))"), make_fixnum(10));
  EXPECT_EQ(lisp("(p (search-property 'missing))"), kNoValue);
  // The instance shared its class's configuration: it is dropped from the instance.
  EXPECT_EQ(lisp("(p configuration)"), kNil);
  EXPECT_EQ(list_length(lisp("(p (get-constructor))")), 2u);
  EXPECT_TRUE(equal(lisp("(p (search-constructor :size))"), lisp("'(:size 10)")));
  EXPECT_EQ(lisp("(p (search-constructor 'size))"), kNil);
  // Without a property in the chain, the slot's initial value answers.
  EXPECT_EQ(lisp("(p (search-property 'standard-name))"), s("std"));
}

TEST_F(ConfigurationsTest, AKeyPathCreatesAChildConfiguration) {
  lisp("(define p (make-instance panel)) (p (link-object) (setup-constructor '((box title) \"Boxed\" :x 1)))");
  Value first = lisp("(car (p (get-constructor)))");
  EXPECT_EQ(car(first), s(":initargs"));
  EXPECT_TRUE(equal(lisp("(config-children (car (p (get-constructor))))"), lisp("'((box (:title \"Boxed\") ()))")));
  EXPECT_TRUE(equal(lisp("(config-properties (car (p (get-constructor))))"), lisp("'(:x 1)")));
}

TEST_F(ConfigurationsTest, InheritConfigurationChoosesTheClassChain) {
  lisp(R"(
    (define sub (new-class 'sub panel))
    (sub (defslot configuration :default '(sub-config (:colour red) ())))
    (define s1 (make-instance sub))
    (s1 (link-object) (setup-constructor nil)))");
  EXPECT_TRUE(equal(lisp("(map config-header (s1 (get-constructor)))"), lisp("'(sub-config panel-config)")));
  EXPECT_TRUE(equal(lisp("(s1 (search-property 'title))"), make_string("Class title")));

  lisp("(define s2 (make-instance sub)) (s2 (set! inherit-configuration? 'reverse) (link-object) (setup-constructor nil))");
  EXPECT_TRUE(equal(lisp("(map config-header (s2 (get-constructor)))"), lisp("'(panel-config sub-config)")));

  lisp("(sub (defslot inherit-configuration? :default nil)) (define s3 (make-instance sub))");
  lisp("(s3 (link-object) (setup-constructor nil))");
  EXPECT_TRUE(equal(lisp("(map config-header (s3 (get-constructor)))"), lisp("'(sub-config)")));
  EXPECT_EQ(lisp("(s3 (search-property 'title))"), kNoValue);
  EXPECT_EQ(lisp("(s3 (search-property 'colour))"), s("red"));
}

TEST_F(ConfigurationsTest, OwnersAreInitedBeforeAConfigurationIsAdded) {
  lisp(R"(
    (define Inits nil)
    (define sub (new-class 'sub panel))
    (sub (defslot owners-inited? :default nil)
         (define (init-owners _cfg _start) (set! Inits (cons (list (config-header _cfg) _start) Inits))))
    (define s1 (make-instance sub))
    (s1 (set! configuration '(own () ())) (link-object) (setup-constructor nil)))");
  EXPECT_TRUE(equal(global("Inits"), lisp("(list (list 'panel-config sub) (list 'own s1))")));
}

TEST_F(ConfigurationsTest, AChildFindsItsConfigurationInItsParentsChain) {
  lisp(R"(
    (define dialog (make-instance panel))
    (dialog (set! configuration '(dialog-config () (((button ok dialog) (:title "OK") ())
                                                    (cancel (:title "Cancel") ()))))
            (link-object) (setup-constructor nil))
    (define ok (make-instance panel))
    (ok (set! name 'ok) (set! parent dialog) (link-object) (setup-constructor nil))
    (define cancel (make-instance panel))
    (cancel (set! name 'cancel) (set! parent dialog) (link-object) (setup-constructor nil)))");
  EXPECT_TRUE(equal(lisp("(ok (search-property 'title))"), make_string("OK")));
  EXPECT_TRUE(equal(lisp("(cancel (search-property 'title))"), make_string("Cancel")));
  EXPECT_EQ(lisp("(cancel (find-self-config '((x () ()))))"), kNil);
}

TEST_F(ConfigurationsTest, FindSelfConfigPrefersTheCreator) {
  lisp(R"(
    (define creating (new-class 'creating panel))
    (creating (defslot config-creator) (defslot config-parent-creator))
    (define c (make-instance creating))
    (define Kids '((a () ()) (b () ())))
    (c (set! name 'b)))");
  EXPECT_TRUE(equal(lisp("(c (find-self-config Kids))"), lisp("'(b () ())")));
  lisp("(c (set! config-creator (car Kids)))");
  EXPECT_TRUE(equal(lisp("(c (find-self-config Kids))"), lisp("'(a () ())")));
  lisp("(c (set! config-creator '(made () ())) (set! config-parent-creator Kids))");
  EXPECT_TRUE(equal(lisp("(c (find-self-config Kids))"), lisp("'(made () ())")));
}

TEST_F(ConfigurationsTest, SetupNameTakesTheFirstNameAvailable) {
  lisp(R"(
    (define named (new-class 'named panel))
    (named (defslot configuration :default '((window main-window page) () ()))))");
  EXPECT_EQ(lisp("(define n1 (make-instance named)) (n1 (setup-name '(:name given)) name)"), s("given"));
  EXPECT_EQ(lisp("(define n2 (make-instance named)) (n2 (setup-name nil)) (n2 name)"), s("std"));
  EXPECT_EQ(lisp("(define n3 (make-instance named)) (n3 (set! configuration '(own-tag () ())) (setup-name nil)) (n3 name)"),
            s("own-tag"));
  EXPECT_EQ(lisp("(named (setup-name nil)) (named name)"), s("main-window"));
  // A name already there stays.
  EXPECT_EQ(lisp("(n1 (setup-name '(:name other)) name)"), s("given"));
  EXPECT_EQ(lisp("(n1 (link-object) (set-name 'renamed) (get-name))"), s("renamed"));
}

TEST_F(ConfigurationsTest, PeersAreMadeOnRequestAndMethodsNeedThem) {
  lisp("(define p (make-instance panel))");
  EXPECT_EQ(lisp("(p (object-opened?))"), kNil);
  EXPECT_EQ(lisp_error("(send p show)"), 2);
  EXPECT_EQ(lisp_error("(p (search-property 'title))"), 2);
  EXPECT_EQ(lisp_error("(p (initialize-setable-slots))"), 2);
  lisp("(p (link-object))");
  EXPECT_EQ(lisp("(p (object-opened?))"), g_sym.t);
  EXPECT_EQ(lisp("(p (show) (hide) (enable) (disable) (hilite) (dehilite) (open) (enabled?))"), g_sym.t);
  GcRoot peer_root(objects::peer_of(global("p")));
  Value peer = peer_root.get();
  EXPECT_EQ(pointer_kind(peer), PointerKind::cpp_object);
  EXPECT_EQ(object_peer(global("p")).object(), global("p"));
  lisp("(p (close-link))");
  EXPECT_EQ(lisp("(p (object-opened?))"), kNil);
  EXPECT_EQ(pointer_address(peer), 0u);
  EXPECT_EQ(lisp_error("(send p show)"), 2);
}

TEST_F(ConfigurationsTest, DefiningTheConfigurationSlotRecordsTheFileAndInitializes) {
  lisp(R"(
    (define Load-File "titles/demo.lsp")
    (define Calls nil)
    (define auto-initialize? t)
    (define framed (new-class 'framed panel))
    (framed (define (initialize) (set! Calls (cons 'initialize Calls)))
            (define (close) (set! Calls (cons 'close Calls)))
            (defslot config-pathname)
            (defslot configuration :default '(framed-config () ())))
    (framed (link-object))
    (framed (defslot configuration :default '(second () ()))))");
  EXPECT_TRUE(equal(global("Calls"), lisp("'(initialize close initialize)")));
  EXPECT_TRUE(equal(lisp("(framed config-pathname)"), make_string("titles/demo.lsp")));
}

TEST_F(ConfigurationsTest, TitlesGoThroughThePeer) {
  lisp("(define p (make-instance panel)) (p (link-object) (setup-constructor nil))");
  EXPECT_TRUE(equal(lisp("(p (get-title))"), make_string("Class title")));
  lisp("(p (set-title \"Hello\"))");
  EXPECT_TRUE(equal(lisp("(p (get-title))"), make_string("Hello")));
  lisp("(p (set-title 42))");
  EXPECT_TRUE(equal(lisp("(p (get-title))"), make_string("42")));
  // A string-resource reference that resolves to nothing changes nothing.
  lisp("(p (set-title '(128 . 1)))");
  EXPECT_TRUE(equal(lisp("(p (get-title))"), make_string("42")));
}

TEST_F(ConfigurationsTest, SlotsAreInitializedFromTheProperties) {
  lisp(R"(
    (define form (new-class 'form panel))
    (form (defslot configuration :default '(form-config (:width 50 :label "L" :target foo) ()))
          (defslot width :initialize? t :default 0)
          (defslot target :initialize? t :link? t)
          (defslot label :initialize? :write :default "none"
                         :writer (lambda (_v) (set! label (list 'written _v)))))
    (define f (make-instance form))
    (f (link-object) (setup-constructor nil) (initialize-setable-slots)))");
  EXPECT_EQ(lisp("(f width)"), make_fixnum(50));
  EXPECT_TRUE(equal(lisp("(f label)"), make_string("none")));
  EXPECT_EQ(lisp("(f (get-reference 'target))"), s("foo"));
  lisp("(f (initialize-writable-slots))");
  EXPECT_TRUE(equal(lisp("(f label)"), lisp("'(written \"L\")")));
  EXPECT_EQ(lisp("(f (bind-properties ((_w . width)) _w))"), make_fixnum(50));
}

TEST_F(ConfigurationsTest, DefstructRegistersDescriptionsForBindStruct) {
  EXPECT_EQ(lisp("(defstruct point (x . y))"), s("point"));
  EXPECT_TRUE(equal(lisp("(bind-struct point ((_a . x) (_b . y)) '(1 . 2) (list _a _b))"), lisp("'(1 2)")));
  lisp("(defstruct point (y . x))");
  EXPECT_TRUE(equal(lisp("(bind-struct point ((_b . y) (_a . x)) '(1 . 2) (list _a _b))"), lisp("'(2 1)")));
  EXPECT_EQ(lisp_error("(bind-struct nothing ((_a . x)) '(1) _a)"), 2);
}

// --- Native classes and methods ----------------------------------------------------------

class CountingPeer : public InterfacePeer {
 public:
  void show() override { ++shown; }
  int shown = 0;
};

Value make_counting_peer() { return make_peer<CountingPeer>(); }
Value m_shown_count() { return make_fixnum(peer_as<CountingPeer>(g_mem.self).shown); }
Value m_pair_with(Value a, Value b) { return list_of({g_mem.self, a, b}); }
Value t_answer() { return intern("global-answer"); }
Value t_register_on(Value target) {
  register_method(target, "registered-late", m_shown_count);
  return kNoValue;
}

TEST_F(ConfigurationsTest, NativeClassesGetTheirMethodsAndPeers) {
  Value k = make_native_class("obj-counting", make_counting_peer, global("obj-interface"));
  register_method(k, "shown-count", m_shown_count);
  register_method(k, "pair-with", m_pair_with);
  EXPECT_EQ(global("obj-counting"), k);
  EXPECT_EQ(lisp("(superclass obj-counting)"), global("obj-interface"));
  EXPECT_EQ(lisp("(class-united? obj-counting)"), kNil);
  lisp("(define c (make-instance obj-counting)) (c (link-object)) (send c show) (send c show)");
  EXPECT_EQ(lisp("(send c shown-count)"), make_fixnum(2));
  EXPECT_TRUE(equal(lisp("(send c pair-with 1 2)"), lisp("(list c 1 2)")));
  EXPECT_EQ(print_to_string(lisp("(c pair-with)")), "#<primitive 2>");
  // Subclasses made in Lisp inherit the native methods and constructor.
  lisp("(define sub (new-class 'sub obj-counting)) (define d (make-instance sub)) (d (link-object) (show))");
  EXPECT_EQ(lisp("(send d shown-count)"), make_fixnum(1));
  // Native methods install into classes only.
  defprim("t-register-on", t_register_on);
  EXPECT_EQ(lisp_error("(t-register-on (make-instance sub))"), 2);
  EXPECT_EQ(lisp_error("(t-register-on 5)"), 2);
  EXPECT_EQ(lisp("(t-register-on sub) (send d shown-count)"), make_fixnum(1));
}

TEST_F(ConfigurationsTest, TheRootPeerIsAOneByteNativeObject) {
  lisp("(define plain (make-instance (new-class 'plain)))");
  Value p = open_peer(global("plain"));
  EXPECT_EQ(pointer_kind(p), PointerKind::cpp_object);
  EXPECT_NE(dynamic_cast<RootPeer*>(&object_peer(global("plain"))), nullptr);
  EXPECT_EQ(lisp("(plain (object-opened?))"), g_sym.t);
}

TEST_F(ConfigurationsTest, PeersDieWithTheirObjects) {
  std::size_t before = g_native_objects.live_count();
  lisp(R"(
    (define kept (make-instance panel))
    (kept (link-object))
    (define (make-many _n)
      (while (> _n 0)
        ((make-instance panel) (link-object))
        (set! _n (- _n 1)))))");
  lisp("(make-many 50) (recycle 0)");
  close_released_native_objects();
  // A stray word on the native stack may keep one or two alive.
  EXPECT_LT(g_native_objects.live_count(), before + 5);
  EXPECT_EQ(lisp("(kept (object-opened?))"), g_sym.t);
  EXPECT_EQ(object_peer(global("kept")).object(), global("kept"));
}

TEST_F(ConfigurationsTest, NativeMethodsLeaveTheGlobalOfTheirNameFree) {
  Value k = make_native_class("obj-late", nullptr, kNil);
  register_method(k, "late-global", m_shown_count);
  defprim("late-global", t_answer);
  EXPECT_EQ(lisp("(late-global)"), s("global-answer"));
  EXPECT_EQ(print_to_string(lisp("((make-instance obj-late) late-global)")), "#<primitive 0>");
}

}  // namespace
}  // namespace orvane
