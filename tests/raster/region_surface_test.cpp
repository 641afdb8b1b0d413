// Regions, surfaces of every depth, and PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/raster/device_context.h"
#include "platform/raster/png_io.h"
#include "platform/raster/region.h"
#include "raster/pixels.h"

namespace orvane::raster {
namespace {

TEST(Regions, AlgebraAndPredicates) {
  Region a(IntRect{0, 0, 10, 10}), b(IntRect{5, 5, 15, 15});
  EXPECT_EQ(a.intersected(b).bounds(), (IntRect{5, 5, 10, 10}));
  EXPECT_EQ(a.united(b).bounds(), (IntRect{0, 0, 15, 15}));
  EXPECT_FALSE(a.united(b).contains({12, 2}));
  Region diff = a.subtracted(b);
  EXPECT_TRUE(diff.contains({9, 4}));
  EXPECT_FALSE(diff.contains({9, 5}));
  Region x = a.xored(b);
  EXPECT_TRUE(x.contains({0, 0}));
  EXPECT_TRUE(x.contains({14, 14}));
  EXPECT_FALSE(x.contains({7, 7}));
  EXPECT_TRUE(x == a.united(b).subtracted(a.intersected(b)));
  EXPECT_TRUE(a.intersects({9, 9, 20, 20}));
  EXPECT_FALSE(a.intersects({10, 0, 20, 20}));
  EXPECT_FALSE(a.intersects({3, 3, 3, 8}));
  a.offset(-2, 3);
  EXPECT_EQ(a.bounds(), (IntRect{-2, 3, 8, 13}));
}

TEST(Regions, EmptyRegionsAreEqualWhateverMadeThem) {
  Region a(IntRect{0, 0, 4, 4}), b(IntRect{10, 10, 20, 20});
  Region e1 = a.intersected(b);
  Region e2;
  Region e3 = b.subtracted(b);
  EXPECT_TRUE(e1.empty());
  EXPECT_TRUE(e1 == e2);
  EXPECT_TRUE(e3 == e1);
  EXPECT_FALSE(e1 == a);
  EXPECT_EQ(e1.bounds(), (IntRect{}));
  EXPECT_TRUE(Region(IntRect{5, 5, 5, 9}).empty());
}

TEST(Regions, CopiesAndMovesAreIndependent) {
  Region a(IntRect{0, 0, 4, 4});
  Region b = a;
  b.offset(1, 0);
  EXPECT_FALSE(a == b);
  Region c = std::move(b);
  EXPECT_EQ(c.bounds(), (IntRect{1, 0, 5, 4}));
  EXPECT_TRUE(b.empty());
  a = c;
  EXPECT_TRUE(a == c);
}

TEST(Regions, EllipseRegionMatchesTheFilledEllipse) {
  Surface s = testing::white_surface(13, 9);
  DeviceContext dc(s);
  dc.set_pen(Pen::null_pen());
  dc.set_brush(Brush::solid(colors::black));
  dc.ellipse({0, 0, 14, 10});  // without a pen, the ellipse of (0 0 13 9)
  Region e = Region::ellipse({0, 0, 13, 9});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x)
      EXPECT_EQ(e.contains({x, y}), s.color_at(x, y) == colors::black) << x << "," << y;
  EXPECT_EQ(e.bounds(), (IntRect{0, 0, 13, 9}));
}

TEST(Regions, PolygonFillRules) {
  // Two overlapping squares traced in one direction: the overlap is a hole
  // by the alternate rule and filled by the winding rule.
  IntPoint path[] = {{0, 0}, {6, 0}, {6, 6}, {2, 6}, {2, 2}, {8, 2}, {8, 8}, {0, 8}};
  Region alt = Region::polygon(path, FillMode::alternate);
  Region wind = Region::polygon(path, FillMode::winding);
  EXPECT_TRUE(alt.contains({1, 1}));
  EXPECT_TRUE(wind.contains({1, 1}));
  EXPECT_FALSE(alt.contains({3, 3}));
  EXPECT_TRUE(wind.contains({3, 3}));
  EXPECT_TRUE(Region::polygon(std::span<const IntPoint>(path, 2), FillMode::alternate).empty());
  IntPoint square[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
  EXPECT_TRUE(Region::polygon(square, FillMode::alternate) == Region(IntRect{1, 1, 4, 3}));
}

TEST(Surfaces, PixelValuesRoundTripOnEveryDepth) {
  for (PixelFormat f : {PixelFormat::mono1, PixelFormat::indexed8, PixelFormat::rgb24, PixelFormat::rgb32}) {
    Surface s(13, 3, f);
    std::uint32_t v = value_mask(f) & 0x123456;
    s.set_pixel(12, 2, v);
    s.set_pixel(0, 0, value_mask(f));
    EXPECT_EQ(s.pixel(12, 2), v);
    EXPECT_EQ(s.pixel(0, 0), value_mask(f));
    EXPECT_EQ(s.pixel(11, 2), 0u);
    EXPECT_EQ(s.stride() % 4, 0u);
  }
}

TEST(Surfaces, ColourTablesAndNearestColours) {
  Surface mono(1, 1, PixelFormat::mono1);
  EXPECT_EQ(mono.value_of({200, 200, 200}), 1u);
  EXPECT_EQ(mono.value_of({20, 20, 60}), 0u);
  Surface indexed(1, 1, PixelFormat::indexed8, {testing::kRed, testing::kBlue});
  EXPECT_EQ(indexed.value_of({200, 10, 10}), 0u);
  EXPECT_EQ(indexed.value_of({0, 0, 180}), 1u);
  EXPECT_EQ(indexed.color_of(5), colors::black);  // past the table
}

TEST(Surfaces, ImpossibleSizesAreRefused) {
  EXPECT_FALSE(Surface::try_create(-1, 5, PixelFormat::rgb32).has_value());
  EXPECT_FALSE(Surface::try_create(30000, 30000, PixelFormat::rgb32).has_value());
  EXPECT_TRUE(Surface::try_create(0, 0, PixelFormat::rgb32).has_value());
  EXPECT_THROW(Surface(100000, 100000, PixelFormat::mono1), std::length_error);
}

TEST(Png, WriteAndReadBack) {
  auto dir = std::filesystem::temp_directory_path();
  for (PixelFormat f : {PixelFormat::rgb32, PixelFormat::indexed8}) {
    Surface s(5, 3, f, {testing::kRed, testing::kGreen, testing::kBlue});
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) s.set_pixel(x, y, s.value_of(x % 3 == 0 ? testing::kRed : testing::kBlue));
    std::string path = (dir / ("orvane_png_test_" + std::to_string(bits_per_pixel(f)) + ".png")).string();
    std::string error;
    ASSERT_TRUE(write_png(s, path, &error)) << error;
    auto back = read_png(path, &error);
    std::remove(path.c_str());
    ASSERT_TRUE(back.has_value()) << error;
    EXPECT_EQ(testing::pixels_of(*back, testing::kRgbLegend), testing::pixels_of(s, testing::kRgbLegend));
  }
  std::string error;
  EXPECT_FALSE(read_png((dir / "orvane_no_such_file.png").string(), &error).has_value());
  EXPECT_FALSE(error.empty());
  const std::uint8_t junk[] = {1, 2, 3};
  EXPECT_FALSE(decode_png(junk).has_value());
}

}  // namespace
}  // namespace orvane::raster
