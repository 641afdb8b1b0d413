// The mouse state machine: presses, releases and moves of the left button
// reaching window objects, turned into `mouse-down-system`,
// `mouse-up-system`, `mouse-move-system` / `mouse-drag-system`, with the
// mouse window (`exit-mouse`, `enter-mouse`), the drag check
// (`ready-mouse-drag?`, `get-draggable?`, the native drag), double clicks and
// the page's modal window (`out-of-modal`).
//
// Positions arrive in the client coordinates of the desktop window that
// received the message; they are mapped to the root (the MDI client) and
// from there into the target's coordinates.
#pragma once

#include "platform/desktop/handle.h"
#include "platform/raster/geometry.h"

namespace orvane::shell {

// A press (single or double). False: the press goes to the default handling
// (it fell on the page itself).
bool mouse_press(desktop::Hwnd hwnd, raster::IntPoint point, bool double_click);
// A release. False: the default handling runs (no press was in progress).
bool mouse_release(desktop::Hwnd hwnd, raster::IntPoint point);
// A move, or the re-examine message (`forced`: reported even where the
// mouse has not moved).
void mouse_move(desktop::Hwnd hwnd, raster::IntPoint point, bool forced);
// The mouse-down state ends: no press in progress, no drag; the capture goes
// back to the mouse capture window or is released; a drag window's drag ends.
void end_mouse_down();
// `reset-mouse`: the next report is forced, through the re-examine message
// queued to the window unless one (or a release) is already waiting.
void reset_mouse(desktop::Hwnd hwnd);

}  // namespace orvane::shell
