// The text methods of a window class, reached through a drawing port: a
// class of the test whose peer draws into a surface.
#include <gtest/gtest.h>

#include "graphics/fonts_module.h"
#include "graphics/text_fonts.h"
#include "graphics/text_layout.h"
#include "lib/lisp_test.h"
#include "objects/native_classes.h"
#include "raster/pixels.h"

namespace orvane {
namespace {

class SurfacePort : public InterfacePeer, public TextPort {
 public:
  SurfacePort() : surface(raster::testing::white_surface(200, 100)) {}
  const FontRecord& text_font() const override { return font; }
  void select_text_font(const FontRecord& record) override {
    font = record;
    ++selections;
  }
  TextColors text_colors() const override { return {raster::colors::black, {}}; }
  void draw_in_port(const std::function<void(raster::DeviceContext&)>& draw) override {
    raster::DeviceContext dc(surface);
    draw(dc);
  }

  raster::Surface surface;
  FontRecord font{0, 13, "Arial", 0};
  int selections = 0;
};

Value make_surface_port() { return make_peer<SurfacePort>(); }
TextPort& port_of(Value self) { return peer_as<SurfacePort>(self); }
Value current_font_size() { return make_integer(peer_as<SurfacePort>(g_mem.self).font.size); }
Value failing() { raise_error(4, kNil); }

class TextMethodsTest : public testing::LispTest {
 protected:
  void SetUp() override {
    LispTest::SetUp();
    eval_text("(define (print-self) \"#<object>\")");
    Value k = make_native_class("obj-text-port", make_surface_port, symbol_global(intern("obj-interface")));
    register_text_methods(k, port_of);
    register_method(k, "current-font-size", current_font_size);
    register_method(k, "failing", failing);
    eval_text("(define w (make-instance obj-text-port))");
    eval_text("(w (link-object))");
  }
  SurfacePort& port() { return peer_as<SurfacePort>(eval_text("w")); }
  fonts::Font arial13() { return font_of({0, 13, "Arial", 0}); }
};

TEST_F(TextMethodsTest, MetricsAndWidthsInTheCurrentOrAGivenFont) {
  const fonts::Font f = arial13();
  const fonts::Font big = font_of({1, 30, "Times New Roman", 0});
  EXPECT_TRUE(gives("(send w get-line-height nil)", std::to_string(f.metrics().line_height)));
  EXPECT_TRUE(gives("(send w get-line-ascent nil)", std::to_string(f.metrics().ascent)));
  EXPECT_TRUE(gives("(send w get-line-height '(9 30 1))", std::to_string(big.metrics().line_height)));
  EXPECT_TRUE(
      gives("(send w get-line-ascent '(\"Times New Roman\" 30 1))", std::to_string(big.metrics().ascent)));
  EXPECT_TRUE(gives("(send w char-width 87)", std::to_string(f.advance('W'))));
  EXPECT_TRUE(gives("(send w char-width (+ 512 87))", std::to_string(f.advance('W'))));
  EXPECT_TRUE(gives("(send w string-width \"Width\" nil)", std::to_string(f.text_width("Width"))));
  EXPECT_TRUE(gives("(send w string-width 12345 nil)", std::to_string(f.text_width("12345"))));
  EXPECT_TRUE(gives("(send w string-width \"Width\" '(9 30 1))", std::to_string(big.text_width("Width"))));
}

TEST_F(TextMethodsTest, TextHeightWrapsInTheWindowFont) {
  const fonts::Font f = arial13();
  const int w = f.text_width("alpha beta");
  EXPECT_TRUE(gives("(send w get-text-height \"\" 100)", "0"));
  EXPECT_TRUE(gives("(send w get-text-height \"alpha beta gamma delta\" " + std::to_string(w) + ")",
                    std::to_string(wrapped_text_height(f, "alpha beta gamma delta", w))));
  EXPECT_TRUE(gives("(send w get-text-height \"x\" 100)", std::to_string(f.metrics().line_height)));
}

TEST_F(TextMethodsTest, WithFontSelectsForTheMessageAndRestores) {
  EXPECT_TRUE(gives("(send w with-font '(\"Arial\" 40 0) 'current-font-size)", "40"));
  EXPECT_EQ(port().font.size, 13);
  // The previous font comes back when the message fails.
  EXPECT_EQ(error_code("(send w with-font '(\"Arial\" 40 0) 'failing)"), 4);
  EXPECT_EQ(port().font.size, 13);
  EXPECT_EQ(error_code("(send w with-font 'arial 'current-font-size)"), 2);
  EXPECT_EQ(port().font.size, 13);
}

TEST_F(TextMethodsTest, TextBoxDrawsInThePort) {
  eval_text("(send w text-box \"Hello\" '(10 10 190 90) 9 nil)");
  const fonts::Font f = arial13();
  const raster::Surface& s = port().surface;
  bool inked = false;
  const int left = 10 + (180 - f.text_width("Hello")) / 2;
  const int top = 90 - f.metrics().line_height;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.color_at(x, y).rgb() != 0xffffff) {
        inked = true;
        EXPECT_GE(x, left);
        EXPECT_GE(y, top);
        EXPECT_LT(y, 90);
      }
  EXPECT_TRUE(inked);
  EXPECT_EQ(error_code("(send w text-box \"Hello\" 'r 0 nil)"), 2);
}

TEST_F(TextMethodsTest, BadFontNamesNeverCrash) {
  EXPECT_TRUE(gives("(send w string-width \"abc\" '(\"No Such Face\" 13 0))",
                    std::to_string(arial13().text_width("abc"))));
  EXPECT_EQ(error_code("(send w string-width \"abc\" '(nil 13 0))"), 2);
  EXPECT_EQ(error_code("(send w get-line-height 12)"), 2);
  EXPECT_EQ(error_code("(send w get-line-height '(\"Arial\" big 0))"), 2);
}

}  // namespace
}  // namespace orvane
