#include "platform/desktop/trackers.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/non_client.h"

namespace orvane::desktop {

using raster::IntPoint;
using raster::IntRect;

// --- The loop ----------------------------------------------------------------------

void ModalTracker::run() {
  Desktop& d = desktop_;
  d.set_capture(hwnd_);
  for (;;) {
    if (!d.is_window(hwnd_) || d.capture() != hwnd_) {
      cancelled();
      break;
    }
    Message m;
    if (!d.get_message(m)) {
      d.post_quit_message(static_cast<int>(m.wparam));
      cancelled();
      break;
    }
    if (m.hwnd == hwnd_ && m.message == WM_MOUSEMOVE) {
      moved(d.cursor_position());
    } else if (m.hwnd == hwnd_ && m.message == WM_LBUTTONUP) {
      if (d.capture() == hwnd_) d.release_capture();
      released(d.cursor_position());
      d.kill_timer(hwnd_, ScrollBarTracker::kRepeatTimer);
      return;
    } else if (m.message == WM_KEYDOWN && m.wparam == VK_ESCAPE) {
      cancelled();
      break;
    } else if (m.hwnd == hwnd_ && m.message == WM_TIMER && m.wparam == ScrollBarTracker::kRepeatTimer) {
      ticked();
    } else if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
      // Other presses while tracking are dropped.
    } else {
      d.translate_message(m);
      d.dispatch_message(m);
    }
  }
  d.kill_timer(hwnd_, ScrollBarTracker::kRepeatTimer);
  if (d.capture() == hwnd_) d.release_capture();
}

// --- Moving and sizing ----------------------------------------------------------------

SizeMoveTracker::SizeMoveTracker(Desktop& desktop, Hwnd hwnd, int hit, IntPoint start)
    : ModalTracker(desktop, hwnd), hit_(hit), start_(start), start_rect_(desktop.window_rect_in_parent(hwnd)) {}

