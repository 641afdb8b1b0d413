#include "platform/desktop/menu_tracker.h"

#include <algorithm>

#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

using raster::IntPoint;
using raster::IntRect;

namespace {

bool is_mouse_message(std::uint32_t m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

// The mouse messages as client-area numbers (the non-client forms mapped).
std::uint32_t client_form(std::uint32_t m) {
  if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) return m - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
  return m;
}

// Keeps a rectangle of that size on the screen, preferring `at`; when it
// does not fit below or right, it goes above or left of `flip_from`.
IntRect place(IntPoint at, raster::IntSize size, raster::IntSize screen, const IntRect& flip_from) {
  IntRect r = IntRect::from_size(at, size);
  if (r.right > screen.width) {
    const int left = flip_from.empty() ? screen.width - size.width : flip_from.left - size.width;
    r = r.translated(std::max(0, left) - r.left, 0);
  }
  if (r.bottom > screen.height) {
    const int top = flip_from.empty() ? screen.height - size.height : flip_from.top - size.height;
    r = r.translated(0, std::max(0, top) - r.top);
  }
  return r.translated(std::max(0, -r.left), std::max(0, -r.top));
}

}  // namespace

// --- The bar hook ---------------------------------------------------------------

const std::vector<MenuItem>& FrameMenuBar::items() const {
  static const std::vector<MenuItem> kNone;
  const std::vector<MenuItem>* items = menus_.items(menu_);
  return items ? *items : kNone;
}

BarLayout FrameMenuBar::layout() const {
  const raster::IntRect bar = menus_.menu_bar_rect(frame_);
  const int width = bar.empty() ? menus_.desktop().window_rect(frame_).width() : bar.width();
  return layout_bar(items(), width);
}

int FrameMenuBar::height(int frame_width) const {
  // The bar spans the frame's width less its borders; the borders are
  // found from the client area's inset, which does not depend on the bar.
  Desktop& desktop = menus_.desktop();
  int width = frame_width;
  if (desktop.is_window(frame_)) {
    const int inset = desktop.client_to_screen(frame_, {0, 0}).x - desktop.window_rect(frame_).left;
    width = std::max(1, frame_width - 2 * inset);
  }
  return layout_bar(items(), width).height;
}

void FrameMenuBar::paint(raster::DeviceContext& dc, const raster::IntRect& bar) {
  paint_bar(dc, bar, items(), layout_bar(items(), bar.width()), selected_);
}

void FrameMenuBar::set_selected(int index) {
  if (index == selected_) return;
  selected_ = index;
  repaint();
}

void FrameMenuBar::repaint() {
  Desktop& desktop = menus_.desktop();
  if (!desktop.is_window(frame_) || desktop.menu_bar(frame_) != this) return;
  const IntRect bar = menus_.menu_bar_rect(frame_);
  if (bar.empty()) return;
  const IntRect window = desktop.window_rect(frame_);
  raster::DeviceContext dc = desktop.get_window_dc(frame_);
  const IntRect local = bar.translated(-window.left, -window.top);
  dc.intersect_clip_rect(local);
  paint(dc, local);
  desktop.mark_dirty(bar);
}

void FrameMenuBar::mouse_down(Desktop& desktop, Hwnd frame, raster::IntPoint screen_point) {
  if (menus_.tracking() || !desktop.is_window(frame)) return;
  const std::vector<IntRect> rects = menus_.menu_bar_item_rects(frame);
  int index = -1;
  for (std::size_t i = 0; i < rects.size(); ++i)
    if (rects[i].contains(screen_point)) index = static_cast<int>(i);
  MenuTracker tracker(menus_, frame, this, 0);
  tracker.start_with_bar_press(index);
  menus_.run_tracker(tracker);
}

void FrameMenuBar::key_menu(Desktop& desktop, Hwnd frame, int character) {
  if (menus_.tracking() || !desktop.is_window(frame) || items().empty()) return;
  MenuTracker tracker(menus_, frame, this, 0);
  tracker.start_with_key(static_cast<char>(character));
  menus_.run_tracker(tracker);
}

