// The picture player on pictures assembled opcode by opcode.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/picture.h"
#include "graphics/picture_render.h"
#include "graphics/pict_writer.h"
#include "graphics/picture_play.h"
#include "raster/pixels.h"

namespace orvane::graphics {
namespace {

using raster::Color;
using raster::DeviceContext;
using raster::IntRect;
using raster::Surface;
using raster::testing::kRgbLegend;
using raster::testing::pixels_of;
using raster::testing::rows;
using raster::testing::white_surface;
using testing::PictWriter;
using testing::pixmap_fields;

using testing::play;
using testing::Played;

// --- Kinds and frames -----------------------------------------------------------

TEST(PictureKinds, DetectedFromTheFirstBytes) {
  auto v1 = PictWriter(1, {1, 2, 30, 40}).finish();
  EXPECT_EQ(inspect_picture(v1).kind, PictureKind::pict1);
  EXPECT_EQ(inspect_picture(v1).frame, (IntRect{1, 2, 30, 40}));
  auto v2 = PictWriter(2, {0, 0, 10, 10}).header().finish();
  EXPECT_EQ(inspect_picture(v2).kind, PictureKind::pict2);
  auto ext = PictWriter(2, {0, 0, 10, 10}).header(true, {5, 6, 25, 46}).finish();
  EXPECT_EQ(inspect_picture(ext).frame, (IntRect{5, 6, 25, 46}));
  auto bad = v1;
  bad[11] = 0x02;
  EXPECT_EQ(inspect_picture(bad).kind, PictureKind::unknown);
  std::vector<std::uint8_t> dib(40 + 8 + 4, 0);
  dib[0] = 40;
  dib[4] = 3;
  dib[8] = 0xfe;  // height -2 (top-down)
  dib[9] = dib[10] = dib[11] = 0xff;
  dib[12] = 1;
  dib[14] = 1;
  EXPECT_EQ(inspect_picture(dib).kind, PictureKind::packed_bitmap);
  EXPECT_EQ(inspect_picture(dib).frame, (IntRect{0, 0, 3, 2}));
  EXPECT_EQ(inspect_picture({}).kind, PictureKind::unknown);
}

TEST(PictureKinds, AnyOtherStartDrawsNothing) {
  auto pict = PictWriter(1, {0, 0, 4, 4}).op(0x31).rect({0, 0, 4, 4}).finish();
  pict[10] = 0x12;
  Played p = play(pict, 4, 4);
  EXPECT_EQ(p.result.end, PlaybackEnd::not_a_picture);
  EXPECT_EQ(p.str(), rows({"....", "....", "....", "...."}));
}

TEST(PictureKinds, FileHeaderIsSkippedWhenPresent) {
  auto pict = PictWriter(2, {0, 0, 4, 4}).finish();
  std::vector<std::uint8_t> file(512, 0);
  file.insert(file.end(), pict.begin(), pict.end());
  EXPECT_EQ(picture_data_of(file).size(), pict.size());
  EXPECT_EQ(picture_data_of(pict).size(), pict.size());
}

// --- Mapping -----------------------------------------------------------------------

TEST(PictureMapping, FrameEqualToDestinationIsDrawnAsIs) {
  auto pict = PictWriter(2, {0, 0, 6, 4}).header().op(0x31).rect({1, 1, 4, 3}).finish();
  Played p = play(pict, 6, 4);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), rows({"......", ".###..", ".###..", "......"}));
}

TEST(PictureMapping, DoubleSizeDoublesAboutTheDestinationCorner) {
  auto pict = PictWriter(1, {0, 0, 4, 2}).op(0x31).rect({1, 0, 2, 1}).finish();
  Played p = play(pict, 10, 5, {1, 1, 9, 5});
  EXPECT_EQ(p.str(), rows({"..........", "...##.....", "...##.....", "..........", ".........."}));
}

TEST(PictureMapping, FrameOffsetIsShiftedToTheDestination) {
  auto pict = PictWriter(1, {10, 20, 14, 23}).op(0x31).rect({11, 21, 13, 22}).finish();
  Played p = play(pict, 4, 3);
  EXPECT_EQ(p.str(), rows({"....", ".##.", "...."}));
}

