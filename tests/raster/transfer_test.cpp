// Block, stretched, transparent, masked and bitmap transfers; scrolling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/raster/device_context.h"
#include "platform/raster/dib.h"
#include "raster/pixels.h"

namespace orvane::raster {
namespace {

using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::kRgbLegend;
using testing::pixels_of;
using testing::rows;
using testing::white_surface;

// A surface drawn from a pixel string ('.' white, '#' black, r g b).
Surface surface_from(std::initializer_list<const char*> lines, PixelFormat f = PixelFormat::rgb32) {
  int h = static_cast<int>(lines.size());
  int w = static_cast<int>(std::strlen(*lines.begin()));
  Surface s(w, h, f);
  int y = 0;
  for (const char* line : lines) {
    for (int x = 0; x < w; ++x) {
      Color c = colors::white;
      switch (line[x]) {
        case '#': c = colors::black; break;
        case 'r': c = kRed; break;
        case 'g': c = kGreen; break;
        case 'b': c = kBlue; break;
        default: break;
      }
      s.set_pixel(x, y, s.value_of(c));
    }
    ++y;
  }
  return s;
}

TEST(Transfers, TernaryOperationsOnPixelValues) {
  // Pattern 0xf0, source 0xcc and destination 0xaa on an 8-bit grey surface:
  // the result byte is the operation's index.
  for (RasterOp op : {RasterOp::src_copy, RasterOp::src_paint, RasterOp::src_and, RasterOp::src_invert,
                      RasterOp::not_src_copy, RasterOp::not_src_erase, RasterOp::dst_invert, RasterOp::pat_copy,
                      RasterOp::pat_invert, RasterOp::src_erase, RasterOp::merge_paint, raster_op(0xb8)}) {
    Surface dst(1, 1, PixelFormat::indexed8), src(1, 1, PixelFormat::indexed8);
    dst.set_pixel(0, 0, 0xaa);
    src.set_pixel(0, 0, 0xcc);
    DeviceContext d(dst), s(src);
    d.set_brush(Brush::solid(dst.color_table()[0xf0]));
    d.bit_blit({0, 0, 1, 1}, s, {0, 0}, op);
    EXPECT_EQ(dst.pixel(0, 0), index_of(op)) << int(index_of(op));
  }
}

TEST(Transfers, MonochromeSourcePaintsTextAndBackgroundColours) {
  Surface mono = surface_from({"#.#."}, PixelFormat::mono1);
  Surface dst = white_surface(4, 1);
  DeviceContext d(dst), s(mono);
  d.set_text_color(kRed);
  d.set_background_color(kBlue);
  d.bit_blit({0, 0, 4, 1}, s, {0, 0}, RasterOp::src_copy);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), "rbrb");
}

TEST(Transfers, ColourToMonochromeKeysOnTheSourceBackground) {
  Surface colour = surface_from({"rgbr"});
  Surface mono(4, 1, PixelFormat::mono1);
  DeviceContext d(mono), s(colour);
  s.set_background_color(kRed);
  d.bit_blit({0, 0, 4, 1}, s, {0, 0}, RasterOp::src_copy);
  EXPECT_EQ(pixels_of(mono), ".##.");
}

TEST(Transfers, StretchDoublesNearestPixels) {
  Surface src = surface_from({"#r", "gb"});
  Surface dst = white_surface(4, 4);
  DeviceContext d(dst), s(src);
  d.stretch_blit({0, 0, 4, 4}, s, {0, 0, 2, 2}, RasterOp::src_copy);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), rows({"##rr", "##rr", "ggbb", "ggbb"}));
}

TEST(Transfers, ShrinkingCombinesByStretchMode) {
  Surface src = surface_from({"#...", "...."});
  Surface a = white_surface(2, 1), b = white_surface(2, 1);
  DeviceContext da(a), db(b), s(src);
  da.stretch_blit({0, 0, 2, 1}, s, {0, 0, 4, 2}, RasterOp::src_copy);
  db.set_stretch_mode(StretchMode::color_on_color);
  db.stretch_blit({0, 0, 2, 1}, s, {0, 0, 4, 2}, RasterOp::src_copy);
  EXPECT_EQ(pixels_of(a), "#.");  // black on white: AND keeps the black
  EXPECT_EQ(pixels_of(b), "..");  // colour on colour: the pixel at the centre
}