void SizeMoveTracker::moved(IntPoint screen) {
  Desktop& d = desktop_;
  const int dx = screen.x - start_.x, dy = screen.y - start_.y;
  IntRect r = start_rect_;
  if (hit_ == HTCAPTION) {
    r = r.translated(dx, dy);
    d.send_message(hwnd_, WM_MOVING, 0, lparam_of_pointer(&r));
    if (d.is_window(hwnd_))
      d.set_window_pos(hwnd_, {}, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  int edge = 0;
  const bool left = hit_ == HTLEFT || hit_ == HTTOPLEFT || hit_ == HTBOTTOMLEFT;
  const bool right = hit_ == HTRIGHT || hit_ == HTTOPRIGHT || hit_ == HTBOTTOMRIGHT;
  const bool top = hit_ == HTTOP || hit_ == HTTOPLEFT || hit_ == HTTOPRIGHT;
  const bool bottom = hit_ == HTBOTTOM || hit_ == HTBOTTOMLEFT || hit_ == HTBOTTOMRIGHT;
  if (left) r.left += dx;
  if (right) r.right += dx;
  if (top) r.top += dy;
  if (bottom) r.bottom += dy;
  // WMSZ_ codes are the hit-test codes less 9.
  edge = hit_ - HTLEFT + WMSZ_LEFT;
  MinMaxInfo info;
  d.fill_min_max(hwnd_, info);
  const int w = std::clamp(r.width(), info.min_track_size.width, std::max(info.min_track_size.width, info.max_track_size.width));
  const int h = std::clamp(r.height(), info.min_track_size.height, std::max(info.min_track_size.height, info.max_track_size.height));
  if (left) r.left = r.right - w; else r.right = r.left + w;
  if (top) r.top = r.bottom - h; else r.bottom = r.top + h;
  if (!d.is_window(hwnd_)) return;
  d.send_message(hwnd_, WM_SIZING, static_cast<WParam>(edge), lparam_of_pointer(&r));
  if (d.is_window(hwnd_))
    d.set_window_pos(hwnd_, {}, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeMoveTracker::released(IntPoint screen) {
  moved(screen);
  if (desktop_.is_window(hwnd_)) desktop_.send_message(hwnd_, WM_EXITSIZEMOVE);
}

void SizeMoveTracker::cancelled() {
  if (!desktop_.is_window(hwnd_)) return;
  const IntRect r = start_rect_;
  desktop_.set_window_pos(hwnd_, {}, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (desktop_.is_window(hwnd_)) desktop_.send_message(hwnd_, WM_EXITSIZEMOVE);
}

// --- Close boxes ----------------------------------------------------------------------------

CloseBoxTracker::CloseBoxTracker(Desktop& desktop, Hwnd hwnd) : ModalTracker(desktop, hwnd) {
  show_pressed(true);
}

bool CloseBoxTracker::over_close_box(IntPoint screen) const {
  if (!desktop_.is_window(hwnd_)) return false;
  return desktop_.send_message(hwnd_, WM_NCHITTEST, 0, lparam_of(screen)) == HTCLOSE;
}

void CloseBoxTracker::show_pressed(bool pressed) {
  Window* w = desktop_.find(hwnd_);
  if (!w || w->close_box_pressed == pressed) return;
  w->close_box_pressed = pressed;
  desktop_.draw_frame(hwnd_);
}

void CloseBoxTracker::moved(IntPoint screen) { show_pressed(over_close_box(screen)); }

void CloseBoxTracker::released(IntPoint screen) {
  show_pressed(false);
  if (over_close_box(screen)) desktop_.send_message(hwnd_, WM_SYSCOMMAND, SC_CLOSE, lparam_of(screen));
}

// --- Scroll bars -----------------------------------------------------------------------------

namespace {
constexpr std::uint32_t kFirstRepeatDelay = 400;
constexpr std::uint32_t kRepeatInterval = 50;
}  // namespace

ScrollBarTracker::ScrollBarTracker(Desktop& desktop, Hwnd hwnd, bool vertical, IntPoint start)
    : ModalTracker(desktop, hwnd), vertical_(vertical), last_(start) {
  const ScrollBar* b = bar();
  if (!b) return;
  const IntRect rect = bar_rect();
  part_ = b->part_at(rect, start);
  const IntRect thumb = b->thumb_rect(rect);
  grab_offset_ = vertical_ ? start.y - thumb.top : start.x - thumb.left;
  switch (part_) {
    case ScrollPart::line_up: send(SB_LINEUP); break;
    case ScrollPart::line_down: send(SB_LINEDOWN); break;
    case ScrollPart::page_up: send(SB_PAGEUP); break;
    case ScrollPart::page_down: send(SB_PAGEDOWN); break;
    default: break;
  }
  if (part_ != ScrollPart::thumb && part_ != ScrollPart::none && desktop_.is_window(hwnd_))
    desktop_.set_timer(hwnd_, kRepeatTimer, kFirstRepeatDelay);
}

const ScrollBar* ScrollBarTracker::bar() const {
  const Window* w = desktop_.find(hwnd_);
  if (!w) return nullptr;
  return vertical_ ? &w->vertical : &w->horizontal;
}

IntRect ScrollBarTracker::bar_rect() const {
  const Window* w = desktop_.find(hwnd_);
  if (!w) return {};
  const IntRect local = NonClient(desktop_, *w).scroll_bar_rect(vertical_);
  return local.translated(desktop_.window_rect(hwnd_).top_left());
}

void ScrollBarTracker::send(int code, int pos) {
  if (!desktop_.is_window(hwnd_)) return;
  desktop_.send_message(hwnd_, vertical_ ? WM_VSCROLL : WM_HSCROLL, make_wparam(code, pos), 0);
}

void ScrollBarTracker::moved(IntPoint screen) {
  last_ = screen;
  if (part_ != ScrollPart::thumb) return;
  Window* w = desktop_.find(hwnd_);
  if (!w) return;
  ScrollBar& b = vertical_ ? w->vertical : w->horizontal;
  const IntRect rect = bar_rect();
  const int offset = (vertical_ ? screen.y - rect.top : screen.x - rect.left) - kScrollBarSize - grab_offset_;
  const int pos = b.pos_for_thumb_offset(rect, offset);
  if (pos == b.track_pos()) return;
  b.set_track_pos(pos);
  desktop_.draw_frame(hwnd_);
  send(SB_THUMBTRACK, pos);
}

void ScrollBarTracker::ticked() {
  const ScrollBar* b = bar();
  if (!b) return;
  desktop_.set_timer(hwnd_, kRepeatTimer, kRepeatInterval);
  // Repeats only while the mouse stays on the part it pressed.
  if (b->part_at(bar_rect(), last_) != part_) return;
  switch (part_) {
    case ScrollPart::line_up: send(SB_LINEUP); break;
    case ScrollPart::line_down: send(SB_LINEDOWN); break;
    case ScrollPart::page_up: send(SB_PAGEUP); break;
    case ScrollPart::page_down: send(SB_PAGEDOWN); break;
    default: break;
  }
}

void ScrollBarTracker::released(IntPoint screen) {
  desktop_.kill_timer(hwnd_, kRepeatTimer);
  if (part_ == ScrollPart::thumb) {
    moved(screen);
    if (const ScrollBar* b = bar()) send(SB_THUMBPOSITION, b->track_pos());
  }
  send(SB_ENDSCROLL);
  if (Window* w = desktop_.find(hwnd_)) {
    ScrollBar& b = vertical_ ? w->vertical : w->horizontal;
    b.set_track_pos(b.pos());
    desktop_.draw_frame(hwnd_);
  }
}

}  // namespace orvane::desktop