TEST(PictureMapping, OriginMovesTheSource) {
  auto pict = PictWriter(1, {0, 0, 4, 3}).op(0x0c).s16(1).s16(1).op(0x31).rect({1, 1, 3, 2}).finish();
  Played p = play(pict, 4, 3);
  EXPECT_EQ(p.str(), rows({"##..", "....", "...."}));
}

TEST(PictureMapping, ExtendedHeaderSetsTheSourceAgain) {
  // A 144-dpi picture: frame 4 x 2, source rectangle 8 x 4.
  auto pict = PictWriter(2, {0, 0, 4, 2}).header(true, {0, 0, 8, 4}).op(0x31).rect({2, 0, 6, 2}).finish();
  Played p = play(pict, 4, 2);
  EXPECT_EQ(p.str(), rows({".##.", "...."}));
}

TEST(PictureMapping, ExtendedHeaderSourceKeepsItsCorner) {
  auto pict = PictWriter(2, {0, 0, 4, 2}).header(true, {100, 50, 108, 54}).op(0x31).rect({102, 50, 106, 52}).finish();
  EXPECT_EQ(inspect_picture(pict).frame, (IntRect{100, 50, 108, 54}));
  Played p = play(pict, 4, 2);
  EXPECT_EQ(p.str(), rows({".##.", "...."}));
}

// --- The walk -------------------------------------------------------------------------

TEST(PictureWalk, TextOpcodesStopTheWalkKeepingWhatWasDrawn) {
  auto pict = PictWriter(2, {0, 0, 3, 1})
                  .op(0x31).rect({0, 0, 1, 1})
                  .op(0x28).point(0, 0).u8(1).u8('a')
                  .op(0x31).rect({2, 0, 3, 1})
                  .finish();
  Played p = play(pict, 3, 1);
  EXPECT_EQ(p.result.end, PlaybackEnd::stopped);
  EXPECT_EQ(p.result.last_opcode, 0x28);
  EXPECT_EQ(p.str(), "#..");
}

TEST(PictureWalk, ZeroArcAngleDrawsNothingAndTheWalkGoesOn) {
  auto pict = PictWriter(1, {0, 0, 8, 8})
                  .op(0x60).rect({0, 0, 8, 8}).s16(0).s16(0)
                  .op(0x31).rect({0, 0, 1, 1})
                  .finish();
  Played p = play(pict, 8, 8);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.surface.color_at(0, 0), raster::colors::black);
  int black = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) black += p.surface.color_at(x, y) == raster::colors::black;
  EXPECT_EQ(black, 1);
}

TEST(PictureWalk, OddOperandsArePaddedInVersionTwo) {
  auto pict = PictWriter(2, {0, 0, 2, 1})
                  .op(0xa1).u16(100).u16(3).bytes({1, 2, 3})  // padded to even
                  .op(0x2c).u16(5).bytes({4, 'a', 'b', 'c', 'd'})
                  .op(0x31).rect({1, 0, 2, 1})
                  .finish();
  Played p = play(pict, 2, 1);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), ".#");
}

TEST(PictureWalk, SkippedOpcodesOfVersionOne) {
  auto pict = PictWriter(1, {0, 0, 2, 1})
                  .op(0x03).u16(1).op(0x04).u8(1).op(0x05).u16(0).op(0x0d).u16(12).op(0x06).u32(0)
                  .op(0x0e).u32(33).op(0x0f).u32(30).op(0x10).u32(1).u32(1).op(0x02).u32(0).u32(0)
                  .op(0xa0).u16(1).op(0x1e).op(0x00).op(0x80).u16(10).rect({0, 0, 1, 1})
                  .op(0x31).rect({0, 0, 1, 1})
                  .finish();
  Played p = play(pict, 2, 1);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), "#.");
}

