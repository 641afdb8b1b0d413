// Complete playback (the tools' --complete) on pictures assembled opcode by
// opcode: what it draws beyond the title player, and that without it the
// same pictures draw exactly as before.
#include <gtest/gtest.h>

#include "graphics/jpeg_maker.h"
#include "graphics/pict_writer.h"
#include "graphics/picture_play.h"
#include "graphics/picture.h"
#include "graphics/picture_render.h"
#include "platform/fonts/font.h"
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
using testing::encode_region;
using testing::PictWriter;

constexpr Color kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0};

using testing::Played;

// Played with complete playback unless `complete` is false.
Played play(const std::vector<std::uint8_t>& pict, int w, int h, bool complete, IntRect dest) {
  return testing::play(pict, w, h, dest, PlaybackOptions{complete});
}
Played play(const std::vector<std::uint8_t>& pict, int w, int h, bool complete = true) {
  return testing::play(pict, w, h, PlaybackOptions{complete});
}

// The box of the pixels that are not white; empty when there are none.
IntRect ink_box(const Surface& s) {
  IntRect box;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.color_at(x, y) != raster::colors::white) box = box.empty() ? IntRect{x, y, x + 1, y + 1} : box.united({x, y, x + 1, y + 1});
  return box;
}

int count_of(const Surface& s, Color c) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) n += s.color_at(x, y) == c;
  return n;
}

bool near(Color a, Color b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// --- The title player is untouched --------------------------------------------------------

// One picture of every kind that complete playback adds.
std::vector<std::vector<std::uint8_t>> pictures_beyond_the_title_player() {
  std::vector<std::vector<std::uint8_t>> out;
  out.push_back(PictWriter(2, {0, 0, 40, 20}).header().op(0x31).rect({0, 0, 2, 2}).long_text(2, 15, "Hi").finish());
  {
    PictWriter w(2, {0, 0, 4, 4});
    w.header().op(0x31).rect({0, 0, 1, 1}).op(0x14);
    testing::pixel_pattern(w, {{kRed, kBlue}, {kBlue, kRed}});
    out.push_back(w.op(0x34).rect({0, 0, 4, 4}).finish());
  }
  out.push_back(PictWriter(2, {0, 0, 4, 4}).header().op(0x81).region(encode_region(0, 0, {"##", "#."})).op(0x31).rect({3, 3, 4, 4}).finish());
  {
    PictWriter w(2, {0, 0, 16, 8});
    w.header().op(0x31).rect({0, 0, 1, 1});
    testing::quicktime_jpeg(w, testing::make_jpeg(testing::red_blue_halves(16, 8)), 16, 8, {0, 0, 16, 8});
    out.push_back(w.finish());
  }
  out.push_back(PictWriter(2, {0, 0, 4, 4}).header().op(0x31).rect({0, 0, 1, 1}).op(0x15).u16(0).op(0x8201).u32(2).u16(0).op(0x31).rect({3, 3, 4, 4}).finish());
  return out;
}

TEST(CompletePlayback, WithoutTheOptionPicturesDrawAsBefore) {
  // The title player draws the first rectangle and stops at text, pixel
  // patterns, QuickTime and reserved opcodes; it passes over regions.
  struct AsBefore {
    PlaybackEnd end;
    IntRect ink;
  };
  const std::vector<AsBefore> before = {{PlaybackEnd::stopped, {0, 0, 2, 2}},
                                        {PlaybackEnd::stopped, {0, 0, 1, 1}},
                                        {PlaybackEnd::finished, {3, 3, 4, 4}},
                                        {PlaybackEnd::stopped, {0, 0, 1, 1}},
                                        {PlaybackEnd::stopped, {0, 0, 1, 1}}};
  auto pictures = pictures_beyond_the_title_player();
  ASSERT_EQ(pictures.size(), before.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    IntRect frame = inspect_picture(pictures[i]).frame;
    Played title = play(pictures[i], frame.width(), frame.height(), false);
    EXPECT_EQ(title.result.end, before[i].end);
    EXPECT_EQ(ink_box(title.surface), before[i].ink);
    EXPECT_EQ(count_of(title.surface, raster::colors::black), before[i].ink.width() * before[i].ink.height());
    Played complete = play(pictures[i], frame.width(), frame.height(), true);
    EXPECT_EQ(complete.result.end, PlaybackEnd::finished);
    EXPECT_NE(title.str(), complete.str());
  }
}

// --- Text ------------------------------------------------------------------------------------

TEST(CompleteText, DrawnOnTheBaselineInTheForegroundColour) {
  auto pict = PictWriter(2, {0, 0, 60, 30}).header().op(0x1a).rgb(255, 0, 0).op(0x0d).u16(18)
                  .long_text(5, 20, "HH").finish();
  Played p = play(pict, 60, 30);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  IntRect ink = ink_box(p.surface);
  ASSERT_FALSE(ink.empty());
  // Capital letters stand on the baseline (row 20 is the first below it).
  EXPECT_EQ(ink.bottom, 20);
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.left, 8);
  EXPECT_GE(ink.height(), 10);  // cap height of an 18-pixel face
  EXPECT_LE(ink.height(), 16);
  EXPECT_EQ(count_of(p.surface, kRed) + count_of(p.surface, raster::colors::white), 60 * 30);
}

