// Window lists, z-order, the page's front window and the search for the
// window that takes the keys.
#include "ui/window_lists.h"

#include "objects/stack_roots.h"

#include "platform/desktop/desktop.h"
#include "ui/key_focus.h"
#include "platform/desktop/messages.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

constexpr std::uint32_t kZOrderOnly = desktop::SWP_NOMOVE | desktop::SWP_NOSIZE | desktop::SWP_NOACTIVATE;

bool plain_visible(const WindowPeer* c) { return c->flags.visible && !c->flags.floating; }
bool windoid_visible(const WindowPeer* c) { return c->flags.visible && c->flags.floating; }

// The sibling just before w in its parent's list (null: w is first).
WindowPeer* list_predecessor(const WindowPeer& w) {
  if (!w.parent) return nullptr;
  WindowPeer* before = nullptr;
  for (WindowPeer* c = w.parent->first_child; c && c != &w; c = c->next_sibling) before = c;
  return before;
}

// Moves w's desktop window in its siblings' z-order (behind `after`; kTop
// for the top).
void restack(WindowPeer& w, desktop::Hwnd after) {
  WindowLayer& l = layer();
  if (!l.desktop || !w.hwnd || w.is_root() || !l.desktop->is_window(w.hwnd)) return;
  l.desktop->set_window_pos(w.hwnd, after, 0, 0, 0, 0, kZOrderOnly);
}

void invalidate_whole(WindowPeer& w) { w.invalidate(w.rect); }

}  // namespace

void unlink_child(WindowPeer& w) {
  if (!w.parent) return;
  for (WindowPeer** link = &w.parent->first_child; *link; link = &(*link)->next_sibling) {
    if (*link == &w) {
      *link = w.next_sibling;
      break;
    }
  }
  w.next_sibling = nullptr;
}

void link_child_after(WindowPeer& w, WindowPeer* before) {
  if (!w.parent) return;
  if (!before) {
    w.next_sibling = w.parent->first_child;
    w.parent->first_child = &w;
  } else {
    w.next_sibling = before->next_sibling;
    before->next_sibling = &w;
  }
}

WindowPeer* front_window(const WindowPeer& parent) {
  for (WindowPeer* c = parent.first_child; c; c = c->next_sibling)
    if (plain_visible(c)) return c;
  return nullptr;
}

WindowPeer* front_windoid(const WindowPeer& parent) {
  for (WindowPeer* c = parent.first_child; c; c = c->next_sibling)
    if (windoid_visible(c)) return c;
  return nullptr;
}

WindowPeer* last_windoid(const WindowPeer& parent) {
  WindowPeer* last = nullptr;
  for (WindowPeer* c = parent.first_child; c; c = c->next_sibling)
    if (windoid_visible(c)) last = c;
  return last;
}

WindowPeer* next_window(const WindowPeer& w) {
  for (WindowPeer* c = w.next_sibling; c; c = c->next_sibling)
    if (c->flags.visible) return c;
  return nullptr;
}

WindowPeer* previous_window(const WindowPeer& w) { return list_predecessor(w); }

std::vector<WindowPeer*> child_list(const WindowPeer& parent, bool windoids, bool all) {
  std::vector<WindowPeer*> out;
  for (WindowPeer* c = parent.first_child; c; c = c->next_sibling)
    if (c->flags.floating == windoids && (all || c->flags.visible)) out.push_back(c);
  return out;
}

WindowPeer* refresh_front_window() {
  WindowLayer& l = layer();
  l.front = l.page ? front_window(*l.page) : nullptr;
  return l.front;
}

void activate_in_page(WindowPeer& w) {
  WindowLayer& l = layer();
  if (!l.desktop || !w.in_page() || !w.hwnd || !l.desktop->is_window(w.hwnd)) return;
  l.desktop->send_message(l.mdi_client, desktop::WM_MDIACTIVATE, static_cast<desktop::WParam>(w.hwnd.value), 0);
  // The MDI client puts the active child on top; visible windoids stay in
  // front of a plain window all the same.
  if (w.flags.floating || !w.parent || (l.page && l.page->modal == &w)) return;
  if (WindowPeer* windoid = last_windoid(*w.parent); windoid && windoid != &w) restack(w, windoid->hwnd);
}