TEST(PictureWalk, EveryTruncationEndsInOrder) {
  PictWriter w(2, {0, 0, 16, 16});
  w.header().clip({0, 0, 16, 16}).op(0x1a).rgb(255, 0, 0).op(0x09).bytes({0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55});
  w.op(0x07).s16(2).s16(2).op(0x0b).s16(4).s16(4).op(0x41).rect({1, 1, 15, 15}).op(0x51).rect({2, 2, 12, 12});
  w.op(0x61).rect({0, 0, 16, 16}).s16(45).s16(90).op(0x71).u16(22).rect({0, 0, 16, 16}).point(0, 0).point(15, 3).point(4, 15);
  w.op(0x98).u16(2).rect({0, 0, 16, 2}).rect({0, 0, 16, 2}).rect({0, 0, 16, 2}).u16(0).bytes({0xff, 0, 0x0f, 0xf0});
  w.op(0x20).point(0, 0).point(15, 15);
  auto full = w.finish();
  ASSERT_EQ(play(full, 16, 16).result.end, PlaybackEnd::finished);
  for (std::size_t n = 0; n < full.size(); ++n) {
    std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    Played p = play(cut, 16, 16);
    EXPECT_NE(p.result.end, PlaybackEnd::finished) << n;
    EXPECT_NE(p.result.end, PlaybackEnd::bitmap_failed) << n;
  }
}

// --- Drawing state -----------------------------------------------------------------------

TEST(PictureState, PenSizePatternAndColour) {
  auto pict = PictWriter(2, {0, 0, 8, 4})
                  .op(0x1a).rgb(255, 0, 0)
                  .op(0x20).point(0, 0).point(8, 0)  // solid red
                  .op(0x09).bytes({0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55})
                  .op(0x20).point(0, 1).point(8, 1)  // dotted
                  .op(0x07).s16(0).s16(1)
                  .op(0x20).point(0, 2).point(8, 2)  // invisible
                  .op(0x09).bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff})
                  .op(0x07).s16(1).s16(1)
                  .op(0x21).point(0, 3)  // from the pen location (8, 2) to (0, 3)
                  .finish();
  Played p = play(pict, 8, 4);
  EXPECT_EQ(p.str(), rows({"rrrrrrrr", "r.r.r.r.", ".....rrr", ".rrrr..."}));
}

TEST(PictureState, WhitePenTurnsBlackForTheBlackPattern) {
  auto pict = PictWriter(2, {0, 0, 4, 1})
                  .op(0x1a).rgb(255, 255, 255)
                  .op(0x09).bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff})
                  .op(0x20).point(0, 0).point(4, 0)
                  .finish();
  EXPECT_EQ(play(pict, 4, 1).str(), "####");
}

TEST(PictureState, PatXorInvertsUnderThePen) {
  auto pict = PictWriter(1, {0, 0, 4, 1})
                  .op(0x31).rect({0, 0, 2, 1})
                  .op(0x08).u16(10)
                  .op(0x20).point(0, 0).point(4, 0)
                  .finish();
  EXPECT_EQ(play(pict, 4, 1).str(), "..##");
}

TEST(PictureState, EraseUsesTheBackgroundColourAndPaintTheForeground) {
  auto pict = PictWriter(2, {0, 0, 4, 2})
                  .op(0x1b).rgb(0, 0, 255)
                  .op(0x32).rect({0, 0, 2, 2})
                  .op(0x1a).rgb(0, 255, 0)
                  .op(0x31).rect({2, 0, 4, 1})
                  .op(0x0a).bytes({0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55})
                  .op(0x34).rect({2, 1, 4, 2})
                  .finish();
  EXPECT_EQ(play(pict, 4, 2).str(), rows({"bbgg", "bbbg"}));
}

TEST(PictureState, InvertRectAndSameRect) {
  auto pict = PictWriter(1, {0, 0, 4, 1}).op(0x31).rect({0, 0, 2, 1}).op(0x33).rect({1, 0, 3, 1}).op(0x3b).op(0x3b).finish();
  EXPECT_EQ(play(pict, 4, 1).str(), "#.#.");
}

