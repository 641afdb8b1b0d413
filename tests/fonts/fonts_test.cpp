// The fonts unit: faces found and substituted, metrics, widths and drawing.
#include <gtest/gtest.h>

#include "platform/fonts/face_names.h"
#include "platform/fonts/font.h"
#include "platform/raster/device_context.h"

namespace orvane::fonts {
namespace {

using raster::Color;
using raster::IntRect;
using raster::PixelFormat;
using raster::Surface;

Font open_font(std::string family, int height, bool bold = false, bool italic = false) {
  FontRequest r;
  r.family = std::move(family);
  r.height = height;
  r.bold = bold;
  r.italic = italic;
  std::optional<Font> font = Font::open(r);
  if (!font) throw std::runtime_error("no font for " + r.family);
  return *font;
}

TextPaint ink(Color color, Smoothing smoothing = Smoothing::monochrome,
              std::optional<Color> background = std::nullopt) {
  return TextPaint{color, smoothing, background};
}

Surface white(int w, int h) {
  Surface s(w, h, PixelFormat::rgb32);
  s.fill(0xffffff);
  return s;
}

// The pixels that are not white.
std::vector<raster::IntPoint> inked(const Surface& s) {
  std::vector<raster::IntPoint> points;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.pixel(x, y) != 0xffffff) points.push_back({x, y});
  return points;
}

TEST(FontFaces, WindowsFacesAreServedByMetricCompatibleOnes) {
  EXPECT_EQ(substitute_family("Arial"), "Liberation Sans");
  EXPECT_EQ(substitute_family("ms sans serif"), "Liberation Sans");
  EXPECT_EQ(substitute_family("System"), "Liberation Sans");
  EXPECT_EQ(substitute_family("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(substitute_family("Courier New"), "Liberation Mono");
  EXPECT_EQ(substitute_family("Garamond"), "Garamond");

  Font arial = open_font("Arial", 13);
  EXPECT_EQ(arial.family(), "Liberation Sans");
  EXPECT_TRUE(arial.substituted());
  EXPECT_EQ(open_font("Times New Roman", 13).family(), "Liberation Serif");
  EXPECT_EQ(open_font("Courier New", 13).family(), "Liberation Mono");
  EXPECT_FALSE(open_font("Liberation Serif", 13).substituted());
}

TEST(FontFaces, UnknownFamilyFallsBackToLiberationSans) {
  Font font = open_font("No Such Face At All", 12);
  EXPECT_EQ(font.family(), kFallbackFamily);
  EXPECT_TRUE(font.substituted());
  EXPECT_FALSE(family_installed("No Such Face At All"));
  EXPECT_TRUE(family_installed("Arial"));
}

TEST(FontFaces, InstalledFamiliesAreSortedUniqueAndNameTheSubstitutes) {
  std::vector<std::string> names = installed_families();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  for (const char* name : {"Arial", "Courier New", "Liberation Sans", "MS Sans Serif", "Times New Roman"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

TEST(FontFaces, ImpossibleHeightsAreRefused) {
  FontRequest r;
  r.family = "Arial";
  r.height = 0;
  EXPECT_FALSE(Font::open(r));
  r.height = 100000;
  EXPECT_FALSE(Font::open(r));
}

TEST(FontMetricsTest, AreSaneAndRepeatable) {
  Font font = open_font("MS Sans Serif", points_to_pixels(8));
  EXPECT_EQ(font.pixel_size(), 11);
  const FontMetrics& m = font.metrics();
  EXPECT_GT(m.ascent, m.descent);
  EXPECT_GT(m.descent, 0);
  EXPECT_EQ(m.line_height, m.ascent + m.descent);
  EXPECT_GE(m.line_height, font.pixel_size());
  EXPECT_LE(m.line_height, font.pixel_size() * 3 / 2);
  EXPECT_GT(m.average_width, 0);
  EXPECT_LT(m.average_width, m.max_width);

  // A second load of the same request (a fresh one once the first is gone)
  // gives the same numbers.
  FontMetrics first = m;
  int first_width = font.text_width("Hello, world");
  font = open_font("Liberation Serif", 20);
  Font again = open_font("MS Sans Serif", 11);
  EXPECT_EQ(again.metrics().ascent, first.ascent);
  EXPECT_EQ(again.metrics().line_height, first.line_height);
  EXPECT_EQ(again.metrics().average_width, first.average_width);
  EXPECT_EQ(again.text_width("Hello, world"), first_width);
}

TEST(FontMetricsTest, PointSizesAreAt96Dpi) {
  EXPECT_EQ(points_to_pixels(12), 16);
  EXPECT_EQ(points_to_pixels(8), 11);
  EXPECT_EQ(FontRequest::points("Arial", 9, true).height, 12);
}

TEST(FontMetricsTest, CellHeightRequestsMeasureAscentPlusDescent) {
  FontRequest r;
  r.family = "Arial";
  r.height = 30;
  r.cell_height = true;
  Font cell = *Font::open(r);
  EXPECT_NEAR(cell.metrics().line_height, 30, 1);
  EXPECT_LT(cell.pixel_size(), 30);
}

TEST(FontWidths, StringWidthIsTheSumOfAdvances) {
  Font font = open_font("Arial", 13);
  const std::string text = "The quick brown fox \x80\xe9\xff";
  int sum = 0;
  for (char c : text) sum += font.advance(static_cast<unsigned char>(c));
  EXPECT_EQ(font.text_width(text), sum);
  EXPECT_EQ(font.text_width(""), 0);
  EXPECT_GT(font.advance('W'), font.advance('i'));
  EXPECT_GT(font.advance(0x80), 0);  // the euro sign, through the code page
}

TEST(FontWidths, MonospacedFaceHasEqualAdvances) {
  Font mono = open_font("Courier New", 13);
  EXPECT_EQ(mono.advance('i'), mono.advance('W'));
  EXPECT_EQ(mono.text_width("iiii"), 4 * mono.advance('M'));
}

TEST(FontWidths, BoldIsWiderThanRegular) {
  Font regular = open_font("Arial", 13);
  Font bold = open_font("Arial", 13, true);
  EXPECT_GT(bold.text_width("Bold and wide"), regular.text_width("Bold and wide"));
  Font courier_bold = open_font("Courier New", 13, true);
  EXPECT_EQ(courier_bold.advance('i'), courier_bold.advance('W'));
}

TEST(FontWidths, OpeningTheSameRequestSharesTheFont) {
  Font a = open_font("Arial", 14);
  Font b = open_font("Arial", 14);
  Font c = open_font("Arial", 14, true);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
}

TEST(FontDrawing, InkStaysInsideTheTextCell) {
  Font font = open_font("Arial", 13);
  Surface s = white(120, 30);
  font.draw(s, {5, 6}, "Hallo", ink(raster::colors::black));
  std::vector<raster::IntPoint> ink = inked(s);
  ASSERT_FALSE(ink.empty());
  const IntRect cell{5, 6, 5 + font.text_width("Hallo"), 6 + font.metrics().line_height};
  for (auto p : ink) {
    EXPECT_TRUE(cell.contains(p)) << p.x << "," << p.y;
    EXPECT_EQ(s.pixel(p.x, p.y), 0u);  // unsmoothed: only the text colour
  }
}

TEST(FontDrawing, PixelsAreSetOnlyInsideTheClip) {
  Font font = open_font("Arial", 20, true);
  Surface full = white(100, 40);
  font.draw(full, {2, 2}, "WWWW", {});

  Surface clipped = white(100, 40);
  raster::DeviceContext dc(clipped);
  raster::Region clip(IntRect{10, 0, 30, 40});
  clip.unite(raster::Region(IntRect{40, 10, 60, 20}));
  dc.set_clip(clip);
  font.draw(dc, {2, 2}, "WWWW", {});
  int inside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      if (clip.contains({x, y})) {
        EXPECT_EQ(clipped.pixel(x, y), full.pixel(x, y));
        inside += clipped.pixel(x, y) != 0xffffff;
      } else {
        EXPECT_EQ(clipped.pixel(x, y), 0xffffffu) << x << "," << y;
      }
    }
  EXPECT_GT(inside, 0);
}

TEST(FontDrawing, OriginMovesTheTextAndTheSurfaceEdgeClips) {
  Font font = open_font("Arial", 13);
  Surface a = white(60, 20);
  font.draw(a, {10, 3}, "Ag", {});
  Surface b = white(60, 20);
  raster::DeviceContext dc(b);
  dc.set_origin({7, 1});
  font.draw(dc, {3, 2}, "Ag", {});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) EXPECT_EQ(a.pixel(x, y), b.pixel(x, y));

  Surface edge = white(10, 10);
  font.draw(edge, {-5, -5}, "WWWWWWWW", {});
  font.draw(edge, {5, 5}, "WWWWWWWW", {});
  EXPECT_FALSE(inked(edge).empty());
}

TEST(FontDrawing, IsDeterministicAndSmoothingIsOptional) {
  Font font = open_font("Times New Roman", 16, false, true);
  Surface a = white(120, 30), b = white(120, 30);
  font.draw(a, {1, 1}, "Orvane \xe9t\xe9", ink(Color{0, 0, 128}));
  font.draw(b, {1, 1}, "Orvane \xe9t\xe9", ink(Color{0, 0, 128}));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y));

  Surface smooth = white(120, 30);
  font.draw(smooth, {1, 1}, "Orvane", ink(raster::colors::black, Smoothing::antialiased));
  bool grey = false;
  for (auto p : inked(smooth)) grey |= smooth.pixel(p.x, p.y) != 0;
  EXPECT_TRUE(grey);
}

TEST(FontDrawing, OpaqueBackgroundFillsTheCellAndUnderlineIsDrawn) {
  FontRequest r;
  r.family = "Arial";
  r.height = 13;
  r.underline = true;
  Font font = *Font::open(r);
  Surface s = white(80, 30);
  font.draw(s, {4, 4}, "ab", ink(raster::colors::white, Smoothing::monochrome, Color{0, 0, 128}));
  const int w = font.text_width("ab");
  const int h = font.metrics().line_height;
  EXPECT_EQ(s.pixel(4, 4), 0x000080u);
  EXPECT_EQ(s.pixel(4 + w - 1, 4), 0x000080u);
  EXPECT_EQ(s.pixel(4 + w, 4), 0xffffffu);
  EXPECT_EQ(s.pixel(4, 4 + h), 0xffffffu);
  // The underline spans the whole width below the baseline.
  bool line_found = false;
  for (int y = 4 + font.metrics().ascent; y < 4 + h; ++y) {
    bool full = true;
    for (int x = 4; x < 4 + w; ++x) full &= s.pixel(x, y) == 0xffffffu;
    line_found |= full;
  }
  EXPECT_TRUE(line_found);
}

}  // namespace
}  // namespace orvane::fonts