void bring_to_front(WindowPeer& w) {
  WindowPeer* p = w.parent;
  if (!p) return;
  WindowLayer& l = layer();
  const bool modal = l.page && l.page->modal == &w;
  WindowPeer* windoid = last_windoid(*p);
  if (w.flags.floating || modal || !windoid) {
    if (p->is_page() && !w.flags.floating) {
      WindowPeer* front = front_window(*p);
      if (front != &w) {
        if (front) deactivate_tree(*front);
        else send_to(*p, "deexpose");
      }
    }
    restack(w, desktop::Desktop::kTop);
    unlink_child(w);
    link_child_after(w, nullptr);
    if (!w.flags.floating && !p->is_page()) invalidate_whole(w);
    // A plain window of the page brought to the top becomes the active one.
    if (p->is_page() && !w.flags.floating && w.flags.visible) {
      refresh_front_window();
      activate_in_page(w);
    }
    return;
  }
  // Visible windoids stay in front: the window goes directly behind the last.
  if (list_predecessor(w) == windoid) return;
  restack(w, windoid->hwnd);
  unlink_child(w);
  link_child_after(w, windoid);
  if (!w.page_level()) invalidate_whole(w);
}

void send_behind(WindowPeer& w, WindowPeer& other) {
  if (&w == &other || w.parent != other.parent || !w.parent) return;
  WindowLayer& l = layer();
  restack(w, other.hwnd);
  unlink_child(w);
  link_child_after(w, &other);
  if (!w.in_page() || !l.desktop) return;
  const desktop::MdiClientState* state = l.desktop->mdi_client_state(l.mdi_client);
  if (state && state->active == w.hwnd) {
    if (WindowPeer* front = refresh_front_window(); front && front != &w) activate_in_page(*front);
  }
}

void bring_forward(WindowPeer& w) {
  WindowPeer* before = list_predecessor(w);
  if (!before) return;
  if (WindowPeer* further = list_predecessor(*before)) {
    send_behind(w, *further);
    return;
  }
  restack(w, desktop::Desktop::kTop);
  unlink_child(w);
  link_child_after(w, nullptr);
}

void send_backward(WindowPeer& w) {
  if (WindowPeer* next = next_window(w)) send_behind(w, *next);
}

void send_to_back(WindowPeer& w) {
  if (!w.parent) return;
  WindowPeer* last = nullptr;
  for (WindowPeer* c = w.parent->first_child; c; c = c->next_sibling)
    if (c != &w && plain_visible(c)) last = c;
  if (last) send_behind(w, *last);
}

namespace {

// w and its visible descendants, w first.
void collect_visible_tree(const WindowPeer& w, std::vector<const WindowPeer*>& out) {
  out.push_back(&w);
  for (WindowPeer* c = w.first_child; c; c = c->next_sibling)
    if (c->flags.visible) collect_visible_tree(*c, out);
}

void change_activation(WindowPeer& w, bool active) {
  std::vector<const WindowPeer*> tree;
  collect_visible_tree(w, tree);
  // The objects, held where the collector sees them: a handler may destroy
  // any window of the tree on the way.
  objects::StackRoots held(tree.size());
  for (std::size_t i = 0; i < tree.size(); ++i) held[i] = tree[i]->lisp_object();
  for (std::size_t i = 0; i < tree.size(); ++i) {
    WindowPeer* peer = window_peer_or_null(held[i]);
    if (!peer || peer->flags.active == active) continue;
    peer->flags.active = active;
    send_to(*peer, active ? "activate" : "deactivate");
  }
}

}  // namespace

void activate_tree(WindowPeer& w) { change_activation(w, true); }
void deactivate_tree(WindowPeer& w) { change_activation(w, false); }

void set_modal_window(WindowPeer& page, WindowPeer* modal) {
  WindowLayer& l = layer();
  page.modal = modal;
  if (l.desktop && l.mdi_client) {
    desktop::Hwnd keep = modal ? (modal->system ? modal->system->hwnd : modal->hwnd) : desktop::Hwnd{};
    for (desktop::Hwnd h : l.desktop->children(l.mdi_client)) l.desktop->enable_window(h, !modal || h == keep);
  }
  if (!modal) {
    WindowPeer* front = refresh_front_window();
    WindowPeer* keys = front ? find_handles_keys(*front) : nullptr;
    set_key_focus(keys ? keys : front);
  }
}

bool handles_keys(const WindowPeer& w) { return is_true(value_in_object(w.lisp_object(), "handles-keys?")); }

namespace {

// The children from the back-most to the front-most: each answers itself
// when visible and accepting keys, else searches its own children; an
// invisible child ends its branch.
WindowPeer* search_children_for_keys(const WindowPeer& w) {
  std::vector<WindowPeer*> back_to_front;
  for (WindowPeer* c = w.first_child; c; c = c->next_sibling) back_to_front.insert(back_to_front.begin(), c);
  for (WindowPeer* c : back_to_front) {
    if (!c->flags.visible) continue;
    if (handles_keys(*c)) return c;
    if (WindowPeer* found = search_children_for_keys(*c)) return found;
  }
  return nullptr;
}

}  // namespace

WindowPeer* find_handles_keys(WindowPeer& w) {
  if (w.flags.visible && handles_keys(w)) return &w;
  return search_children_for_keys(w);
}

}  // namespace orvane::ui