// --- The tracker ------------------------------------------------------------------

MenuTracker::MenuTracker(Menus& menus, Hwnd owner, FrameMenuBar* bar, std::uint32_t flags)
    : menus_(menus), desktop_(menus.desktop()), owner_(owner), bar_(bar), flags_(flags) {}

MenuTracker::~MenuTracker() { leave(); }

Hmenu MenuTracker::bar_menu() const { return bar_ ? bar_->menu() : Hmenu{}; }

int MenuTracker::bar_item_count() const {
  return bar_ ? static_cast<int>(bar_->items().size()) : 0;
}

const std::vector<MenuItem>* MenuTracker::items_of(Hmenu menu) const { return menus_.items(menu); }

const MenuItem* MenuTracker::item_at(int level, int index) const {
  const std::vector<MenuItem>* items =
      level < 0 ? (bar_ ? &bar_->items() : nullptr) : items_of(levels_[static_cast<std::size_t>(level)].menu);
  if (!items || index < 0 || index >= static_cast<int>(items->size())) return nullptr;
  return &(*items)[static_cast<std::size_t>(index)];
}

void MenuTracker::enter() {
  entered_ = true;
  desktop_.set_capture(owner_);
  if (flags_ & TPM_NONOTIFY) return;
  desktop_.send_message(owner_, WM_ENTERMENULOOP, bar_ ? 0 : 1, 0);
  if (bar_) desktop_.send_message(owner_, WM_INITMENU, bar_menu().value, 0);
}

void MenuTracker::leave() {
  if (!entered_) return;
  entered_ = false;
  close_levels_from(0);
  if (bar_) bar_->set_selected(-1);
  if (desktop_.capture() == owner_) desktop_.release_capture();
  const bool owner_alive = desktop_.is_window(owner_);
  if (owner_alive && !(flags_ & TPM_NONOTIFY)) {
    desktop_.send_message(owner_, WM_MENUSELECT, make_wparam(0, 0xffff), 0);
    desktop_.send_message(owner_, WM_EXITMENULOOP, bar_ ? 0 : 1, 0);
  }
  if (chosen_ && owner_alive && !(flags_ & TPM_RETURNCMD))
    desktop_.post_message(owner_, WM_COMMAND, make_wparam(*chosen_, 0), 0);
  if (quit_code_) desktop_.post_quit_message(*quit_code_);
}

void MenuTracker::notify_select(Hmenu menu, int index) {
  if ((flags_ & TPM_NONOTIFY) || !desktop_.is_window(owner_)) return;
  const std::vector<MenuItem>* items = items_of(menu);
  if (!items || index < 0 || index >= static_cast<int>(items->size())) return;
  const MenuItem& item = (*items)[static_cast<std::size_t>(index)];
  const int flags = static_cast<int>(item.flags & 0xffff) | (button_down_ ? MF_MOUSESELECT : 0);
  const int code = item.popup() ? index : item.id;
  desktop_.send_message(owner_, WM_MENUSELECT, make_wparam(code, flags), static_cast<LParam>(menu.value));
}

void MenuTracker::start_with_bar_press(int bar_item) {
  enter();
  button_down_ = true;
  // A press on the bar beside its items opens nothing.
  if (bar_item < 0) done_ = true;
  else select_bar(bar_item, true, false);
}

void MenuTracker::start_with_key(char character) {
  enter();
  if (character == 0) {
    select_bar(next_selectable(-1, -1, 1), false, false);
    return;
  }
  if (bar_item_count() == 0) {
    done_ = true;
    return;
  }
  on_character(character);
  // A character that names no bar item leaves menu mode at once.
  if (!bar_ || bar_->selected() < 0) done_ = true;
}

