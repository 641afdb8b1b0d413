// Text at the host boundary. Inside the run-time text is Windows-1252 bytes;
// the host speaks UTF-8 (terminal, file names, settings, later the text input
// and the clipboard of a window backend). Every crossing goes through this
// unit, so all of them agree:
//   - Windows-1252 to UTF-8 loses nothing: the five bytes the code page leaves
//     undefined (0x81 0x8D 0x8F 0x90 0x9D) become the Unicode characters of
//     the same number;
//   - UTF-8 to Windows-1252: a character the code page cannot hold becomes
//     "?", and a byte that does not start a valid UTF-8 sequence is taken as
//     the Windows-1252 character of that number, so Latin-1 text survives.
// It also holds the run-time's one letter-case table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

// --- Windows-1252 and Unicode -------------------------------------------------

// The Unicode characters of the bytes 0x80-0x9F (0xA0-0xFF are Latin-1's);
// 0 marks the five bytes the code page leaves undefined.
inline constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98
};

// Whether the code page gives the byte a character.
constexpr bool windows1252_defines(unsigned char c) { return c < 0x80 || c >= 0xa0 || kWindows1252High[c - 0x80] != 0; }

// The Unicode character of a byte; an undefined byte gives the code point of
// the same number.
constexpr char32_t windows1252_to_unicode(unsigned char c) {
  return windows1252_defines(c) && c >= 0x80 && c < 0xa0 ? kWindows1252High[c - 0x80] : char32_t{c};
}

// The byte of a Unicode character, or -1 when the code page has none (the
// code points of the five undefined bytes give those bytes back).
int unicode_to_windows1252(char32_t code_point);

// --- UTF-8 ---------------------------------------------------------------------

struct Utf8Char {
  char32_t code_point;
  std::size_t length;  // bytes, 1 to 4
};

// How long the sequence a byte starts is, by the byte alone: 1 for ASCII, 2 to
// 4 for a lead byte, 0 for a byte that never starts one (a continuation byte,
// 0xC0, 0xC1, 0xF5-0xFF).
constexpr std::size_t utf8_sequence_length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
       : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
}

// The character at the front of `text`, or nothing when the bytes there are
// not a valid UTF-8 sequence: a lone continuation byte, a sequence cut short
// or broken by a byte that is not a continuation byte, an overlong form, a
// surrogate or a value past U+10FFFF.
std::optional<Utf8Char> decode_utf8(std::string_view text);
bool is_valid_utf8(std::string_view text);
// Appends the UTF-8 form of a code point (at most U+10FFFF).
void append_utf8(std::string& out, char32_t code_point);

std::string windows1252_to_utf8(std::string_view text);
std::string utf8_to_windows1252(std::string_view utf8);

// --- Letter case ---------------------------------------------------------------

using CaseTable = std::array<std::uint8_t, 256>;

namespace detail {
constexpr CaseTable case_table(int shift) {
  CaseTable t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<std::uint8_t>(c);
  // Letters in ranges of the lower-case half: a-z, à-ï, ñ-ö, ø-ü.
  constexpr int kRanges[][2] = {{97, 122}, {224, 239}, {241, 246}, {248, 252}};
  for (const auto& range : kRanges)
    for (int c = range[0]; c <= range[1]; ++c) {
      if (shift < 0) t[c] = static_cast<std::uint8_t>(c - 32);
      else t[c - 32] = static_cast<std::uint8_t>(c);
    }
  return t;
}
}  // namespace detail

// The run-time's letter case: used by `upper-char`, `upper-string`, every
// comparison that ignores case, resource file paths and host file names.
// The letters š œ ž ÿ ð ý þ have no partner in it.
inline constexpr CaseTable kUpperCase = detail::case_table(-1);
inline constexpr CaseTable kLowerCase = detail::case_table(+1);

constexpr unsigned char windows1252_upper(unsigned char c) { return kUpperCase[c]; }
// Equality of Windows-1252 texts through the upper-case table.
bool names_equal_ignoring_case(std::string_view a, std::string_view b);

}  // namespace orvane::platform
