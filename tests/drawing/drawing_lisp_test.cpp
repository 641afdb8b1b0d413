// The drawing methods as Lisp reaches them: a native class whose peer owns a
// port stands for the window objects; offscreens, colours, patterns from
// resources and the global primitives.
#include <gtest/gtest.h>

#include <cstring>

#include "core/blocks.h"
#include "drawing/port_pixels.h"
#include "graphics/drawing_methods.h"
#include "graphics/drawing_values.h"
#include "graphics/pict_writer.h"
#include "graphics/port_owner.h"
#include "lib/lisp_test.h"
#include "objects/native_classes.h"
#include "storage/resources.h"
#include "storage/storage_support.h"

namespace orvane {
namespace {

using graphics::Offscreen;
using graphics::OffscreenSpec;
using graphics::testing::frame_pixels;
using graphics::testing::rows;

// A window stand-in: an 8 x 4 offscreen that is its port and its surface.
class TestPortPeer : public Peer, public graphics::PortOwner {
 public:
  graphics::DrawingPort& drawing_port() override { return canvas.port(); }
  raster::IntRect port_rect() const override { return canvas.frame(); }
  raster::DeviceContext& drawing_context(Value object, bool) override {
    if (!visible) raise_error(2, object);
    return canvas.context();
  }
  raster::DeviceContext& system_drawing_context(Value object) override {
    return drawing_context(object, false);
  }
  raster::DeviceContext* image_context() override { return &canvas.context(); }
  bool closed_zone() const override { return closed; }
  std::optional<raster::IntPoint> take_stopping_press(const raster::IntRect& image_rect, Value) override {
    if (++waits < stop_after) return std::nullopt;
    return raster::IntPoint{image_rect.left + 1, image_rect.top + 1};
  }
  void invalidate(const raster::IntRect& r) override { invalidated.push_back(r); }
  int waits = 0;
  int stop_after = 1000;
  std::vector<raster::IntRect> invalidated;

  Offscreen canvas{OffscreenSpec::of({0, 0, 8, 4})};
  bool visible = true;
  bool closed = false;
};

TestPortPeer* g_last_peer = nullptr;

Value make_test_port_peer() {
  Value v = make_peer<TestPortPeer>();
  g_last_peer = &native_as<TestPortPeer>(v, PointerKind::cpp_object);
  return v;
}

Value t_open(Value object) {
  open_peer(object);
  return object;
}

Value t_pixels(Value object) { return make_string(frame_pixels(peer_as<TestPortPeer>(object).canvas)); }

Value t_close_zone(Value object) {
  peer_as<TestPortPeer>(object).closed = true;
  return kNil;
}

Value t_hide(Value object) {
  peer_as<TestPortPeer>(object).visible = false;
  return kNil;
}

// An offscreen of the depth over (0 0 w h), with a clut when id is not nil.
Value t_offscreen(Value w, Value h, Value depth, Value clut) {
  OffscreenSpec spec = OffscreenSpec::of({0, 0, integer_of(w), integer_of(h)});
  spec.depth = integer_of(depth);
  if (!is_nil(clut)) spec.color_table = clut_resource(clut);
  return make_offscreen_value(std::make_unique<Offscreen>(spec));
}

Value t_offscreen_pixels(Value o) { return make_string(frame_pixels(offscreen_of(o))); }

class DrawingLispTest : public testing::LispTest {
 protected:
  void SetUp() override {
    LispTest::SetUp();
    Value k = make_native_class("obj-test-port", make_test_port_peer, kNil);
    register_drawing_methods(k);
    defprim("test-open", t_open);
    defprim("test-pixels", t_pixels);
    defprim("test-hide", t_hide);
    defprim("test-close-zone", t_close_zone);
    defprim("test-offscreen", t_offscreen);
    defprim("test-offscreen-pixels", t_offscreen_pixels);
    eval_text("(define w (test-open (make-instance obj-test-port)))");
  }
  void TearDown() override {
    close_all_resource_files();
    LispTest::TearDown();
  }
  // Errors raised inside a send: the report names the receiver, which this
  // stand-in class has no printed form for, so only the raise is checked.
  bool raises(std::string_view text) { return error_code(text) != -1; }
  std::string pixels() { return std::string(string_view_of(eval_text("(test-pixels w)"))); }

