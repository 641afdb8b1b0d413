// Vectors: a 16-bit count, then the elements.
#include "lib/vectors.h"

#include "core/collector.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

Value require_vector(Value v) {
  if (!is_vector(v)) raise_error(2, v);
  return v;
}

std::uint32_t checked_length(Value count) {
  std::int32_t n = integer_of(count);
  if (n < 0 || n > kMaxVectorLength) raise_error(2, count);
  return static_cast<std::uint32_t>(n);
}

// The position i of a vector; a negative i counts as a large one.
std::uint32_t element_index(Value v, Value index) {
  if (!is_integer(index)) raise_error(2, index);
  std::int32_t i = integer_unchecked(index);
  if (i < 0 || static_cast<std::uint32_t>(i) >= vector_length(v)) raise_error(2, index);
  return static_cast<std::uint32_t>(i);
}

std::uint8_t* element_at(Value v, std::uint32_t i) { return indirect_data(v) + 2 + 4 * i; }

// Reserves and commits a vector of n elements all set to fill.
Value filled_vector(std::uint32_t n, Value fill) {
  std::uint8_t* p = reserve_indirect(2 + 4 * n);
  store_u16(p, n);
  for (std::uint32_t i = 0; i < n; ++i) store_value(p + 2 + 4 * i, fill);
  return commit_indirect(2 + 4 * n, tag::vector, header::vector);
}

Value p_vector(RestArgs args) {
  std::size_t n = args.size();
  if (n > static_cast<std::size_t>(kMaxVectorLength)) raise_error(2, make_integer(static_cast<std::int64_t>(n)));
  // The arguments lie on the Lisp stack, outside the indirect area.
  return make_vector(args.begin(), static_cast<std::uint32_t>(n));
}

Value p_make_vector(Value count, Value fill) { return filled_vector(checked_length(count), fill); }

Value p_vector_p(Value v) { return boolean(is_vector(v)); }

Value p_vector_length(Value v) { return make_fixnum(static_cast<std::int32_t>(vector_length(require_vector(v)))); }

Value p_vector_ref(Value v, Value index) {
  std::uint32_t i = element_index(require_vector(v), index);
  return load_value(element_at(v, i));
}

Value p_vector_set(Value v, Value index, Value x) {
  std::uint32_t i = element_index(require_vector(v), index);
  store_value(element_at(v, i), x);
  write_barrier(v.payload());
  return x;
}

Value p_list_to_vector(Value list) {
  // Counting stops past the limit, so a circular list ends in an error.
  std::uint32_t n = 0;
  for (Value rest = list; is_pair(rest) && n <= static_cast<std::uint32_t>(kMaxVectorLength); rest = cdr(rest)) ++n;
  if (n > static_cast<std::uint32_t>(kMaxVectorLength)) raise_error(2, make_integer(n));
  std::uint8_t* p = reserve_indirect(2 + 4 * n);
  store_u16(p, n);
  // Walking the list allocates nothing, so p stays valid.
  Value rest = list;
  for (std::uint32_t i = 0; i < n; ++i, rest = cdr(rest)) store_value(p + 2 + 4 * i, car(rest));
  return commit_indirect(2 + 4 * n, tag::vector, header::vector);
}

Value p_vector_to_list(Value v) {
  Value result = kNil;
  for (std::uint32_t i = vector_length(require_vector(v)); i-- > 0;) {
    // cons may compact the indirect area: the element is re-read each time.
    result = cons(load_value(element_at(v, i)), result);
  }
  return result;
}

Value p_copy_vector(Value v) {
  std::uint32_t n = vector_length(require_vector(v));
  std::uint8_t* p = reserve_indirect(2 + 4 * n);
  std::memcpy(p, indirect_data(v), 2 + 4 * n);
  return commit_indirect(2 + 4 * n, tag::vector, header::vector);
}

}  // namespace

Value make_vector(const Value* items, std::uint32_t n) {
  if (n > static_cast<std::uint32_t>(kMaxVectorLength)) raise_error(2, make_integer(n));
  std::uint8_t* p = reserve_indirect(2 + 4 * n);
  store_u16(p, n);
  for (std::uint32_t i = 0; i < n; ++i) store_value(p + 2 + 4 * i, items[i]);
  return commit_indirect(2 + 4 * n, tag::vector, header::vector);
}

void register_vectors() {
  defprim("vector", p_vector);
  defprim("make-vector", p_make_vector);
  defprim("vector?", p_vector_p);
  defprim("vector-length", p_vector_length);
  defprim("vector-ref", p_vector_ref);
  defprim("vector-set!", p_vector_set);
  defprim("list->vector", p_list_to_vector);
  defprim("vector->list", p_vector_to_list);
  defprim("copy-vector", p_copy_vector);
  register_arrays();
  register_hash_tables();
}

}  // namespace orvane
