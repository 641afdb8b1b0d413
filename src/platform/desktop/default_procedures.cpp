// The default procedures: DefWindowProc, DefFrameProc, DefMDIChildProc,
// for what the shell and the window objects rely on.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/mdi_client.h"
#include "platform/desktop/non_client.h"
#include "platform/desktop/trackers.h"

namespace orvane::desktop {

using raster::IntPoint;
using raster::IntRect;
using raster::Region;

namespace {

platform::CursorShape sizing_cursor(int hit) {
  switch (hit) {
    case HTLEFT: case HTRIGHT: return platform::CursorShape::size_we;
    case HTTOP: case HTBOTTOM: return platform::CursorShape::size_ns;
    case HTTOPLEFT: case HTBOTTOMRIGHT: return platform::CursorShape::size_nwse;
    case HTTOPRIGHT: case HTBOTTOMLEFT: return platform::CursorShape::size_nesw;
    default: return platform::CursorShape::arrow;
  }
}

bool is_sizing_hit(int hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

}  // namespace

LResult Desktop::def_window_proc(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE:
      return 1;
    case WM_NCCALCSIZE: {
      auto* params = pointer_of<NcCalcSizeParams>(lparam);
      if (params) params->rect = NonClient(*this, *w).client_for(params->rect);
      return 0;
    }
    case WM_NCHITTEST:
      return NonClient(*this, *w).hit_test(point_of(lparam));
    case WM_NCPAINT: {
      raster::DeviceContext dc = get_window_dc(hwnd);
      // The client area is the window's own to paint.
      Region outside = dc.clip().value_or(Region());
      outside.subtract(Region(IntRect::from_size(client_origin(*w), w->client.size())));
      dc.set_clip(outside);
      NonClient(*this, *w).draw(dc);
      return 0;
    }
    case WM_NCACTIVATE:
      w->caption_active = wparam != 0;
      if (is_visible(hwnd)) draw_frame(hwnd);
      return 1;
    case WM_ERASEBKGND: {
      auto* dc = reinterpret_cast<raster::DeviceContext*>(wparam);
      if (!dc || !w->window_class || !w->window_class->background) return 0;
      dc->fill_rect(client_rect(hwnd), raster::Brush::solid(*w->window_class->background));
      return 1;
    }
    case WM_PAINT: {
      PaintScope paint(*this, hwnd);
      return 0;
    }
    case WM_SETTEXT: {
      const char* text = pointer_of<const char>(lparam);
      w->text = text ? text : "";
      if (hwnd == host_frame_) screen_.set_title(w->text);
      if (NonClient::has_caption(w->style) && is_visible(hwnd)) draw_frame(hwnd);
      return 1;
    }
    case WM_GETTEXT: {
      char* buffer = pointer_of<char>(lparam);
      if (!buffer || wparam == 0) return 0;
      const std::size_t n = std::min<std::size_t>(w->text.size(), wparam - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = 0;
      return static_cast<LResult>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LResult>(w->text.size());
    case WM_CLOSE:
      destroy_window(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return 1;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = pointer_of<WindowPos>(lparam);
      if (!pos) return 0;
      const int size_type = w->maximised() ? SIZE_MAXIMIZED : SIZE_RESTORED;
      if (!(pos->flags & SWP_NOMOVE)) send_message(hwnd, WM_MOVE, 0, lparam_of(w->client.top_left()));
      if ((w = find(hwnd)) && (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)))
        send_message(hwnd, WM_SIZE, static_cast<WParam>(size_type),
                     make_lparam(w->client.width(), w->client.height()));
      return 0;
    }
    case WM_MOUSEACTIVATE:
      // A child asks its parent first.
      if (w->is_child() && w->parent != root_) {
        const LResult answer = send_message(w->parent, WM_MOUSEACTIVATE, wparam, lparam);
        if (answer) return answer;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (w->is_child() && w->parent != root_ && send_message(w->parent, WM_SETCURSOR, wparam, lparam))
        return 1;
      if (Hwnd{static_cast<std::uint32_t>(wparam)} != hwnd) return 0;
      const int hit = static_cast<std::int16_t>(low_word(static_cast<std::uintptr_t>(lparam)));
      if (hit == HTCLIENT) {
        // The class's cursor; a class without one leaves it to the window.
        if (!w->window_class || !w->window_class->cursor) return 0;
        screen_.set_cursor(*w->window_class->cursor);
        return 1;
      }
      screen_.set_cursor(sizing_cursor(hit));
      return 1;
    }
    case WM_ACTIVATE:
      if (low_word(wparam) != WA_INACTIVE) set_focus(hwnd);
      return 0;
    case WM_NCLBUTTONDOWN: {
      const int hit = static_cast<int>(wparam);
      const IntPoint at = point_of(lparam);
      if (hit == HTCAPTION && !w->maximised() && hwnd != host_frame_) {
        send_message(hwnd, WM_ENTERSIZEMOVE);
        SizeMoveTracker(*this, hwnd, hit, at).run();
      } else if (is_sizing_hit(hit) && !w->maximised()) {
        send_message(hwnd, WM_ENTERSIZEMOVE);
        SizeMoveTracker(*this, hwnd, hit, at).run();
      } else if (hit == HTCLOSE) {
        CloseBoxTracker(*this, hwnd).run();
      } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
        ScrollBarTracker(*this, hwnd, hit == HTVSCROLL, at).run();
      } else if (hit == HTMENU) {
        if (MenuBarHook* bar = menu_bar(hwnd)) bar->mouse_down(*this, hwnd, at);
      }
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      // A double click maximises by the caption; elsewhere it is a second press.
      if (static_cast<int>(wparam) != HTCAPTION) return def_window_proc(hwnd, WM_NCLBUTTONDOWN, wparam, lparam);
      if (w->style & WS_MAXIMIZEBOX)
        send_message(hwnd, WM_SYSCOMMAND, w->maximised() ? SC_RESTORE : SC_MAXIMIZE, lparam);
      return 0;
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_CLOSE: send_message(hwnd, WM_CLOSE); return 0;
        case SC_MAXIMIZE: show_window(hwnd, SW_SHOWMAXIMIZED); return 0;
        case SC_RESTORE: show_window(hwnd, SW_RESTORE); return 0;
        case SC_KEYMENU: {
          const Hwnd frame = top_level(hwnd);
          if (MenuBarHook* bar = menu_bar(frame)) bar->key_menu(*this, frame, static_cast<int>(lparam));
          return 0;
        }
        default: return 0;
      }
    case WM_SYSKEYDOWN:
      if (wparam == VK_F4 && key_down(VK_MENU)) {  // Alt+F4 closes the top-level window
        const Hwnd top = top_level(hwnd);
        if (top) post_message(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSKEYUP:
      // Alt enters menu mode only when pressed and released alone.
      if ((wparam == VK_MENU && std::exchange(alt_alone_, false)) || wparam == VK_F10) {
        const Hwnd top = top_level(hwnd);
        if (top) send_message(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_SYSCHAR: {
      const Hwnd top = top_level(hwnd);
      if (top && wparam != VK_SPACE) send_message(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LParam>(wparam));
      return 0;
    }
    default:
      return 0;
  }
}

LResult Desktop::def_frame_proc(Hwnd hwnd, Hwnd mdi_client, std::uint32_t message, WParam wparam,
                                LParam lparam) {
  switch (message) {
    case WM_SIZE:
      if (is_window(mdi_client)) {
        const IntRect r = client_rect(hwnd);
        move_window(mdi_client, 0, 0, r.width(), r.height());
      }
      return 0;
    case WM_SETFOCUS:
      if (is_window(mdi_client)) set_focus(mdi_client);
      return 0;
    case WM_NCACTIVATE:
      // The active document's caption follows the frame's: inactive while
      // another window (an alert the frame owns) is active.
      if (const MdiClientState* st = mdi_client_state(mdi_client); st && is_window(st->active))
        send_message(st->active, WM_NCACTIVATE, wparam, lparam);
      return def_window_proc(hwnd, message, wparam, lparam);
    default:
      return def_window_proc(hwnd, message, wparam, lparam);
  }
}

LResult Desktop::def_mdi_child_proc(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  const Hwnd client = parent(hwnd);
  if (!mdi_clients_.contains(client)) return def_window_proc(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_CHILDACTIVATE:
      MdiClient(*this, client).activate(hwnd);
      return 0;
    case WM_SETFOCUS:
      if (mdi_clients_.at(client).active != hwnd) MdiClient(*this, client).activate(hwnd);
      return 0;
    case WM_CLOSE:
      send_message(client, WM_MDIDESTROY, static_cast<WParam>(hwnd.value), 0);
      return 0;
    case WM_GETMINMAXINFO:
      return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_NEXTWINDOW) {
        send_message(client, WM_MDINEXT, static_cast<WParam>(hwnd.value), 0);
        return 0;
      }
      return def_window_proc(hwnd, message, wparam, lparam);
    default:
      return def_window_proc(hwnd, message, wparam, lparam);
  }
}

bool Desktop::translate_mdi_sys_accel(Hwnd mdi_client, const Message& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const MdiClientState* st = mdi_client_state(mdi_client);
  if (!st || !is_window(st->active) || !key_down(VK_CONTROL) || key_down(VK_MENU)) return false;
  const Hwnd active = st->active;
  switch (message.wparam) {
    case VK_F4:
      post_message(active, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_F6:
    case VK_TAB:
      post_message(active, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
      return true;
    default:
      return false;
  }
}

const MdiClientState* Desktop::mdi_client_state(Hwnd client) const {
  auto it = mdi_clients_.find(client);
  return it == mdi_clients_.end() ? nullptr : &it->second;
}

// --- Scroll bars -----------------------------------------------------------------------

namespace {
ScrollBar* bar_of(Window* w, int bar) {
  if (!w) return nullptr;
  if (bar == SB_HORZ) return &w->horizontal;
  if (bar == SB_VERT) return &w->vertical;
  return nullptr;
}
}  // namespace

int Desktop::set_scroll_info(Hwnd hwnd, int bar, const ScrollInfo& info, bool redraw) {
  Window* w = find(hwnd);
  ScrollBar* b = bar_of(w, bar);
  if (!b) return 0;
  const int pos = b->set(info);
  if (redraw && is_visible(hwnd)) draw_frame(hwnd);
  return pos;
}

std::optional<ScrollInfo> Desktop::get_scroll_info(Hwnd hwnd, int bar) const {
  const ScrollBar* b = bar_of(const_cast<Window*>(find(hwnd)), bar);
  if (!b) return std::nullopt;
  return b->get();
}

int Desktop::set_scroll_pos(Hwnd hwnd, int bar, int pos, bool redraw) {
  Window* w = find(hwnd);
  ScrollBar* b = bar_of(w, bar);
  if (!b) return 0;
  const int old = b->pos();
  ScrollInfo info;
  info.mask = SIF_POS;
  info.pos = pos;
  set_scroll_info(hwnd, bar, info, redraw);
  return old;
}

int Desktop::get_scroll_pos(Hwnd hwnd, int bar) const {
  const ScrollBar* b = bar_of(const_cast<Window*>(find(hwnd)), bar);
  return b ? b->pos() : 0;
}

bool Desktop::set_scroll_range(Hwnd hwnd, int bar, int min, int max, bool redraw) {
  Window* w = find(hwnd);
  if (!bar_of(w, bar)) return false;
  ScrollInfo info;
  info.mask = SIF_RANGE;
  info.min = min;
  info.max = max;
  set_scroll_info(hwnd, bar, info, redraw);
  return true;
}

bool Desktop::show_scroll_bar(Hwnd hwnd, int bar, bool show) {
  Window* w = find(hwnd);
  if (!w) return false;
  std::uint32_t bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  const std::uint32_t style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return true;
  w->style = style;
  set_window_pos(hwnd, {}, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace orvane::desktop
