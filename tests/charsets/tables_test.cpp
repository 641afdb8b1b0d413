// The conversion tables: derived through Unicode, with the run-time's
// exceptions, and consistent with one another and with the reader's table.
#include <gtest/gtest.h>

#include "lib/charsets_tables.h"
#include "reader/mac_charset.h"

namespace orvane::charsets {
namespace {

TEST(CharsetTables, CodeZeroMapsToZeroEverywhere) {
  EXPECT_EQ(mac_to_windows_table()[0], 0);
  EXPECT_EQ(windows_to_mac_table()[0], 0);
  EXPECT_EQ(iso_to_mac_table()[0], 0);
}

TEST(CharsetTables, OnlyTextControlsCrossBetweenMacAndWindows) {
  for (int c = 1; c < 32; ++c) {
    bool passes = c == 3 || c == 9 || c == 10 || c == 13;
    EXPECT_EQ(mac_to_windows_table()[c], passes ? c : 0) << c;
    EXPECT_EQ(windows_to_mac_table()[c], passes ? c : 0) << c;
    EXPECT_EQ(iso_to_mac_table()[c], 0) << c;
  }
  EXPECT_EQ(mac_to_windows_table()[127], 0);
  EXPECT_EQ(windows_to_mac_table()[127], 0);
  EXPECT_EQ(iso_to_mac_table()[127], 0);
}

TEST(CharsetTables, AsciiPrintingCharactersAreUnchanged) {
  for (int c = 32; c < 127; ++c) {
    EXPECT_EQ(mac_to_windows_table()[c], c);
    EXPECT_EQ(windows_to_mac_table()[c], c);
    EXPECT_EQ(iso_to_mac_table()[c], c);
  }
}

TEST(CharsetTables, MacToWindowsExceptions) {
  EXPECT_EQ(mac_to_windows_table()[208], 173);  // en dash -> soft hyphen
  EXPECT_EQ(mac_to_windows_table()[219], 164);  // currency sign
}

TEST(CharsetTables, WindowsToMacExceptions) {
  EXPECT_EQ(windows_to_mac_table()[128], 0);  // euro
  EXPECT_EQ(windows_to_mac_table()[150], 0);  // en dash
  EXPECT_EQ(windows_to_mac_table()[164], 219);
  EXPECT_EQ(windows_to_mac_table()[173], 208);
}

TEST(CharsetTables, KnownLettersAndSymbols) {
  // Mac 0x80 is A-umlaut, Windows 0xC4; Mac 0x8E is e-acute, Windows 0xE9.
  EXPECT_EQ(mac_to_windows_table()[0x80], 0xC4);
  EXPECT_EQ(mac_to_windows_table()[0x8E], 0xE9);
  EXPECT_EQ(mac_to_windows_table()[0xD2], 0x93);  // left double quote
  EXPECT_EQ(mac_to_windows_table()[0xC9], 0x85);  // ellipsis
  EXPECT_EQ(mac_to_windows_table()[0xAA], 0x99);  // trade mark
  EXPECT_EQ(mac_to_windows_table()[0xCE], 0x8C);  // OE ligature
  EXPECT_EQ(windows_to_mac_table()[0xDF], 0xA7);  // sharp s
  EXPECT_EQ(windows_to_mac_table()[0xFF], 0xD8);  // y diaeresis
  EXPECT_EQ(windows_to_mac_table()[0x9F], 0xD9);  // Y diaeresis
}

TEST(CharsetTables, CharactersOnlyOneSideHasGetNoCounterpart) {
  // Mac: not-equal, infinity, pi, apple, fi ligature; Windows: S-caron,
  // broken bar, superscript two, Eth, multiplication sign, y-acute.
  for (int c : {0xAD, 0xB0, 0xB9, 0xF0, 0xDE}) EXPECT_EQ(mac_to_windows_table()[c], 0) << c;
  for (int c : {0x8A, 0xA6, 0xB2, 0xD0, 0xD7, 0xFD, 0x81, 0x8D}) EXPECT_EQ(windows_to_mac_table()[c], 0) << c;
}

TEST(CharsetTables, MacAndWindowsRoundTrip) {
  for (int c = 1; c < 256; ++c) {
    std::uint8_t w = mac_to_windows_table()[c];
    if (w != 0) {
      EXPECT_EQ(windows_to_mac_table()[w], c) << "mac " << c;
    }
    std::uint8_t m = windows_to_mac_table()[c];
    if (m != 0) {
      EXPECT_EQ(mac_to_windows_table()[m], c) << "windows " << c;
    }
  }
}

TEST(CharsetTables, EveryCounterpartIsTheSameUnicodeCharacter) {
  for (int c = 160; c < 256; ++c) {
    if (c == 164 || c == 173) continue;  // the exceptions
    std::uint8_t m = windows_to_mac_table()[c];
    if (m != 0) {
      EXPECT_EQ(mac_roman_unicode()[m], windows_1252_unicode()[c]) << c;
    }
  }
}

TEST(CharsetTables, ReaderTableAgreesWithDerivedTable) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(windows_to_mac(static_cast<std::uint8_t>(c)), windows_to_mac_table()[c]) << c;
  }
}

TEST(CharsetTables, IsoRefusals) {
  for (int c : {160, 161, 168, 170, 175, 181, 183, 184, 191, 209, 210, 211, 212, 217, 218, 219, 223, 255}) {
    EXPECT_EQ(iso_to_mac_table()[c], 0) << c;
  }
  for (int c = 128; c < 160; ++c) EXPECT_EQ(iso_to_mac_table()[c], 0) << c;  // C1 controls
}

TEST(CharsetTables, IsoLettersKeepTheirIdentity) {
  // The replaced run-time sent these three to the neighbouring Mac code.
  EXPECT_EQ(iso_to_mac_table()[186], 188);  // masculine ordinal
  EXPECT_EQ(iso_to_mac_table()[214], 133);  // O-umlaut
  EXPECT_EQ(iso_to_mac_table()[220], 134);  // U-umlaut
  EXPECT_EQ(iso_to_mac_table()[233], 142);  // e-acute
  EXPECT_EQ(iso_to_mac_table()[169], 169);  // copyright
}

}  // namespace
}  // namespace orvane::charsets
