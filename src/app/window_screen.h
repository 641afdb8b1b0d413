// Opening the SDL2 window for a sub-command that shows the desktop.
#pragma once

#include <memory>
#include <string_view>

#include "platform/backends/sdl_screen.h"

namespace orvane::app {

// The window, or null after a one-line message on standard error that names
// the command (and, when no display can be opened, says to use --headless).
std::unique_ptr<platform::backends::SdlScreen> open_window_screen(platform::backends::SdlOptions options,
                                                                  std::string_view command);

}  // namespace orvane::app
