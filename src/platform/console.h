// The console terminal: with no title, the terminal is the process's
// standard streams.
//
// Inside the run-time, text is Windows-1252 bytes and a line ends with a
// carriage return (13). The host terminal speaks UTF-8 with newlines (10):
// on the way out every carriage return becomes a newline, on the way in
// every newline (and every carriage return-newline pair) becomes one carriage
// return, and the characters convert by the rules of platform/text.h (a
// character the code page cannot hold reads as "?", a byte that does not
// start a valid UTF-8 sequence is taken as it stands, so a Latin-1 terminal
// still works).
#pragma once

#include <cstdint>
#include <deque>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace orvane::platform {

class Console {
 public:
  // The process's standard input and output.
  Console();
  // Any pair of byte streams (tests, pipes, embedding).
  Console(std::istream& in, std::ostream& out);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // The next character of input as a Windows-1252 byte (0..255), a line end
  // given as 13; -1 at end of input. Collected output is flushed first, so a
  // prompt shows before the user types.
  int read_char();

  // Collect one Windows-1252 character, or a whole string, for output.
  void write_char(unsigned char c);
  void write(std::string_view text);
  // Send the collected characters out, converted, and flush the host stream.
  void flush();

  // Characters collected and not yet flushed.
  std::size_t pending() const { return collected_.size(); }

 private:
  int read_byte();

  std::istream& in_;
  std::ostream& out_;
  std::string collected_;
  std::deque<int> lookahead_;  // bytes read ahead and given back
};

// The console the terminal uses: the process's standard streams, unless a
// ConsoleRedirect is in force.
Console& standard_console();

// Makes another console the terminal's for as long as it lives (tests,
// embedding); nests.
class ConsoleRedirect {
 public:
  explicit ConsoleRedirect(Console& console);
  ~ConsoleRedirect();
  ConsoleRedirect(const ConsoleRedirect&) = delete;
  ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

 private:
  Console* saved_;
};

}  // namespace orvane::platform
