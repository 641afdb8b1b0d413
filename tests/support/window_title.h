// Headless window titles for tests: the test world
// (tests/support/window_world.lsp) and the test's own Lisp written as a
// title, run with `orvane play --headless` on an event script, its printed
// lines and PNG frames read back.
//
//   WindowTitle title;
//   RunResult r = title.play("(define (toplevel-loop) (open-page 320 200) (pump-forever))",
//                            "wait 100\nframe page.png\n");
//   std::optional<raster::Surface> page = title.frame("page.png");
#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/raster/png_io.h"
#include "play/title_writer.h"
#include "storage/storage_support.h"

namespace orvane::testing {

class WindowTitle {
 public:
  // The world as Load 0, the test's Lisp as Load 1; runs the title on the
  // event script (nothing but the end of the script when empty). Extra
  // command-line arguments go before the title's path.
  RunResult play(const std::string& lisp, const std::string& events = "", const std::string& arguments = "") {
    TitleWriter title;
    title.load(0, world()).load(1, lisp);
    title.write(dir_.file("TITLE.RI"));
    std::ofstream(dir_.file("events.txt")) << events;
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + dir_.file("events.txt") +
                                " --frames " + dir_.path() + " " + arguments + " " + dir_.file("TITLE.RI"),
                            dir_.path());
  }

  // A frame the script asked for.
  std::optional<raster::Surface> frame(const std::string& name) const { return raster::read_png(dir_.file(name)); }
  const TempDir& dir() const { return dir_; }

  // The test world's source.
  static std::string world() { return slurp(std::string(ORVANE_TESTS_DIR) + "/support/window_world.lsp"); }

 private:
  TempDir dir_;
};

// The printed lines of a run.
inline std::vector<std::string> lines_of(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines that start with `prefix` (a window's label and a space, say).
inline std::vector<std::string> lines_starting(const std::string& out, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines_of(out))
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

}  // namespace orvane::testing
