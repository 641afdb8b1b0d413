// Painting in headless titles: pages with nested windows, frames, erase and
// opaque flags, click-zone backgrounds, offscreen buffers at two levels with
// masks, `copy-offscreen`, scrolling, repaint counts, drawing on windows.
#include <gtest/gtest.h>

#include "paint_golden.h"
#include "support/window_title.h"

namespace orvane::testing {
namespace {

using raster::Color;

// Helpers of the painting tests: `on` overrides a message of one window;
// `fill` paints a window-coordinate rectangle in a colour.
constexpr const char* kPaintHelpers = R"(
(define (on _w _selector _fn) (_w (add-override _selector _fn)))
(define (fill _colour _l _t _r _b) (set-fore-color _colour) (paint-rect _l _t _r _b))
(define (pump) (wait-key 0))
)";

RunResult run_in_page(WindowTitle& title, const std::string& body, const std::string& events) {
  return title.play(std::string(kPaintHelpers) + "(define (toplevel-loop) (open-page 320 200)\n" + body +
                        "\n(pump-forever))",
                    events);
}

constexpr Color kRed{255, 0, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kGreen{0, 255, 0};
constexpr Color kYellow{255, 255, 0};
constexpr Color kWhite{255, 255, 255};

Color at(const raster::Surface& frame, int x, int y) { return frame.color_at(x, y); }

TEST(PaintTitle, NestedWindowsPaintBackToFront) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (10 10) :type 7 :color (65535 65535 0) :erase? t)))
    (define b (show-window 'b a '(:size (120 80) :position (20 20) :color blue :erase? t)))
    (define c (show-window 'c b '(:size (40 40) :position (100 50) :color red :erase? t))))",
                            "wait 100\nframe nested.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  auto frame = title.frame("nested.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 15, 15), kYellow);
  EXPECT_EQ(at(*frame, 40, 40), kBlue);
  EXPECT_EQ(at(*frame, 135, 85), kRed);
  EXPECT_EQ(at(*frame, 155, 85), kYellow) << "c is cut by b's rect";
  expect_golden_frame(title, "nested.png", {10, 10, 210, 160});
}

// frame-width 3: `paint` draws with a clip 3 units inside the rect on
// every side; `draw-frame` then draws with the clip on the whole rect.
TEST(PaintTitle, AFramedWindowPaintsInsideItsFrameWidthAndFramesTheWholeRect) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (0 0) :type 7 :color white :erase? t)))
    (define b (show-window 'b a '(:size (100 60) :position (20 20) :erase? () :frame? t)))
    (on b 'frame-width (lambda () 3))
    (on b 'window-paint (lambda () (fill '(65535 0 0) 0 0 100 60)))
    (on b 'draw-frame (lambda () (fill '(0 0 65535) 0 0 100 3))))",
                            "wait 100\nframe framed.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  auto frame = title.frame("framed.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 23, 23), kRed) << "3 units inside: painted";
  EXPECT_EQ(at(*frame, 116, 76), kRed);
  EXPECT_EQ(at(*frame, 21, 22), kBlue) << "the frame draws on the whole rect";
  EXPECT_EQ(at(*frame, 119, 20), kBlue);
  EXPECT_NE(at(*frame, 21, 40), kRed) << "paint stays 3 units inside";
  EXPECT_NE(at(*frame, 118, 40), kRed);
  EXPECT_EQ(at(*frame, 120, 80), kWhite);
  expect_golden_frame(title, "framed.png", {0, 0, 200, 150});
}

TEST(PaintTitle, EraseAndOpaqueFlagsDecideTheBackground) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (300 180) :position (0 0) :type 7 :color (65535 65535 0) :erase? t)))
    (show-window 'erase a '(:size (60 60) :position (10 10) :color blue :erase? t))
    (show-window 'opaque a '(:size (60 60) :position (80 10) :color blue :opaque? t))
    (show-window 'plain a '(:size (60 60) :position (150 10) :color blue)))",
                            "wait 100\nframe backgrounds.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  auto frame = title.frame("backgrounds.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 40, 40), kBlue) << "erase fills the rect";
  EXPECT_EQ(at(*frame, 180, 40), kYellow) << "without erase nothing is drawn";
  // An opaque window without erase draws nothing itself and its parent
  // leaves its rect alone: what was there stays.
  EXPECT_NE(at(*frame, 110, 40), kBlue);
  EXPECT_NE(at(*frame, 110, 40), kYellow);
}

