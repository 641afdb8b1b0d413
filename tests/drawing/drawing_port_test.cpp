// The drawing operations of a port, pixel by pixel, on offscreen buffers.
#include "graphics/drawing_port.h"

#include <gtest/gtest.h>

#include "drawing/port_pixels.h"
#include "graphics/offscreen.h"

namespace orvane::graphics {
namespace {

using raster::IntRect;
using raster::Pattern8;
using testing::canvas;
using testing::frame_pixels;
using testing::rows;

const std::map<std::uint32_t, char> kLegend{{0xff0000, 'r'}, {0xc0c0c0, 'g'}, {0x0000ff, 'b'}};

TEST(DrawingPortTest, StartsWithTheInitialState) {
  Offscreen o = canvas(4, 4);
  DrawingPort& p = o.port();
  EXPECT_EQ(p.dirty_rect(), (IntRect{0, 0, 0, 0}));
  EXPECT_EQ(p.fore_color(), (Rgb16{0, 0, 0}));
  EXPECT_EQ(p.back_color(), (Rgb16{65535, 65535, 65535}));
  EXPECT_EQ(p.pen_width(), 1);
  EXPECT_EQ(p.transfer_mode(), 0);
  EXPECT_EQ(p.background_mode(), raster::BackgroundMode::transparent);
  EXPECT_FALSE(p.pattern().has_value());
  EXPECT_EQ(frame_pixels(o), rows({"....", "....", "....", "...."}));
}

TEST(DrawingPortTest, PaintRectWithoutPatternPaintsBlackAndGrayAlternates) {
  Offscreen o = canvas(4, 3);
  o.port().paint_rect({0, 0, 4, 1});
  o.port().set_pattern(Pattern8::gray());
  o.port().paint_rect({0, 1, 4, 3});
  EXPECT_EQ(frame_pixels(o), rows({"####", ".#.#", "#.#."}));
}

TEST(DrawingPortTest, PatternsTakeTheForeAndBackColours) {
  Offscreen o = canvas(4, 2);
  o.port().set_fore_color({65535, 0, 0});
  o.port().set_back_color({0, 0, 65535});
  o.port().set_pattern(Pattern8::gray());
  o.port().paint_rect({0, 0, 4, 2});
  EXPECT_EQ(frame_pixels(o, kLegend), rows({"rbrb", "brbr"}));
}

TEST(DrawingPortTest, AnEmptyPatternPaintsWhite) {
  Offscreen o = canvas(3, 1);
  o.port().paint_rect({0, 0, 3, 1});
  o.port().set_pattern(Pattern8::white());
  o.port().paint_rect({0, 0, 2, 1});
  EXPECT_EQ(frame_pixels(o), "..#");
}

TEST(DrawingPortTest, ColourRectFillsWithTheHighBytes) {
  Offscreen o = canvas(3, 1);
  o.port().color_rect({1, 0, 3, 1}, {65535, 255, 0});
  EXPECT_EQ(frame_pixels(o, kLegend), ".rr");
}

TEST(DrawingPortTest, LineToWithAOnePixelPenColoursTheEndPixel) {
  Offscreen o = canvas(5, 2);
  o.port().move_to(0, 0);
  o.port().line_to(3, 0);
  EXPECT_EQ(frame_pixels(o), rows({"####.", "....."}));
}

TEST(DrawingPortTest, LineToWithAThreePixelPenIsOffsetAndLeavesTheEndPixel) {
  Offscreen o = canvas(9, 5);
  o.port().pen_size(3);
  o.port().move_to(0, 0);
  o.port().line_to(4, 0);
  // From (1,1) to (5,1), round pen of 3: rows 0-2, columns 0..6 at most.
  std::string pixels = frame_pixels(o);
  EXPECT_EQ(pixels.substr(10, 9).substr(1, 1), "#");  // (1,1) on the line
  EXPECT_EQ(o.port().pen_position(), (raster::IntPoint{5, 1}));
  EXPECT_EQ(o.surface().color_at(0, 3), raster::colors::white);  // nothing below the pen's band
  EXPECT_EQ(o.surface().color_at(7, 1), raster::colors::white);  // nothing past the pen's reach
}

TEST(DrawingPortTest, PenSizeMovesThePenByTheHalfDifference) {
  Offscreen o = canvas(8, 8);
  o.port().move_to(2, 2);
  o.port().pen_size(4);
  EXPECT_EQ(o.port().pen_position(), (raster::IntPoint{4, 4}));
  o.port().pen_size(5);  // 5/2 - 4/2 = 0: no move
  EXPECT_EQ(o.port().pen_position(), (raster::IntPoint{4, 4}));
  o.port().pen_size(1);
  EXPECT_EQ(o.port().pen_position(), (raster::IntPoint{2, 2}));
}

TEST(DrawingPortTest, ArcsRunClockwiseFromTwelveOClock) {
  Offscreen quarter = canvas(11, 11);
  quarter.port().frame_arc({0, 0, 11, 11}, 0, 90);
  std::string q = frame_pixels(quarter);
  // Twelve o'clock (5,0) and three o'clock (10,5) are drawn; nine and six are not.
  EXPECT_EQ(quarter.surface().color_at(5, 0), raster::colors::black);
  EXPECT_EQ(quarter.surface().color_at(10, 5), raster::colors::black);
  EXPECT_EQ(quarter.surface().color_at(0, 5), raster::colors::white);
  EXPECT_EQ(quarter.surface().color_at(5, 10), raster::colors::white);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x)
      if (quarter.surface().color_at(x, y) == raster::colors::black) {
        EXPECT_GE(x, 5);
        EXPECT_LE(y, 5);
      }

