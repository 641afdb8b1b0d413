#include "platform/desktop/mdi_client.h"

#include <algorithm>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

namespace {
constexpr std::uint32_t kDocumentStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_CAPTION |
                                         WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
}  // namespace

MdiClientState* MdiClient::state() const {
  auto it = desktop_.mdi_clients_.find(client_);
  return it == desktop_.mdi_clients_.end() ? nullptr : &it->second;
}

LResult MdiClient::procedure(Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  MdiClient client(d, hwnd);
  switch (message) {
    case WM_CREATE: {
      MdiClientState st;
      st.frame = d.parent(hwnd);
      if (const auto* cs = pointer_of<CreateStruct>(lparam); cs && cs->create_params) {
        st.first_child_id = pointer_of<ClientCreateStruct>(cs->create_params)->first_child_id;
      }
      st.next_child_id = st.first_child_id;
      d.mdi_clients_[hwnd] = st;
      return 0;
    }
    case WM_MDICREATE:
      if (!lparam) return 0;
      return static_cast<LResult>(client.create_child(*pointer_of<MdiCreateStruct>(lparam)).value);
    case WM_MDIDESTROY:
      if (d.parent(Hwnd{static_cast<std::uint32_t>(wparam)}) == hwnd)
        d.destroy_window(Hwnd{static_cast<std::uint32_t>(wparam)});
      return 0;
    case WM_MDIACTIVATE:
      client.activate(Hwnd{static_cast<std::uint32_t>(wparam)});
      return 0;
    case WM_MDIGETACTIVE: {
      const MdiClientState* st = client.state();
      const Hwnd active = st ? st->active : Hwnd{};
      if (lparam) *pointer_of<int>(lparam) = d.is_maximised(active) ? 1 : 0;
      return static_cast<LResult>(active.value);
    }
    case WM_MDIMAXIMIZE:
      d.show_window(Hwnd{static_cast<std::uint32_t>(wparam)}, SW_SHOWMAXIMIZED);
      return 0;
    case WM_MDIRESTORE:
      d.show_window(Hwnd{static_cast<std::uint32_t>(wparam)}, SW_RESTORE);
      return 0;
    case WM_MDINEXT: {
      const MdiClientState* st = client.state();
      Hwnd from{static_cast<std::uint32_t>(wparam)};
      if (!from && st) from = st->active;
      client.activate(client.next_child(from, lparam != 0));
      return 0;
    }
    case WM_SIZE: {
      // A maximised child follows the client's size.
      const MdiClientState* st = client.state();
      if (st && d.is_maximised(st->active)) d.apply_maximised(st->active);
      return d.def_window_proc(hwnd, message, wparam, lparam);
    }
    case WM_SETFOCUS: {
      const MdiClientState* st = client.state();
      if (st && d.is_window(st->active) && d.focus() == hwnd) d.set_focus(st->active);
      return 0;
    }
    default:
      return d.def_window_proc(hwnd, message, wparam, lparam);
  }
}

Hwnd MdiClient::create_child(const MdiCreateStruct& create) {
  MdiClientState* st = state();
  if (!st) return {};
  std::uint32_t style = create.style | WS_CHILD | WS_CLIPSIBLINGS;
  if (!(desktop_.style(client_) & MDIS_ALLCHILDSTYLES)) style |= kDocumentStyle | WS_VISIBLE;
  if (desktop_.is_maximised(st->active)) style |= WS_MAXIMIZE;
  CreateParams params;
  params.ex_style = WS_EX_MDICHILD;
  params.class_name = create.class_name;
  params.text = create.title;
  params.style = style;
  params.x = create.x;
  params.y = create.y;
  params.width = create.width;
  params.height = create.height;
  params.parent = client_;
  params.id = st->next_child_id++;
  params.create_params = create.lparam;
  return desktop_.create_window(params);
}

void MdiClient::child_created(Hwnd child, std::uint32_t requested_style) {
  MdiClientState* st = state();
  if (!st) return;
  if (requested_style & WS_MAXIMIZE) desktop_.apply_maximised(child);
  if (requested_style & WS_VISIBLE) {
    desktop_.set_window_pos(child, {}, 0, 0, 0, 0,
                            SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    activate(child);
  }
}

Hwnd MdiClient::next_child(Hwnd from, bool previous) const {
  std::vector<Hwnd> list;
  for (Hwnd h : desktop_.children(client_))
    if (desktop_.is_visible(h) && desktop_.is_enabled(h)) list.push_back(h);
  if (list.empty()) return {};
  auto it = std::find(list.begin(), list.end(), from);
  if (it == list.end()) return list.front();
  // The z-order runs from the active child down: "next" is the one below it.
  if (previous) return list.back();
  return it + 1 < list.end() ? *(it + 1) : list.front();
}

void MdiClient::child_leaving(Hwnd child) {
  MdiClientState* st = state();
  if (!st || st->active != child) return;
  Hwnd next;
  for (Hwnd h : desktop_.children(client_)) {
    const Window* w = desktop_.find(h);
    if (h != child && w && w->visible() && !w->destroying) {
      next = h;
      break;
    }
  }
  const bool was_maximised = desktop_.is_maximised(child);
  st->active = {};
  if (desktop_.is_window(child)) desktop_.send_message(child, WM_NCACTIVATE, 0, 0);
  if (desktop_.is_window(child))
    desktop_.send_message(child, WM_MDIACTIVATE, static_cast<WParam>(child.value), static_cast<LParam>(next.value));
  if (next) {
    if (was_maximised) desktop_.apply_maximised(next);
    activate(next);
  }
}

void MdiClient::activate(Hwnd child) {
  MdiClientState* st = state();
  if (!st) return;
  const Hwnd old = st->active;
  if (child == old) return;
  if (child && (!desktop_.is_window(child) || desktop_.parent(child) != client_)) return;
  const bool was_maximised = desktop_.is_maximised(old);
  st->active = child;
  if (desktop_.is_window(old)) {
    desktop_.send_message(old, WM_NCACTIVATE, 0, 0);
    if (desktop_.is_window(old))
      desktop_.send_message(old, WM_MDIACTIVATE, static_cast<WParam>(old.value), static_cast<LParam>(child.value));
  }
  if (!child || !desktop_.is_window(child)) return;
  if (was_maximised && !desktop_.is_maximised(child)) {
    desktop_.apply_maximised(child);
    if (desktop_.is_window(old) && desktop_.is_maximised(old)) {
      Window* w = desktop_.find(old);
      w->style &= ~WS_MAXIMIZE;
      const raster::IntRect r = w->restored_rect;
      desktop_.set_window_pos(old, {}, r.left, r.top, r.width(), r.height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  if (!desktop_.is_window(child)) return;
  desktop_.set_window_pos(child, Desktop::kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!desktop_.is_window(child)) return;
  // The caption shows active only while the frame is the active window.
  const Hwnd frame = desktop_.top_level(client_);
  const bool frame_active = frame && desktop_.active_window() == frame;
  desktop_.send_message(child, WM_NCACTIVATE, frame_active ? 1 : 0, 0);
  if (desktop_.is_window(child))
    desktop_.send_message(child, WM_MDIACTIVATE, static_cast<WParam>(old.value), static_cast<LParam>(child.value));
  if (desktop_.is_window(child) && frame_active) desktop_.set_focus(child);
}

}  // namespace orvane::desktop
