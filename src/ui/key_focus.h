// The key focus window: the one window object that receives the keys.
#pragma once

namespace orvane::ui {

class WindowPeer;

// Makes `window` the key focus window (null: none). Nothing when it already
// is; otherwise the old one is cleared first and gets `deactivate-focus`,
// the new one gets the desktop focus and then `activate-focus`.
void set_key_focus(WindowPeer* window);

}  // namespace orvane::ui
