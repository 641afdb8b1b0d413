// Faces images: PackBits rows, the block's layout with its byte or word row
// counts, the box found in a buffer with the text in its low bits, the
// image put back at the buffer's size or scaled, and damaged blocks.
#include <gtest/gtest.h>

#include <random>

#include "graphics/packbits.h"
#include "ui/pictures/faces_image.h"

namespace orvane::ui::faces {
namespace {

using raster::IntRect;
using raster::PixelFormat;
using raster::Surface;

std::vector<std::uint8_t> pack_row(std::span<const std::uint8_t> row) {
  std::vector<std::uint8_t> out;
  graphics::pack_bits(row, out);
  return out;
}

std::vector<std::uint8_t> unpacked(const std::vector<std::uint8_t>& packed, std::size_t n) {
  std::vector<std::uint8_t> out(n);
  EXPECT_TRUE(unpack_row(packed, out));
  return out;
}

TEST(FacesPackBits, RowsRoundTripAndRunsOfThreeBecomeRepeats) {
  std::mt19937 random(7);
  for (int n : {1, 2, 3, 127, 128, 129, 130, 251, 600}) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(n));
    for (auto& b : row) b = static_cast<std::uint8_t>(random() % 4 == 0 ? 9 : random() % 3);
    EXPECT_EQ(unpacked(pack_row(row), row.size()), row) << n;
  }
  // Three equal bytes are one repeat: count -2, the byte.
  EXPECT_EQ(pack_row(std::vector<std::uint8_t>{5, 5, 5}), (std::vector<std::uint8_t>{0xfe, 5}));
  // Two are literals.
  EXPECT_EQ(pack_row(std::vector<std::uint8_t>{5, 5, 6}), (std::vector<std::uint8_t>{2, 5, 5, 6}));
  // 300 equal bytes: repeats of 128 at most.
  std::vector<std::uint8_t> long_run(300, 42);
  std::vector<std::uint8_t> packed = pack_row(long_run);
  EXPECT_EQ(packed, (std::vector<std::uint8_t>{0x81, 42, 0x81, 42, 0xd5, 42}));
}

TEST(FacesPackBits, MinusOneHundredTwentyEightRepeatsAHundredTwentyNineTimes) {
  std::vector<std::uint8_t> out(129);
  ASSERT_TRUE(unpack_row(std::vector<std::uint8_t>{0x80, 7}, out));
  EXPECT_EQ(out, std::vector<std::uint8_t>(129, 7));
  std::vector<std::uint8_t> short_out(128);
  EXPECT_FALSE(unpack_row(std::vector<std::uint8_t>{0x80, 7}, short_out));
}

TEST(FacesPackBits, ShortAndOverflowingRowsAreRefused) {
  std::vector<std::uint8_t> out(4);
  EXPECT_FALSE(unpack_row(std::vector<std::uint8_t>{2, 1, 2, 3}, out));        // 3 of 4
  EXPECT_FALSE(unpack_row(std::vector<std::uint8_t>{4, 1, 2, 3, 4, 5}, out));  // 5 into 4
  EXPECT_FALSE(unpack_row(std::vector<std::uint8_t>{3, 1, 2}, out));           // literals cut off
  EXPECT_FALSE(unpack_row(std::vector<std::uint8_t>{0xfd}, out));              // repeat without its byte
}

Image image_of(IntRect box, std::uint8_t seed) {
  Image image{box, {}};
  image.pixels.resize(static_cast<std::size_t>(image.packed_width() * box.height()));
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    image.pixels[i] = static_cast<std::uint8_t>((i / 5 + seed) % 7 == 0 ? 200 : (i * seed) % 250);
  return image;
}

TEST(FacesBlock, EncodesTheBoxTopLeftBottomRightAndRoundTripsByteForByte) {
  const Image image = image_of({3, 10, 20, 14}, 3);  // 17 wide: packed 18
  const std::vector<std::uint8_t> block = encode(image);
  ASSERT_GE(block.size(), 8u);
  EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 8),
            (std::vector<std::uint8_t>{0, 10, 0, 3, 0, 14, 0, 20}));
  EXPECT_EQ(box_of(block), (IntRect{3, 10, 20, 14}));
  Decoded decoded = decode(block);
  ASSERT_TRUE(decoded.image) << describe(decoded.error);
  EXPECT_EQ(decoded.image->box, image.box);
  EXPECT_EQ(decoded.image->pixels, image.pixels);
  EXPECT_EQ(encode(*decoded.image), block);
}

TEST(FacesBlock, BoxesWiderThan250UseWordCounts) {
  for (int width : {249, 250, 251, 252, 400}) {
    const Image image = image_of({0, 0, width, 2}, 5);
    const std::vector<std::uint8_t> block = encode(image);
    const std::vector<std::uint8_t> first_row = pack_row(image.row(0));
    const bool wide = image.packed_width() > 250;
    EXPECT_EQ(wide, width >= 251) << width;
    if (wide) {
      EXPECT_EQ((block[8] << 8) | block[9], static_cast<int>(first_row.size())) << width;
    } else {
      EXPECT_EQ(block[8], first_row.size()) << width;
    }
    Decoded decoded = decode(block);
    ASSERT_TRUE(decoded.image) << width << ": " << describe(decoded.error);
    EXPECT_EQ(decoded.image->pixels, image.pixels) << width;
  }
}

