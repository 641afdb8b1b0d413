// The sub-commands of `orvane`.
#pragma once

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

}  // namespace orvane::app
