// Golden images of the drawing methods and offscreens, compared pixel for
// pixel: no font is involved, so every pixel is the raster engine's and the
// port's rules (patterns anchored at the origin, colour rectangles by high
// bytes, the end pixel of `line-to`, arcs by quadrant from twelve o'clock,
// masks and transfer modes). The small exact cases are in
// drawing_port_test.cpp and offscreen_test.cpp; these catch what a change
// does to everything at once.
#include <gtest/gtest.h>

#include <vector>

#include "drawing/port_pixels.h"
#include "graphics/drawing_port.h"
#include "graphics/offscreen.h"
#include "support/golden_image.h"

namespace orvane::graphics {
namespace {

using raster::IntPoint;
using raster::IntRect;
using raster::Pattern8;
using testing::canvas;

constexpr Rgb16 kRed{65535, 0, 0};
constexpr Rgb16 kBlue{0, 0, 65535};
constexpr Rgb16 kGreen{0, 32768, 0};
constexpr Pattern8 kDiagonal{{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}};

// The surface's frame rows only (an offscreen has one extra row).
raster::Surface frame_of(const Offscreen& o) {
  raster::Surface s(o.frame().width(), o.frame().height(), raster::PixelFormat::rgb32);
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) s.set_pixel(x, y, o.surface().color_at(x, y).rgb());
  return s;
}

TEST(DrawingGolden, PatternsColoursPensAndShapes) {
  Offscreen o = canvas(160, 120);
  DrawingPort& p = o.port();
  // Patterns: black, grey in two colours, white over black, one of its own.
  p.paint_rect({4, 4, 24, 24});
  p.set_fore_color(kRed);
  p.set_back_color(kBlue);
  p.set_pattern(Pattern8::gray());
  p.paint_rect({28, 4, 48, 24});
  p.set_fore_color({0, 0, 0});
  p.set_back_color({65535, 65535, 65535});
  p.set_pattern(kDiagonal);
  p.paint_rect({52, 4, 72, 24});
  p.paint_oval({76, 4, 100, 24});
  p.set_pattern(std::nullopt);
  // Colour rectangles take each component's high byte.
  p.color_rect({104, 4, 116, 24}, {65535, 255, 0});
  p.color_rect({116, 4, 128, 24}, {0x12ff, 0x34ff, 0x56ff});
  p.color_rect({128, 4, 140, 24}, kGreen);
  // Lines: a one-pixel pen colours its end pixel, a wide one does not.
  p.move_to(4, 30);
  p.line_to(40, 30);
  p.move_to(4, 34);
  p.line_to(40, 50);
  p.pen_size(3);
  p.move_to(48, 30);
  p.line_to(80, 44);
  p.pen_size(1);
  p.move_to(90, 30);
  p.line(20, 0);
  p.line(0, 12);
  const std::vector<IntPoint> poly{{120, 30}, {150, 36}, {130, 50}, {124, 40}};
  p.paint_poly(poly);
  p.frame_poly(poly, true);
  // Arcs by quadrant: each rectangle holds one quarter, then a pie.
  for (int q = 0; q < 4; ++q) p.frame_arc(IntRect{4 + q * 26, 58, 26 + q * 26, 80}, q * 90, 90);
  p.paint_arc({108, 58, 130, 80}, 45, 270);
  p.frame_arc({134, 58, 156, 80}, 300, -120);
  // Frames, round rectangles, erasing, inverting, the dimmed fill.
  p.frame_rect({4, 86, 30, 114});
  p.frame_round_rect({34, 86, 64, 114}, 10, 10);
  p.paint_round_rect({68, 86, 94, 114}, 8, 12);
  p.erase_oval({72, 90, 90, 110});
  p.frame_oval({98, 86, 124, 114});
  p.invert_rect({110, 92, 140, 108});
  p.fill_rect_dimmed({128, 86, 156, 114});
  EXPECT_TRUE(orvane::testing::matches_golden(frame_of(o), "drawing", "drawing_methods"));
}

TEST(DrawingGolden, OffscreensMasksAndTransferModes) {
  // An image: a red disc with a black ring on white; its mask is the disc.
  Offscreen image = canvas(24, 24);
  image.port().set_fore_color(kRed);
  image.port().paint_oval({2, 2, 22, 22});
  image.port().set_fore_color({0, 0, 0});
  image.port().frame_oval({2, 2, 22, 22});
  image.make_mask();

  Offscreen o = canvas(160, 40);
  DrawingPort& p = o.port();
  p.set_pattern(Pattern8::gray());
  p.paint_rect(o.frame());
  p.set_pattern(std::nullopt);
  const int modes[] = {0, 1, 2, 3, 4, kTransparentMode};
  for (int i = 0; i < 6; ++i) {
    image.port().set_transfer_mode(modes[i]);
    draw_offscreen(p, image, IntRect{4 + i * 26, 8, 28 + i * 26, 32});
  }
  // Stretched into a wider place, through the mask.
  image.port().set_transfer_mode(kTransparentMode);
  draw_offscreen(p, image, {4, 33, 40, 39});

  // An 8-bit buffer: the colour lands on the run-time palette's nearest entry.
  OffscreenSpec indexed = OffscreenSpec::of({0, 0, 16, 16});
  indexed.depth = 8;
  Offscreen eight(indexed);
  eight.port().color_rect(eight.frame(), {0x8000, 0x4000, 0xc000});
  eight.port().set_transfer_mode(0);
  draw_offscreen(p, eight, {140, 12, 156, 28});
  EXPECT_TRUE(orvane::testing::matches_golden(frame_of(o), "drawing", "offscreens"));
}

}  // namespace
}  // namespace orvane::graphics