TEST(FacesBlock, DamagedBlocksAreRefusedWithTheirReason) {
  const std::vector<std::uint8_t> good = encode(image_of({0, 0, 8, 3}, 2));
  EXPECT_EQ(decode(std::span(good).first(5)).error, DecodeError::too_short);
  EXPECT_FALSE(box_of(std::span(good).first(7)));
  EXPECT_EQ(decode(std::span(good).first(good.size() - 1)).error, DecodeError::row_count_past_end);

  std::vector<std::uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_EQ(decode(trailing).error, DecodeError::trailing_bytes);

  std::vector<std::uint8_t> inverted = good;
  inverted[5] = 0;  // bottom 0 above top 0: empty
  EXPECT_EQ(decode(inverted).error, DecodeError::bad_box);

  // A row count one short: the row does not unpack to the width.
  std::vector<std::uint8_t> wrong_count = encode(image_of({0, 0, 8, 1}, 2));
  wrong_count[8] = static_cast<std::uint8_t>(wrong_count[8] - 1);
  wrong_count.pop_back();
  EXPECT_EQ(decode(wrong_count).error, DecodeError::row_does_not_unpack);

  // A box announcing more rows than the block holds.
  std::vector<std::uint8_t> more_rows = good;
  more_rows[5] = 100;
  EXPECT_NE(decode(more_rows).error, DecodeError::none);
}

TEST(FacesBlock, MangledBlocksDecodeToTheirBoxOrAreRefused) {
  const std::vector<std::uint8_t> good = encode(image_of({2, 1, 30, 9}, 4));
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::uint8_t> block = good;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) block[random() % block.size()] = static_cast<std::uint8_t>(random());
    if (random() % 3 == 0) block.resize(random() % block.size());
    Decoded decoded = decode(block);
    if (!decoded.image) {
      EXPECT_NE(decoded.error, DecodeError::none);
      continue;
    }
    const Image& image = *decoded.image;
    EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.packed_width() * image.box.height()));
  }
}

Surface blank_buffer(int w, int h) {
  Surface s(w, h, PixelFormat::indexed8);
  s.fill(255);
  return s;
}

TEST(FacesCapture, TheBoxHoldsTheNonBlankPixelsOfTheChosenHalf) {
  Surface buffer = blank_buffer(40, 30);
  buffer.set_pixel(5, 4, 10);    // left half
  buffer.set_pixel(12, 20, 252); // blank: 252 and above
  buffer.set_pixel(30, 8, 3);    // right half
  buffer.set_pixel(33, 25, 100);
  EXPECT_EQ(capture(buffer, Half::whole, {}).box, (IntRect{5, 4, 34, 26}));
  EXPECT_EQ(capture(buffer, Half::left, {}).box, (IntRect{5, 4, 6, 5}));
  EXPECT_EQ(capture(buffer, Half::right, {}).box, (IntRect{30, 8, 34, 26}));
  // A blank buffer still gives one row and one column.
  Surface empty = blank_buffer(10, 10);
  EXPECT_EQ(capture(empty, Half::whole, {}).box.width(), 1);
  EXPECT_EQ(capture(empty, Half::whole, {}).box.height(), 1);
}

TEST(FacesCapture, TextTravelsInTheLowBitsFromTheBoxsFirstRow) {
  Surface buffer = blank_buffer(16, 16);
  for (int y = 3; y < 9; ++y)
    for (int x = 2; x < 10; ++x) buffer.set_pixel(x, y, 100);
  const std::string text = "Hi";
  const Image image =
      capture(buffer, Half::whole, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  ASSERT_EQ(image.box, (IntRect{2, 3, 10, 9}));
  // 16 bits: the first two rows of the 8-wide box, each byte from its low bit.
  std::string read_back(2, '\0');
  for (int bit = 0; bit < 16; ++bit) {
    const std::uint8_t pixel = image.row(bit / 8)[static_cast<std::size_t>(bit % 8)];
    read_back[static_cast<std::size_t>(bit / 8)] |= static_cast<char>((pixel & 1) << (bit % 8));
  }
  EXPECT_EQ(read_back, text);
  EXPECT_EQ(buffer.pixel(2, 3) & 0xfe, 100u);
  EXPECT_EQ(image.row(2)[0], 100);  // past the text: untouched
}

TEST(FacesPut, SameSizeCopiesAndOtherSizesScale) {
  Surface source = blank_buffer(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) source.set_pixel(x, y, static_cast<std::uint32_t>(y * 10 + x));
  const Image image = capture(source, Half::whole, {});
  ASSERT_EQ(image.box, (IntRect{0, 0, 6, 4}));

  Surface same = blank_buffer(6, 4);
  put(image, same);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(same.pixel(x, y), source.pixel(x, y));

  Surface twice = blank_buffer(12, 8);
  put(image, twice);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(twice.pixel(x, y), source.pixel(x / 2, y / 2)) << x << "," << y;

  Surface half = blank_buffer(3, 2);
  put(image, half);
  EXPECT_EQ(half.pixel(1, 1), source.pixel(2, 2));
}

}  // namespace
}  // namespace orvane::ui::faces
