// The complete example of docs/authoring.md, taken from the guide as it
// stands, plays: its button counts clicks and Page Down shows its second page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "world/world_title.h"

namespace orvane::testing {
namespace {

// The first fenced block after `label` in the guide; empty when there is none.
std::string block_after(const std::string& guide, const std::string& label) {
  const std::string::size_type at = guide.find(label);
  if (at == std::string::npos) return "";
  const std::string::size_type open = guide.find("```", at);
  const std::string::size_type start = guide.find('\n', open);
  const std::string::size_type close = guide.find("```", start);
  if (open == std::string::npos || start == std::string::npos || close == std::string::npos) return "";
  return guide.substr(start + 1, close - start - 1);
}

TEST(AuthoringGuide, TheSmallTitlePlaysAsTheGuideSays) {
  const std::string guide = slurp(std::string(ORVANE_TESTS_DIR) + "/../docs/authoring.md");
  const std::string manifest = block_after(guide, "`title.manifest`:");
  const std::string lisp = block_after(guide, "`hello.lsp`:");
  ASSERT_NE(manifest.find("source hello.lsp"), std::string::npos) << manifest;
  ASSERT_NE(lisp.find("define-page"), std::string::npos) << lisp;

  TempDir dir;
  const std::string folder = dir.file("hello");
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/title.manifest") << manifest;
  std::ofstream(folder + "/hello.lsp") << lisp;
  raster::Surface sun(64, 64, raster::PixelFormat::rgb32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) sun.set_pixel(x, y, (x - 32) * (x - 32) + (y - 32) * (y - 32) < 900 ? 0xffc020 : 0xffffff);
  raster::write_png(sun, folder + "/sun.png");
  // "Click me" lies centred, 40 pixels above the foot of the 480 x 320 page, under the menu bar.
  std::ofstream(dir.file("events.txt")) << "wait 200\nframe before.png\nclick 240 284\nwait 100\nclick 240 284\n"
                                           "wait 100\nframe clicked.png\nkey page-down\nwait 100\nframe second.png\n";
  RunResult r = run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + dir.file("events.txt") +
                                     " --frames " + dir.path() + " " + folder,
                                 dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  auto before = raster::read_png(dir.file("before.png"));
  auto clicked = raster::read_png(dir.file("clicked.png"));
  auto second = raster::read_png(dir.file("second.png"));
  ASSERT_TRUE(before && clicked && second);
  EXPECT_GT(differing_pixels(*before, *clicked), 0);
  EXPECT_GT(differing_pixels(*clicked, *second), 0);
}

}  // namespace
}  // namespace orvane::testing
