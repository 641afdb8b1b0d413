// `orvane pict2png` end to end: files in, PNG out, exit statuses.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/pict2png.h"
#include "app/rsrc_tool.h"
#include "graphics/pict_writer.h"
#include "platform/raster/png_io.h"
#include "raster/pixels.h"

namespace orvane::app {
namespace {

namespace fs = std::filesystem;
using graphics::testing::PictWriter;

class Pict2PngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("orvane_pict2png_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
    return path(name);
  }

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), "pict2png");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return pict2png_main(static_cast<int>(args.size()), argv.data());
  }

  std::string png_pixels(const std::string& name) {
    auto s = raster::read_png(path(name));
    return s ? raster::testing::pixels_of(*s, raster::testing::kRgbLegend) : "(unreadable)";
  }

  fs::path dir_;
};

std::vector<std::uint8_t> sample_picture() {
  return PictWriter(2, {0, 0, 3, 2}).header().op(0x31).rect({0, 0, 1, 1}).op(0x1a).rgb(255, 0, 0).op(0x31).rect({2, 1, 3, 2}).finish();
}

TEST_F(Pict2PngTest, PictureFileWithHeaderAndRawData) {
  auto pict = sample_picture();
  std::vector<std::uint8_t> file(512, 0);
  file.insert(file.end(), pict.begin(), pict.end());
  EXPECT_EQ(run({write("a.pict", file), path("a.png")}), 0);
  EXPECT_EQ(png_pixels("a.png"), raster::testing::rows({"#..", "..r"}));
  EXPECT_EQ(run({write("raw.pict", pict), path("raw.png")}), 0);
  EXPECT_EQ(png_pixels("raw.png"), raster::testing::rows({"#..", "..r"}));
}

TEST_F(Pict2PngTest, SizeAndBackground) {
  auto pict = PictWriter(1, {0, 0, 2, 1}).op(0x31).rect({0, 0, 1, 1}).finish();
  EXPECT_EQ(run({write("b.pict", pict), path("b.png"), "--size", "4x2", "--background", "#0000ff"}), 0);
  EXPECT_EQ(png_pixels("b.png"), raster::testing::rows({"##bb", "##bb"}));
  EXPECT_EQ(run({"--background=green", write("c.pict", pict), path("c.png")}), 0);
  EXPECT_EQ(png_pixels("c.png"), "#g");
}

TEST_F(Pict2PngTest, PackedBitmap) {
  std::vector<std::uint8_t> dib(40, 0);
  dib[0] = 40;
  dib[4] = 1;
  dib[8] = 1;
  dib[12] = 1;
  dib[14] = 24;
  dib.insert(dib.end(), {0, 0, 255, 0});  // one red pixel, row padded to 4 bytes
  EXPECT_EQ(run({write("d.bmp", dib), path("d.png")}), 0);
  EXPECT_EQ(png_pixels("d.png"), "r");
}

TEST_F(Pict2PngTest, FailuresAndBadUsage) {
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({write("e.pict", sample_picture())}), 2);
  EXPECT_EQ(run({path("e.pict"), path("e.png"), "--size", "0x5"}), 2);
  EXPECT_EQ(run({path("e.pict"), path("e.png"), "--size", "big"}), 2);
  EXPECT_EQ(run({path("e.pict"), path("e.png"), "--background", "mauve"}), 2);
  EXPECT_EQ(run({path("no_such.pict"), path("e.png")}), 1);
  EXPECT_EQ(run({write("junk.pict", {1, 2, 3, 4, 5}), path("e.png")}), 1);
  EXPECT_FALSE(fs::exists(path("e.png")));
  EXPECT_EQ(run({write("huge.pict", PictWriter(2, {0, 0, 30000, 30000}).finish()), path("e.png")}), 1);
  EXPECT_EQ(run({path("e.pict"), path("no_such_dir/e.png")}), 1);
}

