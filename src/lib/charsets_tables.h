// The three byte tables that convert text between the Macintosh character
// set of titles (Mac OS Roman), the run-time's Windows-1252 and ISO 8859-1.
// Each is derived through Unicode from the code pages, then adjusted by the
// run-time's own exceptions. An entry 0 means "no counterpart" (code 0 maps
// to 0).
#pragma once

#include <array>
#include <cstdint>

namespace orvane::charsets {

using ByteTable = std::array<std::uint8_t, 256>;

const ByteTable& mac_to_windows_table();
const ByteTable& windows_to_mac_table();
const ByteTable& iso_to_mac_table();

// The Unicode code points of the two code pages (0 for a Windows-1252 code
// that the code page leaves undefined); exposed for the tests.
const std::array<char32_t, 256>& mac_roman_unicode();
const std::array<char32_t, 256>& windows_1252_unicode();

}  // namespace orvane::charsets
