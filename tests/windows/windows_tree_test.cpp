// The window tree on the desktop: desktop windows by place in the tree and
// by type, bad parents, zoom factors, window lists and z-order with
// windoids, modal windows, key focus, closing, and windows kept alive by the
// tree through collections.
#include <gtest/gtest.h>

#include <algorithm>

#include "objects/native_classes.h"
#include "platform/desktop/messages.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"
#include "windows/windows_fixture.h"

namespace orvane::testing {
namespace {

using namespace desktop;

class WindowsTree : public WindowLayerTest {
 protected:
  void SetUp() override {
    WindowLayerTest::SetUp();
    lisp("(open-page 400 300)");
  }
  std::uint32_t style_of(const std::string& name) { return desk().style(peer(name).hwnd); }
  // The labels of the page's visible children in the desktop's z-order,
  // front first.
  std::string desktop_order() {
    std::string out;
    for (Hwnd h : desk().children(client())) {
      ui::WindowPeer* p = ui::window_peer_of(h);
      if (!p || p->is_page() || !desk().is_visible(h)) continue;
      out += std::string(out.empty() ? "" : " ") + lisp_label(*p);
    }
    return out;
  }
  std::string lisp_label(ui::WindowPeer& p) {
    Value label = objects_value(p.lisp_object(), "label");
    return std::string(symbol_name(label));
  }
  static Value objects_value(Value object, const char* name) { return ui::value_in_object(object, name); }
};

TEST_F(WindowsTree, EachPlaceInTheTreeHasItsDesktopWindow) {
  lisp(R"((define a (open-window 'a Page '(:size (100 50) :position (30 20) :title "A")))
          (define b (open-window 'b a '(:size (10 10) :position (4 5)))))");
  ui::WindowLayer& l = ui::layer();
  EXPECT_EQ(l.root->hwnd, client());
  EXPECT_EQ(l.page, &peer("Page"));
  EXPECT_EQ(desk().window_class(l.page->hwnd)->name, "OrvaneFrameClass");
  EXPECT_EQ(desk().parent(l.page->hwnd), client());
  EXPECT_EQ(desk().window_class(peer("a").hwnd)->name, "OrvaneWndClass");
  EXPECT_EQ(desk().parent(peer("a").hwnd), client()) << "a window in the page is an MDI child";
  EXPECT_NE(desk().ex_style(peer("a").hwnd) & WS_EX_MDICHILD, 0u);
  EXPECT_EQ(desk().window_text(peer("a").hwnd), "A");
  EXPECT_EQ(desk().parent(peer("b").hwnd), peer("a").hwnd) << "deeper windows are plain children";
  // Client areas where the positions say, in the page's coordinates.
  EXPECT_EQ(desk().map_point(peer("a").hwnd, l.page->hwnd, {0, 0}), (raster::IntPoint{30, 20}));
  EXPECT_EQ(desk().client_rect(peer("a").hwnd).width(), 100);
  EXPECT_EQ(desk().map_point(peer("b").hwnd, peer("a").hwnd, {0, 0}), (raster::IntPoint{4, 5}));
  EXPECT_EQ(ui::window_peer_of(peer("b").hwnd), &peer("b"));
  EXPECT_EQ(peer("b").system, &peer("a"));
  EXPECT_EQ(peer("a").system, &peer("a"));
  EXPECT_EQ(lisp("(say (send b get-position) (send a get-position) (eq? (send Page get-system) Root) (send b get-brother))"),
            "(5 . 4) (20 . 30) t ()\n");
}

TEST_F(WindowsTree, FlagsAndRectsOfOpeningReachThePeer) {
  lisp(R"((define v (open-window 'v Page '(:size (60 40) :virtual-rect (0 0 300 200) :scroll? t :grow-icon? t
                                           :title the-title)
                                'transparent? t 'closed-zone? t))
          (define plain (open-window 'plain Page '(:size (60 40) :title ()))))");
  ui::WindowPeer& w = peer("v");
  EXPECT_EQ(w.virtual_rect, (raster::IntRect{0, 0, 300, 200}));
  EXPECT_EQ(w.view_rect, (raster::IntRect{0, 0, 60, 40}));
  EXPECT_EQ(w.frame_rect, w.rect);
  EXPECT_TRUE(w.flags.scroll && w.flags.grow_icon && w.flags.transparent && w.flags.closed_zone);
  EXPECT_TRUE(w.flags.recomposed);
  EXPECT_FALSE(w.flags.visible || w.flags.scrolled);
  ui::WindowPeer& p = peer("plain");
  EXPECT_EQ(p.virtual_rect, p.rect) << "without the property the virtual rect is the rect";
  EXPECT_FALSE(p.flags.transparent || p.flags.closed_zone || p.flags.frame || p.flags.erase);
  EXPECT_EQ(p.type, 7);
  EXPECT_EQ(desk().window_text(w.hwnd), "the-title") << "a title that is no string is printed";
  EXPECT_EQ(lisp("(say (send plain get-title))"), "()\n");
}

