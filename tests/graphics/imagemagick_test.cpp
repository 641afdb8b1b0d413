// Pictures from outside: PNG images made here, turned into PICT files by
// ImageMagick's convert, drawn by the player; the pixels must equal the
// PNG's. Skipped when convert is not installed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/image_generator.h"
#include "graphics/picture_render.h"

namespace orvane::graphics {
namespace {

namespace fs = std::filesystem;
using testing::ImageKind;
using testing::make_image;
using testing::TestImage;

bool have_imagemagick() {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> p(popen("convert -version 2>/dev/null", "r"), &pclose);
  if (!p) return false;
  std::array<char, 256> line{};
  std::string text;
  while (std::fgets(line.data(), static_cast<int>(line.size()), p.get())) text += line.data();
  return text.find("ImageMagick") != std::string::npos;
}

class ImageMagickPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = fs::temp_directory_path() / ("orvane_pict_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  // Converts the image and checks the drawing; answers a failure message.
  void check(const TestImage& img) {
    SCOPED_TRACE(img.name);
    fs::path png = dir_ / (img.name + ".png"), pict = dir_ / (img.name + ".pict");
    ASSERT_TRUE(testing::write_test_png(img, png.string()));
    std::string command = "convert '" + png.string() + "' '" + pict.string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(pict, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto data = picture_data_of(bytes);
    ASSERT_NE(inspect_picture(data).kind, PictureKind::unknown);
    RenderedPicture r = render_picture(data, std::nullopt);
    ASSERT_TRUE(r.surface.has_value()) << r.error;
    EXPECT_EQ(r.playback.end, PlaybackEnd::finished) << describe(r.playback.end);
    ASSERT_EQ(r.surface->width(), img.width);
    ASSERT_EQ(r.surface->height(), img.height);
    int mismatches = 0;
    for (int y = 0; y < img.height && mismatches < 5; ++y)
      for (int x = 0; x < img.width && mismatches < 5; ++x) {
        raster::Color want = img.pixels[static_cast<std::size_t>(y) * img.width + x];
        raster::Color got = r.surface->color_at(x, y);
        if (got != want) {
          ++mismatches;
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << std::hex << got.rgb() << ", want "
                        << want.rgb();
        }
      }
  }

  fs::path dir_;
};

TEST_F(ImageMagickPictures, Palettes) {
  check(make_image("p2_1x1", ImageKind::palette2, 1, 1, 1));
  check(make_image("p2_odd", ImageKind::palette2, 17, 9, 2));
  check(make_image("p16_odd", ImageKind::palette16, 33, 21, 3));
  check(make_image("p256_small", ImageKind::palette256, 5, 3, 4));
  check(make_image("p256_wide_rows", ImageKind::palette256, 251, 13, 5));
  check(make_image("p256_1024x768", ImageKind::palette256, 1024, 768, 6));
}

TEST_F(ImageMagickPictures, DirectColour) {
  check(make_image("c16_odd", ImageKind::color16, 97, 31, 7));
  check(make_image("c24_one_column", ImageKind::color24, 1, 300, 8));
  check(make_image("c24_two_columns", ImageKind::color24, 2, 200, 9));
  check(make_image("c24_640x480", ImageKind::color24, 640, 480, 10));
  check(make_image("c32_alpha", ImageKind::color32, 301, 7, 11));
  check(make_image("c24_1x1", ImageKind::color24, 1, 1, 12));
}

}  // namespace
}  // namespace orvane::graphics
