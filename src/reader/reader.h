// The reader's interface to the rest of the run-time: characters to Values.
//
// The reader is table-driven (char_types.h): the type of a character selects
// the routine that reads a token starting with it. Native code reads from any
// CharSource; Lisp code reads from the terminal, from streams and from
// objects answering `read-proc`. Errors are raised as Lisp errors (a Thrower
// leaves the call), and the source keeps its position, so reading can go on
// after an error with the rest of the input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/value.h"

namespace orvane {

// A native source of characters: the console, files, texts.
class CharSource {
 public:
  virtual ~CharSource() = default;
  // The next byte (0-255), or -1 at the end of input; -1 again on every call
  // after the end.
  virtual int next() = 0;
  // The offset of the next byte to be read; source-position forms record it.
  virtual std::uint32_t position() const { return 0; }
};

// The bytes of a text, from the first to the last (the text is copied).
class TextSource final : public CharSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  int next() override {
    if (pos_ >= text_.size()) return -1;
    return static_cast<unsigned char>(text_[pos_++]);
  }
  std::uint32_t position() const override { return static_cast<std::uint32_t>(pos_); }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

// Reads the data of a source one after another, as successive calls of
// `read` do: each call first discards the character that ended the previous
// datum (so put whitespace between data whose ends are not delimiters).
class DatumReader {
 public:
  explicit DatumReader(CharSource& source) : source_(source) {}
  // The next datum; std::nullopt at the end of input. A datum that a false
  // feature test skips is not answered. After an error, the next call goes
  // on from where the error was found.
  std::optional<Value> next();

 private:
  CharSource& source_;
};

// The first datum of a text; nil when it holds none.
Value read_from_text(std::string_view text);
// The list of all data of a text, as `parse` makes it.
Value parse_text(std::string_view text);

// A new logic variable named by the Value (a symbol as a rule).
Value make_logic_variable(Value name);

// The terminal: the source of reader calls that install no other. Null gives
// the host's terminal (on the console, standard input with newlines read as
// carriage returns).
void set_terminal_source(CharSource* source);

// The object the current source came from (`self` for `general-getc`); the
// no-object value for none.
Value current_source_object();

// Registers the reader's primitives and resets its state (tables, decimal
// mark, source), as every new run-time must.
void register_reader();

}  // namespace orvane