TEST_F(WindowsTree, StylesFollowTheTypeAndAFloatingTypeZeroHasNoSizingBorder) {
  lisp(R"((define t0 (open-window 't0 Page '(:type 0 :close-box? t :size (50 50))))
          (define f0 (open-window 'f0 Page '(:type 0 :floating? t :size (50 50))))
          (define t1 (open-window 't1 Page '(:type 1 :size (50 50))))
          (define t2 (open-window 't2 Page '(:type 2 :size (50 50))))
          (define t3 (open-window 't3 Page '(:type 3 :size (50 50))))
          (define t5 (open-window 't5 Page '(:type 5 :close-box? t :size (50 50))))
          (define t7 (open-window 't7 Page '(:type 7 :size (50 50))))
          (define inner (open-window 'inner t0 '(:type 0 :size (5 5)))))");
  auto has = [&](const std::string& name, std::uint32_t bits) { return (style_of(name) & bits) == bits; };
  EXPECT_TRUE(has("t0", WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
  EXPECT_TRUE(has("f0", WS_CAPTION));
  EXPECT_FALSE(has("f0", WS_THICKFRAME));
  EXPECT_FALSE(has("f0", WS_SYSMENU)) << "no close box asked";
  EXPECT_EQ(style_of("t1") & (WS_CAPTION | WS_THICKFRAME), WS_DLGFRAME);
  EXPECT_EQ(style_of("t2") & (WS_CAPTION | WS_THICKFRAME), WS_BORDER);
  EXPECT_EQ(style_of("t3") & (WS_CAPTION | WS_THICKFRAME), WS_BORDER);
  EXPECT_TRUE(has("t5", WS_CAPTION | WS_SYSMENU));
  EXPECT_FALSE(has("t5", WS_THICKFRAME));
  EXPECT_EQ(style_of("t7") & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0u);
  EXPECT_EQ(style_of("inner") & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0u) << "deeper windows are plain";
  EXPECT_EQ(lisp("(say (send t0 closable?) (send f0 closable?) (send f0 get-floating?) (send t0 get-floating?))"),
            "t () t ()\n");
  // Whatever the frame, the client area has the size asked for.
  EXPECT_EQ(desk().client_rect(peer("t0").hwnd).width(), 50);
  EXPECT_EQ(desk().client_rect(peer("f0").hwnd).height(), 50);
}

TEST_F(WindowsTree, AParentMustBeAnOpenedWindow) {
  EXPECT_EQ(lisp(R"((define loose (make-window 'loose Page ()))
                    (define dead (open-window 'dead Page ()))
                    (send dead destroy)
                    (say (error-of (lambda () (open-window 'x 5 ())))
                         (error-of (lambda () (open-window 'x "page" ())))
                         (error-of (lambda () (open-window 'x loose ())))
                         (error-of (lambda () (open-window 'x dead ())))
                         (error-of (lambda () (open-window 'x Page '(:size "big"))))
                         (error-of (lambda () (open-window 'second-root () ()))))
                    (say (length (send Page children t))))"),
            "2 2 2 2 2 2\n0\n");
}

TEST_F(WindowsTree, ZoomFactorsMultiplyInThePageAndBelow) {
  lisp(R"((define z (open-window 'z Page '(:size (50 40) :position (10 10) :zoom-factor 2)))
          (define zz (open-window 'zz z '(:size (5 4) :position (3 2) :zoom-factor 9))))");
  EXPECT_EQ(lisp("(say (send z get-size) (send z get-position) (send z get-zoom-factor))"),
            "(80 . 100) (10 . 10) 2\n")
      << "the size of a window in the page is zoomed, not its position";
  EXPECT_EQ(lisp("(say (send zz get-size) (send zz get-position) (send zz get-zoom-factor))"), "(8 . 10) (4 . 6) 2\n");
}

TEST_F(WindowsTree, WindowListsAndZOrderKeepVisibleWindoidsInFront) {
  lisp(R"((define hidden (open-window 'hidden Page '(:size (20 20))))
          (define p1 (show-window 'p1 Page '(:size (50 50))))
          (define p2 (show-window 'p2 Page '(:size (50 50))))
          (define p3 (show-window 'p3 Page '(:size (50 50))))
          (define f1 (show-window 'f1 Page '(:size (20 20) :floating? t)))
          (define f2 (show-window 'f2 Page '(:size (20 20) :floating? t))))");
  auto labels = [&](const std::string& expr) {
    return lisp("(say (map (lambda (_w) (_w label)) " + expr + "))");
  };
  EXPECT_EQ(desktop_order(), "f2 f1 p3 p2 p1");
  EXPECT_EQ(labels("(send Page children ())"), "(p3 p2 p1)\n");
  EXPECT_EQ(labels("(send Page children t)"), "(p3 p2 p1 hidden)\n");
  EXPECT_EQ(labels("(send Page windoids ())"), "(f2 f1)\n");
  EXPECT_EQ(labels("(list (send Page front-window) (send Page front-windoid) (send Page last-windoid))"),
            "(p3 f2 f1)\n");
  EXPECT_EQ(labels("(list (send p3 next-window) (send p3 previous-window) (send p3 get-brother))"),
            "(p2 f1 p2)\n");

  // A plain window brought to the front goes behind the last visible windoid.
  lisp("(send p1 bring-to-front)");
  EXPECT_EQ(labels("(send Page children t)"), "(p1 p3 p2 hidden)\n");
  EXPECT_EQ(desktop_order(), "f2 f1 p1 p3 p2");
  lisp("(send p1 bring-to-front)");
  EXPECT_EQ(desktop_order(), "f2 f1 p1 p3 p2") << "already directly behind the windoids";
  // A windoid goes to the very front.
  lisp("(send f1 bring-to-front)");
  EXPECT_EQ(desktop_order(), "f1 f2 p1 p3 p2");
  EXPECT_EQ(labels("(send Page windoids ())"), "(f1 f2)\n");
  // Without a visible windoid a plain window takes the front.
  lisp("(send f1 hide) (send f2 hide) (send p2 bring-to-front)");
  EXPECT_EQ(labels("(send Page children t)"), "(p2 p1 p3 hidden)\n");
  EXPECT_EQ(desktop_order(), "p2 p1 p3");

  lisp("(send p2 send-behind p3)");
  EXPECT_EQ(labels("(send Page children t)"), "(p1 p3 p2 hidden)\n");
  lisp("(send p2 bring-forward)");
  EXPECT_EQ(labels("(send Page children t)"), "(p1 p2 p3 hidden)\n");
  lisp("(send p1 send-backward)");
  EXPECT_EQ(labels("(send Page children t)"), "(p2 p1 p3 hidden)\n") << "behind the next visible sibling";
  lisp("(send p2 send-to-back)");
  EXPECT_EQ(labels("(send Page children t)"), "(p1 p3 p2 hidden)\n");
  EXPECT_EQ(desktop_order(), "p1 p3 p2");
}

TEST_F(WindowsTree, ThePagesFrontWindowIsTheActiveOneAndStaysBehindWindoids) {
  auto active = [&] { return ui::window_peer_of(desk().mdi_client_state(client())->active); };
  lisp(R"((define p1 (show-window 'p1 Page '(:size (50 50))))
          (define f1 (show-window 'f1 Page '(:size (20 20) :floating? t)))
          (define p2 (show-window 'p2 Page '(:size (50 50)))))");
  EXPECT_EQ(active(), &peer("p2"));
  EXPECT_EQ(ui::layer().front, &peer("p2"));
  EXPECT_EQ(desktop_order(), "f1 p2 p1") << "the active window stays behind the windoid";
  // Without a visible windoid, bringing a window to the front deactivates
  // the front window and makes the new one active.
  lisp("(send f1 hide)");
  EXPECT_EQ(lisp("(send p1 bring-to-front)"), "p2 deexpose\n");
  EXPECT_EQ(active(), &peer("p1"));
  EXPECT_EQ(ui::layer().front, &peer("p1"));
  EXPECT_EQ(lisp("(say (send p2 active-window?))"), "()\n");
  // Hiding the front window hands the activation to the next one.
  lisp("(send p1 hide)");
  EXPECT_EQ(active(), &peer("p2"));
  EXPECT_EQ(ui::layer().front, &peer("p2"));
  lisp("(send p2 destroy)");
  EXPECT_EQ(ui::layer().front, nullptr);
}

TEST_F(WindowsTree, WindowsShownIntoTheActiveFrontWindowAreActivatedAndHidingDropsTheirFocus) {
  lisp(R"((define a (show-window 'a Page '(:size (100 100))))
          (define field (make-window 'field a '(:size (10 10)) 'handles-keys? t))
          (trace-messages field '(activate activate-focus deactivate-focus))
          (send field open))");
  EXPECT_EQ(lisp("(say (send a active-window?)) (send field show)"), "t\nfield activate\nfield show-event\n");
  EXPECT_EQ(lisp("(send field mouse-down 1 1)"), "field activate-focus\nfield default-mouse-down 1 1\n");
  EXPECT_EQ(lisp("(send a hide)"), "field deactivate-focus\na hide-event\n")
      << "keys never go to a window that cannot be seen";
  EXPECT_EQ(ui::layer().key_focus, nullptr);
}

TEST_F(WindowsTree, AModalWindowDisablesTheOtherPageWindowsUntilCleared) {
  lisp(R"((define a (show-window 'a Page '(:size (50 50)) 'handles-keys? t))
          (define b (show-window 'b Page '(:size (50 50))))
          (define m (show-window 'm Page '(:size (50 50))))
          (define inner (show-window 'inner m '(:size (5 5))))
          (send Page set-modal inner))");
  EXPECT_EQ(lisp("(say (eq? (send Page get-modal) inner))"), "t\n");
  EXPECT_FALSE(desk().is_enabled(peer("a").hwnd));
  EXPECT_FALSE(desk().is_enabled(peer("b").hwnd));
  EXPECT_TRUE(desk().is_enabled(peer("m").hwnd)) << "the modal window's own desktop window stays enabled";
  // The modal window comes in front of the windoids.
  lisp("(define f (show-window 'f Page '(:size (20 20) :floating? t))) (send Page set-modal m) (send m bring-to-front)");
  EXPECT_EQ(desktop_order(), "m f b a");
  lisp("(send f destroy) (send a bring-to-front) (send Page set-modal ())");
  // Hiding or destroying the modal window, wherever it lies, releases the page.
  lisp("(send Page set-modal inner) (send inner hide)");
  EXPECT_TRUE(desk().is_enabled(peer("a").hwnd));
  EXPECT_EQ(lisp("(say (send Page get-modal))"), "()\n");
  lisp("(send inner show) (send Page set-modal inner) (send inner destroy)");
  EXPECT_TRUE(desk().is_enabled(peer("b").hwnd));
  EXPECT_EQ(lisp("(say (send Page get-modal))"), "()\n");
  EXPECT_TRUE(desk().is_enabled(peer("a").hwnd));
  EXPECT_TRUE(desk().is_enabled(peer("b").hwnd));
  EXPECT_EQ(lisp("(say (send Page get-modal))"), "()\n");
  EXPECT_EQ(ui::layer().key_focus, &peer("a")) << "the key focus goes back to the page's front window";
}

TEST_F(WindowsTree, KeyFocusGoesToTheBackMostVisibleWindowThatTakesKeys) {
  lisp(R"((define a (show-window 'a Page '(:size (100 100))))
          (define front (show-window 'front a '(:size (10 10)) 'handles-keys? t))
          (define back (open-window 'back a '(:size (10 10)) 'handles-keys? t))
          (define deep (show-window 'deep back '(:size (5 5)) 'handles-keys? t))
          (trace-messages front '(activate-focus deactivate-focus))
          (trace-messages back '(activate-focus deactivate-focus)))");
  // `back` was opened after `front`, so it lies in front of it; hidden, it
  // ends its branch.
  EXPECT_EQ(lisp("(say (eq? (send a find-handles-keys) front))"), "t\n");
  lisp("(send back show)");
  EXPECT_EQ(lisp("(say (eq? (send a find-handles-keys) front))"), "t\n") << "the back-most child first";
  EXPECT_EQ(lisp("(send front deactivate) (send a deactivate) (send a activate)"), "a deexpose\nfront activate-focus\na expose\n");
  EXPECT_EQ(ui::layer().key_focus, &peer("front"));
  EXPECT_EQ(lisp("(send back mouse-down 1 2)"),
            "front deactivate-focus\nback activate-focus\nback default-mouse-down 1 2\n");
  EXPECT_EQ(lisp("(send back hide)"), "back deactivate-focus\nback hide-event\n");
  EXPECT_EQ(ui::layer().key_focus, nullptr);
  EXPECT_EQ(lisp("(send a mouse-down 3 4)"), "a default-mouse-down 3 4\n") << "a takes no keys";
  EXPECT_EQ(ui::layer().key_focus, nullptr);
}

TEST_F(WindowsTree, AppealHidesAndHideOnCloseKeepsTheWindow) {
  lisp(R"((define kept (show-window 'kept Page '(:size (50 50) :hide-on-close? t)))
          (define gone (show-window 'gone Page '(:size (50 50))))
          (trace-messages kept '(appeal destroy))
          (trace-messages gone '(appeal destroy)))");
  EXPECT_EQ(lisp("(send kept close) (say (send kept object-opened?) (send kept get-visible?) (send kept in-close?))"),
            "kept appeal\nkept hide-event\nt () ()\n");
  EXPECT_EQ(lisp("(send gone close) (say (send gone object-opened?))"), "gone appeal\ngone hide-event\ngone destroy\n()\n");
  EXPECT_EQ(lisp("(say (send kept appeal) (send kept in-close?))"), "kept appeal\n() ()\n");
  lisp("(send kept set-hide-on-close? ())");
  EXPECT_EQ(lisp("(say (send kept appeal) (send kept in-close?))"), "kept appeal\nt t\n")
      << "a window to be destroyed stays marked closing";
}

TEST_F(WindowsTree, ClosingInsideAChildsDestroyOrAppealIsRefused) {
  lisp(R"((define a (show-window 'a Page '(:size (50 50))))
          (define b (show-window 'b a '(:size (10 10))))
          (b (add-override 'destroy (lambda ()
               (say 'b 'closes-parent (error-of (lambda () (send a close))))
               ((overriden destroy))))))");
  EXPECT_EQ(lisp("(send a close) (say (send a object-opened?) (send b object-opened?))"),
            "a hide-event\nb closes-parent Can not imbricate close\n() ()\n");
  EXPECT_EQ(std::count_if(received.begin(), received.end(), [](const Received& r) { return r.message == WM_CLOSE; }), 1)
      << "the refused close sends no second close message";

  lisp(R"((define c (show-window 'c Page '(:size (50 50))))
          (define d (show-window 'd c '(:size (10 10))))
          (d (add-override 'hide-event (lambda () (say 'd 'closes-parent (error-of (lambda () (send c close))))))))");
  EXPECT_EQ(lisp("(send d set-hide-on-close? t) (send d close) (say (send d object-opened?))"),
            "d closes-parent Can not imbricate close\nt\n")
      << "the parent cannot close while its child appeals";
  EXPECT_EQ(lisp("(send c close) (say (send c object-opened?))"),
            "c hide-event\n()\n");
}

TEST_F(WindowsTree, HandlersMayDestroyTheWindowsBeingWorkedOn) {
  // A window destroying itself in its own show and hide handlers.
  lisp(R"((define s (open-window 's Page '(:size (20 20))))
          (s (add-override 'show-event (lambda () (say 's 'goes) (send s destroy))))
          (define h (show-window 'h Page '(:size (20 20))))
          (h (add-override 'hide-event (lambda () (send h destroy)))))");
  EXPECT_EQ(lisp("(send s show) (say (send s object-opened?))"), "h deexpose\ns expose\ns goes\n()\n");
  EXPECT_EQ(lisp("(say (send h appeal) (send h object-opened?))"), "() ()\n")
      << "an appeal whose window went meanwhile answers nil";
  // A child destroying its parent from its own destroy handler.
  lisp(R"((define a (show-window 'a Page '(:size (50 50))))
          (define b (show-window 'b a '(:size (10 10))))
          (define c (show-window 'c a '(:size (10 10))))
          (b (add-override 'destroy (lambda () (say 'b 'destroys 'a) (send a destroy) ((overriden destroy)))))
          (trace-messages c '(destroy)))");
  EXPECT_EQ(lisp("(send a destroy) (say (send a object-opened?) (send b object-opened?) (send c object-opened?))"),
            "c destroy\nb destroys a\n() () ()\n");
  // A window activated into the key focus that destroys itself there.
  lisp(R"((define k (show-window 'k Page '(:size (50 50))))
          (define f (show-window 'f k '(:size (10 10)) 'handles-keys? t))
          (f (add-override 'activate-focus (lambda () (send k destroy))))
          (send k deactivate))");
  EXPECT_EQ(lisp("(send k activate) (say (send k object-opened?) (send f object-opened?))"), "() ()\n");
  EXPECT_EQ(ui::layer().key_focus, nullptr);
  EXPECT_EQ(lisp("(say (length (send Page children t)))"), "0\n");
}

TEST_F(WindowsTree, TheTreeKeepsOpenedWindowsAliveThroughCollections) {
  lisp(R"((define (open-some _n)
            (while (> _n 0)
              (show-window (string->symbol (string-append "w" (string _n))) Page (list :size (list _n _n)))
              (set! _n (- _n 1))))
          (open-some 20)
          (recycle 0))");
  EXPECT_EQ(lisp("(say (length (send Page children ())) (map (lambda (_w) (send _w get-size-x)) (send Page children ())))"),
            "20 (1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20)\n");
  lisp("(map (lambda (_w) (send _w destroy)) (send Page children ())) (recycle 0)");
  EXPECT_EQ(lisp("(say (send Page children t))"), "()\n");
}

}  // namespace
}  // namespace orvane::testing
