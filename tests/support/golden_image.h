// Golden PNG images: a surface compared with tests/FOLDER/golden/NAME.png.
// Of the pixels inked (not white) in either image, at most `tolerance` (a
// share) may differ by more than `channel_slack` in a channel; a tolerance
// of 0 with a slack of 0 asks for the exact pixels. ORVANE_UPDATE_GOLDEN=1
// writes the image instead (then look at each one before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/raster/png_io.h"
#include "platform/raster/surface.h"

namespace orvane::testing {

struct GoldenTolerance {
  double share = 0.0;     // of the inked pixels
  int channel_slack = 0;  // per channel, 0-255
};

inline ::testing::AssertionResult matches_golden(const raster::Surface& got, const std::string& folder,
                                                 const std::string& name, GoldenTolerance tolerance = {}) {
  const std::string path = std::string(ORVANE_TESTS_DIR) + "/" + folder + "/golden/" + name + ".png";
  if (const char* update = std::getenv("ORVANE_UPDATE_GOLDEN"); update && *update == '1') {
    raster::write_png(got, path);
    return ::testing::AssertionSuccess();
  }
  std::string error;
  std::optional<raster::Surface> want = raster::read_png(path, &error);
  if (!want) return ::testing::AssertionFailure() << path << ": " << error;
  if (want->width() != got.width() || want->height() != got.height())
    return ::testing::AssertionFailure() << name << ": size differs";
  int differing = 0, inked = 0;
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) {
      const raster::Color a = got.color_at(x, y), b = want->color_at(x, y);
      if (a.rgb() != 0xffffff || b.rgb() != 0xffffff) ++inked;
      const int slack = tolerance.channel_slack;
      if (std::abs(a.r - b.r) > slack || std::abs(a.g - b.g) > slack || std::abs(a.b - b.b) > slack) ++differing;
    }
  if (inked == 0) return ::testing::AssertionFailure() << name << ": nothing drawn";
  const double share = static_cast<double>(differing) / inked;
  if (share <= tolerance.share) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << ": " << differing << " of " << inked << " inked pixels differ ("
                                       << share * 100 << "%)";
}

}  // namespace orvane::testing
