// Headless titles for the event tests: a title whose "Load" 0 is the test's
// Lisp, played by `orvane play --headless` with an event script; what the
// handlers print is the run's standard output.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "play/title_writer.h"
#include "storage/storage_support.h"

namespace orvane::testing {

class EventTitleTest : public ::testing::Test {
 protected:
  // Plays the title made of `lisp` (and `extra` resources) with the script.
  RunResult play(const std::string& lisp, const std::string& script, TitleWriter title = {}) {
    title.load(0, lisp);
    std::string title_path = dir.file("TITLE.RI");
    EXPECT_TRUE(title.write(title_path));
    std::string script_path = dir.file("events.txt");
    std::ofstream(script_path) << script;
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + script_path + " " + title_path,
                            dir.path());
  }
  TempDir dir;
};

// A toplevel loop that pumps every event until the script's end quits.
inline constexpr const char* kPumpingLoop = "(define (toplevel-loop) (while t (process-events nil)))\n";

}  // namespace orvane::testing
