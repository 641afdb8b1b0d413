// Golden frames of the painting tests, in tests/windows/golden/: the part
// of a frame the test's windows cover (what the rest of the desktop shows
// is not theirs to fix). Set ORVANE_UPDATE_GOLDEN=1 to write the frames of
// this run as the new golden frames (then look at every one before
// committing them).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/raster/png_io.h"
#include "support/window_title.h"

namespace orvane::testing {

inline raster::Surface crop(const raster::Surface& s, const raster::IntRect& r) {
  raster::Surface out(r.width(), r.height(), raster::PixelFormat::rgb32);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) out.set_pixel(x, y, out.value_of(s.color_at(r.left + x, r.top + y)));
  return out;
}

inline void expect_golden_frame(const WindowTitle& title, const std::string& name, const raster::IntRect& area) {
  namespace fs = std::filesystem;
  const fs::path golden_path = fs::path(ORVANE_TESTS_DIR) / "windows" / "golden" / name;
  auto frame = raster::read_png(title.dir().file(name));
  ASSERT_TRUE(frame) << "no frame " << name;
  const raster::Surface shown = crop(*frame, area);
  if (std::getenv("ORVANE_UPDATE_GOLDEN")) {
    fs::create_directories(golden_path.parent_path());
    ASSERT_TRUE(raster::write_png(shown, golden_path.string()));
  }
  auto golden = raster::read_png(golden_path.string());
  ASSERT_TRUE(golden) << "no golden frame " << name;
  ASSERT_EQ(shown.width(), golden->width());
  ASSERT_EQ(shown.height(), golden->height());
  int differing = 0;
  raster::IntPoint first{-1, -1};
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.color_at(x, y) != golden->color_at(x, y) && differing++ == 0) first = {x, y};
  EXPECT_EQ(differing, 0) << name << ": first difference at " << first.x << "," << first.y;
}

}  // namespace orvane::testing
