// The image transfer between ports: a plain copy between 32-bit surfaces
// takes the same pixels as the engine's block transfer, within the
// destination's clip and the source's bounds.
#include <gtest/gtest.h>

#include "graphics/offscreen.h"
#include "platform/raster/device_context.h"

namespace orvane::graphics {
namespace {

using raster::Color;
using raster::IntRect;
using raster::Surface;

Surface numbered(int w, int h) {
  Surface s(w, h, raster::PixelFormat::rgb32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.set_pixel(x, y, s.value_of(Color{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5), 99}));
  return s;
}

TEST(PaintTransfer, APlainCopyMatchesTheEnginesBlockTransferUnderClipsAndOrigins) {
  Surface source = numbered(40, 30);
  raster::DeviceContext src(source);
  src.set_origin({-5, -3});
  struct Case {
    IntRect dst_rect, src_rect;
  };
  const Case cases[] = {
      {{2, 2, 22, 12}, {5, 3, 25, 13}},     // inside everything
      {{-4, -6, 26, 14}, {0, 0, 30, 20}},   // the destination runs off its surface
      {{0, 0, 30, 30}, {20, 10, 50, 40}},   // the source runs off its surface
  };
  for (const Case& c : cases) {
    Surface fast(32, 24, raster::PixelFormat::rgb32), slow(32, 24, raster::PixelFormat::rgb32);
    fast.fill(fast.value_of(raster::colors::white));
    slow.fill(slow.value_of(raster::colors::white));
    raster::DeviceContext a(fast), b(slow);
    for (raster::DeviceContext* dc : {&a, &b}) {
      dc->set_origin({1, 2});
      dc->set_clip(raster::Region(IntRect{3, 3, 28, 20}));
    }
    transfer_image(a, c.dst_rect, src, c.src_rect, 0, nullptr);
    b.bit_blit(c.dst_rect, src, c.src_rect.top_left(), raster::RasterOp::src_copy);
    int differing = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 32; ++x) differing += fast.pixel(x, y) != slow.pixel(x, y);
    EXPECT_EQ(differing, 0) << c.dst_rect.left << "," << c.dst_rect.top;
  }
}

}  // namespace
}  // namespace orvane::graphics