  // A resource file holding the resources, each (type id bytes), opened.
  void open_resources(
      std::initializer_list<std::tuple<const char*, int, std::vector<std::uint8_t>>> resources) {
    std::string path = dir.file("Drawing.RI");
    ASSERT_EQ(resource_manager().create_file(path, FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::none);
    ASSERT_GT(resource_manager().open(path), 0);
    for (auto& [type, id, bytes] : resources) {
      Value h = eval_text("(new-handle " + std::to_string(bytes.size()) + ")");
      std::memcpy(handle_bytes(pointer_address(h)).data(), bytes.data(), bytes.size());
      set_symbol_global(intern("H"), h);
      eval_text(std::string("(addresource H \"") + type + "\" " + std::to_string(id) + " \"\")");
    }
  }

  testing::TempDir dir;
};

TEST_F(DrawingLispTest, ColoursAreListsOfSixteenBitComponents) {
  EXPECT_TRUE(gives("(send w get-fore-color)", "(0 0 0)"));
  EXPECT_TRUE(gives("(send w get-back-color)", "(65535 65535 65535)"));
  eval_text("(send w set-fore-color '(65535 0 0))");
  EXPECT_TRUE(gives("(send w get-fore-color)", "(65535 0 0)"));
  EXPECT_TRUE(raises("(send w set-fore-color '(1 2))"));
  EXPECT_TRUE(raises("(send w set-back-color '(1 2 70000))"));
  EXPECT_TRUE(gives("Background-Color", "(49344 49344 49344)"));
}

TEST_F(DrawingLispTest, PaintingWithPatternsAndColours) {
  eval_text("(send w paint-rect 0 0 2 4)");
  EXPECT_TRUE(gives("(send w with-pattern 0 4 (lambda () (send w paint-rect '(2 0 4 4)) 'done))", "done"));
  // An index naming no pattern: no pattern bits, white.
  eval_text("(send w with-pattern 0 99 (lambda () (send w paint-rect '(0 0 1 4))))");
  // The pattern is given back: black again.
  eval_text("(send w paint-rect '(4 0 5 4))");
  EXPECT_EQ(pixels(), rows({".##.#...", ".#.##...", ".##.#...", ".#.##..."}));
  eval_text("(send w color-rect '(5 0 8 1) '(0 0 0))");
  eval_text("(send w color-rect 5 1 8 2 '(0 0 0))");
  EXPECT_EQ(pixels().substr(0, 17), ".##.####\n.#.#####");
}

TEST_F(DrawingLispTest, PatternListsComeFromResources) {
  std::vector<std::uint8_t> pats{0, 2,    0xff, 0,    0xff, 0,    0xff, 0,    0xff,
                                 0, 0xf0, 0xf0, 0xf0, 0xf0, 0xf0, 0xf0, 0xf0, 0xf0};
  open_resources({{"PAT#", 300, pats}});
  eval_text("(send w with-pattern 300 2 (lambda () (send w paint-rect '(0 0 8 1))))");
  eval_text("(send w with-pattern 300 1 (lambda () (send w paint-rect '(0 1 8 3))))");
  eval_text("(send w with-pattern 300 3 (lambda () (send w paint-rect '(0 3 8 4))))");
  // Patterns are anchored at the port's origin: row 1 shows pattern row 1.
  EXPECT_EQ(pixels(), rows({"####....", "........", "########", "........"}));
}

TEST_F(DrawingLispTest, LinesAndTheEndPixel) {
  eval_text("(send w move-to 0 0)");
  eval_text("(send w line-to 3 0)");
  eval_text("(send w move-to '(0 . 2) nil)");
  eval_text("(send w line 0 2)");  // line leaves its end pixel, as GDI does
  EXPECT_EQ(pixels(), rows({"####....", "..#.....", "........", "........"}));
}

TEST_F(DrawingLispTest, PolygonsAreFramedOpenOrClosedAndPainted) {
  // Points are (y . x).
  eval_text("(send w frame-poly '((0 . 0) (0 . 3) (3 . 3)))");
  // Each line leaves its last pixel: the open figure misses its end point.
  EXPECT_EQ(pixels(), rows({"####....", "...#....", "...#....", "........"}));
  eval_text("(test-close-zone w)");
  eval_text("(send w frame-poly '((0 . 4) (0 . 7) (3 . 7)))");
  EXPECT_EQ(pixels(), rows({"########", "...#.#.#", "...#..##", ".......#"}));
  eval_text("(send w paint-poly '((0 . 0) (0 . 8) (4 . 8) (4 . 0)))");
  EXPECT_EQ(pixels(), rows({"########", "########", "########", "########"}));
}

TEST_F(DrawingLispTest, WithDrawingNeedsAVisibleWindow) {
  EXPECT_TRUE(gives("(send w with-drawing (lambda () 7) nil)", "7"));
  eval_text("(test-hide w)");
  EXPECT_TRUE(raises("(send w with-drawing (lambda () 7) nil)"));
}

TEST_F(DrawingLispTest, ThreeDimensionalProjection) {
  eval_text("(define m (new-ptr 128))");
  eval_text("(set-3d-transformation m '(0 1 1) '(0 0 0) 10 100 50 2 3)");
  EXPECT_TRUE(gives("(3d-transform m 1 2 3)", "(104 . 44)"));
  // The pen of the current drawing port: the matrix last for 3d-move-to.
  eval_text("(set-3d-transformation m '(0 1 1) '(0 0 0) 10 0 0 1 1)");
  eval_text("(send w with-drawing (lambda () (3d-move-to 0 0 0 m) (3d-line-to m 3 0 0)) nil)");
  // World x runs down the port in this view: (3 0 0) projects to (0, 3).
  EXPECT_EQ(pixels(), rows({"#.......", "#.......", "#.......", "#......."}));
  EXPECT_EQ(error_code("(3d-transform (new-ptr 16) 1 2 3)"), 2);
  EXPECT_EQ(error_code("(3d-move-to 0 0 0 m)"), 2);  // no drawing port
}

TEST_F(DrawingLispTest, GlobalPrimitives) {
  EXPECT_TRUE(gives("(get-depth)", "32"));
  EXPECT_TRUE(gives("(has-depth 8)", "()"));
  EXPECT_TRUE(gives("(orvane-choose-color 0 0 nil)", "(0 0 0)"));
  EXPECT_TRUE(gives("(orvane-choose-color 0 0 '(1 2 65535))", "(1 2 65535)"));
}

TEST_F(DrawingLispTest, OffscreensAreDrawnDisposedAndRefused) {
  eval_text("(define o (test-offscreen 8 4 0 nil))");
  EXPECT_EQ(print_to_string(eval_text("o")).find("offscreen") != std::string::npos, true);
  eval_text("(send w paint-rect 0 0 8 4)");
  eval_text("(send w draw-offscreen o)");
  EXPECT_EQ(pixels(), rows({"........", "........", "........", "........"}));
  // Not while a drawing session draws into it.
  Offscreen& o = offscreen_of(eval_text("o"));
  {
    graphics::DrawingSession session(o.port(), o.context());
    EXPECT_EQ(error_code("(dispose-offscreen o)"), 2);
  }
  eval_text("(dispose-offscreen o)");
  EXPECT_TRUE(raises("(send w draw-offscreen o)"));
  EXPECT_EQ(error_code("(dispose-offscreen o)"), 2);
  EXPECT_EQ(error_code("(test-offscreen 4 4 7 nil)"), 2);
  EXPECT_EQ(error_code("(test-offscreen 30000 30000 0 nil)"), 9);
}

TEST_F(DrawingLispTest, PicturesBecomeMaskedOffscreens) {
  auto pict = graphics::testing::PictWriter(1, {0, 0, 8, 4}).op(0x31).rect({2, 1, 4, 3}).finish();
  open_resources({{"PICT", 600, pict}});
  eval_text("(define o (picture->offscreen 600))");
  Value o = eval_text("o");
  EXPECT_EQ(offscreen_of(o).frame(), (raster::IntRect{0, 0, 8, 4}));
  EXPECT_EQ(std::string(string_view_of(eval_text("(test-offscreen-pixels o)"))),
            rows({"........", "..##....", "..##....", "........"}));
  // Drawn transparently through its mask, the port's red shows around the image.
  eval_text("(send w color-rect '(0 0 8 4) '(65535 0 0))");
  offscreen_of(eval_text("o")).port().set_transfer_mode(graphics::kTransparentMode);
  eval_text("(send w draw-offscreen o)");
  EXPECT_EQ(pixels(), rows({"????????", "??##????", "??##????", "????????"}));
  EXPECT_EQ(error_code("(picture->offscreen 601)"), 2);
}

TEST_F(DrawingLispTest, ColourTablesFromClutResources) {
  std::vector<std::uint8_t> good{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0xff, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> short_count = good;
  short_count[7] = 5;  // six entries claimed, two held
  open_resources({{"clut", 400, good}, {"clut", 401, short_count}});
  eval_text("(define o (test-offscreen 2 1 8 400))");
  Offscreen& o = offscreen_of(eval_text("o"));
  EXPECT_EQ(o.surface().color_table().size(), 2u);
  EXPECT_EQ(o.surface().color_table()[1], (raster::Color{255, 0, 0}));
  EXPECT_EQ(error_code("(test-offscreen 2 1 8 401)"), 2);
  EXPECT_EQ(error_code("(test-offscreen 2 1 8 402)"), 2);
}

TEST_F(DrawingLispTest, AnimateRectMovesTheImageAndRestoresWhatItUncovers) {
  // The image: the black column at x 0; moved right by 4 in steps of 2.
  eval_text("(send w paint-rect 0 0 1 4)");
  EXPECT_TRUE(gives("(send w animate-rect '(0 0 2 4) '((0 . 0) (0 . 4)) 2 1 0 nil nil)", "()"));
  EXPECT_EQ(pixels(), rows({"#...#...", "#...#...", "#...#...", "#...#..."}));
  auto& peer = peer_as<TestPortPeer>(eval_text("w"));
  ASSERT_EQ(peer.invalidated.size(), 2u);
  EXPECT_EQ(peer.invalidated[1], (raster::IntRect{4, 0, 6, 4}));
  EXPECT_EQ(peer.waits, 0);  // stop nil: no presses asked for
}

TEST_F(DrawingLispTest, AnimateRectStopsAtAPress) {
  auto& peer = peer_as<TestPortPeer>(eval_text("w"));
  peer.stop_after = 2;
  // The second wait finds a press: the image stands at its second place.
  EXPECT_TRUE(gives("(send w animate-rect '(0 0 2 4) '((0 . 0) (0 . 6)) 1 1 0 nil t)", "((1 . 3) 2 0 4 4)"));
}

}  // namespace
}  // namespace orvane
