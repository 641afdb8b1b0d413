#include "reader/char_types.h"

#include <string_view>

namespace orvane {

CharTypeTable initial_char_types() {
  CharTypeTable t;
  t.fill(chartype::symbol);  // includes every code 127-255
  auto set = [&](std::string_view chars, std::uint8_t type) {
    for (char c : chars) t[static_cast<unsigned char>(c)] = type;
  };
  for (int c = 0; c <= 7; ++c) t[c] = chartype::compact_symbol1;
  for (int c = 15; c <= 31; ++c) t[c] = chartype::compact_symbol2;
  t[8] = chartype::compact_symbol3;
  t[11] = chartype::compact_fixnum1;
  t[12] = chartype::compact_fixnum2;
  t[14] = chartype::compact_variable;
  t[10] = t[13] = chartype::line_end;
  t[9] = t[32] = chartype::whitespace;
  set("\\", chartype::escape);
  set("([", chartype::open_list);
  set(")]", chartype::close_list);
  set(".|", chartype::dot);
  set("#&':_", chartype::macro);
  set("\"", chartype::string);
  set("0123456789", chartype::digit);
  set("+-Ee", chartype::sign);
  set("{", chartype::open_brace);
  set("}", chartype::close_brace);
  set(";", chartype::comment);
  return t;
}

}  // namespace orvane
