// A host for tests: records the error lines and alerts the run-time raises,
// counts the passes of the event pump, and hands out scripted keys. The
// terminal and the clock are the previous host's (the console, which honours
// ConsoleRedirect and ClockOverride) unless a test asks for its own.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/host.h"

namespace orvane::testing {

class TestHost final : public platform::Host {
 public:
  TestHost() : previous_(platform::host()), scope_(*this) {}

  // Capture the terminal in `terminal` and `flushes` instead of passing it on.
  bool capture_terminal = false;
  std::string terminal;
  int flushes = 0;
  // Use `virtual_clock` instead of the previous host's clock.
  bool use_virtual_clock = false;
  platform::VirtualClock virtual_clock;
  // Error lines as the console would write them (UTF-8), and alerts; or
  // pass both on to the previous host.
  bool forward_errors = false;
  std::vector<std::string> error_lines;
  std::string last_alert;
  int out_of_memory_alerts = 0;
  // Passes of the event pump, and what each pass does.
  int polls = 0;
  std::function<void()> on_poll;
  bool event_pump = false;
  // Keys pending_key() answers, in order.
  std::deque<int> keys;

  platform::Clock& clock() override { return use_virtual_clock ? virtual_clock : previous_.clock(); }
  void write_terminal(std::string_view text) override {
    if (capture_terminal) terminal += text;
    else previous_.write_terminal(text);
  }
  void flush_terminal() override {
    if (capture_terminal) ++flushes;
    else previous_.flush_terminal();
  }
  int read_terminal() override { return previous_.read_terminal(); }
  void write_error_line(std::string_view text) override {
    if (forward_errors) return previous_.write_error_line(text);
    flush_terminal();
    error_lines.push_back(platform::windows1252_to_utf8(text));
  }
  void internal_error_alert(std::string_view text) override {
    last_alert = text;
    if (forward_errors) previous_.internal_error_alert(text);
  }
  int out_of_memory_alert() override {
    ++out_of_memory_alerts;
    return forward_errors ? previous_.out_of_memory_alert() : 1;
  }
  void poll_events() override {
    ++polls;
    if (on_poll) on_poll();
  }
  bool has_event_pump() override { return event_pump; }
  int pending_key() override {
    if (keys.empty()) return -1;
    int key = keys.front();
    keys.pop_front();
    return key;
  }

 private:
  platform::Host& previous_;
  platform::HostScope scope_;
};

}  // namespace orvane::testing
