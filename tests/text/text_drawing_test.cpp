// Drawing text: golden images with a tolerance, ink placed where measuring
// said, and the text methods of a window class through a drawing port.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/fonts_module.h"
#include "graphics/text_draw.h"
#include "graphics/text_fonts.h"
#include "objects/native_classes.h"
#include "raster/pixels.h"
#include "support/golden_image.h"

namespace orvane {
namespace {

using raster::IntRect;
using raster::Surface;
using raster::testing::white_surface;

// The box of the pixels that are not white (empty when none).
IntRect ink_box(const Surface& s) {
  IntRect box{s.width(), s.height(), 0, 0};
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.color_at(x, y).rgb() != 0xffffff)
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
  return box.left < box.right ? box : IntRect{};
}

// Text goldens allow for another FreeType version hinting a few edge pixels
// differently: 5% of the inked pixels may differ by more than 64.
::testing::AssertionResult matches_golden(const Surface& got, const std::string& name) {
  return testing::matches_golden(got, "text", name, {0.05, 64});
}

TEST(TextDrawing, InkLiesInTheMeasuredCell) {
  const fonts::Font font = font_of({0, 20, "Arial", 0});
  Surface s = white_surface(300, 60);
  raster::DeviceContext dc(s);
  const raster::IntPoint pen{20, 40};
  const int advance = draw_text(dc, font, pen, "Hxg", {});
  EXPECT_EQ(advance, font.text_width("Hxg"));
  const IntRect ink = ink_box(s);
  const fonts::FontMetrics& m = font.metrics();
  EXPECT_GE(ink.left, pen.x);
  EXPECT_LE(ink.right, pen.x + advance);
  EXPECT_GE(ink.top, pen.y - m.ascent);
  EXPECT_LE(ink.bottom, pen.y + m.descent);
  // 'H' stands on the baseline and 'g' goes below it.
  EXPECT_EQ(s.color_at(pen.x + font.advance('H') / 2, pen.y + 2).rgb(), 0xffffffu);
  EXPECT_GT(ink.bottom, pen.y);
}

TEST(TextDrawing, OpaqueBackgroundFillsTheCell) {
  const fonts::Font font = font_of({0, 16, "Arial", 0});
  Surface s = white_surface(120, 40);
  raster::DeviceContext dc(s);
  TextColors colors{raster::colors::black, raster::Color{0, 0, 255}};
  const int advance = draw_text(dc, font, {10, 25}, "ab", colors);
  const IntRect ink = ink_box(s);
  EXPECT_EQ(ink, (IntRect{10, 25 - font.metrics().ascent, 10 + advance, 25 + font.metrics().descent}));
}

TEST(TextDrawing, GoldenTextBoxes) {
  const std::string text =
      "Orvane draws text one byte a glyph: caf\xE9, \x93quotes\x94 and \x80 5.\rA second paragraph.";
  Surface s = white_surface(240, 140);
  raster::DeviceContext dc(s);
  const fonts::Font arial = font_of({0, 13, "Arial", 0});
  draw_text_box(dc, arial, text, {5, 5, 235, 70}, 0, false, {});
  const fonts::Font times = font_of({1, 15, "Times New Roman", 0});
  draw_text_box(dc, times, "Centred at the bottom", {5, 70, 235, 135}, 9, false,
                {raster::Color{128, 0, 0}, {}});
  EXPECT_TRUE(matches_golden(s, "text_boxes"));

  Surface w = white_surface(200, 40);
  raster::DeviceContext wdc(w);
  draw_text(wdc, font_of({0, 24, "Wingdings", 0}), {4, 30}, "J\xFC\xE0\x81", {});
  EXPECT_TRUE(matches_golden(w, "wingdings"));
}

TEST(TextDrawing, SmoothingIsOffByDefaultAndASetting) {
  const fonts::Font font = font_of({0, 20, "Arial", 0});
  auto greys = [&](fonts::Smoothing smoothing) {
    set_text_smoothing(smoothing);
    Surface s = white_surface(100, 40);
    raster::DeviceContext dc(s);
    draw_text(dc, font, {5, 30}, "So", {});
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x) {
        auto rgb = s.color_at(x, y).rgb();
        if (rgb != 0 && rgb != 0xffffff) ++n;
      }
    return n;
  };
  EXPECT_EQ(text_smoothing_in(platform::IniFile::parse("")), fonts::Smoothing::monochrome);
  EXPECT_EQ(text_smoothing_in(platform::IniFile::parse("[Fonts]\nSmoothing=0\n")),
            fonts::Smoothing::monochrome);
  EXPECT_EQ(text_smoothing_in(platform::IniFile::parse("[fonts]\nsmoothing=1\n")),
            fonts::Smoothing::antialiased);
  EXPECT_EQ(greys(fonts::Smoothing::monochrome), 0);
  EXPECT_GT(greys(fonts::Smoothing::antialiased), 0);
  set_text_smoothing(fonts::Smoothing::monochrome);
}

}  // namespace
}  // namespace orvane
