#include "lib/charsets_convert.h"

#include <algorithm>

#include "reader/char_types.h"

namespace orvane::charsets {

namespace {

constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kCarriageReturn = 13;

// How many operand bytes follow a control code that starts a token of the
// compact encoding (by the live character-type table), 0 otherwise.
std::size_t compact_operand_count(std::uint8_t code) {
  switch (char_type(code)) {
    case chartype::compact_symbol2:
    case chartype::compact_fixnum1:
      return 1;
    case chartype::compact_symbol3:
    case chartype::compact_fixnum2:
    case chartype::compact_variable:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

std::optional<std::uint8_t> convert_in_place(std::span<std::uint8_t> bytes, const ByteTable& table,
                                             bool keep_controls) {
  std::optional<std::uint8_t> first_missing;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::uint8_t byte = bytes[i];
    std::uint8_t entry = table[byte];
    if (!keep_controls || byte >= 32 || entry != 0) {
      if (entry != 0) {
        bytes[i] = entry;
      } else if (byte != 0 && !first_missing) {
        first_missing = byte;
      }
      continue;
    }
    // A kept control code: its operands are symbol or number references,
    // not characters, and must not be translated.
    i += std::min(compact_operand_count(byte), bytes.size() - 1 - i);
  }
  return first_missing;
}

MacToWindowsOutcome mac_text_to_windows(std::span<const std::uint8_t> text, std::uint32_t capacity,
                                        bool keep_controls) {
  if (std::ranges::find(text, kLineFeed) != text.end()) return AlreadyWindowsText{};
  std::uint64_t new_length = text.size() + static_cast<std::uint64_t>(std::ranges::count(text, kCarriageReturn));
  if (capacity < new_length) return NoRoom{};
  const ByteTable& table = mac_to_windows_table();
  // From the last byte to the first, as the run-time always did, so that
  // the code reported is the last one without counterpart.
  std::vector<std::uint8_t> out(new_length);
  std::size_t at = out.size();
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    std::uint8_t byte = *it;
    if (byte == kCarriageReturn) {
      out[--at] = kLineFeed;
      out[--at] = kCarriageReturn;
    } else if (keep_controls && byte < 32) {
      out[--at] = byte;
    } else if (table[byte] != 0 || byte == 0) {
      out[--at] = table[byte];
    } else {
      return NoCounterpart{byte};
    }
  }
  return out;
}

std::vector<std::uint8_t> windows_text_to_mac(std::span<const std::uint8_t> text) {
  const ByteTable& table = windows_to_mac_table();
  std::vector<std::uint8_t> out;
  out.reserve(text.size());
  for (std::uint8_t byte : text) {
    if (byte != kLineFeed) out.push_back(table[byte]);
  }
  return out;
}

}  // namespace orvane::charsets
