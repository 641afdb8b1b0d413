// The reader's character-type table: one type number per character code.
// The printer consults the live table to decide what needs escaping.
#pragma once

#include <array>
#include <cstdint>

namespace orvane {

namespace chartype {
inline constexpr std::uint8_t escape = 0;
inline constexpr std::uint8_t open_list = 1;
inline constexpr std::uint8_t close_list = 2;
inline constexpr std::uint8_t dot = 3;
inline constexpr std::uint8_t macro = 4;
inline constexpr std::uint8_t string = 5;
inline constexpr std::uint8_t symbol = 6;
inline constexpr std::uint8_t digit = 7;
inline constexpr std::uint8_t sign = 8;
inline constexpr std::uint8_t compact_symbol1 = 9;
inline constexpr std::uint8_t compact_symbol2 = 10;
inline constexpr std::uint8_t compact_symbol3 = 11;
inline constexpr std::uint8_t compact_fixnum1 = 12;
inline constexpr std::uint8_t compact_fixnum2 = 13;
inline constexpr std::uint8_t compact_variable = 14;
inline constexpr std::uint8_t close_list_alt = 15;
inline constexpr std::uint8_t invalid = 16;
inline constexpr std::uint8_t open_brace = 17;
inline constexpr std::uint8_t close_brace = 18;
inline constexpr std::uint8_t comment = 19;
inline constexpr std::uint8_t line_end = 20;
inline constexpr std::uint8_t whitespace = 21;
}  // namespace chartype

using CharTypeTable = std::array<std::uint8_t, 256>;

// The initial table.
CharTypeTable initial_char_types();

// The live table (part of the reader's state, a documented singleton);
// reset to the initial table when a run-time starts.
inline CharTypeTable g_char_types = initial_char_types();

inline std::uint8_t char_type(unsigned char c) { return g_char_types[c]; }

}  // namespace orvane
