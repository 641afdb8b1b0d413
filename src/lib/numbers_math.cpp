// Mathematical functions (always reals) and bit operations on 32-bit
// integers.
#include <cmath>

#include "core/primitives.h"
#include "lib/numbers_internal.h"

namespace orvane::numbers {

namespace {

// --- Mathematical functions ------------------------------------------------------

template <double (*F)(double)>
Value real_function(Value x) {
  return make_real(F(double_of(x)));
}

double sine(double x) { return std::sin(x); }
double cosine(double x) { return std::cos(x); }
double tangent(double x) { return std::tan(x); }
double arc_sine(double x) { return std::asin(x); }
double arc_cosine(double x) { return std::acos(x); }
double exponential(double x) { return std::exp(x); }
double logarithm(double x) { return std::log(x); }
double square_root(double x) { return std::sqrt(x); }

Value p_atan(Value y, Value x) {
  double dy = double_of(y);
  return make_real(is_nil(x) ? std::atan(dy) : std::atan2(dy, double_of(x)));
}

Value p_expt(Value a, Value b) {
  double base = double_of(a);
  return make_real(std::pow(base, double_of(b)));
}

// --- Bits --------------------------------------------------------------------------------
// Bit numbers are taken modulo 32.

std::uint32_t bits_of(Value n) { return static_cast<std::uint32_t>(integer_of(n)); }
std::uint32_t bit_mask(Value bit) { return 1u << (bits_of(bit) & 31); }
Value integer_from_bits(std::uint32_t bits) { return make_integer(wrap(bits)); }

Value p_bit_test(Value n, Value bit) { return boolean((bits_of(n) & bit_mask(bit)) != 0); }
Value p_bit_set(Value n, Value bit) { return integer_from_bits(bits_of(n) | bit_mask(bit)); }
Value p_bit_clear(Value n, Value bit) { return integer_from_bits(bits_of(n) & ~bit_mask(bit)); }
Value p_bit_and(Value a, Value b) { return integer_from_bits(bits_of(a) & bits_of(b)); }
Value p_bit_or(Value a, Value b) { return integer_from_bits(bits_of(a) | bits_of(b)); }
Value p_bit_xor(Value a, Value b) { return integer_from_bits(bits_of(a) ^ bits_of(b)); }
Value p_bit_not(Value n) { return integer_from_bits(~bits_of(n)); }

}  // namespace

void register_math() {
  defprim("sin", real_function<sine>);
  defprim("cos", real_function<cosine>);
  defprim("tan", real_function<tangent>);
  defprim("asin", real_function<arc_sine>);
  defprim("acos", real_function<arc_cosine>);
  defprim("exp", real_function<exponential>);
  defprim("log", real_function<logarithm>);
  defprim("sqrt", real_function<square_root>);
  defprim("atan", p_atan);
  defprim("expt", p_expt);

  defprim("bit-test", p_bit_test);
  defprim("bit-set", p_bit_set);
  defprim("bit-clear", p_bit_clear);
  defprim("bit-and", p_bit_and);
  defprim("bit-or", p_bit_or);
  defprim("bit-xor", p_bit_xor);
  defprim("bit-not", p_bit_not);
}

}  // namespace orvane::numbers
