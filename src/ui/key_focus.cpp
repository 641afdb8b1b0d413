#include "ui/key_focus.h"

#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

void set_key_focus(WindowPeer* window) {
  WindowLayer& l = layer();
  if (l.key_focus == window) return;
  // The new window is followed by its object: a handler of the old one may
  // destroy it.
  Value target = window ? window->lisp_object() : kNil;
  if (WindowPeer* old = l.key_focus) {
    l.key_focus = nullptr;
    send_to(*old, "deactivate-focus");
  }
  window = window ? window_peer_or_null(target) : nullptr;
  l.key_focus = window;
  if (l.desktop) {
    if (window && window->hwnd && l.desktop->is_window(window->hwnd)) l.desktop->set_focus(window->hwnd);
    else if (!window) l.desktop->set_focus({});
  }
  if (window) send_to(*window, "activate-focus");
}

}  // namespace orvane::ui
