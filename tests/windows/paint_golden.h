// Golden frames of the painting tests, in tests/windows/golden/. Set
// ORVANE_UPDATE_GOLDEN=1 to write the frames of this run as the new golden
// frames (then look at every one before committing them).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/raster/png_io.h"
#include "support/window_title.h"

namespace orvane::testing {

inline void expect_golden_frame(const WindowTitle& title, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path golden_dir = fs::path(ORVANE_TESTS_DIR) / "windows" / "golden";
  const fs::path shown_path = title.dir().file(name);
  if (std::getenv("ORVANE_UPDATE_GOLDEN")) {
    fs::create_directories(golden_dir);
    fs::copy_file(shown_path, golden_dir / name, fs::copy_options::overwrite_existing);
  }
  auto golden = raster::read_png((golden_dir / name).string());
  auto shown = raster::read_png(shown_path.string());
  ASSERT_TRUE(golden) << "no golden frame " << name;
  ASSERT_TRUE(shown) << "no frame " << name;
  ASSERT_EQ(shown->width(), golden->width());
  ASSERT_EQ(shown->height(), golden->height());
  int differing = 0;
  raster::IntPoint first{-1, -1};
  for (int y = 0; y < shown->height(); ++y)
    for (int x = 0; x < shown->width(); ++x)
      if (shown->pixel(x, y) != golden->pixel(x, y) && differing++ == 0) first = {x, y};
  EXPECT_EQ(differing, 0) << name << ": first difference at " << first.x << "," << first.y;
}

}  // namespace orvane::testing
