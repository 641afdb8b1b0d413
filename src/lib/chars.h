// The character tables of the string library (Windows-1252 bytes): upper
// case and lower case (platform/text.h), and the collation table that maps
// case and accents away.
#pragma once

#include <array>
#include <cstdint>

#include "platform/text.h"

namespace orvane {

using CharTable = std::array<std::uint8_t, 256>;

namespace detail {
constexpr CharTable identity_table() {
  CharTable t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i);
  return t;
}
constexpr void map_range(CharTable& t, int from, int to, int target) {
  for (int c = from; c <= to; ++c) t[c] = static_cast<std::uint8_t>(target + c - from);
}
constexpr void map_all(CharTable& t, int from, int to, int target) {
  for (int c = from; c <= to; ++c) t[c] = static_cast<std::uint8_t>(target);
}
constexpr CharTable collation() {
  CharTable t = identity_table();
  map_range(t, 97, 122, 65);
  map_all(t, 192, 197, 'A');
  map_all(t, 224, 229, 'A');
  t[199] = t[231] = 'C';
  map_all(t, 200, 203, 'E');
  map_all(t, 232, 235, 'E');
  map_all(t, 204, 207, 'I');
  map_all(t, 236, 239, 'I');
  map_all(t, 210, 214, 'O');
  map_all(t, 242, 246, 'O');
  map_all(t, 217, 220, 'U');
  map_all(t, 249, 252, 'U');
  return t;
}
}  // namespace detail

// The run-time's one letter-case table, shared with pathnames and resource
// file paths.
using platform::kLowerCase;
using platform::kUpperCase;
// Decides the order of texts and equality ignoring case and accents.
inline constexpr CharTable kCollation = detail::collation();

// Letters and digits: 48-57, 65-90, 97-122, 192-214, 216-246, 248-255.
constexpr bool is_alpha_char(std::uint8_t c) {
  return (c >= 48 && c <= 57) || (c >= 65 && c <= 90) || (c >= 97 && c <= 122) ||
         (c >= 192 && c <= 214) || (c >= 216 && c <= 246) || c >= 248;
}

void register_chars();

}  // namespace orvane