TEST_F(Pict2PngTest, StoppedPicturesKeepWhatWasDrawn) {
  auto pict = PictWriter(2, {0, 0, 2, 1}).op(0x31).rect({0, 0, 1, 1}).op(0x28).point(0, 0).u8(1).u8('x').finish();
  EXPECT_EQ(run({write("f.pict", pict), path("f.png")}), 0);
  EXPECT_EQ(png_pixels("f.png"), "#.");
}

TEST_F(Pict2PngTest, CompleteDrawsWhatTitlesDoNot) {
  auto pict = PictWriter(2, {0, 0, 30, 20}).header().op(0x31).rect({0, 0, 1, 1}).long_text(2, 15, "Ab").finish();
  std::string in = write("g.pict", pict);
  ASSERT_EQ(run({in, path("title.png")}), 0);
  ASSERT_EQ(run({in, path("whole.png"), "--complete"}), 0);
  auto title = raster::read_png(path("title.png")), whole = raster::read_png(path("whole.png"));
  ASSERT_TRUE(title && whole);
  auto ink = [](const raster::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x) n += s.color_at(x, y) != raster::colors::white;
    return n;
  };
  EXPECT_EQ(ink(*title), 1);
  EXPECT_GT(ink(*whole), 20);
}

}  // namespace
}  // namespace orvane::app

namespace orvane::app {
namespace {

// `orvane rsrc extract --png` draws "PICT" resources the way pict2png does.
class RsrcPngTest : public Pict2PngTest {
 protected:
  int rsrc(std::vector<std::string> args) {
    args.insert(args.begin(), "rsrc");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return rsrc_main(static_cast<int>(args.size()), argv.data());
  }
};

TEST_F(RsrcPngTest, ExtractPngDrawsPictResources) {
  std::string file = path("pictures.rsrc");
  ASSERT_EQ(rsrc({"new", file}), 0);
  std::string data = write("pict.bin", sample_picture());
  ASSERT_EQ(rsrc({"add", file, "PICT", "501", data}), 0);
  ASSERT_EQ(rsrc({"add", file, "TEXT", "1", data}), 0);
  ASSERT_EQ(rsrc({"extract", "--png", file, "PICT", "501", "-o", path("one.png")}), 0);
  ASSERT_EQ(run({data, path("direct.png")}), 0);
  EXPECT_EQ(png_pixels("one.png"), png_pixels("direct.png"));
  EXPECT_EQ(rsrc({"extract", "--png", file, "TEXT", "1", "-o", path("text.png")}), 1);
  ASSERT_EQ(rsrc({"extract", "--png", file, "--all", path("all")}), 0);
  EXPECT_TRUE(fs::exists(dir_ / "all" / "PICT_501.png"));
  EXPECT_TRUE(fs::exists(dir_ / "all" / "TEXT_1.bin"));
}

TEST_F(RsrcPngTest, ExtractPngCompleteDrawsWholePictures) {
  std::string file = path("text.rsrc");
  ASSERT_EQ(rsrc({"new", file}), 0);
  std::string data =
      write("text.bin", PictWriter(2, {0, 0, 30, 20}).header().long_text(2, 15, "Ab").finish());
  ASSERT_EQ(rsrc({"add", file, "PICT", "128", data}), 0);
  ASSERT_EQ(rsrc({"extract", "--png", "--complete", file, "PICT", "128", "-o", path("rsrc.png")}), 0);
  ASSERT_EQ(run({data, path("tool.png"), "--complete"}), 0);
  ASSERT_EQ(rsrc({"extract", "--png", file, "PICT", "128", "-o", path("title.png")}), 0);
  EXPECT_EQ(png_pixels("rsrc.png"), png_pixels("tool.png"));
  EXPECT_NE(png_pixels("rsrc.png"), png_pixels("title.png"));
  EXPECT_EQ(rsrc({"extract", "--complete", file, "PICT", "128", "-o", path("raw.bin")}), 2);
}

}  // namespace
}  // namespace orvane::app
