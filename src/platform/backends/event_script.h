// Event scripts: the input of a headless run, one command a line.
//
//   wait MS                       the script's time moves on MS milliseconds
//   move X Y                      the mouse moves to X Y (framebuffer pixels)
//   press [left|right|middle]     a button goes down where the mouse is
//   release [left|right|middle]   ... and up
//   click X Y [left|right|middle] move, press, release
//   double-click X Y [BUTTON]     move, then two clicks at the same time
//   drag X1 Y1 X2 Y2 [STEPS]      move, press left, STEPS moves (8), release
//   key [ctrl+][shift+][alt+]NAME a whole key stroke: modifiers down, the key
//                                 down, the character it types, all up again
//   key-down NAME / key-up NAME   one key alone (no character: see `type`)
//   type TEXT                     the rest of the line as typed characters
//   frame FILE                    a PNG of the framebuffer, FILE relative to
//                                 the frames directory
//   close                         a close request to the frame
//   quit                          end the run in order
//
// Blank lines and lines starting with "#" are ignored. The script is a
// timeline: `wait` moves the script's time, every other command happens at
// the current script time, so all the events of one line (and of lines with
// no wait between them) share one time. Parsing reads the whole script and
// reports every malformed line before anything runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/screen.h"

namespace orvane::platform::backends {

// One thing on the timeline: an input event, or a frame to take.
struct ScriptStep {
  enum class Kind : std::uint8_t { input, frame };
  Kind kind = Kind::input;
  std::uint64_t time = 0;  // script milliseconds
  InputEvent event;        // input
  std::string frame_file;  // frame: relative to the frames directory
  int line = 0;            // where the script says it
};

struct EventScript {
  std::vector<ScriptStep> steps;  // in time order
  std::uint64_t end_time = 0;     // the script's time after its last line
};

struct ScriptParse {
  EventScript script;
  // "FILE:LINE: what is wrong", one a malformed line; empty when the script
  // is sound (at most kMaxReportedErrors are kept).
  std::vector<std::string> errors;
  bool ok() const { return errors.empty(); }
};

inline constexpr std::size_t kMaxReportedErrors = 20;
inline constexpr std::size_t kMaxLineLength = 65536;
inline constexpr std::uint64_t kMaxWait = 0x7FFFFFFF;  // one wait, in milliseconds
inline constexpr int kMaxCoordinate = 32767;           // |X|, |Y| at most this
inline constexpr int kMaxDragSteps = 10000;
inline constexpr int kDefaultDragSteps = 8;
// What the script's `double-click` and two quick presses count as a double
// click (InputEvent::clicks), as a host would.
inline constexpr std::uint64_t kDoubleClickTime = 500;
inline constexpr int kDoubleClickDistance = 4;

// `file_name` prefixes the error messages.
ScriptParse parse_event_script(std::string_view text, std::string_view file_name);

// Reads and parses a script file; a file that cannot be read is one error.
ScriptParse load_event_script(const std::string& path);

}  // namespace orvane::platform::backends