TEST(PictureState, ClipReplacesThePreviousClip) {
  auto pict = PictWriter(2, {0, 0, 6, 1})
                  .clip({0, 0, 2, 1})
                  .op(0x31).rect({0, 0, 6, 1})
                  .clip({4, 0, 6, 1})
                  .op(0x31).rect({0, 0, 6, 1})
                  .finish();
  Played p = play(pict, 6, 1);
  EXPECT_EQ(p.str(), "##..##");
}

TEST(PictureState, ClipAndMixAreRestoredPenAndBrushStay) {
  auto pict = PictWriter(2, {0, 0, 4, 4}).clip({0, 0, 1, 1}).op(0x08).u16(10).op(0x07).s16(3).s16(3).finish();
  Surface s = white_surface(4, 4);
  DeviceContext dc(s);
  dc.intersect_clip_rect({0, 0, 3, 3});
  dc.set_mix(raster::Mix::merge_pen);
  play_picture(dc, pict, {0, 0, 4, 4});
  EXPECT_EQ(dc.clip_box(), (IntRect{0, 0, 3, 3}));
  EXPECT_EQ(dc.mix(), raster::Mix::merge_pen);
  EXPECT_EQ(dc.pen().width, 3);
}

// --- Shapes ------------------------------------------------------------------------------------

TEST(PictureShapes, OvalsRoundRectsArcsAndPolygons) {
  auto pict = PictWriter(2, {0, 0, 16, 16})
                  .op(0x50).rect({0, 0, 5, 5})
                  .op(0x0b).s16(4).s16(4)
                  .op(0x41).rect({6, 0, 14, 6})
                  .op(0x61).rect({0, 7, 9, 16}).s16(0).s16(90)
                  .op(0x71).u16(22).rect({10, 8, 16, 14}).point(10, 8).point(15, 8).point(10, 13)
                  .finish();
  Played p = play(pict, 16, 16);
  EXPECT_EQ(p.str(), rows({".###...######...",
                           "#...#.########..",
                           "#...#.########..",
                           "#...#.########..",
                           ".###..########..",
                           ".......######...",
                           "................",
                           "....##..........",
                           "....####..#####.",
                           "....####..####..",
                           "....#####.###...",
                           "....#####.##....",
                           "..........#.....",
                           "................",
                           "................",
                           "................"}));
}

TEST(PictureShapes, InvertOvalAndEraseArc) {
  auto pict = PictWriter(1, {0, 0, 5, 5})
                  .op(0x31).rect({0, 0, 5, 5})
                  .op(0x53).rect({0, 0, 5, 5})
                  .finish();
  Played p = play(pict, 5, 5);
  // Without a pen the oval loses its right column and bottom row.
  EXPECT_EQ(p.str(), rows({"#..##", "....#", "....#", "#..##", "#####"}));
}

// --- Bitmaps -------------------------------------------------------------------------------------

TEST(PictureBitmaps, OneBitBitsRectPaintsForegroundAndBackground) {
  auto pict = PictWriter(2, {0, 0, 4, 2})
                  .op(0x1a).rgb(255, 0, 0)
                  .op(0x1b).rgb(0, 0, 255)
                  .op(0x90).u16(2).rect({0, 0, 4, 2}).rect({0, 0, 4, 2}).rect({0, 0, 4, 2}).u16(0)
                  .bytes({0b10010000, 0, 0b01100000, 0})
                  .finish();
  EXPECT_EQ(play(pict, 4, 2).str(), rows({"rbbr", "brrb"}));
}

TEST(PictureBitmaps, VersionOneHasNoPaddingAfterABitmap) {
  // Row bytes 1: the bitmap's data ends at an odd offset and the next opcode
  // follows at once.
  auto pict = PictWriter(1, {0, 0, 8, 2})
                  .op(0x90).u16(1).rect({0, 0, 8, 1}).rect({0, 0, 8, 1}).rect({0, 0, 8, 1}).u16(0)
                  .bytes({0x81})
                  .op(0x31).rect({0, 1, 8, 2})
                  .finish();
  Played p = play(pict, 8, 2);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), rows({"#......#", "########"}));
}

