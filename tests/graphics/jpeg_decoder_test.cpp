// The JPEG decoder on images made with the library: colour, grey and
// progressive images, and data that is not, or not wholly, a JPEG.
#include <gtest/gtest.h>

#include "graphics/jpeg_maker.h"
#include "platform/raster/jpeg_decoder.h"

namespace orvane::raster {
namespace {

using graphics::testing::make_jpeg;
using graphics::testing::red_blue_halves;

bool near(Color a, Color b, int tolerance = 24) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

TEST(JpegDecoder, ColourGreyAndProgressiveImages) {
  auto pixels = red_blue_halves(32, 16);
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    JpegResult r = decode_jpeg(make_jpeg(pixels, 95, false, progressive));
    ASSERT_TRUE(r.image.has_value()) << r.error;
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(r.image->width(), 32);
    EXPECT_EQ(r.image->height(), 16);
    EXPECT_TRUE(near(r.image->color_at(3, 8), {255, 0, 0}));
    EXPECT_TRUE(near(r.image->color_at(28, 8), {0, 0, 255}));
  }
  std::vector<std::vector<Color>> grey(8, std::vector<Color>(8, Color{90, 90, 90}));
  JpegResult g = decode_jpeg(make_jpeg(grey, 100, true));
  ASSERT_TRUE(g.image.has_value()) << g.error;
  EXPECT_TRUE(near(g.image->color_at(4, 4), {90, 90, 90}, 2));
}

TEST(JpegDecoder, WhatIsNotAJpegIsRefusedWithAReason) {
  EXPECT_FALSE(decode_jpeg({}).image.has_value());
  EXPECT_FALSE(decode_jpeg({}).error.empty());
  std::vector<std::uint8_t> garbage(500, 0x5a);
  JpegResult r = decode_jpeg(garbage);
  EXPECT_FALSE(r.image.has_value());
  EXPECT_FALSE(r.error.empty());
  // Only the headers: nothing to draw.
  auto jpeg = make_jpeg(red_blue_halves(16, 16));
  std::vector<std::uint8_t> head(jpeg.begin(), jpeg.begin() + 20);
  EXPECT_FALSE(decode_jpeg(head).image.has_value());
}

TEST(JpegDecoder, DamagedDataKeepsTheRowsThatArrived) {
  auto jpeg = make_jpeg(red_blue_halves(64, 512));
  std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.end() - static_cast<std::ptrdiff_t>(jpeg.size() / 3));
  JpegResult r = decode_jpeg(cut);
  ASSERT_TRUE(r.image.has_value()) << r.error;
  EXPECT_TRUE(r.damaged);
  EXPECT_TRUE(near(r.image->color_at(2, 2), {255, 0, 0}));
  // Corrupt bytes in the middle of the scan.
  std::vector<std::uint8_t> corrupt = jpeg;
  for (std::size_t i = corrupt.size() / 2; i < corrupt.size() / 2 + 40; ++i) corrupt[i] = static_cast<std::uint8_t>(i * 37);
  JpegResult c = decode_jpeg(corrupt);
  ASSERT_TRUE(c.image.has_value()) << c.error;
  EXPECT_TRUE(near(c.image->color_at(2, 2), {255, 0, 0}));
}

TEST(JpegDecoder, LimitsRefuseHugeImagesAndEndlessScans) {
  auto jpeg = make_jpeg(red_blue_halves(64, 64));
  JpegLimits small;
  small.max_pixels = 64 * 63;
  JpegResult r = decode_jpeg(jpeg, small);
  EXPECT_FALSE(r.image.has_value());
  EXPECT_NE(r.error.find("too large"), std::string::npos);
  JpegLimits few_scans;
  few_scans.max_scans = 2;
  JpegResult p = decode_jpeg(make_jpeg(red_blue_halves(64, 64), 90, false, true), few_scans);
  EXPECT_FALSE(p.image.has_value());
  EXPECT_NE(p.error.find("scans"), std::string::npos);
}

}  // namespace
}  // namespace orvane::raster
