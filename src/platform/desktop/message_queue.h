// The thread's queue of posted messages, with Win32's filters: one window
// or any, a range of message numbers, removal or not. Mouse moves coalesce:
// a new move to the same window replaces one still waiting at the end.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/desktop/message.h"

namespace orvane::desktop {

// Which messages a peek or get wants: a window (none: any) and a range of
// message numbers (both 0: any).
struct MessageFilter {
  Hwnd hwnd;
  std::uint32_t first = 0;
  std::uint32_t last = 0;

  bool wants_number(std::uint32_t message) const {
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
  }
  bool wants_window(Hwnd h) const { return !hwnd || hwnd == h; }
};

class MessageQueue {
 public:
  struct Entry {
    Message message;
    std::string text;  // key downs: the characters the key typed, for TranslateMessage
  };

  void post(const Message& m);
  // Posts a mouse move, replacing a move to the same window at the end of the queue.
  void post_mouse_move(const Message& m);
  // Puts m first, so it is the next message taken (translated characters).
  void post_front(const Message& m);
  // The first entry the filter wants; removed when `remove`.
  std::optional<Entry> take(const MessageFilter& filter, bool remove);
  // Attaches typed text to the last key down still waiting; false when none is.
  bool attach_text(std::string_view text);
  // Drops every message to the window.
  void forget_window(Hwnd h);
  // Drops the messages for which `drop` answers true.
  void remove_if(const std::function<bool(const Message&)>& drop);
  bool any(const std::function<bool(const Message&)>& match) const;
  bool empty() const { return entries_.empty(); }
  // Whether a mouse or keyboard message is waiting.
  bool has_input() const { return input_count_ > 0; }
  std::size_t size() const { return entries_.size(); }

  // WM_QUIT is not queued: a flag with its code, taken when nothing else is left.
  void post_quit(int code) { quit_code_ = code; }
  std::optional<int> quit_code() const { return quit_code_; }
  void clear_quit() { quit_code_.reset(); }

 private:
  void push(Entry e, bool front);
  void erased(const Message& m);

  std::deque<Entry> entries_;
  std::size_t input_count_ = 0;
  std::optional<int> quit_code_;
};

}  // namespace orvane::desktop
