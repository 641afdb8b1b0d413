#include "platform/desktop/message_queue.h"

#include <algorithm>

#include "platform/desktop/messages.h"

namespace orvane::desktop {

namespace {
bool is_input(std::uint32_t n) {
  return (n >= WM_MOUSEFIRST && n <= WM_MOUSELAST) || (n >= WM_NCMOUSEMOVE && n <= WM_NCMBUTTONDBLCLK) ||
         (n >= WM_KEYFIRST && n <= WM_KEYLAST);
}
}  // namespace

void MessageQueue::push(Entry e, bool front) {
  if (is_input(e.message.message)) ++input_count_;
  if (front) entries_.push_front(std::move(e));
  else entries_.push_back(std::move(e));
}

void MessageQueue::erased(const Message& m) {
  if (is_input(m.message)) --input_count_;
}

void MessageQueue::post(const Message& m) { push({m, {}}, false); }

void MessageQueue::post_mouse_move(const Message& m) {
  if (!entries_.empty()) {
    Message& last = entries_.back().message;
    if (last.message == m.message && last.hwnd == m.hwnd && last.wparam == m.wparam) {
      last = m;
      return;
    }
  }
  post(m);
}

void MessageQueue::post_front(const Message& m) { push({m, {}}, true); }

std::optional<MessageQueue::Entry> MessageQueue::take(const MessageFilter& filter, bool remove) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (!filter.wants_number(it->message.message) || !filter.wants_window(it->message.hwnd)) continue;
    if (!remove) return *it;
    Entry e = std::move(*it);
    entries_.erase(it);
    erased(e.message);
    return e;
  }
  return std::nullopt;
}

bool MessageQueue::attach_text(std::string_view text) {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    const std::uint32_t n = it->message.message;
    if (n == WM_KEYDOWN || n == WM_SYSKEYDOWN) {
      if (!it->text.empty()) return false;
      it->text = std::string(text);
      return true;
    }
    if (n >= WM_KEYFIRST && n <= WM_KEYLAST) return false;
  }
  return false;
}

void MessageQueue::forget_window(Hwnd h) {
  remove_if([h](const Message& m) { return m.hwnd == h; });
}

void MessageQueue::remove_if(const std::function<bool(const Message&)>& drop) {
  std::erase_if(entries_, [&](const Entry& e) {
    if (!drop(e.message)) return false;
    erased(e.message);
    return true;
  });
}

bool MessageQueue::any(const std::function<bool(const Message&)>& match) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& e) { return match(e.message); });
}

}  // namespace orvane::desktop
