#include "app/window_screen.h"

#include <cstdio>
#include <exception>
#include <string>

namespace orvane::app {

using platform::backends::DisplayUnavailable;
using platform::backends::SdlOptions;
using platform::backends::SdlScreen;

std::unique_ptr<SdlScreen> open_window_screen(SdlOptions options, std::string_view command) {
  const std::string name(command);
  try {
    return std::make_unique<SdlScreen>(std::move(options));
  } catch (const DisplayUnavailable& e) {
    std::fprintf(stderr, "orvane %s: %s; use --headless to run without a display\n", name.c_str(), e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvane %s: %s\n", name.c_str(), e.what());
  }
  return nullptr;
}

}  // namespace orvane::app
