#include "lib/charsets_tables.h"

#include "platform/text.h"

namespace orvane::charsets {

namespace {

using CodePage = std::array<char32_t, 256>;

// Mac OS Roman, codes 128..255 (below 128 it is ASCII). 0xDB is the euro
// sign of the current code page; the exceptions below give it the currency
// sign's place, as the older code page did.
constexpr char32_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

constexpr CodePage make_mac_roman() {
  CodePage page{};
  for (int c = 0; c < 128; ++c) page[c] = static_cast<char32_t>(c);
  for (int c = 128; c < 256; ++c) page[c] = kMacRomanHigh[c - 128];
  return page;
}

constexpr CodePage make_windows_1252() {
  CodePage page{};
  for (int c = 0; c < 256; ++c) {
    auto byte = static_cast<unsigned char>(c);
    page[c] = platform::windows1252_defines(byte) ? platform::windows1252_to_unicode(byte) : 0;
  }
  return page;
}

constexpr CodePage make_iso_8859_1() {
  CodePage page{};
  for (int c = 0; c < 256; ++c) page[c] = static_cast<char32_t>(c);
  return page;
}

constexpr CodePage kMacRoman = make_mac_roman();
constexpr CodePage kWindows1252 = make_windows_1252();
constexpr CodePage kIso88591 = make_iso_8859_1();

// The code of `from`'s character in `to`, through Unicode; 0 when `to` has
// no such character (or `from` leaves the code undefined).
constexpr ByteTable derive(const CodePage& from, const CodePage& to) {
  ByteTable table{};
  for (int c = 1; c < 256; ++c) {
    if (from[c] == 0) continue;
    for (int d = 1; d < 256; ++d) {
      if (to[d] == from[c]) {
        table[c] = static_cast<std::uint8_t>(d);
        break;
      }
    }
  }
  return table;
}

// Among the control codes only end of text, tab, line feed and carriage
// return cross between the Macintosh and Windows sets; delete never does.
constexpr void drop_controls_except_text_ones(ByteTable& table) {
  for (int c = 1; c < 32; ++c) {
    if (c != 3 && c != 9 && c != 10 && c != 13) table[c] = 0;
  }
  table[127] = 0;
}

constexpr ByteTable make_mac_to_windows() {
  ByteTable table = derive(kMacRoman, kWindows1252);
  drop_controls_except_text_ones(table);
  table[208] = 173;  // the en dash is the Windows soft hyphen
  table[219] = 164;  // the old Macintosh currency sign
  return table;
}

constexpr ByteTable make_windows_to_mac() {
  ByteTable table = derive(kWindows1252, kMacRoman);
  drop_controls_except_text_ones(table);
  table[128] = 0;  // the euro sign's place is the currency sign's
  table[150] = 0;  // the en dash's place is the soft hyphen's
  table[164] = 219;
  table[173] = 208;
  return table;
}

// ISO text reaches the run-time only from foreign files: no control code
// passes, and a few characters the run-time's Macintosh fonts lack are
// refused. (The run-time this replaces also sent 186, 214 and 220 to 161,
// 134 and 135, i.e. º to °, Ö to Ü and Ü to á: a table shifted by one that
// silently corrupts text; those three keep their true counterparts here.)
constexpr ByteTable make_iso_to_mac() {
  ByteTable table = derive(kIso88591, kMacRoman);
  for (int c = 1; c < 32; ++c) table[c] = 0;
  table[127] = 0;
  for (int c : {160, 161, 168, 170, 175, 181, 183, 184, 191, 209, 210, 211, 212, 217, 218, 219, 223, 255}) {
    table[c] = 0;
  }
  return table;
}

}  // namespace

// Built once on first use (a search of 256 x 256 entries is too much work to
// ask of every compiler's constant evaluator).
const ByteTable& mac_to_windows_table() {
  static const ByteTable table = make_mac_to_windows();
  return table;
}
const ByteTable& windows_to_mac_table() {
  static const ByteTable table = make_windows_to_mac();
  return table;
}
const ByteTable& iso_to_mac_table() {
  static const ByteTable table = make_iso_to_mac();
  return table;
}
const std::array<char32_t, 256>& mac_roman_unicode() { return kMacRoman; }
const std::array<char32_t, 256>& windows_1252_unicode() { return kWindows1252; }

}  // namespace orvane::charsets
