// Messages: sending, posting, the queue's order (posted and input
// messages, then WM_QUIT, then WM_PAINT, then WM_TIMER), waiting when idle,
// translation of keys into characters, timers; focus, capture, activation.
#include <algorithm>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_router.h"

namespace orvane::desktop {

using raster::IntPoint;

// --- Sending and posting ------------------------------------------------------------

LResult Desktop::call_procedure(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  // The window object stays allocated while its procedure runs, even when
  // the procedure destroys the window: freed windows wait in the graveyard
  // until the outermost call returns.
  return call_window_proc(w->procedure, hwnd, message, wparam, lparam);
}

LResult Desktop::send_message(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  return call_procedure(hwnd, message, wparam, lparam);
}

Message Desktop::make_message(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) const {
  return Message{hwnd, message, wparam, lparam, clock_.milliseconds(), cursor_};
}

bool Desktop::post_message(Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  if (hwnd && !find(hwnd)) return false;
  queue_.post(make_message(hwnd, message, wparam, lparam));
  return true;
}

void Desktop::post_quit_message(int code) { queue_.post_quit(code); }

// --- Taking messages ------------------------------------------------------------------

std::optional<platform::InputEvent> Desktop::next_raw_event() {
  if (lookahead_) return std::exchange(lookahead_, std::nullopt);
  return screen_.poll_input();
}

void Desktop::pump_input() {
  using Kind = platform::InputEvent::Kind;
  InputRouter router(*this);
  while (!queue_.has_input()) {
    auto event = next_raw_event();
    if (!event) return;
    if (event->kind == Kind::mouse_move) {
      // Moves that follow each other become one.
      while (auto next = next_raw_event()) {
        if (next->kind != Kind::mouse_move) {
          lookahead_ = std::move(next);
          break;
        }
        event = std::move(next);
      }
    }
    router.route(*event);
    if (event->kind == Kind::key_down) {
      // The text a key typed travels with it.
      if (auto next = next_raw_event()) {
        if (next->kind == Kind::text) router.route(*next);
        else lookahead_ = std::move(next);
      }
    }
  }
}

bool Desktop::button_still_down() const {
  if (!key_down(VK_LBUTTON)) return false;
  return !queue_.any([](const Message& m) { return m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP; });
}

bool Desktop::take_message(Message& out, const MessageFilter& filter, bool remove) {
  if (auto entry = queue_.take(filter, remove)) {
    out = entry->message;
    message_time_ = out.time;
    if (remove && (out.message == WM_KEYDOWN || out.message == WM_SYSKEYDOWN))
      last_typed_key_ = TypedKey{out, entry->text};
    return true;
  }
  if (auto code = queue_.quit_code(); code && filter.wants_number(WM_QUIT)) {
    out = make_message({}, WM_QUIT, static_cast<WParam>(*code), 0);
    if (remove) queue_.clear_quit();
    return true;
  }
  if (filter.wants_number(WM_PAINT)) {
    paint_root();
    if (auto h = find_paint_window(filter.hwnd)) {
      out = make_message(*h, WM_PAINT, 0, 0);
      return true;
    }
  }
  if (filter.wants_number(WM_TIMER)) {
    const std::uint64_t now = clock_.milliseconds();
    auto timer = remove ? timers_.take_due(now, filter.hwnd) : timers_.peek_due(now, filter.hwnd);
    if (timer) {
      out = make_message(timer->hwnd, WM_TIMER, timer->id, 0);
      message_time_ = out.time;
      return true;
    }
  }
  return false;
}

// The first window, parents before children and front before back, that
// has something to paint. Frames waiting to be drawn are drawn on the way.
std::optional<Hwnd> Desktop::find_paint_window(Hwnd filter) {
  std::vector<Hwnd> stack{root_};
  while (!stack.empty()) {
    const Hwnd h = stack.back();
    stack.pop_back();
    const Window* w = find(h);
    if (!w || !w->visible() || w->destroying) continue;
    if (w->frame_pending) {
      draw_frame(h);
      if (!(w = find(h))) continue;
    }
    if (h != root_ && !w->update.empty() && (!filter || filter == h)) return h;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) stack.push_back(*it);
  }
  return std::nullopt;
}

bool Desktop::peek_message(Message& out, Hwnd hwnd, std::uint32_t first, std::uint32_t last,
                           std::uint32_t remove) {
  pump_input();
  return take_message(out, MessageFilter{hwnd, first, last}, (remove & PM_REMOVE) != 0);
}

bool Desktop::get_message(Message& out, Hwnd hwnd, std::uint32_t first, std::uint32_t last) {
  const MessageFilter filter{hwnd, first, last};
  for (;;) {
    pump_input();
    if (take_message(out, filter, true)) return out.message != WM_QUIT;
    if (input_ended_ && !filter.wants_number(WM_QUIT)) {
      // The run is over and the caller cannot see WM_QUIT: end its loop too.
      out = make_message({}, WM_QUIT, static_cast<WParam>(queue_.quit_code().value_or(0)), 0);
      return false;
    }
    present();
    if (!screen_.wait_for_input(framebuffer_, timers_.next_due())) {
      // The run is over: every loop that waits from now on ends too, even
      // after an earlier WM_QUIT has been taken.
      post_quit_message(queue_.quit_code().value_or(0));
      input_ended_ = true;
    }
  }
}

LResult Desktop::dispatch_message(const Message& message) {
  if (!message.hwnd) return 0;
  return send_message(message.hwnd, message.message, message.wparam, message.lparam);
}

