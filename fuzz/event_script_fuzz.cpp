// Fuzzing event scripts over arbitrary bytes: the parser must answer a
// timeline or clear errors, never crash; a timeline that parses is then
// played by the headless backend into a small framebuffer (frames are
// dropped into a directory that cannot be written, so nothing reaches the
// disk).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/backends/event_script.h"
#include "platform/backends/headless_screen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane::platform::backends;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ScriptParse parsed = parse_event_script(text, "fuzz.events");
  for (const std::string& error : parsed.errors)
    if (error.rfind("fuzz.events:", 0) != 0) __builtin_trap();
  if (!parsed.ok()) return 0;
  HeadlessClock clock;
  HeadlessOptions options;
  options.size = {32, 24};
  options.frames_directory = "/dev/null/frames";
  options.report = [](const std::string&) {};
  HeadlessScreen screen(clock, std::move(parsed.script), options);
  orvane::raster::Surface framebuffer(32, 24, orvane::raster::PixelFormat::rgb32);
  // Each turn delivers or waits; a script ends in a bounded number of turns.
  for (int turn = 0; turn < 1000000; ++turn) {
    while (screen.poll_input()) {
    }
    if (!screen.wait_for_input(framebuffer, clock.now() + 100)) break;
  }
  return 0;
}
