// The opcode walk of get-picture-mode and get-picture-bitmap-rect: one
// pixel copy and nothing drawn gives its mode, drawings or a second copy
// give none, and the walk stops where the player stops.
#include <gtest/gtest.h>

#include "graphics/pict_writer.h"
#include "ui/pictures/picture_scan.h"

namespace orvane::ui {
namespace {

using graphics::PictureKind;
using graphics::testing::pack_bits;
using graphics::testing::pixmap_fields;
using graphics::testing::PictWriter;
using raster::IntRect;

// A version-2 picture with an 8-bit packed pixmap of 10 x 3 (row bytes 10).
void add_pixmap(PictWriter& w, IntRect bounds, int mode) {
  w.op(0x98).u16(0x8000 | 10);
  pixmap_fields(w, bounds, 0, 8, 1, 8);
  w.u32(0).u16(0x8000).u16(1);  // a two-entry table
  w.u16(0).rgb(255, 255, 255).u16(1).rgb(0, 0, 0);
  w.rect(bounds).rect(bounds).u16(static_cast<std::uint16_t>(mode));
  for (int y = 0; y < bounds.height(); ++y) {
    std::vector<std::uint8_t> packed = pack_bits(std::vector<std::uint8_t>(10, static_cast<std::uint8_t>(y)));
    w.u8(static_cast<std::uint8_t>(packed.size())).bytes(packed);
  }
}

TEST(PictureScan, OnePixelCopyGivesItsModeAndBounds) {
  PictWriter w(2, {0, 0, 10, 3});
  w.header();
  add_pixmap(w, {0, 0, 10, 3}, 0x40 | 36);
  PictureScan scan = scan_picture(w.finish());
  EXPECT_EQ(scan.kind, PictureKind::pict2);
  EXPECT_EQ(scan.pixel_copies, 1);
  EXPECT_EQ(scan.drawings, 0);
  EXPECT_EQ(scan.transfer_mode & ~0x40, 36);
  EXPECT_EQ(scan.bitmap_bounds, (IntRect{0, 0, 10, 3}));
}

TEST(PictureScan, DrawingsAndSecondCopiesAreCounted) {
  PictWriter w(2, {0, 0, 10, 3});
  w.header();
  add_pixmap(w, {0, 0, 10, 3}, 0);
  w.op(0x31).rect({1, 1, 5, 5});  // paintRect
  w.op(0x20).point(0, 0).point(3, 3);
  add_pixmap(w, {0, 0, 10, 3}, 1);
  PictureScan scan = scan_picture(w.finish());
  EXPECT_EQ(scan.pixel_copies, 2);
  EXPECT_EQ(scan.drawings, 2);
  EXPECT_EQ(scan.transfer_mode, 1);
}

TEST(PictureScan, VersionOneWalksOneByteOpcodes) {
  PictWriter w(1, {0, 0, 20, 20});
  w.op(0x07).u16(2).u16(2);       // PnSize
  w.op(0x50).rect({0, 0, 9, 9});  // frameOval
  w.op(0xa0).u16(5);              // ShortComment
  PictureScan scan = scan_picture(w.finish());
  EXPECT_EQ(scan.kind, PictureKind::pict1);
  EXPECT_EQ(scan.drawings, 1);
  EXPECT_EQ(scan.pixel_copies, 0);
}

TEST(PictureScan, TruncatedAndUnknownDataEndTheWalkQuietly) {
  PictWriter w(2, {0, 0, 10, 3});
  w.header();
  add_pixmap(w, {0, 0, 10, 3}, 0);
  std::vector<std::uint8_t> whole = w.finish();
  for (std::size_t n = 0; n < whole.size(); ++n) {
    PictureScan scan = scan_picture(std::span(whole).first(n));
    EXPECT_LE(scan.pixel_copies, 1) << n;
  }
  // A picture stopping at a text opcode: what comes after is not seen.
  PictWriter t(2, {0, 0, 10, 3});
  t.header();
  t.op(0x28).point(1, 1).u8(1).u8('A');
  add_pixmap(t, {0, 0, 10, 3}, 0);
  EXPECT_EQ(scan_picture(t.finish()).pixel_copies, 0);
  EXPECT_EQ(scan_picture(std::vector<std::uint8_t>{1, 2, 3}).kind, PictureKind::unknown);
}

}  // namespace
}  // namespace orvane::ui
