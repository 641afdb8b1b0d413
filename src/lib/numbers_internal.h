// Helpers shared by the files of the numeric library.
#pragma once

#include <cstdint>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"

namespace orvane::numbers {

inline Value boolean(bool b) { return b ? g_sym.t : kNil; }

// 32-bit two's-complement arithmetic that wraps instead of overflowing.
inline std::int32_t wrap(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }
inline std::int32_t wrapping_add(std::int32_t a, std::int32_t b) {
  return wrap(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t wrapping_sub(std::int32_t a, std::int32_t b) {
  return wrap(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t wrapping_mul(std::int32_t a, std::int32_t b) {
  return wrap(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// A number argument: error 2 with it when it is neither integer nor real.
inline void require_number(Value v) {
  if (!is_number(v)) raise_error(2, v);
}

// A double taken to a 32-bit integer; a value outside that range (or not a
// number at all) has no integer to answer and raises error 2 with culprit.
inline std::int32_t integer_from_double(double d, Value culprit) {
  if (!(d >= -2147483648.0 && d < 2147483648.0)) raise_error(2, culprit);
  return static_cast<std::int32_t>(d);
}

void register_arithmetic();
void register_rounding();
void register_math();
void register_random();

}  // namespace orvane::numbers
