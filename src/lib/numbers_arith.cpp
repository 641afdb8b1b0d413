// Number predicates, the four operations, comparisons and extremes.
#include <cmath>

#include "core/primitives.h"
#include "lib/numbers_internal.h"

namespace orvane::numbers {

namespace {

// --- Predicates ------------------------------------------------------------------

Value p_number(Value x) { return boolean(is_number(x)); }
Value p_rational(Value) { return kNil; }
Value p_integer(Value x) { return boolean(is_integer(x)); }
Value p_inexact(Value x) { return boolean(!is_integer(x)); }

// The sign of a number: -1, 0 or 1 (0 for NaN).
int sign_of(Value x) {
  if (is_integer(x)) {
    std::int32_t i = integer_unchecked(x);
    return (i > 0) - (i < 0);
  }
  double d = double_of(x);
  return (d > 0) - (d < 0);
}

Value p_zero(Value x) {
  require_number(x);
  return boolean(is_integer(x) ? integer_unchecked(x) == 0 : real_of(x) == 0.0);
}
Value p_positive(Value x) { return boolean(sign_of(x) > 0); }
Value p_negative(Value x) { return boolean(sign_of(x) < 0); }

// --- Sums and products --------------------------------------------------------------

// An accumulator that stays a 32-bit integer until the first real, then
// continues in doubles.
class Accumulator {
 public:
  explicit Accumulator(std::int32_t start) : integer_(start) {}

  template <class IntOp, class RealOp>
  void take(Value x, IntOp int_op, RealOp real_op) {
    if (!real_ && is_integer(x)) {
      integer_ = int_op(integer_, integer_unchecked(x));
      return;
    }
    if (!real_) {
      require_number(x);
      real_ = true;
      value_ = integer_;
    }
    value_ = real_op(value_, double_of(x));
  }

  bool is_real() const { return real_; }
  std::int32_t integer() const { return integer_; }
  double value() const { return real_ ? value_ : integer_; }
  Value result() const { return real_ ? make_real(value_) : make_integer(integer_); }

 private:
  bool real_ = false;
  std::int32_t integer_;
  double value_ = 0;
};

Accumulator sum_of(RestArgs args) {
  Accumulator acc(0);
  for (Value x : args) acc.take(x, wrapping_add, [](double a, double b) { return a + b; });
  return acc;
}

Accumulator product_of(RestArgs args) {
  Accumulator acc(1);
  for (Value x : args) acc.take(x, wrapping_mul, [](double a, double b) { return a * b; });
  return acc;
}

Value p_add(RestArgs args) { return sum_of(args).result(); }
Value p_multiply(RestArgs args) { return product_of(args).result(); }

RestArgs after_first(RestArgs args) { return RestArgs(args.begin() + 1); }

Value p_subtract(RestArgs args) {
  if (args.empty()) return make_fixnum(0);
  Value first = args[0];
  require_number(first);
  if (after_first(args).empty()) {
    if (is_integer(first)) return make_integer(wrapping_sub(0, integer_unchecked(first)));
    return make_real(-real_of(first));
  }
  Accumulator rest = sum_of(after_first(args));
  if (is_integer(first) && !rest.is_real())
    return make_integer(wrapping_sub(integer_unchecked(first), rest.integer()));
  return make_real(double_of(first) - rest.value());
}

// Always a real; a zero divisor follows the double rules.
Value p_divide(RestArgs args) {
  if (args.empty()) return make_real(1.0);
  double first = double_of(args[0]);
  if (after_first(args).empty()) return make_real(1.0 / first);
  return make_real(first / product_of(after_first(args)).value());
}

// --- Comparisons -----------------------------------------------------------------------

// `t` when the relation holds between every two adjacent arguments, checked
// from the last pair back to the first; error 42 with no argument.
template <class Relation>
Value compare_adjacent(RestArgs args, Relation holds) {
  std::size_t n = args.size();
  if (n == 0) raise_error(42, kNil);
  for (std::size_t i = n - 1; i > 0; --i) {
    Value a = args[i - 1], b = args[i];
    bool ok = is_integer(a) && is_integer(b)
                  ? holds(integer_unchecked(a), integer_unchecked(b))
                  : holds(double_of(a), double_of(b));
    if (!ok) return kNil;
  }
  return g_sym.t;
}

Value p_greater(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x > y; }); }
Value p_less(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x < y; }); }
Value p_less_equal(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x <= y; }); }
Value p_greater_equal(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x >= y; }); }
Value p_equal(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x == y; }); }
Value p_not_equal(RestArgs a) { return compare_adjacent(a, [](auto x, auto y) { return x != y; }); }

