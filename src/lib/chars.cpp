// The character primitives.
#include "lib/chars.h"

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/strings.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

Value p_char_p(Value v) { return boolean(is_integer(v)); }

Value p_char(Value code) {
  Value s = make_string_uninit(1);
  string_chars(s)[0] = static_cast<char>(integer_of(code) & 0xff);
  return s;
}

Value p_ascii(Value v) {
  std::string storage;
  std::string_view text = text_view(v, storage);
  return make_fixnum(text.empty() ? 0 : static_cast<std::uint8_t>(text[0]));
}

// Codes outside 0-255 are not characters and pass unchanged.
Value mapped_char(Value code, const CharTable& table) {
  std::int32_t c = integer_of(code);
  if (c < 0 || c > 255) return code;
  return make_fixnum(table[static_cast<std::uint8_t>(c)]);
}

Value p_upper_char(Value code) { return mapped_char(code, kUpperCase); }
Value p_lower_char(Value code) { return mapped_char(code, kLowerCase); }

Value p_alpha_char_p(Value code) {
  return boolean(is_alpha_char(static_cast<std::uint8_t>(integer_of(code) & 0xff)));
}

}  // namespace

void register_chars() {
  defprim("char?", p_char_p);
  defprim("char", p_char);
  defprim("ascii", p_ascii);
  defprim("upper-char", p_upper_char);
  defprim("lower-char", p_lower_char);
  defprim("alpha-char?", p_alpha_char_p);
}

}  // namespace orvane
