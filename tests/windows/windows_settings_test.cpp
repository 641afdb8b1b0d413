// The setters of window objects: what they store, what they redraw (counted
// by a window class whose peer counts its invalidations) and what they leave
// alone when nothing changes.
#include <gtest/gtest.h>

#include "objects/native_classes.h"
#include "platform/desktop/messages.h"
#include "ui/window_module.h"
#include "windows/windows_fixture.h"

namespace orvane::testing {
namespace {

using namespace desktop;

class CountingPeer final : public ui::WindowPeer {
 public:
  void invalidate(const raster::IntRect& r) override {
    ++invalidations;
    last = r;
  }
  int invalidations = 0;
  raster::IntRect last{};
};

Value make_counting_peer() { return make_peer<CountingPeer>(); }

class WindowsSettings : public WindowLayerTest {
 protected:
  void SetUp() override {
    WindowLayerTest::SetUp();
    make_native_class("obj-counting-window", make_counting_peer, ui::window_class());
    lisp(R"((open-page 400 300)
            (set! Window-Class (new-class 'obj-counted obj-test-handlers obj-counting-window))
            (define w (show-window 'w Page '(:size (60 40) :position (10 10) :color (1 2 3))))
            (define inner (show-window 'inner w '(:size (10 10) :position (5 5)))))");
  }
  int invalidations(const std::string& name) { return dynamic_cast<CountingPeer&>(peer(name)).invalidations; }
  int sizes(const std::string& name) { return count_received(peer(name).hwnd, WM_SIZE); }
};

TEST_F(WindowsSettings, AColourRedrawsOnlyWhenItChanges) {
  EXPECT_EQ(lisp("(say (w color-ref) (w color-fore-ref))"), "(1 2 3) ()\n") << "no colour given: nothing recorded";
  int before = invalidations("w");
  lisp("(send w set-color '(1 2 3))");
  EXPECT_EQ(invalidations("w"), before) << "the same colour";
  lisp("(send w set-color 'red)");
  EXPECT_EQ(invalidations("w"), before + 1);
  EXPECT_EQ(lisp("(say (send w get-color) (w color-ref))"), "(65535 0 0) red\n");
  lisp("(send w set-color-fore 'black) (send w set-color-fore '(0 0 0))");
  EXPECT_EQ(invalidations("w"), before + 1) << "black is the foreground already";
  lisp("(send w set-color-fore 'blue)");
  EXPECT_EQ(invalidations("w"), before + 2);
  EXPECT_EQ(lisp("(say (send w get-color-fore) (w color-fore-ref))"), "(0 0 65535) blue\n");
  EXPECT_EQ(lisp("(say (error-of (lambda () (send w set-color \"mauve\"))))"), "2\n");
  EXPECT_EQ(lisp("(say (send w get-color))"), "(65535 0 0)\n") << "a bad colour changes nothing";
}

TEST_F(WindowsSettings, FlagsStoreAndOnlyTheDrawingOnesRedraw) {
  int before = invalidations("w");
  lisp("(send w set-frame? t) (send w set-erase? t) (send w set-opaque? t)");
  EXPECT_EQ(invalidations("w"), before + 3);
  lisp(R"((send w set-edit? t) (send w set-hide-on-close? t) (send w set-was-visible? t)
          (send w set-can-double-click? t) (send w set-effect '(wipe 2)) (send w set-scroll? t)
          (send w set-grow-icon? t) (send w set-transfer-mode 36))");
  EXPECT_EQ(invalidations("w"), before + 3);
  EXPECT_EQ(lisp(R"((say (send w get-frame?) (send w get-erase?) (send w get-opaque?) (send w get-edit?)
                         (send w get-hide-on-close?) (send w get-was-visible?) (send w get-can-double-click?)
                         (send w get-effect) (send w get-scroll?) (send w get-grow-icon?) (send w get-transfer-mode)))"),
            "t t t t t t t (wipe 2) t () 36\n")
      << "set-grow-icon? is a hook that stores nothing";
}

TEST_F(WindowsSettings, ASizeIsAppliedOnlyWhenItChanges) {
  int before = sizes("w");
  lisp("(send w set-size '(60 40)) (send inner set-size (make-point 10 10))");
  EXPECT_EQ(sizes("w"), before) << "the current size: nothing happens";
  EXPECT_EQ(sizes("inner"), 0);
  lisp("(send w set-size '(80 30)) (send inner set-size '(12 4))");
  EXPECT_EQ(sizes("w"), before + 1);
  EXPECT_EQ(sizes("inner"), 1);
  EXPECT_EQ(desk().client_rect(peer("w").hwnd).width(), 80);
  EXPECT_EQ(desk().client_rect(peer("w").hwnd).height(), 30);
  EXPECT_EQ(lisp("(say (send w get-size) (send inner get-size) (send w get-position))"),
            "(30 . 80) (4 . 12) (10 . 10)\n")
      << "the position stays";
  EXPECT_EQ(lisp("(say (error-of (lambda () (send w set-size 'huge))))"), "2\n");
}

TEST_F(WindowsSettings, APositionMovesTheWindowAndReportsTheOldOne) {
  lisp("(trace-messages inner '(position-update))");
  int before = invalidations("w");
  EXPECT_EQ(lisp("(send inner set-position '(20 25)) (say (send inner get-position))"),
            "inner position-update 5 5\n(25 . 20)\n");
  EXPECT_EQ(desk().map_point(peer("inner").hwnd, peer("w").hwnd, {0, 0}), (raster::IntPoint{20, 25}));
  EXPECT_EQ(invalidations("w"), before + 1) << "the old place, in the parent";
  EXPECT_EQ(dynamic_cast<CountingPeer&>(peer("w")).last, (raster::IntRect{5, 5, 15, 15}));
  EXPECT_EQ(lisp("(send inner set-position '(20 25))"), "") << "the same place: nothing";
  // A window in the page moves in the page's coordinates.
  lisp("(send w set-position (make-point 33 44))");
  EXPECT_EQ(desk().map_point(peer("w").hwnd, peer("Page").hwnd, {0, 0}), (raster::IntPoint{33, 44}));
  // A hidden window redraws nothing.
  lisp("(send inner hide)");
  before = invalidations("w");
  lisp("(send inner set-position '(1 1))");
  EXPECT_EQ(invalidations("w"), before);
}

TEST_F(WindowsSettings, TitlesFontsAndRegions) {
  lisp("(trace-messages w '(title-update)) (trace-messages inner '(title-update))");
  EXPECT_EQ(lisp("(send w set-title \"First\") (send w set-title \"Second\")"),
            "w title-update ()\nw title-update First\n");
  EXPECT_EQ(desk().window_text(peer("w").hwnd), "Second") << "a window in the page has the title as its text";
  int before = invalidations("inner");
  EXPECT_EQ(lisp("(send inner set-title 42) (say (send inner get-title))"), "inner title-update ()\n42\n");
  EXPECT_EQ(invalidations("inner"), before + 1) << "a deeper window redraws its title area";
  before = invalidations("w");
  EXPECT_EQ(lisp("(send w set-font '(\"Courier New\" 10 2)) (say (send w get-font))"), "(Courier New 10 2)\n");
  EXPECT_EQ(invalidations("w"), before + 1);
  EXPECT_EQ(lisp("(say (get-rgn-rect (send inner get-region)) (get-rgn-rect (send w get-region)))"),
            "(5 5 15 15) (10 10 70 50)\n")
      << "in the parent's coordinates; the page's for a window in the page";
  EXPECT_EQ(lisp("(send w load-from-pathname ()) (say (error-of (lambda () (send w load-from-pathname \"x\"))))"),
            "2\n");
}

}  // namespace
}  // namespace orvane::testing