TEST(CompleteText, RelativeOpcodesMoveFromTheLastText) {
  auto first = PictWriter(2, {0, 0, 80, 40}).header().op(0x0d).u16(12).long_text(2, 12, "I").finish();
  auto moved = PictWriter(2, {0, 0, 80, 40}).header().op(0x0d).u16(12).long_text(2, 12, "").op(0x29).u8(30).text_bytes("I")
                   .op(0x2a).u8(20).text_bytes("I").op(0x2b).u8(10).u8(5).text_bytes("I").finish();
  IntRect a = ink_box(play(first, 80, 40).surface);
  Played p = play(moved, 80, 40);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  // Three letters: at (32, 12), (32, 32) and (42, 37).
  Surface& s = p.surface;
  auto ink_in = [&](IntRect r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (s.color_at(x, y) != raster::colors::white) return true;
    return false;
  };
  EXPECT_FALSE(ink_in(a));
  EXPECT_TRUE(ink_in(a.translated(30, 0)));
  EXPECT_TRUE(ink_in(a.translated(30, 20)));
  EXPECT_TRUE(ink_in(a.translated(40, 25)));
}

TEST(CompleteText, SizeFaceAndScaleFollowThePicture) {
  auto text = [](int size, int face) {
    return PictWriter(2, {0, 0, 100, 50}).header().op(0x0d).u16(static_cast<std::uint16_t>(size))
        .op(0x04).u8(static_cast<std::uint8_t>(face)).u8(0).long_text(2, 40, "Hello").finish();
  };
  IntRect small = ink_box(play(text(12, 0), 100, 50).surface);
  IntRect large = ink_box(play(text(24, 0), 100, 50).surface);
  EXPECT_GT(large.height(), small.height() * 3 / 2);
  EXPECT_GT(large.width(), small.width() * 3 / 2);
  // Bold inks more pixels; the picture drawn twice as large draws the text
  // at twice the size.
  Played plain = play(text(12, 0), 100, 50), bold = play(text(12, 1), 100, 50);
  EXPECT_GT(count_of(bold.surface, raster::colors::black), count_of(plain.surface, raster::colors::black));
  IntRect scaled = ink_box(play(text(12, 0), 200, 100, true, {0, 0, 200, 100}).surface);
  EXPECT_NEAR(scaled.height(), large.height(), 2);
  EXPECT_NEAR(scaled.bottom, 80, 1);
}

TEST(CompleteText, FontNumbersAndNamesChooseTheFace) {
  // Courier (22, or named) gives every letter one width; Helvetica does not.
  auto courier = [](PictWriter& w) -> PictWriter& { return w.op(0x03).u16(22); };
  auto named = [](PictWriter& w) -> PictWriter& { return w.font_name(300, "Courier").op(0x03).u16(300); };
  auto helvetica = [](PictWriter& w) -> PictWriter& { return w.op(0x03).u16(21); };
  auto width_of = [&](auto choose, const char* text) {
    PictWriter w(2, {0, 0, 200, 30});
    w.header();
    choose(w);
    w.op(0x0d).u16(14).long_text(0, 20, text);
    return play(w.finish(), 200, 30);
  };
  auto span = [](const Played& p) { IntRect b = ink_box(p.surface); return b.right; };
  EXPECT_NEAR(span(width_of(courier, "iiii")), span(width_of(courier, "MMMM")), 3);
  EXPECT_NEAR(span(width_of(named, "iiii")), span(width_of(named, "MMMM")), 3);
  EXPECT_EQ(width_of(named, "Text").str(), width_of(courier, "Text").str());
  EXPECT_LT(span(width_of(helvetica, "iiii")) + 10, span(width_of(helvetica, "MMMM")));
}