void MenuTracker::start_with_popup(Hmenu popup, IntPoint point) {
  enter();
  if (!(flags_ & TPM_NONOTIFY)) desktop_.send_message(owner_, WM_INITMENU, popup.value, 0);
  button_down_ = desktop_.key_down(VK_LBUTTON) || ((flags_ & TPM_RIGHTBUTTON) && desktop_.key_down(VK_RBUTTON));
  const std::vector<MenuItem>* items = items_of(popup);
  if (!items) {
    done_ = true;
    return;
  }
  // Alignment needs the size, known once WM_INITMENUPOPUP has run; the
  // anchor is moved after opening.
  if (!open_popup(popup, IntRect{point.x, point.y, point.x, point.y}, false, 0, false)) {
    done_ = true;
    return;
  }
  Level& level = levels_.back();
  int x = point.x, y = point.y;
  if (flags_ & TPM_RIGHTALIGN) x -= level.rect.width();
  else if (flags_ & TPM_CENTERALIGN) x -= level.rect.width() / 2;
  if (flags_ & TPM_BOTTOMALIGN) y -= level.rect.height();
  else if (flags_ & TPM_VCENTERALIGN) y -= level.rect.height() / 2;
  const IntRect placed = place({x, y}, level.rect.size(), desktop_.framebuffer().bounds().size(), {});
  if (placed != level.rect) {
    level.rect = placed;
    desktop_.set_window_pos(level.window, Desktop::kTopmost, placed.left, placed.top, placed.width(),
                            placed.height(), SWP_NOACTIVATE);
  }
}

