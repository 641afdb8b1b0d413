// The sixteen binary mixes of a pen or brush with the destination (GDI's
// ROP2 codes) and the ternary raster operations of block transfers (the
// operation index of GDI's ROP3 codes: bit P*4 + S*2 + D of the index is the
// result for pattern bit P, source bit S and destination bit D).
#pragma once

#include <cstdint>

namespace orvane::raster {

enum class Mix : std::uint8_t {
  black = 1, not_merge_pen = 2, mask_not_pen = 3, not_copy_pen = 4, mask_pen_not = 5,
  invert = 6, xor_pen = 7, not_mask_pen = 8, mask_pen = 9, not_xor_pen = 10, nop = 11,
  merge_not_pen = 12, copy_pen = 13, merge_pen_not = 14, merge_pen = 15, white = 16,
};

enum class RasterOp : std::uint8_t {
  blackness = 0x00,
  not_src_erase = 0x11,  // ~(S | D)
  not_src_copy = 0x33,   // ~S
  src_erase = 0x44,      // S & ~D
  dst_invert = 0x55,     // ~D
  pat_invert = 0x5a,     // P ^ D
  src_invert = 0x66,     // S ^ D
  src_and = 0x88,        // S & D
  merge_paint = 0xbb,    // ~S | D
  dst_copy = 0xaa,       // D
  merge_copy = 0xc0,     // P & S
  src_copy = 0xcc,       // S
  src_paint = 0xee,      // S | D
  pat_copy = 0xf0,       // P
  pat_paint = 0xfb,      // P | ~S | D
  whiteness = 0xff,
};

constexpr RasterOp raster_op(std::uint8_t index) { return static_cast<RasterOp>(index); }
constexpr std::uint8_t index_of(RasterOp op) { return static_cast<std::uint8_t>(op); }

// The ternary operation that applies a mix with the pattern as the pen.
constexpr RasterOp raster_op_of(Mix mix) {
  unsigned table = static_cast<unsigned>(mix) - 1;  // bit P*2 + D
  unsigned index = 0;
  for (unsigned i = 0; i < 8; ++i) {
    unsigned p = (i >> 2) & 1, d = i & 1;
    if ((table >> (p * 2 + d)) & 1) index |= 1u << i;
  }
  return raster_op(static_cast<std::uint8_t>(index));
}

constexpr bool uses_source(RasterOp op) {
  unsigned i = index_of(op);
  return ((i >> 2) & 0x33) != (i & 0x33);
}
constexpr bool uses_pattern(RasterOp op) {
  unsigned i = index_of(op);
  return (i >> 4) != (i & 0x0f);
}

// The operation on whole pixel values (only the bits under the surface's
// value mask matter).
constexpr std::uint32_t apply_raster_op(RasterOp op, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (op) {
    case RasterOp::blackness: return 0;
    case RasterOp::not_src_erase: return ~(s | d);
    case RasterOp::not_src_copy: return ~s;
    case RasterOp::src_erase: return s & ~d;
    case RasterOp::dst_invert: return ~d;
    case RasterOp::pat_invert: return p ^ d;
    case RasterOp::src_invert: return s ^ d;
    case RasterOp::src_and: return s & d;
    case RasterOp::merge_paint: return ~s | d;
    case RasterOp::dst_copy: return d;
    case RasterOp::merge_copy: return p & s;
    case RasterOp::src_copy: return s;
    case RasterOp::src_paint: return s | d;
    case RasterOp::pat_copy: return p;
    case RasterOp::pat_paint: return p | ~s | d;
    case RasterOp::whiteness: return 0xffffffffu;
    default: break;
  }
  unsigned index = index_of(op);
  std::uint32_t result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!((index >> i) & 1)) continue;
    std::uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return result;
}

}  // namespace orvane::raster