TEST(PictureBitmaps, OneBitSrcBicClearsOnlyTheSetBits) {
  auto pict = PictWriter(1, {0, 0, 4, 1})
                  .op(0x31).rect({0, 0, 4, 1})
                  .op(0x90).u16(2).rect({0, 0, 4, 1}).rect({0, 0, 4, 1}).rect({0, 0, 4, 1}).u16(3)
                  .bytes({0b01100000, 0})
                  .finish();
  EXPECT_EQ(play(pict, 4, 1).str(), "#..#");
}

TEST(PictureBitmaps, PackedOneBitRowsWithOneAndTwoByteCounts) {
  for (int width : {64, 2400}) {
    std::size_t row_bytes = static_cast<std::size_t>(width) / 8;
    PictWriter w(2, {0, 0, width, 2});
    w.op(0x98).u16(static_cast<std::uint16_t>(row_bytes)).rect({0, 0, width, 2}).rect({0, 0, width, 2}).rect({0, 0, width, 2}).u16(0);
    for (int y = 0; y < 2; ++y) {
      std::vector<std::uint8_t> row(row_bytes, y == 0 ? 0xf0 : 0x00);
      row[1] = 0x81;
      auto packed = testing::pack_bits(row);
      if (row_bytes > 250) w.u16(static_cast<std::uint16_t>(packed.size()));
      else w.u8(static_cast<std::uint8_t>(packed.size()));
      w.bytes(packed);
    }
    Played p = play(w.finish(), width, 2);
    EXPECT_EQ(p.result.end, PlaybackEnd::finished) << width;
    EXPECT_EQ(pixels_of(p.surface).substr(0, 16), "####....#......#") << width;
    EXPECT_EQ(p.surface.color_at(width - 1, 0), raster::colors::white);
    EXPECT_EQ(p.surface.color_at(width - 8, 0), raster::colors::black);
    EXPECT_EQ(p.surface.color_at(8, 1), raster::colors::black);
    EXPECT_EQ(p.surface.color_at(9, 1), raster::colors::white);
  }
}

// An 8-bit PackBitsRect of the given pixels (indices) and table.
std::vector<std::uint8_t> indexed_pixmap(int pixel_size, int width, const std::vector<std::vector<int>>& pixels,
                                         const std::vector<Color>& table, bool device_table, int mode = 0,
                                         IntRect dest = {}) {
  int height = static_cast<int>(pixels.size());
  std::size_t row_bytes = ((static_cast<std::size_t>(width) * pixel_size + 15) / 16) * 2;
  if (row_bytes < 8) row_bytes = 8;  // keep the rows packed
  if (dest.empty()) dest = {0, 0, width, height};
  PictWriter w(2, dest);
  w.header();
  w.op(0x98).u16(static_cast<std::uint16_t>(0x8000 | row_bytes));
  pixmap_fields(w, {0, 0, width, height}, 0, pixel_size, 1, pixel_size);
  w.u32(0).u16(device_table ? 0x8000 : 0).u16(static_cast<std::uint16_t>(table.size() - 1));
  for (std::size_t i = 0; i < table.size(); ++i) {
    // Non-device tables list their entries in reverse order with values.
    std::size_t index = device_table ? i : table.size() - 1 - i;
    w.u16(static_cast<std::uint16_t>(device_table ? 0 : index)).rgb(table[index].r, table[index].g, table[index].b);
  }
  w.rect({0, 0, width, height}).rect(dest).u16(static_cast<std::uint16_t>(mode));
  for (const auto& line : pixels) {
    std::vector<std::uint8_t> row(row_bytes, 0);
    for (int x = 0; x < width; ++x) {
      std::size_t bit = static_cast<std::size_t>(x) * pixel_size;
      row[bit / 8] |= static_cast<std::uint8_t>(line[x] << (8 - pixel_size - bit % 8));
    }
    auto packed = testing::pack_bits(row);
    w.u8(static_cast<std::uint8_t>(packed.size())).bytes(packed);
  }
  return w.finish();
}

