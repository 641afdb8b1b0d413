// The string library: the text of any Value, comparison with three
// strengths, searching, case mapping, conversion between text and numbers,
// and copying between strings and native memory. Strings are Windows-1252
// bytes with no zero byte inside.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/value.h"
#include "lib/chars.h"

namespace orvane {

// The longest string the library builds on request (`make-string`,
// `text->string`); no string can exceed 65,534 bytes at all.
inline constexpr std::uint32_t kMaxRequestedString = 32000;
inline constexpr std::uint32_t kMaxStringBytes = 65534;
// Printed representations used as text are cut here.
inline constexpr std::size_t kPrintedTextLimit = 1024;

// The text of v as a string Value: a string is answered itself and a symbol
// by its own name string (no copy); numbers in decimal or as reals print;
// anything else as the printer displays it, cut at 1,024 characters.
Value text_of(Value v);
// The same text without allocating in the Lisp memory: a view of v's own
// characters (valid until the next allocation) or of `storage`.
std::string_view text_view(Value v, std::string& storage);

// Collation order: negative, zero or positive as a sorts before, with or
// after b. The collation table decides; raw bytes break ties between texts
// the table finds equal.
int compare_texts(std::string_view a, std::string_view b);
// Same length and every pair of bytes maps to the same table entry.
bool equal_through(std::string_view a, std::string_view b, const CharTable& table);

// The integer written in the text (spaces around, an optional "-", at most
// ten digits, within 32 bits), or nothing.
std::optional<std::int32_t> parse_integer_text(std::string_view text);
// The number written in the text with `decimal_mark` as the decimal mark:
// an integer when parse_integer_text accepts it, else a double.
struct ParsedNumber {
  bool is_integer;
  std::int32_t integer;
  double real;
};
std::optional<ParsedNumber> parse_number_text(std::string_view text, char decimal_mark);

void register_strings();

}  // namespace orvane
