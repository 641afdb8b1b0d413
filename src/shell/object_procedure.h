// The object procedure: the desktop messages of window objects' desktop
// windows turned into the Lisp messages of their objects (size, destroy,
// paint, close and `appeal`, activation, min/max size, commands from
// controls, scroll bars, keys and the mouse).
#pragma once

#include "platform/desktop/message.h"

namespace orvane::ui {
class WindowPeer;
}

namespace orvane::shell {

desktop::LResult object_procedure(ui::WindowPeer& peer, desktop::Hwnd hwnd, std::uint32_t message,
                                  desktop::WParam wparam, desktop::LParam lparam);

// The mouse messages (moves, presses, releases, double clicks, the
// re-examine message) the MDI client hands on for the root's window object.
// False: the client's own handling runs too.
bool root_mouse_message(desktop::Hwnd client, std::uint32_t message, desktop::LParam lparam);

// `grow-rect-limits` of a window as the desktop's min/max sizes of a
// window with that style.
void apply_grow_limits(ui::WindowPeer& peer, std::uint32_t style, desktop::MinMaxInfo& info);

// A window's client area took a new size: its rects follow and it gets
// `size-update` with the old width and height.
void window_resized(ui::WindowPeer& peer, int width, int height);

// The key focus window's object gets `key-down` with the character.
void character_typed(int character);

}  // namespace orvane::shell