TEST(Transfers, TransparentBlitLeavesKeyColouredPixelsAlone) {
  Surface src = surface_from({"rg", "gb"});
  Surface dst = surface_from({"##", "##"});
  DeviceContext d(dst), s(src);
  d.transparent_blit({0, 0, 2, 2}, s, {0, 0, 2, 2}, kGreen);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), rows({"r#", "#b"}));
}

TEST(Transfers, MaskBlitChoosesTheOperationByMaskBit) {
  Surface src = surface_from({"rrrr"});
  Surface mask = surface_from({".#.#"}, PixelFormat::mono1);  // white is bit 1
  Surface dst = surface_from({"gggg"});
  DeviceContext d(dst), s(src);
  d.mask_blit({0, 0, 4, 1}, s, {0, 0}, mask, {0, 0}, RasterOp::src_copy, RasterOp::dst_copy);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), "rgrg");
}

TEST(Transfers, OriginsClipAndSourceBounds) {
  Surface src = surface_from({"rg", "b#"});
  Surface dst = white_surface(4, 3);
  DeviceContext d(dst), s(src);
  d.set_origin({1, 1});
  s.set_origin({-1, 0});
  d.intersect_clip_rect({0, 0, 3, 1});
  // Logical source (1, 0) is device (0, 0); columns past the source are left alone.
  d.bit_blit({0, 0, 3, 2}, s, {1, 0}, RasterOp::src_copy);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), rows({"....", ".rg.", "...."}));
}

TEST(Transfers, PatternOperationsUseTheBrush) {
  Surface dst = surface_from({"#..#"});
  DeviceContext d(dst);
  d.set_brush(Brush::solid(colors::white));
  d.pattern_blit({0, 0, 4, 1}, RasterOp::pat_invert);
  EXPECT_EQ(pixels_of(dst), ".##.");
  d.pattern_blit({0, 0, 2, 1}, RasterOp::dst_invert);
  EXPECT_EQ(pixels_of(dst), "#.#.");
}

TEST(Transfers, ScrollMovesPixelsAndAnswersTheUncoveredPart) {
  Surface dst = surface_from({"rgb.", "....", "...."});
  DeviceContext d(dst);
  Region uncovered = d.scroll({0, 0, 4, 3}, 1, 1);
  EXPECT_EQ(pixels_of(dst, kRgbLegend), rows({"rgb.", ".rgb", "...."}));
  Region expected(IntRect{0, 0, 4, 1});
  expected.unite(Region(IntRect{0, 0, 1, 3}));
  EXPECT_TRUE(uncovered == expected);
}

// --- Device-independent bitmaps ----------------------------------------------

void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

// A packed DIB; rows are given top-down as raw bytes (padded here).
std::vector<std::uint8_t> packed_dib(int width, int height, int bits, const std::vector<Color>& table,
                                     std::vector<std::vector<std::uint8_t>> top_down_rows, bool top_down = false,
                                     std::uint32_t colors_used = 0, std::uint32_t compression = 0,
                                     std::vector<std::uint32_t> masks = {}) {
  std::vector<std::uint8_t> d;
  put32(d, 40);
  put32(d, static_cast<std::uint32_t>(width));
  put32(d, static_cast<std::uint32_t>(top_down ? -height : height));
  d.push_back(1);
  d.push_back(0);
  d.push_back(static_cast<std::uint8_t>(bits));
  d.push_back(0);
  put32(d, compression);
  for (int i = 0; i < 3; ++i) put32(d, 0);
  put32(d, colors_used);
  put32(d, 0);
  for (std::uint32_t m : masks) put32(d, m);
  for (Color c : table) d.insert(d.end(), {c.b, c.g, c.r, 0});
  std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  if (!top_down) std::reverse(top_down_rows.begin(), top_down_rows.end());
  for (auto& r : top_down_rows) {
    r.resize(stride, 0);
    d.insert(d.end(), r.begin(), r.end());
  }
  return d;
}