TEST(CompleteText, MacintoshCharactersAndTextModes) {
  // Mac OS Roman 0x8e is e acute, 0xe9 in Windows-1252.
  auto pict = PictWriter(2, {0, 0, 30, 30}).header().op(0x03).u16(21).op(0x0d).u16(16).long_text(4, 20, "\x8e").finish();
  Played p = play(pict, 30, 30);
  Surface direct = white_surface(30, 30);
  {
    fonts::FontRequest request;
    request.family = "Helvetica";
    request.height = 16;
    auto font = fonts::Font::open(request);
    ASSERT_TRUE(font.has_value());
    DeviceContext dc(direct);
    font->draw(dc, {4, 20 - font->metrics().ascent}, "\xe9", fonts::TextPaint::solid(raster::colors::black));
  }
  EXPECT_EQ(p.str(), pixels_of(direct, kRgbLegend));
  // srcCopy fills the text's cell with the background colour; srcBic writes
  // in the background colour.
  auto copy = PictWriter(2, {0, 0, 30, 30}).header().op(0x1b).rgb(0, 255, 0).op(0x05).u16(0).long_text(4, 20, "x").finish();
  EXPECT_GT(count_of(play(copy, 30, 30).surface, kGreen), 20);
  auto bic = PictWriter(2, {0, 0, 30, 30}).header().op(0x1b).rgb(0, 0, 255).op(0x05).u16(3).long_text(4, 20, "x").finish();
  Played b = play(bic, 30, 30);
  EXPECT_GT(count_of(b.surface, kBlue), 5);
  EXPECT_EQ(count_of(b.surface, raster::colors::black), 0);
}

// --- Pixel patterns ---------------------------------------------------------------------------

TEST(CompletePixelPatterns, FillsTileTheColourPattern) {
  PictWriter w(2, {0, 0, 4, 4});
  w.header().op(0x14);
  testing::pixel_pattern(w, {{kRed, kBlue}, {kBlue, kRed}});
  Played p = play(w.op(0x34).rect({0, 0, 4, 4}).op(0x5c).finish(), 4, 4);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), rows({"rbrb", "brbr", "rbrb", "brbr"}));

  PictWriter oval(2, {0, 0, 8, 8});
  oval.header().op(0x14);
  testing::pixel_pattern(oval, {{kGreen}});
  Played o = play(oval.op(0x54).rect({0, 0, 8, 8}).finish(), 8, 8);
  EXPECT_EQ(o.surface.color_at(4, 4), kGreen);
  EXPECT_EQ(o.surface.color_at(0, 0), raster::colors::white);
  EXPECT_EQ(o.surface.color_at(7, 7), raster::colors::white);
}

TEST(CompletePixelPatterns, RgbPatternsAndOneBitPatternsAfterThem) {
  PictWriter w(2, {0, 0, 4, 2});
  w.header().op(0x14).u16(2);
  for (int i = 0; i < 8; ++i) w.u8(0x55);
  w.rgb(0, 0, 255).op(0x34).rect({0, 0, 2, 2});
  // FillPat replaces the pixel pattern by a one-bit one (here black).
  w.op(0x0a).bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}).op(0x34).rect({2, 0, 4, 2});
  EXPECT_EQ(play(w.finish(), 4, 2).str(), rows({"bb##", "bb##"}));
}

TEST(CompletePixelPatterns, PenPatternsPaintAndColourThePen) {
  PictWriter w(2, {0, 0, 6, 6});
  w.header().op(0x13);
  testing::pixel_pattern(w, {{kRed}});
  w.op(0x51).rect({0, 0, 6, 6}).op(0x20).point(0, 5).point(6, 5);
  Played p = play(w.finish(), 6, 6);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.surface.color_at(3, 2), kRed);  // the oval's inside
  for (int x = 0; x < 6; ++x) EXPECT_EQ(p.surface.color_at(x, 5), kRed) << x;  // the line
}

// --- Regions ------------------------------------------------------------------------------------

const std::vector<std::string> kEll = {"#...", "#...", "###.", "...."};

