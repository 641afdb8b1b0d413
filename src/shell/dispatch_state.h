// The event dispatcher's process-wide state while a title plays (a
// documented singleton): the frame and its MDI client, the start-up flags the
// MDI client's background follows, the mouse state machine's state, the
// cursors, and a quit met inside a window procedure.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "core/collector.h"
#include "core/value.h"
#include "platform/desktop/handle.h"
#include "platform/raster/geometry.h"

namespace orvane::desktop {
class Desktop;
}

namespace orvane::shell {

class ShellCursors;

// Algorithm 3's state. Windows are held by their Lisp objects, which outlive
// their peers: a window destroyed meanwhile is found without a peer.
struct MouseState {
  Value mouse_window = kNil;       // the window that last received `enter-mouse`
  Value last_click_window = kNil;  // the window that received the last `mouse-down-system`
  raster::IntPoint last_click{};   // in the last click window's coordinates
  raster::IntPoint last_mouse{-1, -1};
  bool in_mouse_down = false;
  bool drag_armed = false;
  bool dragging = false;
  bool double_click = false;
};

struct DispatchState {
  desktop::Desktop* desktop = nullptr;
  desktop::Hwnd frame;
  desktop::Hwnd client;
  std::uint8_t start_flags = 0;
  MouseState mouse;
  std::unique_ptr<ShellCursors> cursors;
  std::optional<int> pending_quit;  // a quit met inside a window procedure, carried out after it
};

// The state; its desktop is null outside a play.
DispatchState& dispatch_state();

// Attached by the title shell once the frame and its client exist (this
// subclasses the client and installs the object procedure), detached before
// they are destroyed.
void attach_dispatch(desktop::Desktop& desktop, desktop::Hwnd frame, desktop::Hwnd client, std::uint8_t start_flags);
void detach_dispatch();

// The dispatcher's cursors; error 47 outside a play.
ShellCursors& shell_cursors();

}  // namespace orvane::shell
