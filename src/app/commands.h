// The sub-commands of `orvane`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/memory.h"
#include "platform/raster/geometry.h"

namespace orvane::app {

// `orvane run [-e EXPR] [FILE | -]...`
int run_command(const MemoryConfig& config, const std::vector<std::string>& inputs,
                const std::vector<std::string>& expressions);
// `orvane repl`
int repl_command(const MemoryConfig& config);

// `orvane desktop-demo [--headless] [--events F] [--frames D] [--screen WxH]
// [--scale N] [--record F]`
struct DesktopDemoOptions {
  bool headless = false;
  // The event script to play (none: no input headless; the user's with a
  // window). With a window it plays through SDL's event queue in real time.
  std::string events;
  std::string frames = ".";     // where the script's frames and screenshots go
  raster::IntSize screen{1024, 768};
  int scale = 1;                // SDL2: integer scaling
  std::string record;           // SDL2: write the session as an event script
};
int desktop_demo_command(const DesktopDemoOptions& options);

// `orvane play [--headless] [--events F] [--frames D] [--screen WxH]
// [--scale N] [--fullscreen] [--record F] TITLE.RI`
struct PlayOptions {
  std::string title;
  bool headless = false;
  std::string events;
  std::string frames = ".";
  std::optional<raster::IntSize> screen;  // none: the display's size (1024x768 headless)
  int scale = 1;
  bool fullscreen = false;
  std::string record;
};
// The command line's memory overrides apply over the title's "VPRF" and "SIZE".
int play_command(const MemoryOverrides& overrides, const PlayOptions& options);

}  // namespace orvane::app
