// The "ListBox" control: a column of strings, one selected, scrolled by the
// standard vertical scroll bar when they do not fit.
#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/desktop/controls.h"
#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

namespace {

struct ListState {
  std::vector<std::string> items;
  int selected = -1;
  int top = 0;
};

using ListStore = std::unordered_map<Hwnd, ListState>;

int row_height() {
  const fonts::Font* font = dialog_font();
  return font ? font->metrics().line_height : 13;
}

int visible_rows(Desktop& desktop, Hwnd hwnd) {
  return std::max(1, (desktop.client_rect(hwnd).height() - 2) / row_height());
}

void update_scroll_bar(Desktop& desktop, Hwnd hwnd, ListState& list) {
  const int rows = visible_rows(desktop, hwnd);
  list.top = std::clamp(list.top, 0, std::max(0, static_cast<int>(list.items.size()) - rows));
  if (!(desktop.style(hwnd) & WS_VSCROLL)) return;
  ScrollInfo info;
  info.mask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.min = 0;
  info.max = std::max(0, static_cast<int>(list.items.size()) - 1);
  info.page = static_cast<unsigned>(rows);
  info.pos = list.top;
  desktop.set_scroll_info(hwnd, SB_VERT, info, true);
}

void changed(Desktop& desktop, Hwnd hwnd, ListState& list) {
  update_scroll_bar(desktop, hwnd, list);
  desktop.invalidate_rect(hwnd, nullptr, false);
}

void make_visible(Desktop& desktop, Hwnd hwnd, ListState& list) {
  if (list.selected < 0) return;
  const int rows = visible_rows(desktop, hwnd);
  if (list.selected < list.top) list.top = list.selected;
  if (list.selected >= list.top + rows) list.top = list.selected - rows + 1;
}

void select(Desktop& desktop, Hwnd hwnd, ListState& list, int index, bool notify) {
  index = list.items.empty() ? -1 : std::clamp(index, 0, static_cast<int>(list.items.size()) - 1);
  if (index == list.selected) return;
  list.selected = index;
  make_visible(desktop, hwnd, list);
  changed(desktop, hwnd, list);
  const Hwnd parent = desktop.parent(hwnd);
  if (notify && parent && (desktop.style(hwnd) & LBS_NOTIFY))
    desktop.send_message(parent, WM_COMMAND, make_wparam(desktop.id(hwnd), LBN_SELCHANGE),
                         static_cast<LParam>(hwnd.value));
}

void paint(Desktop& desktop, Hwnd hwnd, const ListState& list, raster::DeviceContext& dc) {
  const raster::IntRect client = desktop.client_rect(hwnd);
  look::fill(dc, client, look::window);
  const fonts::Font* font = dialog_font();
  if (!font) return;
  const int h = row_height();
  const bool focused = desktop.focus() == hwnd;
  for (int i = list.top, y = 1; i < static_cast<int>(list.items.size()) && y < client.bottom; ++i, y += h) {
    const raster::IntRect row{1, y, client.right - 1, y + h};
    const bool selected = i == list.selected;
    if (selected) look::fill(dc, row, focused ? look::selection : look::face);
    font->draw(dc, {row.left + 2, y}, list.items[static_cast<std::size_t>(i)],
               fonts::TextPaint::solid(selected && focused ? look::selection_text : look::text));
    if (selected && focused) look::focus_rect(dc, row);
  }
}

LResult procedure(ListStore& store, Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam,
                  LParam lparam) {
  if (message == WM_NCDESTROY) {
    store.erase(hwnd);
    return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
  ListState& list = store[hwnd];
  const int count = static_cast<int>(list.items.size());
  switch (message) {
    case WM_PAINT: {
      PaintScope scope(desktop, hwnd);
      paint(desktop, hwnd, list, scope.dc());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: update_scroll_bar(desktop, hwnd, list); return 0;
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      const char* text = pointer_of<const char>(lparam);
      int at = message == LB_ADDSTRING || static_cast<int>(wparam) < 0 || static_cast<int>(wparam) > count
                   ? count
                   : static_cast<int>(wparam);
      list.items.insert(list.items.begin() + at, text ? text : "");
      if (list.selected >= at) ++list.selected;
      changed(desktop, hwnd, list);
      return at;
    }
    case LB_DELETESTRING: {
      const int at = static_cast<int>(wparam);
      if (at < 0 || at >= count) return LB_ERR;
      list.items.erase(list.items.begin() + at);
      if (list.selected == at) list.selected = -1;
      else if (list.selected > at) --list.selected;
      changed(desktop, hwnd, list);
      return count - 1;
    }
    case LB_RESETCONTENT:
      list = ListState{};
      changed(desktop, hwnd, list);
      return 0;
    case LB_SETCURSEL: {
      const int at = static_cast<int>(static_cast<std::intptr_t>(wparam));
      if (at < 0 || at >= count) {
        list.selected = -1;
        changed(desktop, hwnd, list);
        return at == -1 ? 0 : LB_ERR;
      }
      select(desktop, hwnd, list, at, false);
      return at;
    }
    case LB_GETCURSEL: return list.selected;
    case LB_GETCOUNT: return count;
    case LB_GETTOPINDEX: return list.top;
    case LB_SETTOPINDEX:
      list.top = static_cast<int>(wparam);
      changed(desktop, hwnd, list);
      return 0;
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
      const int at = static_cast<int>(wparam);
      if (at < 0 || at >= count) return LB_ERR;
      const std::string& text = list.items[static_cast<std::size_t>(at)];
      if (message == LB_GETTEXT)
        if (auto* out = pointer_of<std::string>(lparam)) *out = text;
      return static_cast<LResult>(text.size());
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      desktop.set_focus(hwnd);
      const int row = list.top + (point_of(lparam).y - 1) / row_height();
      if (row >= 0 && row < count) {
        select(desktop, hwnd, list, row, true);
        const Hwnd parent = desktop.parent(hwnd);
        if (message == WM_LBUTTONDBLCLK && parent && (desktop.style(hwnd) & LBS_NOTIFY))
          desktop.send_message(parent, WM_COMMAND, make_wparam(desktop.id(hwnd), LBN_DBLCLK),
                               static_cast<LParam>(hwnd.value));
      }
      return 0;
    }
    case WM_KEYDOWN: {
      const int rows = visible_rows(desktop, hwnd);
      switch (wparam) {
        case VK_UP: select(desktop, hwnd, list, list.selected < 0 ? 0 : list.selected - 1, true); break;
        case VK_DOWN: select(desktop, hwnd, list, list.selected + 1, true); break;
        case VK_PRIOR: select(desktop, hwnd, list, list.selected - rows, true); break;
        case VK_NEXT: select(desktop, hwnd, list, list.selected + rows, true); break;
        case VK_HOME: select(desktop, hwnd, list, 0, true); break;
        case VK_END: select(desktop, hwnd, list, count - 1, true); break;
        default: break;
      }
      return 0;
    }
    case WM_VSCROLL: {
      const int rows = visible_rows(desktop, hwnd);
      switch (low_word(wparam)) {
        case SB_LINEUP: --list.top; break;
        case SB_LINEDOWN: ++list.top; break;
        case SB_PAGEUP: list.top -= rows; break;
        case SB_PAGEDOWN: list.top += rows; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: list.top = high_word(wparam); break;
        case SB_TOP: list.top = 0; break;
        case SB_BOTTOM: list.top = count; break;
        default: return 0;
      }
      changed(desktop, hwnd, list);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      const LResult r = desktop.def_window_proc(hwnd, message, wparam, lparam);
      desktop.invalidate_rect(hwnd, nullptr, false);
      return r;
    }
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

}  // namespace

void register_list_box_class(Desktop& desktop) {
  if (desktop.find_class(kListBoxClass)) return;
  WindowClass c;
  c.name = std::string(kListBoxClass);
  c.style = CS_DBLCLKS;
  // The lists' contents, kept by the class's procedure for as long as it lives.
  auto store = std::make_shared<ListStore>();
  c.procedure = [store](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) {
    return procedure(*store, d, h, m, w, l);
  };
  desktop.register_class(std::move(c));
}

}  // namespace orvane::desktop
