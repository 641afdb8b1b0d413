// Showing and hiding window objects, activation and the mouse-down default.
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/key_focus.h"
#include "ui/window_guard.h"
#include "ui/window_layer.h"
#include "ui/window_lists.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

void invalidate_root_client() {
  WindowLayer& l = layer();
  if (l.desktop && l.mdi_client) l.desktop->invalidate_rect(l.mdi_client, nullptr, true);
}

}  // namespace

void WindowPeer::show() {
  WindowLayer& l = layer();
  Value object = lisp_object();
  if (flags.visible) {
    if (page_level() && !is_root() && !is_page()) bring_to_front(*this);
    return;
  }
  if (is_page()) {
    flags.visible = true;
    invalidate_root_client();
  } else if (is_root()) {
    flags.visible = true;
  } else {
    show_native(true);
    flags.visible = true;
    if (in_page()) {
      bring_to_front(*this);
      refresh_front_window();
    } else {
      invalidate(rect);
    }
    // A window with an offscreen buffer brings it up to date when it paints:
    // painting it now copies the buffer to the screen at once.
    if (in_page() && offscreen_owner() && l.desktop && hwnd) l.desktop->update_window(hwnd);
    if (user_visible() && system && system == l.front) activate_in_page(*system);
  }
  if (!still_open(object, this)) return;
  after_show();
  if (!still_open(object, this)) return;
  send_to(*this, "show-event");
}

// A window shown into the page's front window is activated with it: the
// front window itself, or a window below it once the front window is active.
void WindowPeer::after_show() {
  Value object = lisp_object();
  WindowLayer& l = layer();
  const bool in_front = system && system == l.front && !system->flags.floating;
  if (in_front && flags.visible && !flags.active && (system == this || system->flags.active) && user_visible())
    activate_tree(*this);
  if (!still_open(object, this)) return;
  for (WindowPeer* c = first_child; c; c = c->next_sibling) c->after_show();
}

void WindowPeer::hide() {
  WindowLayer& l = layer();
  Value object = lisp_object();
  if (!flags.visible) return;
  if (is_page()) {
    invalidate_root_client();
    flags.visible = false;
  } else if (is_root()) {
    flags.visible = false;
  } else {
    if (!in_page()) invalidate(rect);
    if (l.key_focus == this) set_key_focus(nullptr);
    if (!still_open(object, this)) return;
    after_hide();
    if (!still_open(object, this)) return;
    if (l.page && l.page->modal == this) set_modal_window(*l.page, nullptr);
    const bool was_front = in_page() && l.front == this;
    show_native(false);
    flags.visible = false;
    if (was_front) {
      // The next visible plain sibling becomes the active window.
      if (WindowPeer* next = refresh_front_window()) activate_in_page(*next);
    }
  }
  if (!still_open(object, this)) return;
  send_to(*this, "hide-event");
}

// A window hidden with an ancestor gives up the mouse and, since keys must
// not go to what cannot be seen, the key focus.
void WindowPeer::after_hide() {
  WindowLayer& l = layer();
  if (l.capture == this) release_mouse();
  if (l.key_focus == this) set_key_focus(nullptr);
  flags.active = false;
  for (WindowPeer* c = first_child; c; c = c->next_sibling) c->after_hide();
}

void WindowPeer::enable() {
  WindowLayer& l = layer();
  if (l.desktop && hwnd && !is_root() && l.desktop->is_window(hwnd)) l.desktop->enable_window(hwnd, true);
}

void WindowPeer::disable() {
  WindowLayer& l = layer();
  if (l.desktop && hwnd && !is_root() && l.desktop->is_window(hwnd)) l.desktop->enable_window(hwnd, false);
}

bool WindowPeer::enabled() const {
  WindowLayer& l = layer();
  if (!l.desktop || !hwnd || !l.desktop->is_window(hwnd)) return true;
  return l.desktop->is_enabled(hwnd);
}

// A window directly in the page and not floating takes the keys to its
// first descendant that accepts them, and shows itself exposed unless the
// page is under a modal window.
void WindowPeer::activate() {
  Value object = lisp_object();
  WindowLayer& l = layer();
  if (!in_page() || flags.floating) return;
  WindowPeer* keys = find_handles_keys(*this);
  set_key_focus(keys ? keys : this);
  if (!still_open(object, this)) return;
  if (!(l.page && l.page->modal)) send_to(*this, "expose");
}

void WindowPeer::deactivate() {
  Value object = lisp_object();
  WindowLayer& l = layer();
  if (!in_page() || flags.floating) return;
  set_key_focus(nullptr);
  if (!still_open(object, this)) return;
  if (!(l.page && l.page->modal)) send_to(*this, "deexpose");
}

void WindowPeer::mouse_down(int x, int y) {
  Value object = lisp_object();
  if (handles_keys(*this)) set_key_focus(this);
  if (!still_open(object, this)) return;
  send_to(*this, "default-mouse-down", {make_fixnum(x), make_fixnum(y)});
}

}  // namespace orvane::ui