TEST(PictureBitmaps, IndexedPixmapsOfEverySize) {
  std::vector<Color> table{{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<std::vector<int>> pixels{{0, 1, 2, 3, 3, 2, 1, 0}, {3, 3, 3, 3, 1, 1, 1, 1}};
  for (int size : {2, 4, 8}) {
    for (bool device : {false, true}) {
      Played p = play(indexed_pixmap(size, 8, pixels, table, device), 8, 2);
      EXPECT_EQ(p.result.end, PlaybackEnd::finished);
      EXPECT_EQ(p.str(), rows({".rgbbgr.", "bbbbrrrr"})) << size << device;
    }
  }
  Played mono = play(indexed_pixmap(1, 8, {{0, 1, 1, 0, 0, 0, 1, 1}}, {{0, 0, 255}, {255, 0, 0}}, true), 8, 1);
  EXPECT_EQ(mono.str(), "brrbbbrr");
}

TEST(PictureBitmaps, ScaledPixmapIsStretched) {
  std::vector<Color> table{{255, 255, 255}, {255, 0, 0}};
  Played p = play(indexed_pixmap(8, 2, {{1, 0}}, table, true), 4, 2, {0, 0, 4, 2});
  EXPECT_EQ(p.str(), rows({"rr..", "rr.."}));
}

TEST(PictureBitmaps, ShrinkingPixmapsNeverCombineColours) {
  // Drawn at half size: the default black-on-white stretch of the context
  // would AND red and blue into black.
  std::vector<Color> table{{255, 0, 0}, {0, 0, 255}};
  auto pict = indexed_pixmap(8, 4, {{0, 1, 0, 1}, {0, 1, 0, 1}}, table, true);
  Played p = play(pict, 2, 1);
  EXPECT_EQ(p.str(), "bb");
}

TEST(PictureBitmaps, TransferModes) {
  std::vector<Color> table{{255, 255, 255}, {255, 0, 0}, {0, 0, 0}};
  auto base = [](PictWriter& w) { w.op(0x1a).rgb(0, 0, 255).op(0x31).rect({0, 0, 4, 1}); };
  // Transparent: the pixels of the background colour (white) leave the blue alone.
  auto transparent = indexed_pixmap(8, 4, {{0, 1, 0, 2}}, table, true, 36);
  PictWriter w1(2, {0, 0, 4, 1});
  base(w1);
  std::vector<std::uint8_t> both = w1.finish(false);
  both.insert(both.end(), transparent.begin() + 14, transparent.end());
  EXPECT_EQ(play(both, 4, 1).str(), "brb#");
  // srcOr is an AND of colours: white leaves the blue, black blackens.
  auto or_mode = indexed_pixmap(8, 4, {{0, 1, 0, 2}}, table, true, 1);
  PictWriter w2(2, {0, 0, 4, 1});
  base(w2);
  both = w2.finish(false);
  both.insert(both.end(), or_mode.begin() + 14, or_mode.end());
  EXPECT_EQ(play(both, 4, 1).str(), "b#b#");
  // srcBic: black source pixels clear to white, white ones leave the blue.
  auto bic = indexed_pixmap(8, 4, {{0, 2, 0, 2}}, table, true, 3);
  PictWriter w3(2, {0, 0, 4, 1});
  base(w3);
  both = w3.finish(false);
  both.insert(both.end(), bic.begin() + 14, bic.end());
  EXPECT_EQ(play(both, 4, 1).str(), "b.b.");
}

// A DirectBitsRect of 16- or 32-bit pixels.
std::vector<std::uint8_t> direct_pixmap(int pixel_size, int pack_type, int components,
                                        const std::vector<std::vector<Color>>& pixels) {
  int height = static_cast<int>(pixels.size()), width = static_cast<int>(pixels[0].size());
  std::size_t row_bytes = static_cast<std::size_t>(width) * (pixel_size / 8);
  PictWriter w(2, {0, 0, width, height});
  w.header();
  w.op(0x9a).u32(0xff).u16(static_cast<std::uint16_t>(0x8000 | row_bytes));
  pixmap_fields(w, {0, 0, width, height}, pack_type, pixel_size, components, pixel_size == 16 ? 5 : 8);
  w.rect({0, 0, width, height}).rect({0, 0, width, height}).u16(0x40);
  for (const auto& line : pixels) {
    std::vector<std::uint8_t> row;
    bool packed = row_bytes >= 8 && pack_type != 1 && pack_type != 2;
    if (pixel_size == 16) {
      for (Color c : line) {
        unsigned v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
        row.push_back(static_cast<std::uint8_t>(v >> 8));
        row.push_back(static_cast<std::uint8_t>(v));
      }
      if (packed) row = testing::pack_bits(row, 2);
    } else if (pack_type == 2) {
      for (Color c : line) row.insert(row.end(), {c.r, c.g, c.b});
    } else if (!packed) {
      for (Color c : line) row.insert(row.end(), {0, c.r, c.g, c.b});
    } else {
      if (components == 4)
        for (std::size_t i = 0; i < line.size(); ++i) row.push_back(0xff);
      for (Color c : line) row.push_back(c.r);
      for (Color c : line) row.push_back(c.g);
      for (Color c : line) row.push_back(c.b);
      row = testing::pack_bits(row);
    }
    if (packed) {
      if (row_bytes > 250) w.u16(static_cast<std::uint16_t>(row.size()));
      else w.u8(static_cast<std::uint8_t>(row.size()));
    }
    w.bytes(row);
  }
  return w.finish();
}

TEST(PictureBitmaps, DirectPixmapsOfEveryPackType) {
  std::vector<std::vector<Color>> pixels{
      {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}},
      {{0, 0, 0}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}},
  };
  const std::string expected = rows({"rgb.", "#bbb"});
  EXPECT_EQ(play(direct_pixmap(32, 0, 3, pixels), 4, 2).str(), expected);
  EXPECT_EQ(play(direct_pixmap(32, 4, 4, pixels), 4, 2).str(), expected);
  EXPECT_EQ(play(direct_pixmap(32, 2, 3, pixels), 4, 2).str(), expected);
  EXPECT_EQ(play(direct_pixmap(32, 1, 3, pixels), 4, 2).str(), expected);
  EXPECT_EQ(play(direct_pixmap(16, 0, 3, pixels), 4, 2).str(), expected);
  EXPECT_EQ(play(direct_pixmap(16, 1, 3, pixels), 4, 2).str(), expected);
}