// Offscreen buffers: a chain of two levels (the owner and a still window at
// level 2, a window at level 1 over them), the mask of a buffer that does
// not paint opaquely shown with the transparent mode, the copy to the
// screen through `copy-offscreen` after a composition.
TEST(PaintTitle, OffscreenBuffersAtTwoLevelsWithMasksReachTheScreen) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define back (show-window 'back Page '(:size (300 180) :position (0 0) :type 7 :color (0 65535 0) :erase? t)))
    (define w (open-window 'w back '(:size (120 100) :position (20 20) :color white :transfer-mode 36)))
    (send w set-offscreen? 2)
    (send w set-offscreen-level 2)
    (define still (open-window 'still w '(:size (40 40) :position (10 10) :color red :erase? t)))
    (define sprite (open-window 'sprite w '(:size (40 40) :position (60 40) :color blue :erase? t)))
    (send sprite set-offscreen-level 1)
    (send still show) (send sprite show)
    (trace-messages w '(copy-offscreen))
    (send w show)
    (say 'levels (send w get-offscreen?) (send still get-offscreen-level) (send sprite get-offscreen-level)
         (send sprite get-offscreen?)))",
                            "wait 100\nframe buffers.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "levels"), std::vector<std::string>{"levels 2 2 1 0"});
  EXPECT_FALSE(lines_starting(r.out, "w copy-offscreen").empty());
  auto frame = title.frame("buffers.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 40, 40), kRed) << "level 1 starts from level 2";
  EXPECT_EQ(at(*frame, 100, 80), kBlue);
  EXPECT_EQ(at(*frame, 25, 25), kGreen) << "the white of the buffer is masked out";
  expect_golden_frame(title, "buffers.png", {0, 0, 300, 180});
}

