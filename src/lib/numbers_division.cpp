// Rounding, integer division and its remainders, parity, interpolation.
#include <cmath>

#include "core/primitives.h"
#include "lib/numbers_internal.h"

namespace orvane::numbers {

namespace {

// --- Rounding to integers -------------------------------------------------------

// x, or x / divisor in doubles, taken to an integer by `to_whole`. Without a
// divisor an integer is answered as it is.
template <double (*ToWhole)(double)>
Value round_to_integer(Value x, Value divisor) {
  if (is_nil(divisor) && is_integer(x)) return x;
  double v = double_of(x);
  if (!is_nil(divisor)) {
    double d = double_of(divisor);
    if (d == 0.0) raise_error(58, kNil);
    v /= d;
  }
  return make_integer(integer_from_double(ToWhole(v), x));
}

double floor_of(double v) { return std::floor(v); }
double ceiling_of(double v) { return std::ceil(v); }
double truncation_of(double v) { return std::trunc(v); }
// Halves go up: -2.5 becomes -2.
double rounding_of(double v) { return std::floor(v + 0.5); }

Value p_round_float(Value x, Value digits) {
  double v = double_of(x);
  double scale = is_nil(digits) ? 1.0 : std::pow(10.0, static_cast<std::int16_t>(integer_of(digits)));
  return make_real(std::floor(v * scale + 0.5) / scale);
}

// --- Division -------------------------------------------------------------------------
// INT32_MIN divided by -1 wraps to INT32_MIN (remainder 0) like every other
// overflow, instead of trapping.

std::int32_t integer_divisor(Value b) {
  std::int32_t d = integer_of(b);
  if (d == 0) raise_error(58, kNil);
  return d;
}

std::int32_t truncated_quotient(std::int32_t a, std::int32_t b) {
  return b == -1 ? wrapping_sub(0, a) : a / b;
}
std::int32_t truncated_remainder(std::int32_t a, std::int32_t b) { return b == -1 ? 0 : a % b; }

Value p_quotient(Value a, Value b) {
  std::int32_t x = integer_of(a);
  return make_integer(truncated_quotient(x, integer_divisor(b)));
}

double real_divisor(Value b) {
  double d = double_of(b);
  if (d == 0.0) raise_error(58, kNil);
  return d;
}

Value p_remainder(Value a, Value b) {
  if (is_integer(a) && is_integer(b))
    return make_integer(truncated_remainder(integer_unchecked(a), integer_divisor(b)));
  double x = double_of(a);
  return make_real(std::fmod(x, real_divisor(b)));
}

// The remainder takes the sign of the divisor.
Value p_modulo(Value a, Value b) {
  if (is_integer(a) && is_integer(b)) {
    std::int32_t divisor = integer_divisor(b);
    std::int32_t r = truncated_remainder(integer_unchecked(a), divisor);
    if (r != 0 && (r < 0) != (divisor < 0)) r = wrapping_add(r, divisor);
    return make_integer(r);
  }
  double x = double_of(a);
  double divisor = real_divisor(b);
  double r = std::fmod(x, divisor);
  if (r != 0 && (r < 0) != (divisor < 0)) r += divisor;
  return make_real(r);
}

Value p_even(Value n) { return boolean((integer_of(n) & 1) == 0); }
Value p_odd(Value n) { return boolean((integer_of(n) & 1) != 0); }

// --- Growth and interpolation ----------------------------------------------------------

// n + ceiling(n / 2); 1 for 0.
Value p_progressive_growth(Value n_value) {
  std::int32_t n = integer_of(n_value);
  if (n == 0) return make_fixnum(1);
  std::int32_t half = n / 2 + (n > 0 && (n & 1) ? 1 : 0);
  return make_integer(wrapping_add(n, half));
}

Value p_interpolate(Value a, Value b, Value t, Value as_integer) {
  double from = double_of(a), to = double_of(b), fraction = double_of(t);
  double h = from + fraction * (to - from);
  if (is_true(as_integer)) return make_integer(integer_from_double(std::floor(h + 0.5), t));
  return make_real(h);
}

}  // namespace

void register_rounding() {
  defprim("floor", round_to_integer<floor_of>);
  defprim("ceiling", round_to_integer<ceiling_of>);
  defprim("truncate", round_to_integer<truncation_of>);
  defprim("round", round_to_integer<rounding_of>);
  defprim("round-float", p_round_float);
  defprim("quotient", p_quotient);
  defprim("remainder", p_remainder);
  defprim("modulo", p_modulo);
  defprim("even?", p_even);
  defprim("odd?", p_odd);
  defprim("progressive-growth", p_progressive_growth);
  defprim("interpolate", p_interpolate);
}

}  // namespace orvane::numbers