TEST(PictureBitmaps, WideDirectRowsUseTwoByteCounts) {
  std::vector<std::vector<Color>> pixels(2, std::vector<Color>(100, Color{0, 0, 255}));
  pixels[1][99] = {255, 0, 0};
  Played p = play(direct_pixmap(32, 0, 3, pixels), 100, 2);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.surface.color_at(0, 0), (Color{0, 0, 255}));
  EXPECT_EQ(p.surface.color_at(99, 1), (Color{255, 0, 0}));
}

TEST(PictureBitmaps, RowOfTheWrongLengthFailsTheBitmap) {
  std::vector<std::vector<Color>> pixels(2, std::vector<Color>(4, Color{0, 0, 255}));
  auto pict = direct_pixmap(32, 0, 3, pixels);
  // The first row packs to a run of 8 zero bytes (red and green planes) and
  // a run of 4 bytes of 255: make the first run one byte too long.
  const std::uint8_t first_row[] = {4, 0xf9, 0x00, 0xfd, 0xff};
  auto at = std::search(pict.begin(), pict.end(), std::begin(first_row), std::end(first_row));
  ASSERT_NE(at, pict.end());
  at[1] = 0xf8;
  Surface s = white_surface(4, 2);
  DeviceContext dc(s);
  dc.intersect_clip_rect({0, 0, 4, 2});
  PlaybackResult r = play_picture(dc, pict, {0, 0, 4, 2});
  EXPECT_EQ(r.end, PlaybackEnd::bitmap_failed);
  EXPECT_EQ(dc.clip_box(), (IntRect{0, 0, 4, 2}));
}

