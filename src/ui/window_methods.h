// What the window methods' registration sets up besides the methods.
#pragma once

namespace orvane::ui {

// Registers, once, the collector roots that keep opened windows alive.
void keep_windows_alive();

}  // namespace orvane::ui
