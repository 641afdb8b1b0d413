// The peer's life in the tree, the questions the tree answers, and the
// lookups from Values and desktop windows to peers.
#include "ui/window_peer.h"

#include "core/errors.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"

namespace orvane::ui {

int OffscreenBuffers::count() const {
  int n = 0;
  for (graphics::Offscreen* o = chain.get(); o; o = o->next()) ++n;
  return n;
}

graphics::Offscreen* OffscreenBuffers::level(int n) const {
  for (graphics::Offscreen* o = chain.get(); o; o = o->next())
    if (o->level() == n) return o;
  return nullptr;
}

WindowPeer::WindowPeer() = default;

// A peer freed without being destroyed (its object collected, or closed by
// the object system): it leaves the tree and the layer's roles, and its
// desktop window goes, without a word to Lisp.
WindowPeer::~WindowPeer() {
  WindowLayer& l = layer();
  for (WindowPeer* c = first_child; c; c = c->next_sibling) {
    c->parent = nullptr;
    if (c->system == this) c->system = nullptr;
  }
  if (parent) {
    for (WindowPeer** link = &parent->first_child; *link; link = &(*link)->next_sibling) {
      if (*link == this) {
        *link = next_sibling;
        break;
      }
    }
    if (parent->modal == this) parent->modal = nullptr;
  }
  for (WindowPeer** role : {&l.root, &l.page, &l.key_focus, &l.capture, &l.drag, &l.front})
    if (*role == this) *role = nullptr;
  if (l.desktop && hwnd && l.desktop->is_window(hwnd)) {
    l.desktop->remove_prop(hwnd, kObjectProperty);
    if (hwnd != l.mdi_client) l.desktop->destroy_window(hwnd);
  }
}

void WindowPeer::mark_values(ValueMarker& m) {
  InterfacePeer::mark_values(m);
  m.mark(effect);
  m.mark(click_zone);
}

bool WindowPeer::is_root() const { return layer().root == this; }
bool WindowPeer::is_page() const { return layer().page == this; }
bool WindowPeer::in_page() const { return parent && parent == layer().page && !is_page(); }
bool WindowPeer::page_level() const { return is_root() || is_page() || in_page(); }

bool WindowPeer::user_visible() const {
  if (is_root()) return false;
  for (const WindowPeer* w = this; w; w = w->parent) {
    if (!w->flags.visible) return false;
    if (w->is_page()) return true;
  }
  return false;
}

WindowPeer* WindowPeer::offscreen_owner() const {
  for (const WindowPeer* w = this; w; w = w->parent)
    if (w->offscreen.chain) return const_cast<WindowPeer*>(w);
  return nullptr;
}

graphics::Offscreen* WindowPeer::drawing_buffer() const {
  WindowPeer* owner = offscreen_owner();
  if (!owner) return nullptr;
  graphics::Offscreen* o = owner->offscreen.level(offscreen_level);
  return o ? o : owner->offscreen.chain.get();
}

WindowPeer* window_peer_or_null(Value object) {
  if (!has_peer(object)) return nullptr;
  return dynamic_cast<WindowPeer*>(&object_peer(object));
}

WindowPeer& window_peer(Value object) {
  WindowPeer* p = window_peer_or_null(object);
  if (!p) raise_error(2, object);
  return *p;
}

WindowPeer* window_peer_of(desktop::Hwnd hwnd) {
  WindowLayer& l = layer();
  if (!l.desktop || !hwnd) return nullptr;
  std::optional<desktop::LParam> p = l.desktop->get_prop(hwnd, kObjectProperty);
  if (!p) return nullptr;
  return reinterpret_cast<WindowPeer*>(*p);
}

}  // namespace orvane::ui
