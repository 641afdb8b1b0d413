// Small primitives the evaluator tests call, registered under names the
// library does not use.
#pragma once

#include <vector>

#include "core/primitives.h"
#include "core/symbols.h"

namespace orvane::testing {

inline Value t_add(RestArgs rest) {
  std::int32_t sum = 0;
  for (Value v : rest) sum += integer_of(v);
  return make_integer(sum);
}
inline Value t_less(Value a, Value b) { return integer_of(a) < integer_of(b) ? g_sym.t : kNil; }
inline Value t_cons(Value a, Value b) { return cons(a, b); }
inline Value t_car(Value a) { return car(a); }
inline Value t_list(RestArgs rest) {
  Value head = kNil, tail = kNil;
  for (Value v : rest) {
    Value cell = cons(v, kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  }
  return head;
}

// Records the order in which its argument forms were evaluated.
inline std::vector<Value>& evaluation_log() {
  static std::vector<Value> log;
  return log;
}
inline Value t_note(Value v) {
  evaluation_log().push_back(v);
  return v;
}
inline Value t_two(Value a, Value b) { return cons(a, b); }
inline Value t_rest1(Value a, RestArgs rest) { return cons(a, make_integer(static_cast<std::int32_t>(rest.size()))); }
inline Value t_reversed(RestArgs rest) {
  Value head = kNil, tail = kNil;
  for (Value v : rest) {
    Value cell = cons(v, kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  }
  return head;
}

inline void register_test_primitives() {
  defprim("t-add", t_add);
  defprim("t-less", t_less);
  defprim("t-cons", t_cons);
  defprim("t-car", t_car);
  defprim("t-list", t_list);
  defprim("t-note", t_note);
  defprim("t-two", t_two);
  defprim("t-rest1", t_rest1);
  defprim("t-reversed", t_reversed, arity::reversed);
  evaluation_log().clear();
}

}  // namespace orvane::testing
