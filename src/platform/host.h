// The host: everything the run-time asks of the machine it runs on, as one
// interface. The console host serves `orvane run` and `orvane repl`; the
// headless and SDL2 backends serve titles. Exactly one host is current at a
// time (the console host unless a HostScope is in force), so a virtual clock,
// a scripted input or a window can stand in for the machine everywhere at once.
//
// Text crossing this interface is the run-time's own: Windows-1252 bytes, a
// line ending in a carriage return (13). Converting to the host's UTF-8 is
// the host's business, through the platform's one text unit.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/clock.h"

namespace orvane::platform {

class Screen;

class Host {
 public:
  virtual ~Host() = default;

  // The one clock everything reads: the evaluator's event poll, waits,
  // processes, file and record times, the tick counter. platform::clock()
  // answers this, so a host must not answer platform::clock() here (the
  // console host answers console_clock()).
  virtual Clock& clock() = 0;

  // The terminal: where printing with no other destination goes, and where
  // the line editor and `read` with no source read from.
  virtual void write_terminal(std::string_view text) = 0;
  virtual void flush_terminal() = 0;
  // The next input byte (13 ends a line); -1 at the end of input.
  virtual int read_terminal() = 0;

  // One line of error output (an error report, a warning), without its line
  // end; the terminal is flushed first so the two stay in order.
  virtual void write_error_line(std::string_view text) = 0;

  // The alerts the run-time itself raises. The out-of-memory alert answers
  // 1 for "OK" (abandon the computation) and 2 for "Quit".
  virtual void internal_error_alert(std::string_view text) = 0;
  virtual int out_of_memory_alert() = 0;

  // Gives the host's event pump a turn: the background poll of long Lisp
  // work, and every turn of a wait. The run-time never calls it while an
  // earlier call is still running, so a pump that runs Lisp is not
  // re-entered. The console has nothing to pump.
  virtual void poll_events() {}
  // Whether poll_events() can ever bring input (a key, a line for the
  // editor): a wait for input on a host that has none would never end.
  virtual bool has_event_pump() { return false; }
  // A key code when a key press is pending (consumed), else -1.
  virtual int pending_key() { return -1; }

  // The cursor shown while the collector runs, and the normal one again.
  virtual void show_busy_cursor() {}
  virtual void restore_cursor() {}

  // The screen the desktop draws on; none for the console.
  virtual Screen* screen() { return nullptr; }
};

// The current host.
Host& host();

// Makes another host current for as long as it lives; nests.
class HostScope {
 public:
  explicit HostScope(Host& replacement);
  ~HostScope();
  HostScope(const HostScope&) = delete;
  HostScope& operator=(const HostScope&) = delete;

 private:
  Host* saved_;
};

}  // namespace orvane::platform