TEST(PaintTitle, ARecomposedBufferGoesThroughCopyOffscreenOnceThenIsCopiedDirectly) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define w (open-window 'w Page '(:size (100 80) :position (10 10) :type 7 :color red :opaque? t)))
    (send w set-offscreen? t)
    (trace-messages w '(copy-offscreen))
    (send w show)
    (define cover (open-window 'cover Page '(:size (50 50) :position (20 20) :type 7 :color blue :erase? t)))
    (define (step _name) (say 'step _name) (pump))
    (step 'shown)
    (send cover show) (step 'covered)
    (send cover hide) (step 'uncovered)
    (send w inval-rect 0 0 10 10) (step 'drawn)
    (send w pixel-scroll 0 5) (step 'scrolled)
    (send w inval-rect 0 0 10 10) (step 'drawn-after-scroll))",
                            "wait 100\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected{"w copy-offscreen (0 0 100 80)",
                                    "step shown",
                                    "step covered",
                                    "step uncovered",
                                    "step drawn",
                                    "w copy-offscreen (0 0 10 10)",
                                    "step scrolled",
                                    "step drawn-after-scroll"};
  std::vector<std::string> seen;
  for (const std::string& line : lines_of(r.out))
    if (line.rfind("step", 0) == 0 || line.rfind("w copy-offscreen", 0) == 0) seen.push_back(line);
  EXPECT_EQ(seen, expected);
}

TEST(PaintTitle, ScrollingMovesTheContentAndOnlyTheChildrenThatScroll) {
  for (bool scroll_flag : {true, false}) {
    SCOPED_TRACE(scroll_flag ? "with scroll?" : "without scroll?");
    WindowTitle title;
    RunResult r = run_in_page(title, std::string(R"(
      (define w (show-window 'w Page '(:size (200 150) :position (0 0) :type 7 :color white :erase? t :scroll? )") +
                                         (scroll_flag ? "t" : "()") + R"()))
      (on w 'window-paint (lambda () (fill '(0 0 65535) 0 60 200 70)))
      (define mover (show-window 'mover w '(:size (20 20) :position (10 100) :color red :erase? t :scroll? t)))
      (define fixed (show-window 'fixed w '(:size (20 20) :position (50 100) :color (0 65535 0) :erase? t)))
      (pump)
      (send w pixel-scroll 0 30)
      (say 'scroll (send w get-scroll-h) (send w get-scroll-v) (send mover get-position) (send fixed get-position)))",
                              "wait 100\nframe scrolled.png\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines_starting(r.out, "scroll"), std::vector<std::string>{"scroll 0 30 (70 . 10) (100 . 50)"});
    EXPECT_EQ(lines_starting(r.out, "w start-scroll").size(), 1u);
    EXPECT_EQ(lines_starting(r.out, "w end-scroll").size(), 1u);
    auto frame = title.frame("scrolled.png");
    ASSERT_TRUE(frame);
    EXPECT_EQ(at(*frame, 100, 35), kBlue) << "the band drawn at 60 shows at 30";
    EXPECT_EQ(at(*frame, 100, 65), kWhite);
    EXPECT_EQ(at(*frame, 15, 75), kRed) << "the child that scrolls moved up";
    EXPECT_EQ(at(*frame, 55, 105), kGreen) << "the other stayed";
    EXPECT_EQ(at(*frame, 15, 105), kWhite);
    expect_golden_frame(title, "scrolled.png", {0, 0, 200, 150});
  }
}

// The page scrolls the windows in it that scroll with it.
TEST(PaintTitle, ThePageScrollsItsWindowsThatScroll) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (send Page set-scroll? t)
    (send Page set-erase? t)
    (define mover (show-window 'mover Page '(:size (30 30) :position (10 100) :type 7 :color red :erase? t
                                             :scroll? t)))
    (define fixed (show-window 'fixed Page '(:size (30 30) :position (60 100) :type 7 :color blue :erase? t)))
    (pump)
    (send Page pixel-scroll 0 30)
    (say 'scrolled (send Page get-scroll-v) (send mover get-position) (send fixed get-position)))",
                            "wait 100\nframe page.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "scrolled"), std::vector<std::string>{"scrolled 30 (70 . 10) (100 . 60)"});
  auto frame = title.frame("page.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 20, 80), kRed);
  EXPECT_EQ(at(*frame, 70, 110), kBlue);
}

// Repaint counts: only what was invalidated repaints, starting at the
// front-most window that covers it; several invalidations make one paint.
TEST(PaintTitle, InvalidationRepaintsOnlyWhatItMustOnce) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (0 0) :type 7 :color white :erase? t)))
    (define b (show-window 'b a '(:size (80 80) :position (10 10) :color blue :erase? t)))
    (define c (show-window 'c a '(:size (80 80) :position (100 10) :color red :erase? t)))
    (define hidden (open-window 'hidden a '(:size (10 10) :position (0 0) :color red :erase? t)))
    (define (counts _name) (pump)
      (say 'counts _name (a paints) (b paints) (c paints) (hidden paints)))
    (counts 'shown)
    (send b inval-rect 0 0 10 10) (send b inval-rect 20 20 30 30) (send b inval-window ()) (counts 'b)
    (send c inval-view) (counts 'c)
    (send a inval-rect 85 10 105 20) (counts 'both)
    (send hidden inval-window ()) (counts 'hidden)
    (send b valid-rect '(0 0 80 80)) (counts 'validated)
    (send b inval-rect 0 0 80 80) (send b valid-rect '(0 0 80 80)) (counts 'taken-back))",
                            "wait 100\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "counts"),
            (std::vector<std::string>{"counts shown 1 1 1 0", "counts b 1 2 1 0", "counts c 1 2 2 0",
                                      "counts both 2 3 3 0", "counts hidden 2 3 3 0", "counts validated 2 3 3 0",
                                      "counts taken-back 2 3 3 0"}));
}

TEST(PaintTitle, WithDrawingDrawsOnTheScreenOrTheBufferAndPixelsReadBack) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (0 0) :type 7 :color white :erase? t)))
    (define clipped (show-window 'clipped a '(:size (50 50) :position (100 80) :color white :erase? t)))
    (on clipped 'window-paint (lambda () (clip-rect '(0 0 10 10)) (fill '(0 0 65535) 0 0 50 50)))
    (pump)
    (send a with-drawing (lambda () (fill '(65535 0 0) 10 10 30 30)) ())
    (say 'pixel (send a get-pixel 15 15) (send a get-pixel (make-point 50 50)))
    (define hidden (open-window 'hidden a '(:size (10 10))))
    (say 'hidden (error-of (lambda () (send hidden with-drawing (lambda () (fill '(0 0 0) 0 0 5 5)) ()))))
    (define buffered (open-window 'buffered Page '(:size (50 50) :position (100 0) :type 7 :color white)))
    (send buffered set-offscreen? t)
    (send buffered with-drawing (lambda () (fill '(0 0 65535) 0 0 10 10)) t)
    (say 'buffer (send buffered with-drawing (lambda () (get-pixel 5 5)) t))
    (say 'busy (error-of (lambda () (send buffered with-drawing (lambda () (send buffered set-offscreen? ())) t)))
         (send buffered get-offscreen?))
    (send Page with-drawing (lambda () (fill '(65535 0 0) 250 160 300 190)) ())
    (send clipped with-system-drawing (lambda () (fill '(0 65535 0) -20 -20 -10 -10)))
    (say 'system (error-of (lambda () (send hidden with-system-drawing (lambda () ())))))
    (on a 'window-paint (lambda () (say 'update (get-update-rect))))
    (send a inval-rect 5 6 7 8))",
                            "wait 100\nframe drawn.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "pixel"), std::vector<std::string>{"pixel (65280 0 0) (65280 65280 65280)"});
  EXPECT_EQ(lines_starting(r.out, "hidden"), std::vector<std::string>{"hidden 2"});
  EXPECT_EQ(lines_starting(r.out, "buffer"), std::vector<std::string>{"buffer (0 0 65280)"});
  EXPECT_EQ(lines_starting(r.out, "busy"), std::vector<std::string>{"busy 2 1"})
      << "a buffer being drawn into is not dropped";
  EXPECT_EQ(lines_starting(r.out, "update"), std::vector<std::string>{"update (5 6 7 8)"});
  EXPECT_EQ(lines_starting(r.out, "system"), std::vector<std::string>{"system no-error"})
      << "a hidden window draws in its system window's context";
  auto frame = title.frame("drawn.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 15, 15), kRed);
  EXPECT_EQ(at(*frame, 105, 85), kBlue) << "inside the clip";
  EXPECT_EQ(at(*frame, 120, 100), kWhite) << "outside the clip";
  EXPECT_EQ(at(*frame, 260, 170), kRed) << "the page draws on the MDI client";
  EXPECT_EQ(at(*frame, 85, 65), kGreen) << "system drawing reaches outside the window";
}

TEST(PaintTitle, PushButtonsAndTextDrawInTheWindowsPort) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (300 180) :position (0 0) :type 7 :color white :erase? t
                                     :font ("Arial" 14 0))))
    (on a 'window-paint (lambda ()
      (draw-push-button '(10 10 90 34) "OK" () t)
      (draw-push-button '(100 10 180 34) "Cancel" t ())
      (move-to 10 70) (draw-string "Orvane")
      (text-box "centred text" '(10 90 200 120) 1 ()))))",
                            "wait 100\nframe buttons.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  expect_golden_frame(title, "buttons.png", {0, 0, 300, 180});
}

// Handlers may destroy windows while their parent paints them: the windows
// destroyed are not painted, the others are.
TEST(PaintTitle, WindowsDestroyedByAPaintHandlerAreSkipped) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define a (show-window 'a Page '(:size (200 150) :position (0 0) :type 7 :color white :erase? t)))
    (define back (open-window 'back a '(:size (40 40) :position (10 10) :color blue :erase? t)))
    (define front (open-window 'front a '(:size (40 40) :position (100 10) :color red :erase? t)))
    (send back show) (send front show)
    (define inner (show-window 'inner front '(:size (10 10) :position (5 5) :color blue :erase? t)))
    (on back 'window-paint (lambda () (say 'back 'paints) (if (send front object-opened?) (send front destroy))))
    (on inner 'window-paint (lambda () (say 'inner 'paints)))
    (define late (show-window 'late a '(:size (40 40) :position (10 80) :color (0 65535 0) :erase? t)))
    (on late 'window-paint (lambda () (say 'late 'paints) (send late destroy))))",
                            "wait 100\nframe destroyed.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_FALSE(lines_starting(r.out, "back paints").empty());
  EXPECT_TRUE(lines_starting(r.out, "inner paints").empty());
  EXPECT_EQ(lines_starting(r.out, "late paints").size(), 1u);
  auto frame = title.frame("destroyed.png");
  ASSERT_TRUE(frame);
  EXPECT_EQ(at(*frame, 20, 20), kBlue);
}

// A version-1 picture 20 x 10 whose left half is painted black, drawn at
// twice its size at a point and scaled into a rectangle.
TEST(PaintTitle, PicturesDrawIntoWindowsAtAScaleOrIntoARectangle) {
  WindowTitle title;
  RunResult r = run_in_page(title, R"(
    (define (bytes->handle _bytes)
      (let ((_h (new-handle (length _bytes))) (_i 0))
        (let ((_p (hlock _h)))
          (while _bytes (mset 1 (car _bytes) _p _i) (set! _i (+ _i 1)) (set! _bytes (cdr _bytes))))
        (hunlock _h)
        _h))
    (define Pict (bytes->handle '(0 30  0 0 0 0 0 10 0 20  17 1  49 0 0 0 0 0 10 0 10  255)))
    (define a (show-window 'a Page '(:size (300 180) :position (0 0) :type 7 :color white :erase? t)))
    (on a 'window-paint (lambda ()
      (draw-picture Pict (make-point 50 50) 2 1)
      (draw-picture-in-rect Pict '(100 100 140 120))
      (draw-picture Pict (make-point 200 20) () ()))))",
                            "wait 100\nframe pictures.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  auto frame = title.frame("pictures.png");
  ASSERT_TRUE(frame);
  const Color black{0, 0, 0};
  EXPECT_EQ(at(*frame, 50, 50), black);
  EXPECT_EQ(at(*frame, 69, 69), black) << "twice the size";
  EXPECT_EQ(at(*frame, 71, 60), kWhite);
  EXPECT_EQ(at(*frame, 119, 119), black);
  EXPECT_EQ(at(*frame, 121, 110), kWhite);
  EXPECT_EQ(at(*frame, 209, 29), black) << "natural size";
  EXPECT_EQ(at(*frame, 209, 30), kWhite);
  EXPECT_EQ(at(*frame, 210, 25), kWhite);
}

}  // namespace
}  // namespace orvane::testing