std::vector<std::uint8_t> region_picture(std::uint16_t op, const std::vector<std::string>& shape,
                                         std::uint16_t before = 0) {
  PictWriter w(2, {0, 0, 6, 5});
  w.header().op(0x1b).rgb(0, 0, 255);
  if (before) w.op(before).rect({0, 0, 6, 5});
  return w.op(op).region(encode_region(1, 1, shape)).finish();
}

TEST(CompleteRegions, EveryVerbOnTheWholeRegion) {
  const std::string ell = rows({"......", ".#....", ".#....", ".###..", "......"});
  EXPECT_EQ(play(region_picture(0x81, kEll), 6, 5).str(), ell);  // paint
  EXPECT_EQ(play(region_picture(0x84, kEll), 6, 5).str(), ell);  // fill
  EXPECT_EQ(play(region_picture(0x83, kEll), 6, 5).str(), ell);  // invert
  // erase: the background colour over black
  EXPECT_EQ(play(region_picture(0x82, kEll, 0x31), 6, 5).str(),
            rows({"######", "#b####", "#b####", "#bbb##", "######"}));
  // frame: the pen's width inside the edge
  const std::vector<std::string> notched = {"#####", "#####", "#####", "###..", "###.."};
  PictWriter w(2, {0, 0, 5, 5});
  w.header().op(0x80).region(encode_region(0, 0, notched));
  EXPECT_EQ(play(w.finish(), 5, 5).str(), rows({"#####", "#...#", "#.###", "#.#..", "###.."}));
  PictWriter thick(2, {0, 0, 5, 5});
  thick.header().op(0x07).u16(2).u16(2).op(0x80).region(encode_region(0, 0, {"#####", "#####", "#####", "#####", "#####"}));
  EXPECT_EQ(play(thick.finish(), 5, 5).str(), rows({"#####", "#####", "##.##", "#####", "#####"}));
}

TEST(CompleteRegions, ScaledWithThePicture) {
  Played p = play(region_picture(0x81, kEll), 12, 10, true, {0, 0, 12, 10});
  EXPECT_EQ(p.str(), rows({"............", "............", "..##........", "..##........", "..##........",
                           "..##........", "..######....", "..######....", "............", "............"}));
}

TEST(CompleteRegions, ClipKeepsTheWholeRegion) {
  auto clipped = [](bool) {
    return PictWriter(2, {0, 0, 6, 5}).header().op(0x01).region(encode_region(1, 1, kEll)).op(0x31).rect({0, 0, 6, 5}).finish();
  };
  EXPECT_EQ(play(clipped(true), 6, 5, true).str(), rows({"......", ".#....", ".#....", ".###..", "......"}));
  // The title player clips to the region's box.
  EXPECT_EQ(play(clipped(false), 6, 5, false).str(), rows({"......", ".###..", ".###..", ".###..", "......"}));
}

TEST(CompleteRegions, BitmapsMaskedByARegion) {
  // DirectBitsRgn: four red pixels of a 32-bit pixmap (unpacked rows), the
  // mask letting two of each row through.
  PictWriter w(2, {0, 0, 4, 2});
  w.header().op(0x9b).u32(0xff).u16(0x8000 | 16);
  testing::pixmap_fields(w, {0, 0, 4, 2}, 1, 32, 3, 8);
  w.rect({0, 0, 4, 2}).rect({0, 0, 4, 2}).u16(0).region(encode_region(0, 0, {"#..#", ".##."}));
  for (int i = 0; i < 8; ++i) w.bytes({0, 255, 0, 0});
  Played p = play(w.finish(), 4, 2);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.str(), rows({"r..r", ".rr."}));
  // PackBitsRgn of a one-bit bitmap.
  auto bits = PictWriter(2, {0, 0, 8, 1}).header().op(0x99).u16(2).rect({0, 0, 8, 1}).rect({0, 0, 8, 1})
                  .rect({0, 0, 8, 1}).u16(0).region(encode_region(2, 0, {"###"})).bytes({0xff, 0xff}).finish();
  EXPECT_EQ(play(bits, 8, 1).str(), "..###...");
  // The clip is as it was afterwards.
  Surface s = white_surface(8, 1);
  DeviceContext dc(s);
  play_picture(dc, bits, {0, 0, 8, 1}, PlaybackOptions{true});
  EXPECT_FALSE(dc.clip().has_value());
}

// --- Shapes and reserved opcodes ------------------------------------------------------------------

