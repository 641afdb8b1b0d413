// The keyboard's key codes: the 16-bit code a virtual key is reported to
// Lisp with (`system-key-down`), and which codes are offered before the key
// is translated into a character.
#pragma once

#include <cstdint>

namespace orvane::shell {

// The key code of a virtual key; 0 when the key is not reported. `extended`
// is the key message's extended-key bit: the keypad Enter gives 3 and End
// with the bit 46.
int key_code(std::uint8_t virtual_key, bool extended);

// ASCII letters and digits, and the accented letters of Windows-1252
// (192-214, 216-246, 248-255).
bool is_letter_or_digit(int code);

// Whether `system-key-down` is offered the code: a reported key that is not
// a letter or digit, or any reported key with Control down.
inline bool offers_system_key(int code, bool control) {
  return code != 0 && (control || !is_letter_or_digit(code));
}

}  // namespace orvane::shell
