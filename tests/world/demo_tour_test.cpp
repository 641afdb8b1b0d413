// The demo title played through its tour: the pages it announces, its
// frames against the golden ones, the scores it keeps, and the same tour in
// a window under Xvfb showing the same pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/golden_image.h"
#include "support/xvfb_server.h"
#include "world/world_title.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(ORVANE_TESTS_DIR) + "/../titles/demo";
const std::vector<std::string> kFrames = {"01-welcome",  "02-controls", "03-drawing",       "04-pictures",
                                          "05-go-menu", "06-scores",   "07-welcome-again"};

class DemoTour : public ::testing::Test {
 protected:
  // Plays the folder through its tour script, frames into `frames`, the
  // scores database in a configuration folder of the test's own.
  RunResult tour(const std::string& frames, bool headless = true) {
    fs::create_directories(frames);
    fs::create_directories(config());
    return run_command_line("XDG_CONFIG_HOME='" + config() + "' " + std::string(ORVANE_BINARY) + " play " +
                                (headless ? "--headless " : "") + "--events " + kDemo + "/tour.events --frames " +
                                frames + " " + kDemo,
                            dir_.path());
  }
  std::string config() const { return dir_.file("config"); }
  std::string frames(const std::string& name) const { return dir_.file(name); }

  TempDir dir_;
};

TEST_F(DemoTour, ShowsEveryPageAndMatchesItsGoldenFrames) {
  RunResult r = tour(frames("headless"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lines_of(r.out), (std::vector<std::string>{
                                 "Orvane Demo: Page 1 of 5, welcome", "Orvane Demo: Page 2 of 5, controls",
                                 "Orvane Demo: Page 3 of 5, drawing", "Orvane Demo: Page 4 of 5, pictures",
                                 "Orvane Demo: Page 5 of 5, scores", "Orvane Demo: Page 1 of 5, welcome"}));
  for (const std::string& name : kFrames) {
    std::optional<raster::Surface> frame = raster::read_png(frames("headless") + "/" + name + ".png");
    ASSERT_TRUE(frame) << name;
    EXPECT_TRUE(matches_golden(*frame, "world", "demo-" + name));
  }
}

TEST_F(DemoTour, KeepsItsScoresInTheConfigurationFolderBetweenRuns) {
  RunResult first = tour(frames("first"));
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string database = config() + "/orvane/DEMOSCOR.DB";
  ASSERT_TRUE(fs::exists(database));
  RunResult listed = run_command_line(std::string(ORVANE_BINARY) + " db list " + database, dir_.path());
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("SCOR"), std::string::npos) << listed.out;
  // The second tour adds two more scores to the two kept: its last frame differs.
  RunResult second = tour(frames("second"));
  ASSERT_EQ(second.status, 0) << second.err;
  auto a = raster::read_png(frames("first") + "/06-scores.png");
  auto b = raster::read_png(frames("second") + "/06-scores.png");
  ASSERT_TRUE(a && b);
  EXPECT_GT(differing_pixels(*a, *b), 0);
}

TEST_F(DemoTour, UnderXvfbTheWindowShowsTheHeadlessFrames) {
  if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  RunResult headless = tour(frames("headless"));
  ASSERT_EQ(headless.status, 0) << headless.err;
  fs::remove_all(config());
  RunResult sdl;
  {
    XvfbServer server;
    ASSERT_TRUE(server.ready()) << "Xvfb did not start";
    sdl = tour(frames("sdl"), false);
  }
  ASSERT_EQ(sdl.status, 0) << sdl.err;
  EXPECT_EQ(sdl.out, headless.out);
  for (const std::string& name : kFrames) {
    auto a = raster::read_png(frames("headless") + "/" + name + ".png");
    auto b = raster::read_png(frames("sdl") + "/" + name + ".png");
    ASSERT_TRUE(a && b) << name << sdl.err;
    ASSERT_EQ(a->width(), b->width());
    ASSERT_EQ(a->height(), b->height());
    EXPECT_EQ(differing_pixels(*a, *b), 0) << name;
  }
}

}  // namespace
}  // namespace orvane::testing
