// Opened windows stay alive while they are in the window tree: the
// collector marks the Lisp object of every window from the root down (each
// object marks its peer, whose mark_values marks the Values it holds).
#include "core/collector.h"
#include "ui/window_layer.h"
#include "ui/window_methods.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

void mark_tree(const WindowPeer& w, ValueMarker& m) {
  m.mark(w.lisp_object());
  for (const WindowPeer* c = w.first_child; c; c = c->next_sibling) mark_tree(*c, m);
}

}  // namespace

void keep_windows_alive() {
  // The documented singleton of the window layer's roots, made once.
  static const ExtraRoots roots([](ValueMarker& m) {
    const WindowLayer& l = layer();
    if (l.root) mark_tree(*l.root, m);
    if (l.page && l.page->parent != l.root) mark_tree(*l.page, m);
  });
}

}  // namespace orvane::ui