// Scans from the last argument to the first; integers stay integers until a
// real is met, after which the result is a real.
template <class Better>
Value extreme(RestArgs args, Better better) {
  std::size_t n = args.size();
  if (n == 0) raise_error(42, kNil);
  Accumulator best(0);
  Value last = args[n - 1];
  best.take(last, [](std::int32_t, std::int32_t x) { return x; }, [](double, double x) { return x; });
  for (std::size_t i = n - 1; i-- > 0;) {
    best.take(
        args[i], [&](std::int32_t m, std::int32_t x) { return better(x, m) ? x : m; },
        [&](double m, double x) { return better(x, m) ? x : m; });
  }
  return best.result();
}

// --- Two fixnums ---------------------------------------------------------------------

// What the primitives above answer for exactly two integer arguments; the
// evaluator calls these directly when both are fixnums.
inline Value integer_result(std::int32_t x) { return fits_fixnum(x) ? make_fixnum(x) : make_integer(x); }
Value add_pair(std::int32_t a, std::int32_t b) { return integer_result(wrapping_add(a, b)); }
Value subtract_pair(std::int32_t a, std::int32_t b) { return integer_result(wrapping_sub(a, b)); }
Value multiply_pair(std::int32_t a, std::int32_t b) { return integer_result(wrapping_mul(a, b)); }
Value greater_pair(std::int32_t a, std::int32_t b) { return boolean(a > b); }
Value less_pair(std::int32_t a, std::int32_t b) { return boolean(a < b); }
Value less_equal_pair(std::int32_t a, std::int32_t b) { return boolean(a <= b); }
Value greater_equal_pair(std::int32_t a, std::int32_t b) { return boolean(a >= b); }
Value equal_pair(std::int32_t a, std::int32_t b) { return boolean(a == b); }
Value not_equal_pair(std::int32_t a, std::int32_t b) { return boolean(a != b); }

Value p_max(RestArgs args) { return extreme(args, [](auto x, auto m) { return x > m; }); }
Value p_min(RestArgs args) { return extreme(args, [](auto x, auto m) { return x < m; }); }

Value p_abs(Value x) {
  require_number(x);
  if (is_real(x)) return make_real(std::fabs(real_of(x)));
  std::int32_t i = integer_unchecked(x);
  return i < 0 ? make_integer(wrapping_sub(0, i)) : x;
}

Value p_relate(Value a, Value b) {
  std::int32_t x = integer_of(a), y = integer_of(b);
  return make_fixnum((x > y) - (x < y));
}

}  // namespace

void register_arithmetic() {
  defprim("number?", p_number);
  defprim("complex?", p_number);
  defprim("real?", p_number);
  defprim("rational?", p_rational);
  defprim("integer?", p_integer);
  defprim("exact?", p_integer);
  defprim("inexact?", p_inexact);
  defprim("zero?", p_zero);
  defprim("positive?", p_positive);
  defprim("negative?", p_negative);

  set_fixnum_pair(defprim("+", p_add), add_pair);
  set_fixnum_pair(defprim("*", p_multiply), multiply_pair);
  set_fixnum_pair(defprim("-", p_subtract), subtract_pair);
  defprim("/", p_divide);

  set_fixnum_pair(defprim(">", p_greater), greater_pair);
  set_fixnum_pair(defprim("<", p_less), less_pair);
  set_fixnum_pair(defprim("<=", p_less_equal), less_equal_pair);
  set_fixnum_pair(defprim(">=", p_greater_equal), greater_equal_pair);
  set_fixnum_pair(defprim("=", p_equal), equal_pair);
  set_fixnum_pair(defprim("/=", p_not_equal), not_equal_pair);
  defprim("max", p_max);
  defprim("min", p_min);
  defprim("abs", p_abs);
  defprim("relate", p_relate);
}

}  // namespace orvane::numbers
