// PackBits compression and decompression, as QuickDraw packs bitmap rows: a flag byte n,
// then n + 1 literal items for n < 128, one item repeated 257 - n times for
// n > 128, nothing for 128. Items are bytes, or 16-bit words for 16-bit
// pixel rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane::graphics {

enum class UnpackResult {
  complete,  // out filled exactly
  short_row, // the packed data ended first
  overrun,   // a run would pass the end of out
};

// Unpacks into out until it is full. Packed bytes left once out is full are
// ignored, as QuickDraw ignores them; *consumed tells how many were used.
UnpackResult unpack_bits(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out,
                         std::size_t* consumed = nullptr);
// The same with 16-bit items; out's size must be even.
UnpackResult unpack_words(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out,
                          std::size_t* consumed = nullptr);

// Packs bytes and appends them to out: runs of three or more equal items
// become repeat items, the rest literal items of at most 128 items.
// unpack_bits gives the input back exactly.
void pack_bits(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out);
// The same with 16-bit items (a trailing odd byte is left out); unpack_words
// gives the input back.
void pack_words(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out);

}  // namespace orvane::graphics
