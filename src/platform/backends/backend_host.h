// The host of a run with a screen (headless or SDL2): the backend's clock and
// screen, the terminal on the process's standard output (carriage returns
// written as newlines, UTF-8 through the platform's conversion), error lines
// on standard error. The event pump and the pending key belong to the shell
// above the desktop, which hands them in once it exists.
#pragma once

#include <functional>
#include <ostream>

#include "platform/backends/backend_screen.h"
#include "platform/console.h"
#include "platform/host.h"

namespace orvane::platform::backends {

class BackendHost final : public Host {
 public:
  // `terminal_input`: whether read_terminal reads the process's standard
  // input (an SDL2 run) or answers the end of input at once (a headless run,
  // whose only input is its script, so it never blocks).
  BackendHost(Clock& clock, BackendScreen& screen, Console& terminal, std::ostream& errors,
              bool terminal_input);

  Clock& clock() override { return clock_; }
  void write_terminal(std::string_view text) override { terminal_.write(text); }
  void flush_terminal() override { terminal_.flush(); }
  int read_terminal() override { return terminal_input_ ? terminal_.read_char() : -1; }
  void write_error_line(std::string_view text) override;
  void internal_error_alert(std::string_view text) override;
  int out_of_memory_alert() override;
  void poll_events() override {
    if (event_pump_) event_pump_();
  }
  int pending_key() override { return key_source_ ? key_source_() : -1; }
  void show_busy_cursor() override { screen_.show_busy_cursor(true); }
  void restore_cursor() override { screen_.show_busy_cursor(false); }
  Screen* screen() override { return &screen_; }

  void set_event_pump(std::function<void()> pump) { event_pump_ = std::move(pump); }
  void set_key_source(std::function<int()> source) { key_source_ = std::move(source); }

 private:
  Clock& clock_;
  BackendScreen& screen_;
  Console& terminal_;
  std::ostream& errors_;
  bool terminal_input_;
  std::function<void()> event_pump_;
  std::function<int()> key_source_;
};

}  // namespace orvane::platform::backends
