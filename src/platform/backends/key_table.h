// The keys an event script can name, with what a PC keyboard on the US layout
// reports for them: the Win32 virtual-key code, the scan code of set 1, the
// extended-key bit, and the character the key types with and without Shift
// (0 for a key that types nothing). The SDL2 backend maps the host's keys onto
// the same table, so a recorded session replays headless key for key.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orvane::platform::backends {

struct KeyInfo {
  std::string_view name;       // as scripts write it: "a", "f5", "keypad-enter", "["
  std::uint8_t virtual_key = 0;
  std::uint16_t scan_code = 0;
  bool extended = false;
  char text = 0;               // typed without Shift
  char shifted_text = 0;       // typed with Shift
};

// Virtual-key codes of the modifier keys (the generic ones WM_KEYDOWN gives).
inline constexpr std::uint8_t kVirtualKeyShift = 0x10;
inline constexpr std::uint8_t kVirtualKeyControl = 0x11;
inline constexpr std::uint8_t kVirtualKeyAlt = 0x12;

// Every key, in a fixed order.
std::span<const KeyInfo> all_keys();

// The key of that script name (exact, lower case); none when unknown.
const KeyInfo* find_key(std::string_view name);

// The key a host reported, by virtual-key code, scan code and extended bit
// (the scan code decides between keys sharing a code, as keypad 1 and End
// with Num Lock off); none when the table has no such key.
const KeyInfo* find_key(std::uint8_t virtual_key, std::uint16_t scan_code, bool extended);

// The character a key types with those modifiers: Shift picks the shifted
// character; Ctrl or Alt type nothing. 0 when nothing is typed.
char typed_character(const KeyInfo& key, bool shift, bool control, bool alt);

}  // namespace orvane::platform::backends