TEST(PictureBitmaps, HugeBoundsInATinyPictureAreRefusedBeforeAllocating) {
  auto pict = PictWriter(2, {0, 0, 4, 4})
                  .op(0x98).u16(0x3ffe).rect({0, 0, 30000, 30000}).rect({0, 0, 4, 4}).rect({0, 0, 4, 4}).u16(0)
                  .bytes({2, 0xff, 0})
                  .finish();
  Played p = play(pict, 4, 4);
  EXPECT_EQ(p.result.end, PlaybackEnd::truncated);
}

TEST(PictureBitmaps, SmallRowsAreReadPackedOnlyWhenTheyReadExactly) {
  // Rows of 2 bytes, stored unpacked as QuickDraw stores them.
  auto unpacked = PictWriter(2, {0, 0, 16, 1})
                      .op(0x98).u16(2).rect({0, 0, 16, 1}).rect({0, 0, 16, 1}).rect({0, 0, 16, 1}).u16(0)
                      .bytes({0x80, 0x01})
                      .finish();
  EXPECT_EQ(pixels_of(play(unpacked, 16, 1).surface), "#..............#");
  // The same rows packed anyway, as some writers do.
  auto packed = PictWriter(2, {0, 0, 16, 1})
                    .op(0x98).u16(2).rect({0, 0, 16, 1}).rect({0, 0, 16, 1}).rect({0, 0, 16, 1}).u16(0)
                    .bytes({3, 0x01, 0x80, 0x01})
                    .finish();
  EXPECT_EQ(pixels_of(play(packed, 16, 1).surface), "#..............#");
}

// --- Packed bitmaps and rendering --------------------------------------------------------------

std::vector<std::uint8_t> packed_dib_2x2() {
  std::vector<std::uint8_t> d(40, 0);
  d[0] = 40;
  d[4] = 2;
  d[8] = 2;
  d[12] = 1;
  d[14] = 24;
  // Bottom-up rows of 2 pixels (6 bytes, padded to 8): blue red / green white.
  std::vector<std::uint8_t> bottom{255, 0, 0, 0, 0, 255, 0, 0}, top{0, 255, 0, 255, 255, 255, 0, 0};
  d.insert(d.end(), bottom.begin(), bottom.end());
  d.insert(d.end(), top.begin(), top.end());
  return d;
}

TEST(PicturePackedBitmaps, DrawnAtTheCornerOrScaled) {
  auto dib = packed_dib_2x2();
  EXPECT_EQ(play(dib, 3, 3, {1, 1, 3, 3}).str(), rows({"...", ".g.", ".br"}));
  EXPECT_EQ(play(dib, 4, 4).str(), rows({"gg..", "gg..", "bbrr", "bbrr"}));
}

TEST(PictureRender, RefusesAbsurdFramesAndNonPictures) {
  auto huge = PictWriter(2, {0, 0, 30000, 30000}).finish();
  RenderedPicture r = render_picture(huge, std::nullopt);
  EXPECT_FALSE(r.surface.has_value());
  EXPECT_NE(r.error.find("too large"), std::string::npos);
  EXPECT_FALSE(frame_size_acceptable({30000, 30000}, 100));
  EXPECT_TRUE(frame_size_acceptable({4096, 4096}, 10));
  EXPECT_TRUE(frame_size_acceptable({10000, 10000}, 1 << 20));
  const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  EXPECT_EQ(render_picture(junk, std::nullopt).error, "not a picture");
  auto empty = PictWriter(1, {5, 5, 5, 9}).finish();
  EXPECT_FALSE(render_picture(empty, std::nullopt).surface.has_value());
}

TEST(PictureRender, SizeScalesAndBackgroundFills) {
  auto pict = PictWriter(1, {0, 0, 2, 2}).op(0x31).rect({0, 0, 1, 1}).op(0x32).rect({1, 1, 2, 2}).finish();
  RenderedPicture r = render_picture(pict, raster::IntSize{4, 4}, Color{0, 0, 255});
  ASSERT_TRUE(r.surface.has_value());
  EXPECT_EQ(pixels_of(*r.surface, kRgbLegend), rows({"##bb", "##bb", "bbbb", "bbbb"}));
}

}  // namespace
}  // namespace orvane::graphics