bool MenuTracker::open_popup(Hmenu menu, IntRect anchor, bool beside, int parent_index, bool select_first) {
  if (!menus_.is_menu(menu)) return false;
  if (!(flags_ & TPM_NONOTIFY))
    desktop_.send_message(owner_, WM_INITMENUPOPUP, menu.value, make_lparam(parent_index, 0));
  // The handler may have destroyed the menu or ended the menu mode.
  const std::vector<MenuItem>* items = items_of(menu);
  if (done_ || !items || !desktop_.is_window(owner_)) return false;

  Level level;
  level.menu = menu;
  const raster::IntSize screen = desktop_.framebuffer().bounds().size();
  const IntPoint at = beside ? IntPoint{anchor.right - 3, anchor.top - 3} : IntPoint{anchor.left, anchor.bottom};
  // A long menu goes on in columns rather than covering what opened it: a
  // pop-up under the bar keeps below it, a sub-menu has the screen's height.
  const int room = beside ? screen.height : std::max(screen.height - at.y, screen.height / 2);
  level.layout = layout_popup(*items, room);
  const IntRect flip = beside ? IntRect{anchor.left + 3, anchor.bottom + 3, anchor.left + 3, anchor.bottom + 3}
                              : IntRect{anchor.left, anchor.top, anchor.left, anchor.top};
  level.rect = place(at, level.layout.size, screen, flip);

  CreateParams params;
  params.class_name = "#32768";
  params.style = WS_POPUP | WS_CLIPSIBLINGS;
  params.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.x = level.rect.left;
  params.y = level.rect.top;
  params.width = level.rect.width();
  params.height = level.rect.height();
  params.parent = owner_;
  level.window = desktop_.create_window(params);
  if (!level.window) return false;
  desktop_.set_window_proc(level.window, [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
    switch (m) {
      case WM_PAINT: {
        PaintScope scope(d, h);
        paint_popup_window(h, scope.dc());
        return 0;
      }
      case WM_ERASEBKGND: return 1;
      case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
      default: return d.def_window_proc(h, m, w, l);
    }
  });
  levels_.push_back(std::move(level));
  const Hwnd window = levels_.back().window;
  desktop_.set_window_pos(window, Desktop::kTopmost, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (select_first) select_in_level(static_cast<int>(levels_.size()) - 1,
                                    next_selectable(static_cast<int>(levels_.size()) - 1, -1, 1), false, false);
  return true;
}

void MenuTracker::close_levels_from(int level) {
  while (static_cast<int>(levels_.size()) > std::max(0, level)) {
    const Hwnd window = levels_.back().window;
    levels_.pop_back();
    if (desktop_.is_window(window)) desktop_.destroy_window(window);
  }
}

void MenuTracker::redraw_level(int level) {
  if (level < 0 || level >= static_cast<int>(levels_.size())) return;
  const Level& l = levels_[static_cast<std::size_t>(level)];
  if (!desktop_.is_window(l.window)) return;
  raster::DeviceContext dc = desktop_.get_dc(l.window);
  paint_popup_window(l.window, dc);
  desktop_.mark_dirty(l.rect);
}

void MenuTracker::paint_popup_window(Hwnd hwnd, raster::DeviceContext& dc) {
  for (const Level& level : levels_) {
    if (level.window != hwnd) continue;
    const std::vector<MenuItem>* items = items_of(level.menu);
    if (items) paint_popup(dc, *items, level.layout, level.selected);
    return;
  }
}

void MenuTracker::select_bar(int index, bool open, bool select_first) {
  if (!bar_ || index < 0 || index >= bar_item_count()) return;
  const bool changed = bar_->selected() != index;
  if (changed || !open) close_levels_from(0);
  bar_->set_selected(index);
  if (changed) notify_select(bar_menu(), index);
  const MenuItem* item = item_at(-1, index);
  if (open && item && item->popup() && !item->disabled() && levels_.empty()) {
    const std::vector<IntRect> rects = menus_.menu_bar_item_rects(owner_);
    if (index < static_cast<int>(rects.size())) open_popup(item->sub_menu, rects[static_cast<std::size_t>(index)], false, index, select_first);
  }
}

void MenuTracker::select_in_level(int level, int index, bool open_sub, bool select_first) {
  if (level < 0 || level >= static_cast<int>(levels_.size())) return;
  // A copy: the notifications below may change the menu.
  MenuItem copy;
  const MenuItem* found = item_at(level, index);
  const auto laid_out = levels_[static_cast<std::size_t>(level)].layout.items.size();
  if (found && !found->separator() && index < static_cast<int>(laid_out)) {
    copy = *found;
  } else {
    index = -1;
  }
  const MenuItem* item = index >= 0 ? &copy : nullptr;
  // A sub-menu already open from this very item stays open.
  const bool keeps_child = item && item->popup() && level + 1 < static_cast<int>(levels_.size()) &&
                           levels_[static_cast<std::size_t>(level) + 1].menu == item->sub_menu;
  if (!keeps_child) close_levels_from(level + 1);
  Level& current = levels_[static_cast<std::size_t>(level)];
  if (current.selected != index) {
    current.selected = index;
    redraw_level(level);
    if (index >= 0) notify_select(current.menu, index);
  }
  if (open_sub && item && item->popup() && !item->disabled() && !keeps_child) {
    const IntRect anchor = current.layout.items[static_cast<std::size_t>(index)].translated(current.rect.left, current.rect.top);
    open_popup(item->sub_menu, {current.rect.left, anchor.top, current.rect.right, anchor.bottom}, true, index,
               select_first);
  }
}

int MenuTracker::next_selectable(int level, int from, int step) const {
  const int count = level < 0 ? bar_item_count()
                              : static_cast<int>(items_of(levels_[static_cast<std::size_t>(level)].menu)
                                                     ? items_of(levels_[static_cast<std::size_t>(level)].menu)->size()
                                                     : 0);
  if (count == 0) return -1;
  int index = from;
  for (int tries = 0; tries < count; ++tries) {
    index = ((index + step) % count + count) % count;
    const MenuItem* item = item_at(level, index);
    if (item && !item->separator()) return index;
  }
  return -1;
}

void MenuTracker::choose(const MenuItem& item) {
  chosen_ = item.id;
  done_ = true;
}

void MenuTracker::activate(int level, int index) {
  const MenuItem* item = item_at(level, index);
  if (!item || item->separator()) return;
  if (item->disabled()) {
    // A disabled item is never chosen; the keyboard leaves the menu, as Win32 does.
    done_ = true;
    return;
  }
  if (item->popup()) {
    if (level < 0)
      select_bar(index, true, true);
    else
      select_in_level(level, index, true, true);
    return;
  }
  choose(*item);
}

MenuTracker::Hit MenuTracker::hit_test(IntPoint p) const {
  for (int level = static_cast<int>(levels_.size()) - 1; level >= 0; --level) {
    const Level& l = levels_[static_cast<std::size_t>(level)];
    if (!l.rect.contains(p)) continue;
    Hit hit{level, -1, true};
    const IntPoint local{p.x - l.rect.left, p.y - l.rect.top};
    for (std::size_t i = 0; i < l.layout.items.size(); ++i)
      if (l.layout.items[i].contains(local)) hit.item = static_cast<int>(i);
    return hit;
  }
  if (bar_) {
    const std::vector<IntRect> rects = menus_.menu_bar_item_rects(owner_);
    for (std::size_t i = 0; i < rects.size(); ++i)
      if (rects[i].contains(p)) return Hit{-1, static_cast<int>(i), true};
    if (menus_.menu_bar_rect(owner_).contains(p)) return Hit{-1, -1, true};
  }
  return {};
}

void MenuTracker::on_mouse(const Message& m) {
  const std::uint32_t kind = client_form(m.message);
  const bool right_too = (flags_ & TPM_RIGHTBUTTON) != 0 && !bar_;
  const bool is_down = kind == WM_LBUTTONDOWN || kind == WM_LBUTTONDBLCLK ||
                       (right_too && (kind == WM_RBUTTONDOWN || kind == WM_RBUTTONDBLCLK));
  const bool is_up = kind == WM_LBUTTONUP || (right_too && kind == WM_RBUTTONUP);
  const Hit hit = hit_test(m.pt);

  if (is_down) {
    if (!hit.on_menu) {
      done_ = true;  // a press outside every menu leaves it (and is eaten)
      return;
    }
    if (hit.level < 0 && hit.item >= 0 && bar_->selected() == hit.item && !levels_.empty()) {
      done_ = true;  // a second press on the open bar item closes it
      return;
    }
    button_down_ = true;
  } else if (is_up) {
    button_down_ = false;
  } else if (kind != WM_MOUSEMOVE) {
    return;  // other buttons do nothing while a menu is open
  }

  if (hit.level < 0 && hit.item >= 0) {
    const bool open = is_down || button_down_ || !levels_.empty();
    if (bar_->selected() != hit.item || (open && levels_.empty())) select_bar(hit.item, open, false);
    if (is_up) {
      const MenuItem* item = item_at(-1, hit.item);
      if (item && !item->popup() && !item->disabled() && !item->separator()) choose(*item);
    }
    return;
  }
  if (hit.level >= 0) {
    select_in_level(hit.level, hit.item, true, false);
    if (is_up) {
      const MenuItem* item = item_at(hit.level, hit.item);
      if (item && !item->popup() && !item->disabled() && !item->separator()) choose(*item);
    }
    return;
  }
  // Outside every menu: the deepest pop-up loses its highlight unless a
  // sub-menu hangs from it.
  if (!levels_.empty() && kind == WM_MOUSEMOVE) {
    const int last = static_cast<int>(levels_.size()) - 1;
    const MenuItem* item = item_at(last, levels_.back().selected);
    if (!(item && item->popup())) select_in_level(last, -1, false, false);
  }
  if (is_up && !hit.on_menu && levels_.empty()) done_ = true;
}

void MenuTracker::on_key_down(std::uint8_t key) {
  const int depth = static_cast<int>(levels_.size());
  const int last = depth - 1;
  switch (key) {
    case VK_MENU:
    case VK_F10:
      done_ = true;
      return;
    case VK_ESCAPE:
      if (depth == 0) {
        done_ = true;
      } else {
        close_levels_from(last);
        if (levels_.empty() && !bar_) done_ = true;
      }
      return;
    case VK_UP:
    case VK_DOWN: {
      const int step = key == VK_DOWN ? 1 : -1;
      if (depth > 0) {
        select_in_level(last, next_selectable(last, levels_.back().selected < 0 && step < 0 ? 0 : levels_.back().selected, step),
                        false, false);
      } else if (bar_ && bar_->selected() >= 0) {
        activate(-1, bar_->selected());
      }
      return;
    }
    case VK_LEFT:
    case VK_RIGHT: {
      if (key == VK_RIGHT && depth > 0) {
        const MenuItem* item = item_at(last, levels_.back().selected);
        if (item && item->popup() && !item->disabled()) {
          select_in_level(last, levels_.back().selected, true, true);
          return;
        }
      }
      if (key == VK_LEFT && depth > 1) {
        close_levels_from(last);
        return;
      }
      if (bar_ && bar_->selected() >= 0) {
        const bool reopen = depth > 0;
        const int next = next_selectable(-1, bar_->selected(), key == VK_RIGHT ? 1 : -1);
        close_levels_from(0);
        select_bar(next, reopen, true);
      }
      return;
    }
    case VK_RETURN:
      if (depth > 0) {
        if (levels_.back().selected >= 0) activate(last, levels_.back().selected);
      } else if (bar_ && bar_->selected() >= 0) {
        activate(-1, bar_->selected());
      }
      return;
    default:
      return;
  }
}

void MenuTracker::on_character(char c) {
  const char wanted = lower_key(c);
  if (wanted == 0) return;
  const int level = levels_.empty() ? -1 : static_cast<int>(levels_.size()) - 1;
  const std::vector<MenuItem>* items = level < 0 ? (bar_ ? &bar_->items() : nullptr)
                                                 : items_of(levels_.back().menu);
  if (!items) return;
  std::vector<int> matches;
  for (std::size_t i = 0; i < items->size(); ++i) {
    const MenuItem& item = (*items)[i];
    if (!item.separator() && parse_label(item.text.substr(0, item.text.find('\t'))).mnemonic() == wanted)
      matches.push_back(static_cast<int>(i));
  }
  if (matches.empty()) return;
  if (matches.size() == 1) {
    activate(level, matches.front());
    return;
  }
  // Several items share the mnemonic: each press highlights the next.
  const int current = level < 0 ? bar_->selected() : levels_.back().selected;
  auto next = std::upper_bound(matches.begin(), matches.end(), current);
  const int index = next == matches.end() ? matches.front() : *next;
  if (level < 0)
    select_bar(index, false, false);
  else
    select_in_level(level, index, false, false);
}

void MenuTracker::run() {
  while (!done_) {
    if (!desktop_.is_window(owner_) || (bar_ && !menus_.is_menu(bar_menu()))) break;
    for (std::size_t i = 0; i < levels_.size(); ++i) {
      if (!menus_.is_menu(levels_[i].menu)) {
        close_levels_from(static_cast<int>(i));
        break;
      }
    }
    if (levels_.empty() && !bar_) break;
    Message m;
    if (!desktop_.get_message(m)) {
      quit_code_ = static_cast<int>(m.wparam);
      break;
    }
    if (is_mouse_message(m.message)) {
      on_mouse(m);
    } else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
      desktop_.translate_message(m);
      on_key_down(static_cast<std::uint8_t>(m.wparam));
    } else if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
      on_character(static_cast<char>(m.wparam));
    } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP || m.message == WM_DEADCHAR ||
               m.message == WM_SYSDEADCHAR) {
      continue;
    } else {
      desktop_.dispatch_message(m);
    }
  }
  leave();
}

}  // namespace orvane::desktop
