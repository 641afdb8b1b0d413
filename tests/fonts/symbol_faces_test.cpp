// The symbol face: Wingdings' bytes drawn as the pictures they stand for.
#include <gtest/gtest.h>

#include "platform/fonts/face_names.h"
#include "platform/fonts/font.h"
#include "platform/fonts/symbol_faces.h"

namespace orvane::fonts {
namespace {

TEST(SymbolFaces, WingdingsHasATableOtherFacesDoNot) {
  const CodePointTable* table = symbol_code_points("WINGDINGS");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ((*table)[0x4A], U'\u263A');  // the smiling face
  EXPECT_EQ((*table)[0xFC], U'\u2714');  // the check mark
  EXPECT_EQ((*table)[' '], U' ');
  EXPECT_EQ(symbol_code_points("Arial"), nullptr);
  EXPECT_EQ(symbol_code_points("Wingding"), nullptr);
  EXPECT_EQ(substitute_family("Wingdings"), kSymbolFamily);
}

TEST(SymbolFaces, ItsBytesAreDrawnFromTheTable) {
  FontRequest request;
  request.family = "Wingdings";
  request.height = 20;
  std::optional<Font> wingdings = Font::open(request);
  request.family = std::string(kSymbolFamily);
  std::optional<Font> letters = Font::open(request);
  ASSERT_TRUE(wingdings && letters);
  EXPECT_EQ(wingdings->family(), letters->family());
  // The same face draws another glyph for the same byte.
  EXPECT_TRUE(wingdings->has_glyph('J'));
  EXPECT_NE(wingdings->advance('J'), letters->advance('J'));
  EXPECT_EQ(wingdings->advance(' '), letters->advance(' '));
  raster::Surface a(40, 30, raster::PixelFormat::rgb32), b(40, 30, raster::PixelFormat::rgb32);
  a.fill(a.value_of(raster::colors::white));
  b.fill(b.value_of(raster::colors::white));
  wingdings->draw(a, {2, 2}, "J", TextPaint::solid(raster::colors::black));
  letters->draw(b, {2, 2}, "J", TextPaint::solid(raster::colors::black));
  int different = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (a.color_at(x, y).rgb() != b.color_at(x, y).rgb()) ++different;
  EXPECT_GT(different, 20);
}

}  // namespace
}  // namespace orvane::fonts
