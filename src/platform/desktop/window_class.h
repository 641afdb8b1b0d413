// A window class: a name, a procedure, class styles, a background and a cursor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop/message.h"
#include "platform/raster/color.h"
#include "platform/screen.h"

namespace orvane::desktop {

struct WindowClass {
  std::string name;           // compared without regard to ASCII case, as Win32 does
  std::uint32_t style = 0;    // CS_ bits
  WindowProc procedure;
  // What WM_ERASEBKGND paints by default; none: the window erases nothing.
  std::optional<raster::Color> background;
  // What the default procedure shows over the client area on WM_SETCURSOR;
  // none: the window sets its own cursor.
  std::optional<platform::CursorShape> cursor = platform::CursorShape::arrow;
};

}  // namespace orvane::desktop
