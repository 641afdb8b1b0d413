// Window objects come and go: opening with each property and each bad
// parent, the styles by type, show / hide / destroy and the order of their
// messages, closing and its appeal, and a destroyed object opened again.
#include <gtest/gtest.h>

#include "support/window_title.h"

namespace orvane::testing {
namespace {

// Runs `body` as the toplevel loop of a title whose page is 320 x 200, then
// pumps events until the script ends.
RunResult run_in_page(WindowTitle& title, const std::string& body, const std::string& events = "wait 50\n") {
  return title.play("(define (toplevel-loop) (open-page 320 200)\n" + body + "\n(pump-forever))", events);
}

TEST(WindowsLifecycle, OpeningReadsEveryPropertyThroughTheWorldsConversions) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define w (open-window 'w1 Page '(:size (100 40) :position (12 7) :color red :color-fore (0 0 65535)
                                      :font ("Arial" 12 1) :title "Hello" :frame? t :erase? t :opaque? ()
                                      :hide-on-close? t :can-double-click? t :transfer-mode 36
                                      :effect (fade 3) :virtual-rect (0 0 300 200))))
    (say 'size (send w get-size) (send w get-size-x) (send w get-size-y))
    (say 'position (send w get-position))
    (say 'colors (send w get-color) (send w get-color-fore) (w color-ref) (w color-fore-ref))
    (say 'font (send w get-font))
    (say 'title (send w get-title))
    (say 'flags (send w get-frame?) (send w get-erase?) (send w get-opaque?) (send w get-hide-on-close?)
         (send w get-can-double-click?) (send w get-visible?))
    (say 'mode (send w get-transfer-mode) 'effect (send w get-effect))
    (say 'zoom (send w get-zoom-factor) 'system (eq? (send w get-system) w))
    (define inner (open-window 'w2 w '(:size (10 20) :position (3 4))))
    (say 'inner (send inner get-position) (send inner get-size) (eq? (send inner get-system) w))
    (send w show)
    (send inner show))", "wait 100\nframe shown.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "size"), std::vector<std::string>{"size (40 . 100) 100 40"});
  EXPECT_EQ(lines_starting(r.out, "position"), std::vector<std::string>{"position (7 . 12)"});
  EXPECT_EQ(lines_starting(r.out, "colors"),
            std::vector<std::string>{"colors (65535 0 0) (0 0 65535) red (0 0 65535)"});
  EXPECT_EQ(lines_starting(r.out, "font"), std::vector<std::string>{"font (Arial 12 1)"});
  EXPECT_EQ(lines_starting(r.out, "title"), std::vector<std::string>{"title Hello"});
  EXPECT_EQ(lines_starting(r.out, "flags"), std::vector<std::string>{"flags t t () t t ()"});
  EXPECT_EQ(lines_starting(r.out, "mode"), std::vector<std::string>{"mode 36 effect (fade 3)"});
  EXPECT_EQ(lines_starting(r.out, "zoom"), std::vector<std::string>{"zoom 1 system t"});
  EXPECT_EQ(lines_starting(r.out, "inner"), std::vector<std::string>{"inner (4 . 3) (20 . 10) t"});
  EXPECT_TRUE(title.frame("shown.png")) << "the title runs on with its windows shown";
}

TEST(WindowsLifecycle, ShowHideAndDestroySendTheirMessagesInOrderChildrenFirst) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (open-window 'a Page '(:size (100 80) :position (10 10))))
    (define b (open-window 'b a '(:size (20 20) :position (5 5))))
    (define c (open-window 'c b '(:size (5 5))))
    (b (add-override 'destroy (lambda () (say 'b 'destroy 'parent-open (send a object-opened?))
                                         ((overriden destroy)))))
    (trace-messages c '(destroy))
    (send b show)
    (send c show)
    (say 'hidden-parent (send b get-visible?) (send b user-visible?))
    (send a show)
    (say 'shown-parent (send b user-visible?) (send a user-visible?) (send Root user-visible?))
    (send a hide)
    (send a hide)
    (say 'after-hide (send a get-visible?) (send b get-visible?) (send b user-visible?))
    (send a show)
    (send a show)
    (send a destroy)
    (say 'opened (send a object-opened?) (send b object-opened?) (send c object-opened?))
    (say 'children (send Page children t)))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::vector<std::string> expected{"page show-event",
                                    "b show-event",
                                    "c show-event",
                                    "hidden-parent t ()",
                                    "a expose",
                                    "a show-event",
                                    "shown-parent t t ()",
                                    "a hide-event",
                                    "after-hide () t ()",
                                    "a expose",
                                    "a show-event",
                                    "b destroy parent-open t",
                                    "c destroy",
                                    "opened () () ()",
                                    "children ()"};
  EXPECT_EQ(lines_of(r.out), expected);
}

TEST(WindowsLifecycle, ADestroyedObjectOpensAgainButNotUnderADestroyedParent) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (100 80) :position (10 10))))
    (define b (show-window 'b a '(:size (20 20))))
    (send a destroy)
    (say 'reopen-child (error-of (lambda () (send b open))))
    (send a link-object)
    (send a setup-constructor '(:size (50 30) :position (1 2)))
    (send a open)
    (send a show)
    (say 'again (send a get-size) (send a get-position) (send a get-visible?) (eq? (car (send Page children ())) a))
    (send a destroy)
    (send a open)
    (say 'bare (send a object-opened?) (send a get-size)))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "reopen-child"), std::vector<std::string>{"reopen-child 2"});
  EXPECT_EQ(lines_starting(r.out, "again"), std::vector<std::string>{"again (30 . 50) (2 . 1) t t"});
  EXPECT_EQ(lines_starting(r.out, "bare"), std::vector<std::string>{"bare t (0 . 0)"});
}

// Runs under collector stress too (ctest label "lisp"): every window's
// handlers allocate, a tenth of the windows stay open through the
// collections that the others' garbage causes, and everything is destroyed
// in the end.
TEST(WindowsLifecycle, AThousandWindowsComeAndGoWithHandlersThatAllocate) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define obj-busy (new-class 'obj-busy obj-test-window))
    (define Trail ())
    (define Events 0)
    (define (note _what) (set! Events (+ Events 1)) (set! Trail (list _what (string-append "x" (string Events)))))
    (obj-busy
      (define (show-event) (note (list label 'shown (get-size))))
      (define (hide-event) (note (list label 'hidden)))
      (define (expose) (note (list label 'exposed)))
      (define (deexpose) (note (list label 'deexposed))))
    (set! Window-Class obj-busy)
    (define Kept ())
    (define (one-pair _n)
      (let* ((_outer (show-window (list 'outer _n) Page (list :size (list (+ 10 (modulo _n 50)) 20)
                                                               :position (list (modulo _n 300) 5)
                                                               :title (string _n))))
             (_inner (show-window (list 'inner _n) _outer (list :size (list 5 5) :position (list 1 1)))))
        (send _inner hide)
        (send _outer hide)
        (if (= 0 (modulo _n 10))
            (set! Kept (cons _outer Kept))
            (send _outer destroy))))
    (define (many _n) (while (> _n 0) (one-pair _n) (set! _n (- _n 1))))
    (many 500)
    (recycle 0)
    (say 'kept (length Kept) (length (send Page children t))
         (apply + (map (lambda (_w) (length (send _w children t))) Kept)))
    (map (lambda (_w) (send _w show)) Kept)
    (say 'shown (length (send Page children ())))
    (map (lambda (_w) (send _w destroy)) Kept)
    (recycle 0)
    (say 'left (length (send Page children t)) 'events (> Events 2000)))", "wait 10\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "kept"), std::vector<std::string>{"kept 50 50 50"});
  EXPECT_EQ(lines_starting(r.out, "shown"), std::vector<std::string>{"shown 50"});
  EXPECT_EQ(lines_starting(r.out, "left"), std::vector<std::string>{"left 0 events t"});
}

}  // namespace
}  // namespace orvane::testing
