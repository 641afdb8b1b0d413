// Small record formats read out of resource data: string lists ("STR#"),
// single strings ("STR "), pattern lists ("PAT#") and help records. Every
// reader stops at the end of the data it is given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvane {

using Pattern = std::array<std::uint8_t, 8>;

// "STR#": a 2-byte count, then counted strings packed one after another.
int string_list_count(std::span<const std::uint8_t> data);
// String number `index` (from 1); nothing below 1, past the count or past
// the data.
std::optional<std::string_view> string_list_entry(std::span<const std::uint8_t> data, int index);
// "STR ": one counted string.
std::optional<std::string_view> single_string(std::span<const std::uint8_t> data);

// Built-in patterns of list 0: 1 black, 4 grey, 20 white.
std::optional<Pattern> builtin_pattern(int index);
// "PAT#": a 2-byte count, then 8-byte patterns; index from 1 up to the count.
std::optional<Pattern> pattern_list_entry(std::span<const std::uint8_t> data, int index);

// Help records: 4 bytes, a length byte, the name, padding to make length
// byte and name even. Names longer than 127 characters end the records.
struct HelpRecord {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
  std::string_view name;
};
std::vector<HelpRecord> help_records(std::span<const std::uint8_t> data);
// The offset of record n (the sizes of the n records before it, as far as
// the data goes).
std::uint32_t help_offset(std::span<const std::uint8_t> data, std::int32_t n);
// The number of records that start before a byte offset.
std::int32_t help_number(std::span<const std::uint8_t> data, std::int32_t offset);

}  // namespace orvane
