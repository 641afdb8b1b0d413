// Closing (the close request and its appeal) and destroying window objects.
#include <vector>

#include "core/errors.h"
#include "objects/native_classes.h"
#include "objects/stack_roots.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/window_closing.h"
#include "ui/window_guard.h"
#include "ui/window_layer.h"
#include "ui/window_lists.h"
#include "ui/window_peer.h"

namespace orvane::ui {

bool in_close(const WindowPeer& w) {
  if (w.flags.in_close) return true;
  for (const WindowPeer* c = w.first_child; c; c = c->next_sibling)
    if (in_close(*c)) return true;
  return false;
}

void WindowPeer::close() {
  if (in_close(*this)) report("Can not imbricate close");
  WindowLayer& l = layer();
  if (!l.desktop || !hwnd || !l.desktop->is_window(hwnd)) return;
  l.desktop->send_message(hwnd, desktop::WM_CLOSE);
}

bool WindowPeer::appeal() {
  Value object = lisp_object();
  flags.in_close = true;
  hide();
  if (!still_open(object, this)) return false;
  if (flags.hide_on_close) {
    flags.in_close = false;
    return false;
  }
  return true;
}

void WindowPeer::destroy() {
  if (flags.destroying) return;
  flags.destroying = true;
  WindowLayer& l = layer();
  Value object = lisp_object();
  offscreen.chain.reset();
  if (l.key_focus == this) l.key_focus = nullptr;
  if (l.drag == this) {
    l.drag = nullptr;
    l.tracking_drag = false;
  }
  if (l.capture == this) {
    l.capture = nullptr;
    if (l.desktop) l.desktop->release_capture();
  }

  // The children first, each through its object's `destroy`; the objects are
  // held where the collector sees them while the handlers run.
  std::vector<const WindowPeer*> children;
  for (const WindowPeer* c = first_child; c; c = c->next_sibling) children.push_back(c);
  {
    objects::StackRoots held(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) held[i] = children[i]->lisp_object();
    for (std::size_t i = 0; i < children.size(); ++i) {
      WindowPeer* child = window_peer_or_null(held[i]);
      if (child && child->parent == this) send_to(*child, "destroy");
      if (!still_open(object, this)) return;  // a handler destroyed this window too
    }
  }
  // A child whose handler did not destroy it goes all the same.
  while (first_child) first_child->destroy();

  if (l.desktop && hwnd && l.desktop->is_window(hwnd)) l.desktop->remove_prop(hwnd, kObjectProperty);
  const bool was_in_page = in_page();
  unlink_child(*this);
  if (l.page && l.page->modal == this) set_modal_window(*l.page, nullptr);
  for (WindowPeer** role : {&l.root, &l.page, &l.key_focus, &l.capture, &l.drag, &l.front})
    if (*role == this) *role = nullptr;
  if (was_in_page) refresh_front_window();
  desktop::Hwnd own = hwnd;
  hwnd = {};
  parent = system = nullptr;
  if (l.desktop && own && own != l.mdi_client && l.desktop->is_window(own)) l.desktop->destroy_window(own);
  // Frees this peer: nothing of `this` may be touched afterwards.
  if (window_peer_or_null(object) == this) close_peer(object);
}

}  // namespace orvane::ui
