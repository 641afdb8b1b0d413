// Arrays: a 16-bit element count, a 16-bit rank, the dimensions, then the
// elements with the first index varying fastest.
#include <algorithm>

#include "core/collector.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/vectors.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

bool is_array(Value v) { return v.tag() == tag::array; }

struct ArrayShape {
  std::uint32_t count;
  std::uint32_t rank;
};

ArrayShape shape_of(Value a) {
  const std::uint8_t* p = indirect_data(a);
  return {load_u16(p), load_u16(p + 2)};
}

std::uint32_t dimension(Value a, std::uint32_t k) { return load_u16(indirect_data(a) + 4 + 2 * k); }

std::uint8_t* element_at(Value a, std::uint32_t position) {
  return indirect_data(a) + 4 + 2 * shape_of(a).rank + 4 * position;
}

Value p_make_array(RestArgs dims) {
  std::size_t rank = dims.size();
  if (rank == 0) raise_error(2, kNil);
  // The product saturates far past the limit (the error shows the size).
  std::int64_t count = 1;
  for (std::size_t k = 0; k < rank; ++k) {
    std::int32_t d = integer_of(dims[k]);
    if (d < 0) raise_error(2, dims[k]);
    count = std::min<std::int64_t>(count * d, std::int64_t{1} << 40);
  }
  std::int64_t size = 4 * count + 2 * static_cast<std::int64_t>(rank) + 4;
  if (size >= kArrayDataLimit) raise_error(2, make_integer(size));
  auto bytes = static_cast<std::uint32_t>(size);
  std::uint8_t* p = reserve_indirect(bytes);
  store_u16(p, static_cast<std::uint32_t>(count));
  store_u16(p + 2, static_cast<std::uint32_t>(rank));
  for (std::size_t k = 0; k < rank; ++k) store_u16(p + 4 + 2 * k, static_cast<std::uint32_t>(integer_unchecked(dims[k])));
  std::uint8_t* elements = p + 4 + 2 * rank;
  for (std::int64_t i = 0; i < count; ++i) store_value(elements + 4 * i, make_fixnum(0));
  return commit_indirect(bytes, tag::array, header::array);
}

Value p_array_p(Value v) { return boolean(is_array(v)); }

// The position of the element named by the indexes starting at `first`.
std::uint32_t array_position(Value a, RestArgs args, std::size_t first) {
  if (args[first] == kAbsent) raise_error(2, kNil);
  ArrayShape shape = shape_of(a);
  std::uint32_t position = 0;
  std::uint32_t stride = 1;
  for (std::uint32_t k = 0; k < shape.rank; ++k) {
    Value index = args[first + k];
    if (index == kAbsent) raise_error(2, kNil);
    if (!is_integer(index)) raise_error(2, index);
    std::int32_t i = integer_unchecked(index);
    std::uint32_t d = dimension(a, k);
    if (i < 0 || static_cast<std::uint32_t>(i) >= d) raise_error(2, index);
    position += stride * static_cast<std::uint32_t>(i);
    stride *= d;
  }
  Value extra = args[first + shape.rank];
  if (extra != kAbsent) raise_error(2, extra);
  return position;
}

Value require_array(Value v) {
  if (!is_array(v)) raise_error(2, v);
  return v;
}

Value p_array_ref(RestArgs args) {
  if (args.empty()) raise_error(2, kNil);
  Value a = require_array(args[0]);
  return load_value(element_at(a, array_position(a, args, 1)));
}

Value p_array_set(RestArgs args) {
  if (args.empty() || args[1] == kAbsent) raise_error(2, kNil);
  Value a = require_array(args[0]);
  Value x = args[1];
  std::uint32_t position = array_position(a, args, 2);
  store_value(element_at(a, position), x);
  write_barrier(a.payload());
  return x;
}

Value p_copy_array(Value from, Value to) {
  std::uint32_t n = shape_of(require_array(from)).count;
  if (shape_of(require_array(to)).count < n) raise_error(2, to);
  if (from != to) std::memmove(element_at(to, 0), element_at(from, 0), 4 * std::size_t{n});
  write_barrier(to.payload());
  return kNoValue;
}

}  // namespace

void register_arrays() {
  defprim("make-array", p_make_array);
  defprim("array?", p_array_p);
  defprim("array-ref", p_array_ref);
  defprim("array-set!", p_array_set);
  defprim("copy-array", p_copy_array);
}

}  // namespace orvane