TEST(CompleteShapes, VerbsTheTitlePlayerLacks) {
  // fillRRect, invertRRect, and the polygon verbs erase, invert and fill.
  auto rrect = PictWriter(2, {0, 0, 4, 4}).header().op(0x44).rect({0, 0, 4, 4}).op(0x4b).finish();
  Played r = play(rrect, 4, 4);
  EXPECT_EQ(r.result.end, PlaybackEnd::finished);
  EXPECT_EQ(r.str(), rows({"....", "....", "....", "...."}));  // filled black, then inverted back
  auto polygon = [](std::uint16_t op) {
    return PictWriter(2, {0, 0, 4, 4}).header().op(0x31).rect({0, 0, 4, 2}).op(op).u16(26).rect({0, 0, 4, 4})
        .point(0, 0).point(4, 0).point(4, 4).point(0, 4).finish();
  };
  EXPECT_EQ(play(polygon(0x74), 4, 4).str(), rows({"####", "####", "####", "####"}));
  EXPECT_EQ(play(polygon(0x73), 4, 4).str(), rows({"....", "....", "####", "####"}));
  EXPECT_EQ(play(polygon(0x72), 4, 4).str(), rows({"....", "....", "....", "...."}));
}

TEST(CompleteShapes, ReservedOpcodesAreSkippedByTheirLengths) {
  struct Reserved {
    std::uint16_t op;
    std::vector<std::uint8_t> operand;
  };
  const std::vector<Reserved> reserved = {
      {0x15, {0, 1}}, {0x17, {}}, {0x1d, {1, 2, 3, 4, 5, 6}}, {0x24, {0, 2, 9, 9}}, {0x35, std::vector<std::uint8_t>(8, 7)},
      {0x3d, {}}, {0x65, std::vector<std::uint8_t>(12, 7)}, {0x6d, {1, 2, 3, 4}}, {0x75, {0, 4, 9, 9}},
      {0x85, {0, 4, 9, 9}}, {0x92, {0, 2, 9, 9}}, {0xa2, {0, 0}}, {0xb0, {}}, {0xd0, {0, 0, 0, 2, 9, 9}},
      {0x0100, {9, 9}}, {0x0200, {9, 9, 9, 9}}, {0x8000, {}}, {0x8201, {0, 0, 0, 4, 9, 9, 9, 9}}};
  for (const Reserved& r : reserved) {
    SCOPED_TRACE(r.op);
    auto pict = PictWriter(2, {0, 0, 2, 1}).header().op(r.op).bytes(r.operand).op(0x31).rect({1, 0, 2, 1}).finish();
    Played complete = play(pict, 2, 1);
    EXPECT_EQ(complete.result.end, PlaybackEnd::finished);
    EXPECT_EQ(complete.str(), ".#");
    Played title = play(pict, 2, 1, false);
    EXPECT_EQ(title.result.end, PlaybackEnd::stopped);
    EXPECT_EQ(title.str(), "..");
  }
}

TEST(CompleteShapes, OldStyleColours) {
  auto pict = PictWriter(1, {0, 0, 3, 1}).op(0x0e).u32(409).op(0x31).rect({0, 0, 1, 1}).op(0x0e).u32(12345)
                  .op(0x31).rect({1, 0, 2, 1}).op(0x0f).u32(33).op(0x32).rect({2, 0, 3, 1}).finish();
  Played p = play(pict, 3, 1);
  EXPECT_EQ(p.surface.color_at(0, 0), (Color{0, 0, 212}));
  EXPECT_EQ(p.surface.color_at(1, 0), (Color{0, 0, 212}));  // an unknown number changes nothing
  EXPECT_EQ(p.surface.color_at(2, 0), raster::colors::black);
}

// --- QuickTime JPEG pictures ---------------------------------------------------------------------

std::vector<std::uint8_t> jpeg_picture(const std::vector<std::uint8_t>& jpeg, int w, int h, IntRect frame, IntRect place,
                                       const std::vector<std::uint8_t>& mask = {}, std::string_view kind = "jpeg") {
  PictWriter pw(2, frame);
  pw.header();
  testing::quicktime_jpeg(pw, jpeg, w, h, place, mask, kind);
  return pw.op(0x31).rect({frame.right - 1, frame.bottom - 1, frame.right, frame.bottom}).finish();
}

