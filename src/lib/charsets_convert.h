// Text conversions between character sets over host byte buffers: the
// passes behind the conversion primitives, free of any Lisp Value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "lib/charsets_tables.h"

namespace orvane::charsets {

// Converts the bytes in place through the table. With keep_controls, a
// control code without entry stays, and when the reader's character type
// makes it a compact-encoding token its operand bytes stay too. A byte
// without counterpart stays as it is; the answer is the first such code.
std::optional<std::uint8_t> convert_in_place(std::span<std::uint8_t> bytes, const ByteTable& table,
                                             bool keep_controls);

// The outcomes of converting Macintosh text (carriage returns) into Windows
// text (carriage return plus line feed).
struct AlreadyWindowsText {};  // a line feed is present: nothing to do
struct NoRoom {};              // the converted text exceeds the capacity
struct NoCounterpart {
  std::uint8_t code;
};
using MacToWindowsOutcome = std::variant<AlreadyWindowsText, NoRoom, NoCounterpart, std::vector<std::uint8_t>>;

// Converts into a new buffer, so that a failure leaves the source intact.
MacToWindowsOutcome mac_text_to_windows(std::span<const std::uint8_t> text, std::uint32_t capacity,
                                        bool keep_controls);

// Windows text to Macintosh text: line feeds dropped, every other byte
// through the table (0 where there is no counterpart).
std::vector<std::uint8_t> windows_text_to_mac(std::span<const std::uint8_t> text);

}  // namespace orvane::charsets
