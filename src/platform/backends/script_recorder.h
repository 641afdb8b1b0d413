// Writes the input a user gives as an event script (see event_script.h), with
// the waits between commands, so that a session can be replayed headless:
// keys as key-down / key-up, typed characters as `type`, the mouse as move,
// press and release.
#pragma once

#include <cstdint>
#include <ostream>

#include "platform/screen.h"

namespace orvane::platform::backends {

class ScriptRecorder {
 public:
  // `start_ms`: the clock when recording starts (the first wait counts from it).
  ScriptRecorder(std::ostream& out, std::uint64_t start_ms);

  // One delivered input event and the clock's time when it came. Events the
  // script cannot say (keys the key table lacks) are left out.
  void record(const InputEvent& event, std::uint64_t ms);

 private:
  void line(const std::string& text, std::uint64_t ms);
  void move_to(raster::IntPoint p, std::uint64_t ms);

  std::ostream& out_;
  std::uint64_t last_ms_;
  raster::IntPoint mouse_{-1, -1};
  bool mouse_known_ = false;
};

}  // namespace orvane::platform::backends
