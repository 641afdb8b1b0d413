// The close guard: a window is closing from its appeal until it is
// destroyed (or kept hidden by `hide-on-close?`).
#pragma once

namespace orvane::ui {

class WindowPeer;

// Whether the window or a descendant is closing.
bool in_close(const WindowPeer& w);

}  // namespace orvane::ui
