#include "platform/host.h"

#include <cstdio>
#include <string>

#include "platform/console.h"

namespace orvane::platform {

namespace {

// The console host: the process's standard streams (or the console of a
// ConsoleRedirect) and the console clock (the system clock unless a
// ClockOverride is in force).
class ConsoleHost final : public Host {
 public:
  Clock& clock() override { return console_clock(); }
  void write_terminal(std::string_view text) override { standard_console().write(text); }
  void flush_terminal() override { standard_console().flush(); }
  int read_terminal() override { return standard_console().read_char(); }
  void write_error_line(std::string_view text) override {
    standard_console().flush();
    std::string line = windows1252_to_utf8(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
  }
  void internal_error_alert(std::string_view text) override { write_error_line(text); }
  // With nobody to ask, the computation is abandoned and the session goes on.
  int out_of_memory_alert() override {
    write_error_line("Out of Memory");
    return 1;
  }
};

Host*& current_host() {
  static ConsoleHost console;
  static Host* current = &console;
  return current;
}

}  // namespace

Host& host() { return *current_host(); }

HostScope::HostScope(Host& replacement) : saved_(current_host()) { current_host() = &replacement; }
HostScope::~HostScope() { current_host() = saved_; }

}  // namespace orvane::platform