TEST(CompleteQuickTime, JpegDrawnWherePlaced) {
  auto jpeg = testing::make_jpeg(testing::red_blue_halves(16, 8));
  Played p = play(jpeg_picture(jpeg, 16, 8, {0, 0, 16, 8}, {0, 0, 16, 8}), 16, 8);
  EXPECT_EQ(p.result.end, PlaybackEnd::finished);
  EXPECT_EQ(p.result.undrawn, 0u);
  EXPECT_TRUE(near(p.surface.color_at(2, 3), kRed, 24));
  EXPECT_TRUE(near(p.surface.color_at(13, 4), kBlue, 24));
  // The matrix scales an 8 x 4 image onto (4 2 20 10).
  auto small = testing::make_jpeg(testing::red_blue_halves(8, 4));
  Played q = play(jpeg_picture(small, 8, 4, {0, 0, 24, 12}, {4, 2, 20, 10}), 24, 12);
  EXPECT_TRUE(near(q.surface.color_at(6, 6), kRed, 24));
  EXPECT_TRUE(near(q.surface.color_at(17, 6), kBlue, 24));
  EXPECT_EQ(q.surface.color_at(2, 1), raster::colors::white);
  EXPECT_EQ(q.surface.color_at(21, 10), raster::colors::white);
  // And the picture drawn at half size.
  Played half = play(jpeg_picture(jpeg, 16, 8, {0, 0, 16, 8}, {0, 0, 16, 8}), 8, 4, true, {0, 0, 8, 4});
  EXPECT_TRUE(near(half.surface.color_at(1, 1), kRed, 24));
  EXPECT_TRUE(near(half.surface.color_at(6, 2), kBlue, 24));
}

TEST(CompleteQuickTime, MaskRegionAndOtherKinds) {
  auto jpeg = testing::make_jpeg(testing::red_blue_halves(16, 8));
  Played masked = play(jpeg_picture(jpeg, 16, 8, {0, 0, 16, 8}, {0, 0, 16, 8}, encode_region(0, 0, {"####"})), 16, 8);
  EXPECT_TRUE(near(masked.surface.color_at(2, 0), kRed, 24));
  EXPECT_EQ(masked.surface.color_at(2, 3), raster::colors::white);
  EXPECT_EQ(masked.surface.color_at(13, 4), raster::colors::white);
  // A compression other than JPEG is passed over, counted, and the walk
  // goes on to the rectangle after it.
  Played other = play(jpeg_picture(jpeg, 16, 8, {0, 0, 16, 8}, {0, 0, 16, 8}, {}, "rle "), 16, 8);
  EXPECT_EQ(other.result.end, PlaybackEnd::finished);
  EXPECT_EQ(other.result.undrawn, 1u);
  EXPECT_EQ(other.result.first_undrawn, 0x8200);
  EXPECT_EQ(other.surface.color_at(2, 3), raster::colors::white);
  EXPECT_EQ(other.surface.color_at(15, 7), raster::colors::black);
}

TEST(CompleteQuickTime, CorruptTruncatedAndAbsurdJpegs) {
  auto jpeg = testing::make_jpeg(testing::red_blue_halves(16, 64));
  // Garbage instead of a JPEG: not drawn, the walk goes on.
  std::vector<std::uint8_t> garbage(jpeg.size(), 0x5a);
  Played g = play(jpeg_picture(garbage, 16, 64, {0, 0, 16, 64}, {0, 0, 16, 64}), 16, 64);
  EXPECT_EQ(g.result.end, PlaybackEnd::finished);
  EXPECT_EQ(g.result.undrawn, 1u);
  EXPECT_EQ(g.surface.color_at(15, 63), raster::colors::black);
  // A JPEG cut short in its scan: the rows that arrived are drawn.
  auto tall = testing::make_jpeg(testing::red_blue_halves(64, 512));
  std::vector<std::uint8_t> cut(tall.begin(), tall.end() - static_cast<std::ptrdiff_t>(tall.size() / 4));
  Played c = play(jpeg_picture(cut, 64, 512, {0, 0, 64, 512}, {0, 0, 64, 512}), 64, 512);
  EXPECT_EQ(c.result.end, PlaybackEnd::finished);
  EXPECT_EQ(c.result.undrawn, 1u);
  EXPECT_TRUE(near(c.surface.color_at(2, 1), kRed, 24));
  EXPECT_TRUE(near(c.surface.color_at(60, 1), kBlue, 24));
  // Headers claiming more pixels than the data can hold are refused before decoding.
  auto claim = [&](int size) {
    std::vector<std::uint8_t> patched = jpeg;
    for (std::size_t i = 0; i + 8 < patched.size(); ++i)
      if (patched[i] == 0xff && patched[i + 1] == 0xc0) {
        patched[i + 5] = patched[i + 7] = static_cast<std::uint8_t>(size >> 8);
        patched[i + 6] = patched[i + 8] = static_cast<std::uint8_t>(size);
        break;
      }
    return play(jpeg_picture(patched, 16, 64, {0, 0, 16, 64}, {0, 0, 16, 64}), 16, 64);
  };
  for (int size : {60000, 4000}) {
    // 4000 x 4000 is within what the decoder takes, but more than this
    // JPEG's few hundred bytes could describe.
    SCOPED_TRACE(size);
    Played h = claim(size);
    EXPECT_EQ(h.result.end, PlaybackEnd::finished);
    EXPECT_EQ(h.result.undrawn, 1u);
  }
}

