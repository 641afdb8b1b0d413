// Counted loops over integers.
#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

namespace {

// Calls fn on from, from + 1 ... to (or downwards when down is true); the
// bounds are inclusive, so the count is kept wide enough not to wrap.
template <class Visit>
void count_over(Value from_value, Value to_value, Value down, Visit visit) {
  std::int64_t from = integer_of(from_value);
  std::int64_t to = integer_of(to_value);
  if (is_true(down)) {
    for (std::int64_t i = from; i >= to; --i) visit(i);
  } else {
    for (std::int64_t i = from; i <= to; ++i) visit(i);
  }
}

Value p_for(Value from, Value to, Value fn, Value down) {
  count_over(from, to, down, [&](std::int64_t i) { call(fn, {make_integer(i)}); });
  return kNoValue;
}

Value p_for_collect(Value from, Value to, Value fn, Value down) {
  ListBuilder out;
  count_over(from, to, down, [&](std::int64_t i) { out.push_back(call(fn, {make_integer(i)})); });
  return out.head();
}

}  // namespace

void register_list_loops() {
  defprim("for", p_for);
  defprim("for-collect", p_for_collect);
}

}  // namespace orvane::lists