// --- Translation ----------------------------------------------------------------------

namespace {

// The character a key types when the host gives no text for it: the keys
// that edit or end a line, and Control with a letter or bracket.
int control_character(std::uint8_t vk, bool control) {
  switch (vk) {
    case VK_RETURN: return control ? 10 : 13;
    case VK_ESCAPE: return 27;
    case VK_BACK: return control ? 127 : 8;
    case VK_TAB: return control ? -1 : 9;
    default: break;
  }
  if (!control) return -1;
  if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
  if (vk == VK_OEM_4) return 27;
  if (vk == VK_OEM_5) return 28;
  if (vk == VK_OEM_6) return 29;
  return -1;
}

}  // namespace

bool Desktop::translate_message(const Message& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const bool system = message.message == WM_SYSKEYDOWN;
  const std::uint32_t char_message = system ? WM_SYSCHAR : WM_CHAR;
  const auto vk = static_cast<std::uint8_t>(message.wparam);
  std::string text;
  if (last_typed_key_ && last_typed_key_->message.hwnd == message.hwnd &&
      last_typed_key_->message.wparam == message.wparam && last_typed_key_->message.lparam == message.lparam &&
      last_typed_key_->message.time == message.time) {
    text = last_typed_key_->text;
  }
  if (text.empty()) {
    const bool control = key_down(VK_CONTROL) && !key_down(VK_MENU);
    int c = control_character(vk, control);
    if (c < 0 && system && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) {
      c = (vk >= 'A' && vk <= 'Z' && !key_down(VK_SHIFT)) ? vk - 'A' + 'a' : vk;
    }
    if (c < 0) return false;
    text.push_back(static_cast<char>(c));
  }
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    Message m = message;
    m.message = char_message;
    m.wparam = static_cast<unsigned char>(*it);
    queue_.post_front(m);
  }
  return true;
}

// --- Timers -----------------------------------------------------------------------------

bool Desktop::set_timer(Hwnd hwnd, std::uintptr_t id, std::uint32_t interval_ms) {
  if (hwnd && !find(hwnd)) return false;
  timers_.set(hwnd, id, interval_ms, clock_.milliseconds());
  return true;
}

bool Desktop::kill_timer(Hwnd hwnd, std::uintptr_t id) { return timers_.kill(hwnd, id); }

// --- Capture, focus, activation ------------------------------------------------------------

Hwnd Desktop::set_capture(Hwnd hwnd) {
  const Hwnd old = capture_;
  if (hwnd && !find(hwnd)) return old;
  capture_ = hwnd;
  if (old && old != hwnd && find(old)) send_message(old, WM_CAPTURECHANGED, 0, static_cast<LParam>(hwnd.value));
  return old;
}

bool Desktop::release_capture() {
  const Hwnd old = capture_;
  capture_ = {};
  if (old && find(old)) send_message(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

Hwnd Desktop::set_focus(Hwnd hwnd) {
  const Hwnd old = focus_;
  if (hwnd == old) return old;
  if (hwnd) {
    const Window* w = find(hwnd);
    if (!w || w->destroying) return {};
    const Hwnd top = top_level(hwnd);
    if (top && top != active_) {
      set_active_window(top);
      if (!find(hwnd) || focus_ == hwnd) return old;
    }
  }
  const Hwnd losing = focus_;
  focus_ = hwnd;
  if (losing && find(losing)) send_message(losing, WM_KILLFOCUS, static_cast<WParam>(hwnd.value), 0);
  if (hwnd && focus_ == hwnd && find(hwnd)) send_message(hwnd, WM_SETFOCUS, static_cast<WParam>(losing.value), 0);
  return old;
}

Hwnd Desktop::set_active_window(Hwnd hwnd) {
  activate(hwnd, WA_ACTIVE);
  return active_;
}

void Desktop::activate(Hwnd hwnd, int how) {
  if (hwnd) hwnd = top_level(hwnd);
  const Hwnd old = active_;
  if (hwnd == old) return;
  if (hwnd) {
    const Window* w = find(hwnd);
    if (!w || w->destroying) return;
  }
  if (old && find(old)) {
    send_message(old, WM_NCACTIVATE, 0, 0);
    if (find(old)) send_message(old, WM_ACTIVATE, make_wparam(WA_INACTIVE, 0), static_cast<LParam>(hwnd.value));
    if (focus_ && (focus_ == old || is_child(old, focus_))) {
      const Hwnd losing = focus_;
      focus_ = {};
      if (find(losing)) send_message(losing, WM_KILLFOCUS, 0, 0);
    }
    if (!hwnd && find(old)) send_message(old, WM_ACTIVATEAPP, 0, 0);
  }
  active_ = hwnd;
  if (!hwnd || !find(hwnd)) return;
  if (!old) send_message(hwnd, WM_ACTIVATEAPP, 1, 0);
  if (active_ != hwnd || !find(hwnd)) return;
  set_window_pos(hwnd, kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Owned windows (dialogs, palettes) stay above their owner.
  for (Hwnd other : children(root_)) {
    const Window* o = find(other);
    if (o && o->owner == hwnd && o->visible())
      set_window_pos(other, kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (active_ != hwnd || !find(hwnd)) return;
  send_message(hwnd, WM_NCACTIVATE, 1, 0);
  if (active_ == hwnd && find(hwnd))
    send_message(hwnd, WM_ACTIVATE, make_wparam(how, 0), static_cast<LParam>(old.value));
}

}  // namespace orvane::desktop
