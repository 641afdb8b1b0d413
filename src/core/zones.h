// The zones of the Lisp block as the zone primitives and the memory display
// see them, and the operations that move them.
#pragma once

#include <array>
#include <cstdint>

namespace orvane {

// Zone numbers, always in this order.
enum class Zone { symbols = 0, lisp_stack, prolog_stack, nodes, heap, reserve, native_stack };
inline constexpr std::size_t kZoneCount = 7;
// Bytes per unit of each zone's figures.
inline constexpr std::array<std::uint32_t, kZoneCount> kZoneUnits = {16, 4, 4, 8, 1, 1, 1};

using ZoneFigures = std::array<std::uint64_t, kZoneCount>;

// World addresses of the symbol table, the Lisp stack base, the first
// allocatable node, the indirect area, the prolog stack base, 0, 0.
ZoneFigures zone_addresses();
// Sizes in units.
ZoneFigures zone_sizes();
// Free amounts in units.
ZoneFigures zone_free();

// Slide a zone by `delta` bytes; Values stay valid. Each answers false, and
// moves nothing, when the zone would leave the Lisp block, overlap another
// zone or lose its alignment (16 bytes for the symbol table, 8 for the
// nodes, 2 for the indirect data). Indirect data can only move into free
// space: up by at most the free bytes at the end of the area, down by at
// most the gap left below it.
bool move_symbols(std::int64_t delta);
bool move_nodes(std::int64_t delta);
bool move_indirects(std::int64_t delta);

}  // namespace orvane
