// Picture objects in headless titles: pictures from a handle, a resource,
// a database record and a picture file, at natural size and scaled, content
// winning over the resource; draw-picture at half size; faces images round
// trip through a window's 8-bit buffer; the primitives that measure and
// convert pictures; and bad data in each source.
#include <gtest/gtest.h>

#include "controls/control_title.h"
#include "graphics/pict_writer.h"

namespace orvane::testing {
namespace {

using graphics::testing::PictWriter;
using raster::Color;
using raster::IntRect;

// A version-2 picture of 40 x 20: red, with a blue quarter at its top-left.
std::string two_colour_picture(int red, int green, int blue) {
  PictWriter w(2, {0, 0, 40, 20});
  w.header();
  w.op(0x1a).rgb(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
  w.op(0x31).rect({0, 0, 40, 20});
  w.op(0x1a).rgb(0, 0, 255);
  w.op(0x31).rect({0, 0, 20, 10});
  std::vector<std::uint8_t> bytes = w.finish();
  return {bytes.begin(), bytes.end()};
}

// A "clut" of 256 greys, index i = (i i i): white is 255, and only the
// whites count as blank in faces images.
std::string grey_ramp_clut() {
  std::string clut = be32(0) + be16(0) + be16(255);
  for (int i = 0; i < 256; ++i) clut += be16(i) + be16(i * 257) + be16(i * 257) + be16(i * 257);
  return clut;
}

constexpr Color kRed{255, 0, 0};
constexpr Color kGreen{0, 255, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kWhite{255, 255, 255};

void add_pictures(ControlTitle& title) {
  title.resource("PICT", 128, two_colour_picture(255, 0, 0));
  title.resource("PICT", 129, two_colour_picture(0, 255, 0));
  title.file("PIC.PCT", std::string(512, '\0') + two_colour_picture(255, 0, 0));
}

TEST(PictureObjects, EachSourceDrawsAtNaturalSizeOrScaledAndContentWins) {
  ControlTitle title;
  add_pictures(title);
  RunResult r = title.play(R"(
    (define green (getpicture 129))
    (detachresource green)
    (show-control test-picture 'handle Page '(:size (60 30) :position (0 0) :erase? t) 'content green
                  'picture-resource (getpicture 128))
    (show-control test-picture 'resource Page '(:size (60 30) :position (100 0) :erase? t) 'picture-resource (getpicture 128))
    (show-control test-picture 'scaled Page '(:size (80 40) :position (200 0)) 'picture-resource (getpicture 128)
                  'scale-to-fit? t)
    (show-control test-picture 'file Page '(:size (60 30) :position (0 100) :erase? t) 'real-pathname (list orvane-dir "PIC.PCT")
                  'margin-width 5)
    (show-control test-picture 'file-scaled Page '(:size (80 40) :position (100 100))
                  'real-pathname (list orvane-dir "PIC.PCT") 'scale-to-fit? t)
    (create-database-subr (list orvane-dir "PICTS.DB") "ORVN" "DBSE")
    (define db (open-database (list orvane-dir "PICTS.DB") 2))
    (define stored (getpicture 128))
    (detachresource stored)
    (add-record stored "PICT" 1 "" db)
    (write-record stored)
    (show-control test-picture 'record Page '(:size (60 30) :position (200 100)) 'picture-record stored))",
                           "wait 100\nframe pictures.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::optional<raster::Surface> f = title.frame("pictures.png");
  ASSERT_TRUE(f);
  auto at = [&](int x, int y) { return f->color_at(x, y); };
  // content (green) over the resource (red), natural size at the top-left.
  EXPECT_EQ(at(2, 2), kBlue);
  EXPECT_EQ(at(30, 15), kGreen);
  EXPECT_EQ(at(50, 25), kWhite);
  // The resource at natural size; scaled into 80 x 40.
  EXPECT_EQ(at(130, 15), kRed);
  EXPECT_EQ(at(150, 25), kWhite);
  EXPECT_EQ(at(200 + 35, 15), kBlue);
  EXPECT_EQ(at(200 + 70, 35), kRed);
  // The file moved in by frame-width 5, and scaled.
  EXPECT_EQ(at(2, 102), kWhite);
  EXPECT_EQ(at(6, 106), kBlue);
  EXPECT_EQ(at(44, 124), kRed);
  EXPECT_EQ(at(100 + 35, 115), kBlue);
  EXPECT_EQ(at(100 + 70, 135), kRed);
  // The record.
  EXPECT_EQ(at(230, 115), kRed);
}

TEST(PictureObjects, DrawPictureAtHalfSizeAndInARect) {
  ControlTitle title;
  add_pictures(title);
  RunResult r = title.play(R"(
    (define w (show-window 'w Page '(:size (200 100) :position (0 0) :color white :erase? t)))
    (define p (getpicture 128))
    (w (add-override 'window-paint (lambda () (send w draw-picture p (make-point 10 10) 1 2)
                                               (send w draw-picture-in-rect p '(100 10 180 50)))))
    (send w inval-window ())
    (say 'rect (get-picture-rect p) 'mode (get-picture-mode p)))",
                           "wait 20\nframe drawn.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "rect"), std::vector<std::string>{"rect (0 0 40 20) mode ()"});
  std::optional<raster::Surface> f = title.frame("drawn.png");
  ASSERT_TRUE(f);
  // Half size: 20 x 10 at (10, 10), its blue quarter 10 x 5.
  EXPECT_EQ(f->color_at(12, 12), kBlue);
  EXPECT_EQ(f->color_at(25, 17), kRed);
  EXPECT_EQ(f->color_at(31, 12), kWhite);
  EXPECT_EQ(f->color_at(12, 21), kWhite);
  // Scaled into 80 x 40.
  EXPECT_EQ(f->color_at(135, 25), kBlue);
  EXPECT_EQ(f->color_at(175, 45), kRed);
}

TEST(PictureObjects, FacesImagesRoundTripThroughAnEightBitBuffer) {
  ControlTitle title;
  title.resource("clut", 300, grey_ramp_clut());
  RunResult r = title.play(R"(
    (define offscreen-depth 8)
    (define offscreen-palette 300)
    (define w (show-window 'w Page '(:size (300 40) :position (0 0) :color white)))
    (send w set-offscreen? t)
    (send w with-drawing (lambda () (send w paint-rect '(260 5 290 30)) (send w paint-rect '(3 2 9 4))) t)
    (say 'box (get-faces-rect (send w get-faces-picture "Hi" 0)))
    (say 'left (get-faces-rect (send w get-faces-picture () 1)))
    (say 'right (get-faces-rect (send w get-faces-picture () 2)))
    ; Corners make the box the whole buffer: put gives it back as it was.
    (send w with-drawing (lambda () (send w paint-rect '(0 0 1 1)) (send w paint-rect '(299 39 300 40))) t)
    (define whole (send w get-faces-picture () 0))
    (define (pixels) (list (send w get-pixel 0 0) (send w get-pixel 5 3) (send w get-pixel 270 20)
                           (send w get-pixel 100 20) (send w get-pixel 299 39)))
    (define before (pixels))
    (send w with-drawing (lambda () (send w erase-rect '(0 0 300 40))) t)
    ; A blank buffer keeps its last row and column.
    (say 'erased (get-faces-rect (send w get-faces-picture () 0)))
    (send w put-faces-picture whole)
    (say 'whole (get-faces-rect whole) (equal? (pixels) before)
         (= (get-handle-size (send w get-faces-picture () 0)) (get-handle-size whole)))
    ; A smaller image is scaled to the buffer.
    (send w put-faces-picture (send w get-faces-picture () 1))
    (say 'scaled (get-faces-rect (send w get-faces-picture () 0))))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "box"), std::vector<std::string>{"box (3 2 290 30)"});
  EXPECT_EQ(lines_starting(r.out, "left"), std::vector<std::string>{"left (3 2 9 4)"});
  EXPECT_EQ(lines_starting(r.out, "right"), std::vector<std::string>{"right (260 5 290 30)"});
  EXPECT_EQ(lines_starting(r.out, "erased"), std::vector<std::string>{"erased (299 39 300 40)"});
  EXPECT_EQ(lines_starting(r.out, "whole"), std::vector<std::string>{"whole (0 0 300 40) t t"});
  EXPECT_EQ(lines_starting(r.out, "scaled"), std::vector<std::string>{"scaled (0 0 300 40)"});
}

TEST(PictureObjects, CachesCapturesAndMasksFromLisp) {
  ControlTitle title;
  add_pictures(title);
  title.resource("clut", 300, grey_ramp_clut());
  RunResult r = title.play(R"(
    ; A cache wins over the picture source.
    (define cached (show-control test-picture 'cached Page '(:size (40 20) :position (0 0) :erase? t)
                                 'picture-resource (getpicture 129)))
    (send cached set-picture-cache (picture->offscreen 128))
    (say 'cache-error (error-of (lambda () (send cached set-picture-cache 12))))
    (process-events)
    ; A capture of the screen: a 24-bit packed bitmap of the area.
    (define shot (send cached get-window-picture '(0 0 40 20)))
    (say 'shot (get-picture-rect shot) (get-picture-mode shot))
    (define copy (show-control test-picture 'copy Page '(:size (40 20) :position (0 40) :erase? t) 'content shot))
    ; Masks on an 8-bit buffer: the shape's extents cut what lies around it.
    (define offscreen-depth 8)
    (define offscreen-palette 300)
    (define w (show-window 'w Page '(:size (20 10) :position (100 0) :color white)))
    (send w set-offscreen? t)
    (define shape (show-window 'shape w '(:size (10 10) :position (5 0))))
    (send w with-drawing (lambda () (send w paint-rect '(7 2 9 4)) (send w paint-rect '(0 0 20 1))) t)
    (define extents (new-ptr 40))
    (send w init-mask extents)
    (send w compute-mask extents shape)
    (send w apply-mask extents '(0 0 20 10))
    (say 'mask (get-faces-rect (send w get-faces-picture () 0)))
    (say 'short-block (error-of (lambda () (send w init-mask (new-ptr 8)))))
    (say 'no-buffer (error-of (lambda () (send cached apply-line-art '(0 0 5 5))))))",
                           "wait 100\nframe cache.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "cache-error"), std::vector<std::string>{"cache-error 2"});
  EXPECT_EQ(lines_starting(r.out, "shot"), std::vector<std::string>{"shot (0 0 40 20) 0"});
  // Row 0 keeps the shape's columns (5 to 14), rows 2 and 3 the small
  // square (7 and 8): what is left dark lies in (5 0 15 4), not (0 0 20 4).
  EXPECT_EQ(lines_starting(r.out, "mask"), std::vector<std::string>{"mask (5 0 15 4)"});
  EXPECT_EQ(lines_starting(r.out, "short-block"), std::vector<std::string>{"short-block 2"});
  EXPECT_EQ(lines_starting(r.out, "no-buffer"), std::vector<std::string>{"no-buffer 2"});
  std::optional<raster::Surface> f = title.frame("cache.png");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->color_at(2, 2), kBlue);    // the cache: the red picture, not the green source
  EXPECT_EQ(f->color_at(30, 15), kRed);
  EXPECT_EQ(f->color_at(2, 42), kBlue);   // the capture shown again
  EXPECT_EQ(f->color_at(30, 55), kRed);
}

TEST(PictureObjects, PrimitivesMeasureAndConvertPictures) {
  // A 2 x 2 24-bit Windows bitmap file.
  std::string bmp = "BM" + std::string(12, '\0');
  std::string info(40, '\0');
  info[0] = 40;
  info[4] = 2;
  info[8] = 2;
  info[12] = 1;
  info[14] = 24;
  bmp += info + std::string(16, '\x7f');
  ControlTitle title;
  add_pictures(title);
  title.file("GOOD.BMP", bmp).file("SHORT.BMP", bmp.substr(0, 40)).file("BAD.BMP", "XX" + bmp.substr(2));
  RunResult r = title.play(R"(
    (define converted (convert-bitmap-to-picture (list orvane-dir "GOOD.BMP")))
    (say 'converted (get-picture-rect converted) (get-picture-mode converted) (get-picture-bitmap-rect converted))
    (say 'refused (convert-bitmap-to-picture (list orvane-dir "SHORT.BMP"))
                  (convert-bitmap-to-picture (list orvane-dir "BAD.BMP"))
                  (convert-bitmap-to-picture (list orvane-dir "NONE.BMP")))
    (say 'drawn (get-picture-mode (getpicture 128)) (get-picture-bitmap-rect (getpicture 128))))");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "converted"), std::vector<std::string>{"converted (0 0 2 2) 0 (0 0 2 2)"});
  EXPECT_EQ(lines_starting(r.out, "refused"), std::vector<std::string>{"refused () () ()"});
  EXPECT_EQ(lines_starting(r.out, "drawn"), std::vector<std::string>{"drawn () (0 0 0 0)"});
}

TEST(PictureObjects, BadDataInEachSourceGivesClearErrorsAndNeverACrash) {
  ControlTitle title;
  const std::string good = two_colour_picture(255, 0, 0);
  title.resource("PICT", 130, good.substr(0, 30));
  title.file("CUT.PCT", std::string(512, '\0') + good.substr(0, 25));
  title.resource("TEXT", 131, "not a faces image");
  RunResult r = title.play(R"(
    (define offscreen-depth 8)
    (define offscreen-palette ())
    (show-control test-picture 'cut Page '(:size (60 30) :position (0 0)) 'picture-resource (getpicture 130))
    (show-control test-picture 'cut-file Page '(:size (60 30) :position (0 40))
                  'real-pathname (list orvane-dir "CUT.PCT"))
    (define cut (getpicture 130))
    (detachresource cut)
    (show-control test-picture 'cut-handle Page '(:size (60 30) :position (0 80)) 'content cut 'scale-to-fit? t)
    (create-database-subr (list orvane-dir "CUT.DB") "ORVN" "DBSE")
    (define db (open-database (list orvane-dir "CUT.DB") 2))
    (define cut-record (getpicture 130))
    (detachresource cut-record)
    (add-record cut-record "PICT" 1 "" db)
    (show-control test-picture 'cut-record Page '(:size (60 30) :position (0 120)) 'picture-record cut-record)
    (define w (show-window 'w Page '(:size (40 40) :position (100 0))))
    (send w set-offscreen? t)
    (define text (getresource "TEXT" 131))
    (say 'errors (error-of (lambda () (send w put-faces-picture text)))
                 (error-of (lambda () (get-faces-rect (new-handle 3))))
                 (error-of (lambda () (get-picture-rect 12)))
                 (error-of (lambda () (send w draw-picture 'x (make-point 0 0) 1 0))))
    (say 'truncated (get-picture-rect (getpicture 130))))",
                           "wait 50\nframe cut.png\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // Truncated pictures draw what they hold, quietly, from every source.
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_starting(r.out, "errors"), std::vector<std::string>{"errors 2 2 2 2"});
  EXPECT_EQ(lines_starting(r.out, "truncated"), std::vector<std::string>{"truncated (0 0 40 20)"});
}

}  // namespace
}  // namespace orvane::testing
