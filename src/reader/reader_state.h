// The reader's state and the routines its files share; not for other
// subsystems (they use reader.h).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/value.h"
#include "eval/context.h"
#include "reader/char_types.h"
#include "reader/reader.h"

namespace orvane {

// The current character at the end of input.
inline constexpr int kEndOfInput = 0xffff;
// Symbol and number tokens hold at most this many characters.
inline constexpr std::size_t kMaxTokenLength = 255;

// What a token routine answers besides a datum. The numbers are those that
// `read-delimited-list` takes as closers; markers never leave the reader.
enum class Marker : std::uint8_t {
  none = 0,
  close_list = 2,
  dot = 3,
  end = 15,
  nothing = 16,  // a datum skipped by a false feature test
  close_brace = 18,
};

struct Token {
  Marker marker = Marker::none;
  Value value = kNil;

  static Token datum(Value v) { return Token{Marker::none, v}; }
  static Token of(Marker m) { return Token{m, kNil}; }
  bool is(Marker m) const { return marker == m; }
  bool is_datum() const { return marker == Marker::none; }
};

// Where characters come from: the terminal, a native source, or a Lisp
// stream (a reading routine called with its state).
struct SourceState {
  enum class Kind : std::uint8_t { terminal, native, stream };
  Kind kind = Kind::terminal;
  CharSource* native = nullptr;
  // The native routine behind a port-routine descriptor, called directly.
  int (*port_getc)(Value record) = nullptr;
  // The stream's reading routine and its state, and the object that
  // answered `read-proc` (or nil).
  std::array<Value, 3> values{kNil, kNil, kNil};
  Value routine() const { return values[0]; }
  Value state() const { return values[1]; }
  Value object() const { return values[2]; }
};

// The reader's state: one of the run-time's documented singletons.
struct ReaderState {
  int current = ' ';
  // Characters taken from the current source (kept per source).
  std::uint64_t advances = 0;
  SourceState source;
  CharSource* terminal = nullptr;  // null: the process's console
  // Collector roots: the two function tables and the source's Values are
  // registered as root ranges.
  std::array<Value, 256> macros{};
  std::array<Value, 256> dispatch{};
  // The variables the reader consults.
  Value terminal_in = kNil, load_file = kNil, machine = kNil, mac = kNil;
  Value sym_and = kNil, sym_or = kNil, sym_not = kNil;
  // The built-in functions, recognised so that they run without a call.
  Value logic_variable_reader = kNil;
  Value character_reader = kNil;
  Value vector_reader = kNil;
  Value language_text_reader = kNil;
  int depth = 0;  // nesting of token routines, bounded
};

inline ReaderState g_reader;

// --- Sources (source.cpp) -------------------------------------------------------

// The next character of the current source (kEndOfInput at the end).
int next_source_char();
inline void advance() {
  g_reader.current = next_source_char();
  ++g_reader.advances;
}
// The position a source-position form records.
std::uint32_t source_position();
// When the current source is the edit input buffer (the terminal of a
// title), runs the event loop until it holds a character.
void wait_for_terminal_input();

// Saves the whole current source on entry and restores it on exit, also when
// a throw passes. A source installed here also gets its own current
// character and count of advances, and the caller's are given back on exit.
class SourceScope : public Context {
 public:
  SourceScope();
  ~SourceScope();
  SourceScope(const SourceScope&) = delete;
  SourceScope& operator=(const SourceScope&) = delete;
  // The source argument of `read`, `readline` and `readch`: nil means the
  // value of `terminal-in`; t or nil keeps the current source; an object is
  // asked for a stream with `read-proc`; a stream is a pair (routine . state).
  void install(Value source_argument);
  void install(CharSource& source);

 private:
  void set(const SourceState& s);
  SourceState saved_;
  int saved_current_;
  std::uint64_t saved_advances_;
  bool changed_ = false;
};

// --- Tokens (reader_tokens.cpp) ---------------------------------------------------

// Reads one token from the current character on.
Token read_token();
// Reads a token, skipping those that a false feature test made "nothing".
Token read_element();
// A datum where one is required: every marker raises error 25 with nil.
Value read_required_datum();
// The elements up to the token `closer` (the opener already passed); with
// end_closes, the end of input also ends the list.
Value read_list_body(Marker closer, bool end_closes);
// Interns a collected name; error 2 with nil for a name holding a zero byte.
Value intern_token_name(std::string_view name);
// Collects the characters of a symbol name from the current character on
// (escapes resolved) after `prefix`; error 2 with nil past 255 characters.
std::string_view collect_name(char (&buffer)[kMaxTokenLength + 1], std::string_view prefix = {});

// --- Token routines of other files ---------------------------------------------------

Token read_number_token();                    // reader_numbers.cpp
Token read_compact_token(std::uint8_t type);  // compact.cpp
Token read_macro_token();                     // reader_macros.cpp
Token read_source_position();                 // reader_macros.cpp

// The built-in functions of the macro-character and dispatch tables
// (reader_macros.cpp); the character that chose them is current.
Value read_logic_variable();  // "_"
Value read_character();       // "#\"
Value read_vector();          // "#("
Value read_language_text();   // "#{"

// Raises error 25 with nil (a token where a datum is wanted, or the end of
// input inside a datum).
[[noreturn]] void unexpected_token();

}  // namespace orvane
