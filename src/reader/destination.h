// Where printed characters go: the current destination of the printer.
//
// The destination is the terminal (initially), a stream (a pair whose first
// word is the writing routine and whose second word is the routine's state),
// or a native string buffer. Every printing primitive installs the
// destination named by its argument in a DestinationScope, which puts the
// previous one back on exit, also when a throw passes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/value.h"
#include "eval/context.h"

namespace orvane {

// A native writing routine: one character (0-255) and the stream's state.
using WriteRoutine = void (*)(int c, Value state);

struct Destination {
  enum class Kind : std::uint8_t { terminal, native_routine, lisp_routine, buffer };
  Kind kind = Kind::terminal;
  WriteRoutine routine = nullptr;  // native_routine
  std::string* buffer = nullptr;   // buffer
  std::size_t limit = 0;           // buffer: characters beyond it are dropped
  // [0] the routine Value (lisp_routine), [1] its state, [2] the destination
  // object (the instance or class that answered `write-proc`, or nil).
  std::array<Value, 3> values{kNil, kNil, kNil};

  Value routine_value() const { return values[0]; }
  Value state() const { return values[1]; }
  Value object() const { return values[2]; }
};

// The size of the printer's string buffer: printing into a string keeps at
// most this many characters and drops the rest.
inline constexpr std::size_t kStringBufferSize = 1024;

const Destination& current_destination();
inline Value current_destination_object() { return current_destination().object(); }

// Writes one character, or a piece of text, to the current destination.
// With no other destination installed that is the host's terminal (the
// console, or a title's terminal window). Each piece of text (a token of
// the printer, a directive of `format`) gives the event poll its turn, so a
// long printout keeps the interface alive without a check per character.
void put_char(unsigned char c);
void put_text(std::string_view text);
// Sends what the terminal (the host's, and the edit output line) collected
// on its way.
void flush_terminal();

// Installs a destination for the scope's lifetime and restores the previous
// one on exit.
class DestinationScope : public Context {
 public:
  // From a destination argument: nil means the value of `terminal-out`;
  // `t` (or nil after that) keeps the current destination; an instance or
  // class is sent `write-proc` and its answer used as the stream; otherwise
  // the argument must be a stream. Error 2 with the argument when it is none
  // of these.
  explicit DestinationScope(Value argument);
  // Into a native string, keeping at most `limit` characters.
  DestinationScope(std::string& buffer, std::size_t limit);
  ~DestinationScope();

 private:
  Destination saved_;
};

// Registers a native writing routine under a name, as a primitive of the
// system family with no arguments (it is not meant to be called from Lisp
// and answers no-value there). A stream whose first word is that primitive,
// or one of the port routines of the byte streams (`handle-putc`,
// `editputc`), writes through the native routine directly. Any other
// function as first word is called with the character and the state.
Value define_write_routine(std::string_view name, WriteRoutine routine);

// Resets the printer's destination state when a run-time starts.
void reset_destinations();

}  // namespace orvane