std::string draw_dib(const std::vector<std::uint8_t>& data, int w, int h) {
  auto dib = PackedDib::parse(data);
  EXPECT_TRUE(dib.has_value());
  if (!dib) return {};
  Surface dst = white_surface(w, h);
  DeviceContext d(dst);
  d.set_text_color(kGreen);  // a device-independent bitmap never uses these
  d.set_background_color(kGreen);
  d.stretch_dib({0, 0, w, h}, dib->view(), {0, 0, dib->width(), dib->height()}, RasterOp::src_copy);
  return pixels_of(dst, kRgbLegend);
}

TEST(Dibs, EveryDepthDrawsItsColours) {
  std::vector<Color> rgbw{kRed, kGreen, kBlue, colors::white};
  EXPECT_EQ(draw_dib(packed_dib(3, 2, 1, {kRed, kBlue}, {{0b10100000}, {0b01000000}}), 3, 2),
            rows({"brb", "rbr"}));
  std::vector<Color> table16(16, colors::black);
  table16[1] = kRed;
  table16[2] = kBlue;
  EXPECT_EQ(draw_dib(packed_dib(3, 1, 4, table16, {{0x12, 0x00}}), 3, 1), "rb#");
  std::vector<Color> table256(256, colors::black);
  table256[7] = kGreen;
  EXPECT_EQ(draw_dib(packed_dib(2, 2, 8, table256, {{7, 0}, {0, 7}}, true), 2, 2), rows({"g#", "#g"}));
  EXPECT_EQ(draw_dib(packed_dib(2, 1, 24, {}, {{0, 0, 255, 255, 0, 0}}), 2, 1), "rb");
  // 5-5-5: red 0x7c00, blue 0x001f.
  EXPECT_EQ(draw_dib(packed_dib(2, 1, 16, {}, {{0x00, 0x7c, 0x1f, 0x00}}), 2, 1), "rb");
  // Bit fields: green in the low byte.
  EXPECT_EQ(draw_dib(packed_dib(1, 1, 32, {}, {{0xff, 0, 0, 0}}, false, 0, 3, {0xff0000, 0x0000ff, 0x00ff00}), 1, 1),
            "g");
}

TEST(Dibs, ColourUsedFieldSizesTheTable) {
  EXPECT_EQ(draw_dib(packed_dib(2, 1, 8, {kRed, kBlue}, {{1, 0}}, false, 2), 2, 1), "br");
}

TEST(Dibs, StretchedIntoALargerRectangle) {
  std::vector<Color> table(256, colors::black);
  table[1] = kRed;
  EXPECT_EQ(draw_dib(packed_dib(2, 1, 8, table, {{1, 0}}), 4, 2), rows({"rr##", "rr##"}));
}

TEST(Dibs, BadBitmapsAreRefused) {
  std::vector<Color> table(256, colors::black);
  auto good = packed_dib(4, 4, 8, table, {{1}, {1}, {1}, {1}});
  DibError error = DibError::none;
  EXPECT_TRUE(PackedDib::parse(good).has_value());
  auto truncated = good;
  truncated.resize(good.size() - 1);
  EXPECT_FALSE(PackedDib::parse(truncated, &error).has_value());
  EXPECT_EQ(error, DibError::truncated);
  auto short_table = good;
  short_table.resize(40 + 100);
  EXPECT_FALSE(PackedDib::parse(short_table, &error).has_value());
  EXPECT_EQ(error, DibError::too_short);
  auto rle = good;
  rle[16] = 1;
  EXPECT_FALSE(PackedDib::parse(rle, &error).has_value());
  EXPECT_EQ(error, DibError::unsupported);
  auto huge = good;
  huge[4] = 0xff;
  huge[5] = 0xff;
  huge[6] = 0xff;
  huge[7] = 0x7f;
  EXPECT_FALSE(PackedDib::parse(huge, &error).has_value());
  EXPECT_FALSE(PackedDib::parse(std::span<const std::uint8_t>(good.data(), 39)).has_value());
}

}  // namespace
}  // namespace orvane::raster
