// `orvane build-title`, `orvane info` and `orvane play DIR` on folders the
// tests write: a folder plays as its packed file does, compact code as text
// does, and bad folders fail with their reasons and write nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "play/title_writer.h"
#include "title_build/title_folder.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string kBinary = ORVANE_BINARY;

class TitleCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    Surface splash(40, 20, raster::PixelFormat::rgb32);
    splash.fill(raster::Color{0, 128, 255}.rgb());
    folder.manifest(
              "caption \"Command Tour\"\nsize 320 200\nflags menu-bar\nlanguage spanish\nworld no\n"
              "source main.lsp pages.lsp\nsplash splash.png 30\npatterns 4 AA55AA55AA55AA55\n")
        .write("main.lsp",
               "; the entry points\n"
               "(define (init-user) (wait-boot-time) (wait-key 300) (prin (list 'init Load-File (boot-time))))\n"
               "(define (toplevel-loop)\n"
               "  (prin (list (screen-width) (screen-height) :done -300 70000 2.5 \"text\" #\\a))\n"
               "  (page-two)\n"
               "  (quit))\n")
        .write("pages.lsp", "(define (page-two) (prin (list 'page Load-File '(a . b))))\n(prin (list 'loading Load-File))\n")
        .png("splash.png", splash);
    tmp = folder.scratch() + "/tmp";
    fs::create_directories(tmp);
  }
  RunResult orvane(const std::string& arguments) {
    return run_command_line("TMPDIR='" + tmp + "' " + kBinary + " " + arguments, folder.scratch());
  }
  using Surface = raster::Surface;
  TitleFolder folder;
  std::string tmp;
};

TEST_F(TitleCommands, AFolderPlaysAsItsPackedFileAndLeavesNothingBehind) {
  RunResult built = orvane("build-title '" + folder.path() + "' -o TOUR.RI");
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_NE(built.out.find("TOUR.RI: "), std::string::npos);
  // A frame while the splash is up (30 ticks).
  std::ofstream(folder.scratch() + "/events.txt") << "wait 200\nframe splash.png\nwait 1000\n";
  fs::create_directories(folder.scratch() + "/packed");
  fs::create_directories(folder.scratch() + "/folder");
  RunResult packed = orvane("play --headless --events events.txt --frames packed TOUR.RI");
  RunResult from_folder = orvane("play --headless --events events.txt --frames folder '" + folder.path() + "'");
  EXPECT_EQ(packed.status, 0) << packed.err;
  EXPECT_EQ(packed.out, "(loading 1)(init () 0)(1024 768 :done -300 70000 2.5 text 97)(page () (a . b))");
  EXPECT_EQ(from_folder.status, packed.status);
  EXPECT_EQ(from_folder.out, packed.out);
  EXPECT_EQ(from_folder.err, packed.err);
  EXPECT_TRUE(fs::is_empty(tmp)) << "the temporary title is removed";
  auto packed_frame = raster::read_png(folder.scratch() + "/packed/splash.png");
  auto folder_frame = raster::read_png(folder.scratch() + "/folder/splash.png");
  ASSERT_TRUE(packed_frame && folder_frame);
  int splash_pixels = 0, different = 0;
  for (int y = 0; y < packed_frame->height(); ++y)
    for (int x = 0; x < packed_frame->width(); ++x) {
      splash_pixels += packed_frame->color_at(x, y) == raster::Color{0, 128, 255};
      different += packed_frame->color_at(x, y) != folder_frame->color_at(x, y);
    }
  EXPECT_EQ(splash_pixels, 40 * 20) << "the splash picture is shown whole";
  EXPECT_EQ(different, 0);
}

TEST_F(TitleCommands, CompactTitlesBehaveAsTextOnes) {
  ASSERT_EQ(orvane("build-title '" + folder.path() + "' -o TEXT.RI").status, 0);
  RunResult built = orvane("build-title --compact '" + folder.path() + "' -o COMPACT.RI");
  ASSERT_EQ(built.status, 0) << built.err;
  RunResult text = orvane("play --headless TEXT.RI"), compact = orvane("play --headless COMPACT.RI");
  EXPECT_EQ(compact.status, 0) << compact.err;
  EXPECT_EQ(compact.out, text.out);
  EXPECT_EQ(compact.err, text.err);
  EXPECT_LT(fs::file_size(folder.scratch() + "/COMPACT.RI"), fs::file_size(folder.scratch() + "/TEXT.RI"));
}

TEST_F(TitleCommands, InfoSummarisesAFileAndAFolderAlike) {
  ASSERT_EQ(orvane("build-title '" + folder.path() + "'").status, 0);
  ASSERT_TRUE(fs::exists(folder.scratch() + "/tour.RI")) << "NAME.RI here by default";
  RunResult file = orvane("info tour.RI");
  ASSERT_EQ(file.status, 0) << file.err;
  for (const char* line : {"  caption   \"Command Tour\"\n", "  size      320 x 200\n", "  flags     menu-bar\n",
                           "  language  spanish\n", "  code      2 \"Load\" resources, ",
                           "  splash    \"PICT\" 501: ", "PICT 2, 40 x 20, shown 30 ticks\n",
                           "  other     \"PAT#\" 4: 10 bytes\n", "  memory    the defaults: "})
    EXPECT_NE(file.out.find(line), std::string::npos) << line << " not in\n" << file.out;
  RunResult dir = orvane("info '" + folder.path() + "'");
  ASSERT_EQ(dir.status, 0) << dir.err;
  EXPECT_EQ(dir.out.substr(dir.out.find('\n')), file.out.substr(file.out.find('\n')));
  EXPECT_EQ(orvane("info nothing.RI").status, 1);
}

TEST_F(TitleCommands, BadFoldersFailWithTheirReasonsAndWriteNothing) {
  folder.manifest("caption Tour\nsize 320\nsource main.lsp\n");
  RunResult r = orvane("build-title '" + folder.path() + "' -o OUT.RI");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(folder.file("title.manifest") + ":2: \"size\" wants the client width and height in pixels"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(folder.scratch() + "/OUT.RI"));

  folder.manifest("world no\nsource main.lsp\n").write("main.lsp", "(define (f)\n  (g)\n");
  r = orvane("play --headless '" + folder.path() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(folder.file("main.lsp") + ":1: the form that begins on line 1 is not closed"), std::string::npos)
      << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(orvane("build-title").status, 2);
  RunResult help = orvane("build-title --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--compact"), std::string::npos);
}

}  // namespace
}  // namespace orvane::testing
