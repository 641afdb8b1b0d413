// Window lists and z-order. A parent's children run front to back; a
// windoid (floating window) is kept in front of the plain windows of its
// parent. The activation path and the event dispatcher use these too.
#pragma once

#include <vector>

namespace orvane::ui {

class WindowPeer;

// The first visible child that is not a windoid.
WindowPeer* front_window(const WindowPeer& parent);
// The first and the last visible windoid child.
WindowPeer* front_windoid(const WindowPeer& parent);
WindowPeer* last_windoid(const WindowPeer& parent);
// The next visible sibling; the sibling just before.
WindowPeer* next_window(const WindowPeer& w);
WindowPeer* previous_window(const WindowPeer& w);
// The children that are windoids (or not), front to back; only the visible
// ones unless `all`.
std::vector<WindowPeer*> child_list(const WindowPeer& parent, bool windoids, bool all);

// The page's front-window record := the page's first visible plain child.
WindowPeer* refresh_front_window();
// Makes a window directly in the page the active MDI child.
void activate_in_page(WindowPeer& w);

// Activation of a page-level window: `activate` goes to the window and to
// each visible descendant not yet active, setting their active flags;
// `deactivate` to the window and each visible descendant that is active,
// clearing them. Handlers may destroy windows on the way.
void activate_tree(WindowPeer& w);
void deactivate_tree(WindowPeer& w);

// The z-order operations of window objects.
void bring_to_front(WindowPeer& w);
void send_behind(WindowPeer& w, WindowPeer& other);
void bring_forward(WindowPeer& w);
void send_backward(WindowPeer& w);
void send_to_back(WindowPeer& w);

// Modal windows: records `modal` as the page's modal window and disables
// every MDI child but its window; null re-enables them all and gives the
// key focus to the page's front window.
void set_modal_window(WindowPeer& page, WindowPeer* modal);

// The window that should get the keys, searched from w (null: none).
WindowPeer* find_handles_keys(WindowPeer& w);
// Whether `handles-keys?` is true in the window's context.
bool handles_keys(const WindowPeer& w);

// Unlinks w from its parent's child list; links it after `before` (null:
// at the head).
void unlink_child(WindowPeer& w);
void link_child_after(WindowPeer& w, WindowPeer* before);

}  // namespace orvane::ui
