// The picture writer: images written as PICT 2 and drawn back by the picture
// player give the same pixels; PackBits rows unpack to what was packed.
#include <gtest/gtest.h>

#include <random>

#include "graphics/packbits.h"
#include "graphics/pict_encoder.h"
#include "graphics/picture_render.h"
#include "platform/raster/png_io.h"
#include "storage/storage_support.h"

namespace orvane::graphics {
namespace {

using raster::Color;
using raster::PixelFormat;
using raster::Surface;

// An image of at most `colours` colours (a pattern with runs and noise).
Surface image_of(int width, int height, int colours, unsigned seed) {
  Surface s(width, height, PixelFormat::rgb32);
  std::mt19937 random(seed);
  std::vector<Color> palette;
  for (int i = 0; i < colours; ++i)
    palette.push_back(Color{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 11 + (i >> 8)),
                            static_cast<std::uint8_t>(255 - i)});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // Runs in the upper half, noise below.
      int index = y < height / 2 ? (x / 9 + y) % colours : static_cast<int>(random() % colours);
      s.set_pixel(x, y, palette[index].rgb());
    }
  return s;
}

// Every pixel of `drawn` equals the image's.
void expect_same_pixels(const Surface& image, const Surface& drawn) {
  ASSERT_EQ(drawn.width(), image.width());
  ASSERT_EQ(drawn.height(), image.height());
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (drawn.color_at(x, y) != image.color_at(x, y) && ++wrong <= 3)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs";
  EXPECT_EQ(wrong, 0);
}

Surface drawn_back(const EncodedPicture& pict) {
  PictureInfo info = inspect_picture(pict.data);
  EXPECT_EQ(info.kind, PictureKind::pict2);
  RenderedPicture r = render_picture(pict.data, std::nullopt, raster::colors::black);
  EXPECT_EQ(r.playback.end, PlaybackEnd::finished);
  if (!r.surface) throw std::runtime_error(r.error);
  return std::move(*r.surface);
}

TEST(PictEncoder, ImagesOfAtMost256ColoursAreIndexedAndDrawBackExactly) {
  // Widths across the packing limits: rows below 8 bytes, the one-byte
  // count (row bytes up to 250) and the two-byte count.
  for (int width : {1, 3, 7, 8, 9, 250, 251, 300}) {
    for (int colours : {1, 2, 200, 256}) {
      Surface image = image_of(width, 13, colours, static_cast<unsigned>(width * colours));
      std::string error;
      auto pict = encode_pict(image, &error);
      ASSERT_TRUE(pict) << error;
      EXPECT_EQ(pict->pixel_size, 8) << width << " x " << colours;
      SCOPED_TRACE(std::to_string(width) + " pixels wide, " + std::to_string(colours) + " colours");
      expect_same_pixels(image, drawn_back(*pict));
    }
  }
}

TEST(PictEncoder, ImagesOfMoreColoursAreDirectAndDrawBackExactly) {
  for (int width : {1, 2, 5, 62, 63, 100}) {
    Surface image = image_of(width, 3000, 300, static_cast<unsigned>(width));
    auto pict = encode_pict(image);
    ASSERT_TRUE(pict);
    EXPECT_EQ(pict->pixel_size, 32);
    EXPECT_EQ(pict->colors, 0u);
    SCOPED_TRACE(std::to_string(width) + " pixels wide");
    expect_same_pixels(image, drawn_back(*pict));
  }
}

TEST(PictEncoder, TheFrameAndSizeWordDescribeThePicture) {
  Surface image = image_of(40, 30, 5, 1);
  auto pict = encode_pict(image);
  ASSERT_TRUE(pict);
  PictureInfo info = inspect_picture(pict->data);
  EXPECT_EQ(info.frame, (raster::IntRect{0, 0, 40, 30}));
  EXPECT_EQ((pict->data[0] << 8 | pict->data[1]), static_cast<int>(pict->data.size() & 0xFFFF));
  EXPECT_EQ(pict->data.size() % 2, 0u);
  EXPECT_EQ(pict->data[pict->data.size() - 1], 0xFF) << "ends with the end opcode";
  // Runs pack: a plain image takes far less than its pixels.
  Surface plain(200, 200, PixelFormat::rgb32);
  plain.fill(Color{10, 20, 30}.rgb());
  EXPECT_LT(encode_pict(plain)->data.size(), 200u * 200u / 20);
}

TEST(PictEncoder, RefusesEmptyAndOversizedImages) {
  std::string error;
  EXPECT_FALSE(encode_pict(Surface(0, 0, PixelFormat::rgb32), &error));
  EXPECT_NE(error.find("empty"), std::string::npos);
  Surface wide = image_of(kMaxPict32Width + 1, 1, 257, 3);
  EXPECT_FALSE(encode_pict(wide, &error));
  EXPECT_NE(error.find("wider"), std::string::npos) << error;
  // The same width with few colours fits an indexed picture.
  EXPECT_TRUE(encode_pict(image_of(kMaxPict32Width + 1, 1, 4, 3)));
}

TEST(PictEncoder, PngFilesSurviveTheTripThroughAPicture) {
  testing::TempDir dir;
  for (int colours : {16, 1000}) {
    Surface image = image_of(64, 48, colours, 9);
    ASSERT_TRUE(raster::write_png(image, dir.file("in.png")));
    auto read = raster::read_png(dir.file("in.png"));
    ASSERT_TRUE(read);
    auto pict = encode_pict(*read);
    ASSERT_TRUE(pict);
    ASSERT_TRUE(raster::write_png(drawn_back(*pict), dir.file("out.png")));
    auto again = raster::read_png(dir.file("out.png"));
    ASSERT_TRUE(again);
    expect_same_pixels(*read, *again);
  }
}

TEST(PackBits, PackedRowsUnpackToTheirBytes) {
  std::mt19937 random(5);
  for (std::size_t length : {1u, 2u, 3u, 127u, 128u, 129u, 130u, 257u, 1000u}) {
    for (int kind = 0; kind < 3; ++kind) {
      std::vector<std::uint8_t> row(length);
      for (std::size_t i = 0; i < length; ++i)
        row[i] = kind == 0 ? 7 : kind == 1 ? static_cast<std::uint8_t>(random()) : static_cast<std::uint8_t>(i / 5);
      std::vector<std::uint8_t> packed;
      pack_bits(row, packed);
      std::vector<std::uint8_t> back(length);
      std::size_t consumed = 0;
      EXPECT_EQ(unpack_bits(packed, back, &consumed), UnpackResult::complete);
      EXPECT_EQ(consumed, packed.size());
      EXPECT_EQ(back, row) << length << " bytes, kind " << kind;
      // Never more than one count byte per 128 bytes over the data.
      EXPECT_LE(packed.size(), length + (length + 127) / 128);
      // The same row as 16-bit items.
      std::vector<std::uint8_t> words(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(length & ~std::size_t{1}));
      packed.clear();
      pack_words(words, packed);
      std::vector<std::uint8_t> words_back(words.size());
      EXPECT_EQ(unpack_words(packed, words_back, &consumed), UnpackResult::complete);
      EXPECT_EQ(consumed, packed.size());
      EXPECT_EQ(words_back, words);
    }
  }
}

}  // namespace
}  // namespace orvane::graphics