  Offscreen reversed = canvas(11, 11);
  reversed.port().frame_arc({0, 0, 11, 11}, 90, -90);
  EXPECT_EQ(frame_pixels(reversed), q);

  Offscreen nothing = canvas(11, 11);
  nothing.port().frame_arc({0, 0, 11, 11}, 45, 0);
  EXPECT_EQ(frame_pixels(nothing), frame_pixels(canvas(11, 11)));
}

TEST(DrawingPortTest, ArcsByQuadrant) {
  // 90 to 180: three to six o'clock, the bottom-right quarter.
  Offscreen o = canvas(11, 11);
  o.port().frame_arc({0, 0, 11, 11}, 90, 90);
  EXPECT_EQ(o.surface().color_at(10, 5), raster::colors::black);
  EXPECT_EQ(o.surface().color_at(5, 10), raster::colors::black);
  EXPECT_EQ(o.surface().color_at(5, 0), raster::colors::white);
  EXPECT_EQ(o.surface().color_at(0, 5), raster::colors::white);
}

TEST(DrawingPortTest, FrameRectLeavesTheInsideAndEraseUsesTheBackColour) {
  Offscreen o = canvas(4, 4);
  o.port().paint_rect({0, 0, 4, 4});
  o.port().erase_rect({1, 1, 3, 3});
  o.port().frame_rect({0, 0, 4, 4});
  EXPECT_EQ(frame_pixels(o), rows({"####", "#..#", "#..#", "####"}));
  o.port().set_back_color({65535, 0, 0});
  o.port().erase_rect({1, 1, 3, 2});
  EXPECT_EQ(frame_pixels(o, kLegend), rows({"####", "#rr#", "#..#", "####"}));
}

TEST(DrawingPortTest, InvertRectAndTheDimmedFill) {
  Offscreen o = canvas(4, 2);
  o.port().invert_rect({0, 0, 2, 1});
  EXPECT_EQ(frame_pixels(o), rows({"##..", "...."}));
  Offscreen d = canvas(4, 2);
  d.port().fill_rect_dimmed({0, 0, 4, 2});
  EXPECT_EQ(frame_pixels(d, kLegend), rows({"g.g.", ".g.g"}));
  // The text colour is given back.
  EXPECT_EQ(d.context().text_color(), raster::colors::black);
}

TEST(DrawingPortTest, SessionsNestAndRestoreTheEnclosingContext) {
  Offscreen a = canvas(2, 2), b = canvas(2, 2);
  EXPECT_EQ(current_port(), nullptr);
  {
    DrawingSession outer(a.port(), a.context());
    EXPECT_EQ(current_port(), &a.port());
    {
      // b's port drawing into a's context for a while.
      DrawingSession inner(b.port(), a.context());
      EXPECT_EQ(current_port(), &b.port());
      b.port().set_fore_color({65535, 0, 0});
      b.port().paint_rect({0, 0, 1, 1});
      EXPECT_EQ(&b.port().context(), &a.context());
    }
    EXPECT_EQ(current_port(), &a.port());
    EXPECT_EQ(a.context().text_color(), raster::colors::black);
    EXPECT_EQ(&b.port().context(), &b.context());
  }
  EXPECT_EQ(current_port(), nullptr);
  EXPECT_EQ(frame_pixels(a, kLegend), rows({"r.", ".."}));
  EXPECT_EQ(frame_pixels(b), rows({"..", ".."}));
}

TEST(DrawingPortTest, ThePenPositionBelongsToThePortAcrossSessions) {
  Offscreen a = canvas(8, 2), b = canvas(8, 2);
  b.port().move_to(1, 1);
  {
    DrawingSession s(b.port(), a.context());
    EXPECT_EQ(a.context().position(), (raster::IntPoint{1, 1}));
    b.port().move(3, 0);
    EXPECT_TRUE(in_use_by_a_session(b.port(), b.context()));
    EXPECT_TRUE(in_use_by_a_session(a.port(), a.context()));
  }
  EXPECT_EQ(b.port().pen_position(), (raster::IntPoint{4, 1}));
  EXPECT_FALSE(in_use_by_a_session(b.port(), b.context()));
}

TEST(DrawingPortTest, ExtremeArgumentsStayInsideTheBuffer) {
  Offscreen o = canvas(16, 16);
  DrawingPort& p = o.port();
  const IntRect huge{-32768, -32768, 32767, 32767};
  p.frame_round_rect({0, 0, 16, 16}, -5, 100000);
  p.paint_round_rect(huge, 32767, -32768);
  p.frame_arc(huge, -720, 1080);
  p.paint_arc({4, 4, 4, 4}, 0, 90);
  p.paint_oval({10, 10, 2, 2});
  p.pen_size(-7);
  p.move_to(-32768, -32768);
  p.line_to(32767, 32767);
  p.pen_size(200);
  p.line(-300, 20);
  p.invert_oval(huge);
  p.erase_oval({8, 8, 8, 40});
  p.frame_poly(std::vector<raster::IntPoint>{{-32768, 0}, {32767, 16}}, true);
  p.paint_poly(std::vector<raster::IntPoint>{{0, 0}, {32767, 0}, {0, 32767}});
  EXPECT_EQ(o.surface().width(), 16);  // nothing written past the surface (checked by the sanitizers)
}

TEST(DrawingPortTest, DrawStringGoesThroughTheTextDrawerAndMovesThePen) {
  Offscreen o = canvas(8, 2);
  std::string seen;
  set_text_drawer([&](raster::DeviceContext&, const FontRecord*, raster::IntPoint at, std::string_view text) {
    seen = std::to_string(at.x) + ":" + std::string(text);
    return static_cast<int>(text.size()) * 2;
  });
  o.port().move_to(1, 1);
  o.port().draw_string("abc");
  set_text_drawer(nullptr);
  EXPECT_EQ(seen, "1:abc");
  EXPECT_EQ(o.port().pen_position(), (raster::IntPoint{7, 1}));
}

}  // namespace
}  // namespace orvane::graphics
