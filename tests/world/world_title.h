// Small titles written with the standard world: a title folder (manifest,
// the Lisp checks of tests/lisp/support/check.lsp and world_checks.lsp, the
// test's own source) played headless with `orvane play DIR` on an event
// script. The run-time finds the standard world beside the binary.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/raster/png_io.h"
#include "play/title_writer.h"
#include "support/window_title.h"
#include "storage/storage_support.h"

namespace orvane::testing {

class WorldTitle {
 public:
  // Plays `lisp` as the title's last source; `manifest_extra` adds manifest lines.
  RunResult play(const std::string& lisp, const std::string& events = "", const std::string& manifest_extra = "") {
    const std::string folder = dir_.file("title");
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(ORVANE_TESTS_DIR) + "/lisp/support/check.lsp", folder + "/check.lsp",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(std::string(ORVANE_TESTS_DIR) + "/world/world_checks.lsp",
                               folder + "/world_checks.lsp", std::filesystem::copy_options::overwrite_existing);
    std::ofstream(folder + "/title.manifest") << "caption \"World test\"\nsize 400 300\nflags menu-bar\nworld yes\n"
                                              << "source check.lsp world_checks.lsp test.lsp\n"
                                              << manifest_extra;
    std::ofstream(folder + "/test.lsp") << lisp;
    std::ofstream(dir_.file("events.txt")) << events;
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + dir_.file("events.txt") +
                                " --frames " + dir_.path() + " " + folder,
                            dir_.path());
  }

  std::optional<raster::Surface> frame(const std::string& name) const { return raster::read_png(dir_.file(name)); }

 private:
  TempDir dir_;
};

// What a run of checks printed last: "checks: N of M passed".
inline bool all_checks_passed(const RunResult& r) {
  const std::string::size_type at = r.out.rfind("checks: ");
  if (at == std::string::npos) return false;
  int passed = -1, count = -2;
  if (std::sscanf(r.out.c_str() + at, "checks: %d of %d passed", &passed, &count) != 2) return false;
  return passed == count && count > 0;
}

// How many pixels of two frames of one size differ.
inline int differing_pixels(const raster::Surface& a, const raster::Surface& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
  return differing;
}

}  // namespace orvane::testing
