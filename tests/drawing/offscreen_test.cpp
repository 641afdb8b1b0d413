// Offscreen buffers: depths, levels, colour tables, masks and the image
// transfer; and the 3D projection.
#include "graphics/offscreen.h"

#include <gtest/gtest.h>

#include "drawing/port_pixels.h"
#include "graphics/projection.h"

namespace orvane::graphics {
namespace {

using testing::canvas;
using testing::frame_pixels;
using testing::rows;

const std::map<std::uint32_t, char> kLegend{{0xff0000, 'r'}, {0x00ff00, 'g'}};

TEST(OffscreenTest, IsOneRowTallerThanItsFrameAndDrawsInFrameCoordinates) {
  OffscreenSpec spec = OffscreenSpec::of({10, 20, 14, 23});
  Offscreen o(spec);
  EXPECT_EQ(o.surface().width(), 4);
  EXPECT_EQ(o.surface().height(), 4);
  EXPECT_EQ(o.surface().format(), raster::PixelFormat::rgb32);
  o.port().paint_rect({10, 20, 11, 21});
  EXPECT_EQ(frame_pixels(o), rows({"#...", "....", "...."}));
}

TEST(OffscreenTest, DepthsLevelsAndColourTables) {
  OffscreenSpec spec = OffscreenSpec::of({0, 0, 4, 4});
  spec.depth = 8;
  spec.level = 3;
  Offscreen o(spec);
  EXPECT_EQ(o.surface().format(), raster::PixelFormat::indexed8);
  EXPECT_EQ(o.surface().color_table().size(), 256u);
  ASSERT_NE(o.next(), nullptr);
  ASSERT_NE(o.next()->next(), nullptr);
  EXPECT_EQ(o.next()->level(), 2);
  EXPECT_EQ(o.next()->next()->next(), nullptr);
  // The palette's nearest colour for a pure red.
  o.port().color_rect({0, 0, 1, 1}, {65535, 0, 0});
  EXPECT_EQ(o.surface().color_at(0, 0), (raster::Color{255, 0, 0}));

  spec.level = 1;
  spec.color_table = raster::ColorTable{{0, 0, 0}, {255, 255, 255}, {0, 255, 0}};
  Offscreen with_table(spec);
  with_table.port().color_rect({0, 0, 1, 1}, {0, 60000, 0});
  EXPECT_EQ(with_table.surface().pixel(0, 0), 2u);
}

TEST(OffscreenTest, ClutsAreReadAndWrongCountsRefused) {
  // Two entries (count - 1 = 1), each a value then red, green, blue.
  std::vector<std::uint8_t> clut{0,    0,    0,    0,    0, 0, 0,    1,    0,    0,    0xff, 0x12,
                                 0x80, 0x34, 0x00, 0x56, 0, 1, 0x00, 0x00, 0x00, 0x00, 0xc0, 0xff};
  auto table = parse_clut(clut);
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 2u);
  EXPECT_EQ((*table)[0], (raster::Color{0xff, 0x80, 0x00}));
  EXPECT_EQ((*table)[1], (raster::Color{0x00, 0x00, 0xc0}));
  clut[7] = 2;  // claims three entries, holds two
  EXPECT_FALSE(parse_clut(clut));
  std::vector<std::uint8_t> huge(8 + 8 * 300, 0);
  huge[6] = 0x01;  // 301 entries: more than 256
  huge[7] = 0x2c;
  EXPECT_FALSE(parse_clut(huge));
  EXPECT_FALSE(parse_clut(std::span<const std::uint8_t>(clut.data(), 5)));
}

// A 3 x 3 image: a black centre on white.
Offscreen& dot_image(Offscreen& o) {
  o.port().paint_rect({1, 1, 2, 2});
  return o;
}

Offscreen& painted_red(Offscreen& o) {
  o.port().color_rect(o.frame(), {65535, 0, 0});
  return o;
}

TEST(OffscreenTest, TransparentModeWithAMaskLetsTheDestinationShowThrough) {
  Offscreen image = canvas(3, 3);
  dot_image(image);
  image.make_mask();
  image.port().set_transfer_mode(kTransparentMode);
  Offscreen dst = canvas(3, 3);
  painted_red(dst);
  draw_offscreen(dst.port(), image, {0, 0, 3, 3});
  EXPECT_EQ(frame_pixels(dst, kLegend), rows({"rrr", "r#r", "rrr"}));
}

TEST(OffscreenTest, TransparentModeWithoutAMaskCopies) {
  Offscreen image = canvas(3, 3);
  dot_image(image);
  image.port().set_transfer_mode(kTransparentMode);
  Offscreen dst = canvas(3, 3);
  painted_red(dst);
  draw_offscreen(dst.port(), image, {0, 0, 3, 3});
  EXPECT_EQ(frame_pixels(dst, kLegend), rows({"...", ".#.", "..."}));
}

TEST(OffscreenTest, DifferentSizesStretch) {
  Offscreen image = canvas(2, 1);
  image.port().paint_rect({0, 0, 1, 1});
  Offscreen dst = canvas(4, 2);
  painted_red(dst);
  draw_offscreen(dst.port(), image, {0, 0, 4, 2});
  EXPECT_EQ(frame_pixels(dst, kLegend), rows({"##..", "##.."}));
}

TEST(OffscreenTest, TransferModesChooseTheOperation) {
  Offscreen image = canvas(2, 1);
  image.port().paint_rect({0, 0, 1, 1});
  image.port().set_transfer_mode(1);  // and: white leaves the destination
  Offscreen dst = canvas(2, 1);
  painted_red(dst);
  draw_offscreen(dst.port(), image, {0, 0, 2, 1});
  EXPECT_EQ(frame_pixels(dst, kLegend), "#r");
}

TEST(ProjectionTest, FollowsTheMatrixFormulas) {
  Matrix3d m = make_3d_transformation({0, 1, 1}, {0, 0, 0}, 10, 100, 50, 2, 3);
  Matrix3d want{2, 0, 100, 0, 0, 3, 50, -0.1, 0, -3, 0, -0.1, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(m[i], want[i]) << "m" << i;
  // w = 0.5, X = (-9 + 6) / 0.5 + 50, Y = 2 / 0.5 + 100.
  EXPECT_EQ(project_3d(m, {1, 2, 3}), (raster::IntPoint{44, 104}));
}

TEST(ProjectionTest, AGeneralViewAndRounding) {
  Matrix3d m = make_3d_transformation({3, 4, 2}, {1, 2, 3}, 5, 0, 0, 1, 1);
  // r = 5, u = 0.8, v = 0.6, B = -5.
  EXPECT_DOUBLE_EQ(m[0], 0.8);
  EXPECT_DOUBLE_EQ(m[1], 1.2);
  EXPECT_DOUBLE_EQ(m[4], -0.6);
  EXPECT_DOUBLE_EQ(m[9], -5);
  EXPECT_DOUBLE_EQ(m[12], -0.8 + 1.2);
  EXPECT_DOUBLE_EQ(m[13], 2 * -1 * 0.6 + 2 * -2 * 0.8 + 5 * 3);
  EXPECT_DOUBLE_EQ(m[15], (2 * -3 + 4 * -2 + 3 * -1) / -5.0 + 1);
  Matrix3d half{};
  half[15] = 1;
  half[6] = 0.5;   // X = 0.5 rounds up
  half[2] = -0.5;  // Y = -0.5 rounds up to 0
  EXPECT_EQ(project_3d(half, {0, 0, 0}), (raster::IntPoint{1, 0}));
  Matrix3d flat{};  // w = 0
  EXPECT_EQ(project_3d(flat, {1, 1, 1}), (raster::IntPoint{0, 0}));
}

}  // namespace
}  // namespace orvane::graphics
