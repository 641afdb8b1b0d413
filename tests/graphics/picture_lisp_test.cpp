// The picture player as the Lisp side sees it: error 9 for a bitmap that
// fails, frames as rectangle Values.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/primitives.h"
#include "graphics/pict_writer.h"
#include "graphics/picture_playback.h"
#include "lib/lisp_test.h"
#include "platform/raster/device_context.h"
#include "raster/pixels.h"

namespace orvane {
namespace {

using graphics::testing::PictWriter;

// A 1-bit PackBitsRect whose only row unpacks to 9 bytes instead of 8.
std::vector<std::uint8_t> broken_picture() {
  return PictWriter(2, {0, 0, 64, 1})
      .op(0x98).u16(8).rect({0, 0, 64, 1}).rect({0, 0, 64, 1}).rect({0, 0, 64, 1}).u16(0)
      .u8(2).bytes({0xf8, 0xff})
      .finish();
}

Value draw_broken() {
  raster::Surface s(64, 1, raster::PixelFormat::rgb32);
  raster::DeviceContext dc(s);
  draw_picture(dc, broken_picture(), {0, 0, 64, 1});
  return kNoValue;
}

// Paints the top-left quarter of a white surface black; answers the pixels
// at a painted and at an untouched corner.
Value draw_good() {
  raster::Surface s = raster::testing::white_surface(4, 4);
  raster::DeviceContext dc(s);
  draw_picture(dc, PictWriter(1, {0, 0, 4, 4}).op(0x31).rect({0, 0, 2, 2}).finish(), {0, 0, 4, 4});
  return cons(make_integer(static_cast<std::int32_t>(s.pixel(0, 0))),
              cons(make_integer(static_cast<std::int32_t>(s.pixel(3, 3))), kNil));
}

Value frame_of_sample() { return picture_frame(PictWriter(2, {0, 0, 10, 10}).header(true, {3, 4, 30, 40}).finish()); }
Value frame_of_junk() { return picture_frame(std::vector<std::uint8_t>{1, 2, 3}); }

class PictureLispTest : public testing::LispTest {
 protected:
  void SetUp() override {
    LispTest::SetUp();
    defprim("test-draw-broken", draw_broken);
    defprim("test-draw-good", draw_good);
    defprim("test-frame-sample", frame_of_sample);
    defprim("test-frame-junk", frame_of_junk);
  }
};

TEST_F(PictureLispTest, FailedBitmapRaisesErrorNine) {
  EXPECT_EQ(error_code("(test-draw-broken)"), 9);
  EXPECT_TRUE(gives("(test-draw-good)", "(0 16777215)"));
}

TEST_F(PictureLispTest, FramesAsRectangles) {
  EXPECT_TRUE(gives("(test-frame-sample)", "(3 4 30 40)"));
  EXPECT_TRUE(gives("(test-frame-junk)", "(0 0 0 0)"));
}

}  // namespace
}  // namespace orvane
