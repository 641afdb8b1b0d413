// The bytes of the resources a title folder makes, in the layouts that
// start-up and the run-time read (title_file.h, the cursors of the event
// dispatch, the resource records).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory_config.h"
#include "platform/raster/geometry.h"

namespace orvane::shell {

using Bytes = std::vector<std::uint8_t>;

// "PREF" 257: two unread bytes, the flags, the language, the client size.
Bytes preferences_resource(std::uint8_t flags, int language, raster::IntSize client);
// "PREF" 258: a counted string (at most 255 characters are kept).
Bytes caption_resource(std::string_view caption);
// "VPRF" 256: the nine sizes and shares.
Bytes memory_resource(const MemoryConfig& memory);
// "SIZE" -1: flags, then the preferred and the minimum total.
Bytes size_resource(const MemoryConfig& memory);
// "wait" N: how long splash picture N stays, in ticks.
Bytes wait_resource(std::uint16_t ticks);

inline constexpr int kCursorSide = 16;
// "CURS" from 16 x 16 RGBA pixels: 16 rows of image bits, 16 rows of mask
// bits, the hot spot (v, h). Pixels with alpha from 128 are in the mask;
// those that are dark (luminance below 128) are set in the image (black).
Bytes cursor_resource(std::span<const std::uint8_t> rgba, int hot_x, int hot_y);

// "STR#": a count, then counted strings (each at most 255 characters).
Bytes string_list_resource(std::span<const std::string> strings);
// "PAT#": a count, then 8-byte patterns.
Bytes pattern_list_resource(std::span<const std::array<std::uint8_t, 8>> patterns);

// The lines of a text: split at line feeds, a carriage return before one
// dropped; a last line feed ends the last line.
std::vector<std::string_view> text_lines(std::string_view text);

}  // namespace orvane::shell
