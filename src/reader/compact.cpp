// The compact byte encoding of code: symbols as one- to three-byte
// references into the compact symbol table, small integers and logic
// variables in two or three bytes. Each routine consumes its bytes and
// leaves the next byte current.
#include "core/symbols.h"
#include "eval/errors.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

// The operand byte after the current one; the input must not end inside a
// compact token.
int operand_byte() {
  advance();
  if (g_reader.current == kEndOfInput) unexpected_token();
  return g_reader.current;
}

// Entries 0-7 are the same in every table, so they need none loaded.
Value compact_symbol(int index) {
  static constexpr std::string_view kFixed[] = {"define", "quote",   "set!", "t",
                                                "nil",    "defslot", "when", "let"};
  const auto& table = compact_symbol_table();
  if (index >= 0 && static_cast<std::size_t>(index) < table.size()) return table[index];
  if (index >= 0 && index < 8) return intern_constant(kFixed[index]);
  raise_error(2, make_fixnum(index));
}

}  // namespace

Token read_compact_token(std::uint8_t type) {
  int b0 = g_reader.current;
  Value result;
  switch (type) {
    case chartype::compact_symbol1:
      result = compact_symbol(b0);
      break;
    case chartype::compact_symbol2: {
      int b1 = operand_byte();
      result = compact_symbol((b0 - 15) * 256 + b1 + 8);
      break;
    }
    case chartype::compact_symbol3: {
      int b1 = operand_byte();
      int b2 = operand_byte();
      result = compact_symbol(b1 * 256 + b2);
      break;
    }
    case chartype::compact_fixnum1:
      result = make_fixnum(static_cast<std::int8_t>(operand_byte()));
      break;
    case chartype::compact_fixnum2: {
      int b1 = operand_byte();
      int b2 = operand_byte();
      result = make_fixnum(static_cast<std::int16_t>(b1 << 8 | b2));
      break;
    }
    default: {  // chartype::compact_variable
      int b1 = operand_byte();
      int b2 = operand_byte();
      result = make_logic_variable(compact_symbol(b1 * 256 + b2));
      break;
    }
  }
  advance();
  return Token::datum(result);
}

}  // namespace orvane
