#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../platform/platform_support.h"
#include "app/commands.h"
#include "platform/raster/png_io.h"

namespace orvane::app {
namespace {

using orvane::testing::TempTree;
namespace fs = std::filesystem;

const fs::path kDemoDir = fs::path(ORVANE_TESTS_DIR) / "backends" / "demo";

// Set ORVANE_UPDATE_GOLDEN=1 to write the frames of this run as the new
// golden frames (then look at every one before committing them).
bool updating_golden() { return std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr; }

DesktopDemoOptions headless_demo(const std::string& events, const std::string& frames) {
  DesktopDemoOptions options;
  options.headless = true;
  options.events = events;
  options.frames = frames;
  options.screen = {640, 480};
  return options;
}

std::string bytes_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(DesktopDemo, AScriptedRunShowsTheGoldenFramesPixelForPixel) {
  TempTree frames;
  ASSERT_EQ(desktop_demo_command(headless_demo((kDemoDir / "desktop_demo.events").string(), frames.root())), 0);
  // File > Exit ended the run before the script's last frame.
  EXPECT_FALSE(fs::exists(frames.path("never-taken.png")));

  std::vector<fs::path> produced;
  for (const auto& entry : fs::directory_iterator(frames.root())) produced.push_back(entry.path());
  std::sort(produced.begin(), produced.end());
  ASSERT_EQ(produced.size(), 10u);
  if (updating_golden()) {
    fs::create_directories(kDemoDir / "golden");
    for (const fs::path& p : produced) fs::copy_file(p, kDemoDir / "golden" / p.filename(), fs::copy_options::overwrite_existing);
  }
  for (const fs::path& p : produced) {
    SCOPED_TRACE(p.filename().string());
    auto golden = raster::read_png((kDemoDir / "golden" / p.filename()).string());
    auto shown = raster::read_png(p.string());
    ASSERT_TRUE(golden) << "no golden frame";
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->width(), golden->width());
    ASSERT_EQ(shown->height(), golden->height());
    int differing = 0;
    raster::IntPoint first{-1, -1};
    for (int y = 0; y < shown->height(); ++y)
      for (int x = 0; x < shown->width(); ++x)
        if (shown->pixel(x, y) != golden->pixel(x, y)) {
          if (differing++ == 0) first = {x, y};
        }
    EXPECT_EQ(differing, 0) << "first difference at " << first.x << "," << first.y;
  }
}

TEST(DesktopDemo, TwoRunsWriteTheSameBytes) {
  TempTree a, b;
  std::string events = (kDemoDir / "desktop_demo.events").string();
  ASSERT_EQ(desktop_demo_command(headless_demo(events, a.root())), 0);
  ASSERT_EQ(desktop_demo_command(headless_demo(events, b.root())), 0);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(a.root())) {
    EXPECT_EQ(bytes_of(entry.path()), bytes_of(fs::path(b.root()) / entry.path().filename()))
        << entry.path().filename();
    ++compared;
  }
  EXPECT_EQ(compared, 10);
}

TEST(DesktopDemo, AMalformedScriptIsRefusedBeforeAnythingRuns) {
  TempTree files;
  std::string events = files.file("bad.events", "frame first.png\nclick 10 10\nkey f16\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(desktop_demo_command(headless_demo(events, files.root())), 1);
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("bad.events:3: unknown key name 'f16'"), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(files.path("first.png")));
}

TEST(DesktopDemo, HostileInputEndsInOrder) {
  TempTree files;
  // Clicks outside every window and far off the screen, keys nobody
  // handles, a close in the middle of a drag.
  std::string events = files.file("odd.events",
                                  "click -500 -500\nclick 32000 32000 right\nkey ctrl+alt+f15\n"
                                  "drag 300 80 -2000 9000 50\npress\nclose\nkey a\nframe after.png\n");
  EXPECT_EQ(desktop_demo_command(headless_demo(events, files.root())), 0);
}

}  // namespace
}  // namespace orvane::app
