// Helpers shared by the files of the list library.
#pragma once

#include <cstdint>

#include "core/equality.h"
#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"

namespace orvane::lists {

inline Value boolean(bool b) { return b ? g_sym.t : kNil; }

// Raises error 2 with v unless it is a list (nil included).
inline void require_list(Value v) {
  if (!is_list(v)) raise_error(2, v);
}

// A position or count argument: an integer that is not negative.
inline std::int32_t position_of(Value v) {
  std::int32_t k = integer_of(v);
  if (k < 0) raise_error(2, v);
  return k;
}

// The pair at index k, or nil when the list is shorter.
inline Value pair_at(Value list, std::int32_t k) {
  for (; k > 0 && is_pair(list); --k) list = cdr(list);
  return is_pair(list) ? list : kNil;
}

// The result of a called predicate or test counts unless it is nil.
inline bool holds(Value result) { return !is_nil(result); }

// key(e), or e itself when key is nil.
inline Value key_of(Value key, Value element) {
  return is_nil(key) ? element : call(key, {element});
}

// test(x, k), or equal? when test is nil.
inline bool matches(Value test, Value x, Value k) {
  return is_nil(test) ? equal(x, k) : holds(call(test, {x, k}));
}

// Appends cells at the tail of a list under construction. Lives on the native
// stack, where the collector sees both ends.
class ListBuilder {
 public:
  void push_back(Value x) { link(cons(x, kNil)); }
  // Appends an existing pair (its cdr is left as it is).
  void link(Value cell) {
    if (is_nil(head_)) head_ = cell;
    else set_cdr(tail_, cell);
    tail_ = cell;
  }
  Value head() const { return head_; }
  Value tail() const { return tail_; }
  bool empty() const { return is_nil(head_); }

 private:
  Value head_ = kNil;
  Value tail_ = kNil;
};

// A copy of the top-level pairs; a dotted tail is kept.
Value copy_list(Value list);

// Registration of each part of the library.
void register_list_access();
void register_list_building();
void register_list_search();
void register_property_lists();
void register_list_sets();
void register_list_loops();
void register_sort();

}  // namespace orvane::lists
