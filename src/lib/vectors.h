// The indexed containers: vectors and arrays (indirects whose elements are
// Values in the indirect area) and hash tables keyed by symbols (one slot
// per symbol-table entry, in a block outside the indirect area).
#pragma once

#include <cstdint>
#include <cstring>

#include "core/memory.h"

namespace orvane {

inline constexpr std::int32_t kMaxVectorLength = 16383;
// The data of an array stays below this many bytes.
inline constexpr std::int64_t kArrayDataLimit = 65535;

// Elements lie at even, not necessarily 4-byte aligned, addresses.
inline Value load_value(const std::uint8_t* p) {
  std::uint32_t bits;
  std::memcpy(&bits, p, 4);
  return Value(bits);
}
inline void store_value(std::uint8_t* p, Value v) { std::memcpy(p, &v.bits, 4); }
inline std::uint16_t load_u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline void store_u16(std::uint8_t* p, std::uint32_t x) {
  p[0] = static_cast<std::uint8_t>(x);
  p[1] = static_cast<std::uint8_t>(x >> 8);
}

// A vector of n Values read from `items` (which must not lie in the
// indirect area); error 2 with n above the limit.
Value make_vector(const Value* items, std::uint32_t n);
inline std::uint32_t vector_length(Value v) { return load_u16(indirect_data(v)) & 0x7fff; }

// A new hash table with every slot empty.
Value make_hash_table();
// The Value in sym's slot, or kAbsent.
Value hash_table_get(Value table, Value sym);
void hash_table_put(Value table, Value sym, Value v);

void register_vectors();
void register_arrays();
void register_hash_tables();

}  // namespace orvane