// --- Bad input ------------------------------------------------------------------------------------

TEST(CompleteBadInput, EveryTruncationEndsCleanly) {
  auto pictures = pictures_beyond_the_title_player();
  pictures.push_back(region_picture(0x80, kEll));
  {
    PictWriter w(2, {0, 0, 4, 2});
    w.header().op(0x9b).u32(0xff).u16(0x8000 | 16);
    testing::pixmap_fields(w, {0, 0, 4, 2}, 1, 32, 3, 8);
    w.rect({0, 0, 4, 2}).rect({0, 0, 4, 2}).u16(0).region(encode_region(0, 0, {"#..#", ".##."}));
    for (int i = 0; i < 8; ++i) w.bytes({0, 255, 0, 0});
    pictures.push_back(w.finish());
  }
  pictures.push_back(PictWriter(2, {0, 0, 9, 9}).header().font_name(9, "Times").op(0x03).u16(9).op(0x10)
                         .point(1, 1).point(1, 1).long_text(1, 8, "ab").op(0x2b).u8(1).u8(1).text_bytes("c").finish());
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    const auto& full = pictures[n];
    for (std::size_t size = 14; size < full.size(); ++size) {
      SCOPED_TRACE(::testing::Message() << "picture " << n << " cut to " << size);
      std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
      Played p = play(cut, 12, 10, true, {0, 0, 12, 10});
      EXPECT_NE(p.result.end, PlaybackEnd::finished);
    }
  }
}

TEST(CompleteBadInput, AbsurdSizesAreRefused) {
  // A pixel pattern of 16000 x 16000 pixels in a few bytes.
  PictWriter w(2, {0, 0, 4, 4});
  w.header().op(0x14).u16(1);
  for (int i = 0; i < 8; ++i) w.u8(0);
  w.u16(0x8000 | 16000);
  testing::pixmap_fields(w, {0, 0, 16000, 16000}, 0, 8, 1, 8);
  w.u32(0).u16(0).u16(0).u16(0).rgb(1, 2, 3).bytes({2, 0xff, 0});
  EXPECT_EQ(play(w.finish(), 4, 4).result.end, PlaybackEnd::truncated);
  // Regions whose size word is too small, or larger than the data.
  EXPECT_EQ(play(PictWriter(2, {0, 0, 4, 4}).header().op(0x81).u16(4).finish(), 4, 4).result.end, PlaybackEnd::truncated);
  EXPECT_EQ(play(PictWriter(2, {0, 0, 4, 4}).header().op(0x81).u16(0xffff).rect({0, 0, 4, 4}).finish(), 4, 4).result.end,
            PlaybackEnd::truncated);
  // Scan data without its ends, or with points out of order, stays within its box.
  auto odd = PictWriter(2, {0, 0, 4, 4}).header().op(0x81).u16(18).rect({1, 1, 3, 3}).s16(0).s16(3).s16(0).s16(0x7fff)
                 .finish();
  Played o = play(odd, 4, 4);
  EXPECT_EQ(o.result.end, PlaybackEnd::finished);
  EXPECT_EQ(o.str(), rows({"....", ".##.", ".##.", "...."}));
  // Text of the largest size draws (at the largest size the fonts draw) and ends.
  auto big = PictWriter(2, {0, 0, 20, 20}).header().op(0x0d).u16(0x7fff).long_text(0, 10, "W").finish();
  EXPECT_EQ(play(big, 20, 20).result.end, PlaybackEnd::finished);
}

}  // namespace
}  // namespace orvane::graphics
