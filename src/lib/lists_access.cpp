// Predicates, constructors and accessors of lists.
#include <algorithm>

#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

namespace {

// --- Predicates and constructors -------------------------------------------

Value p_pair(Value x) { return boolean(is_pair(x)); }
Value p_list_p(Value x) { return boolean(is_list(x)); }
Value p_atom(Value x) { return boolean(!is_pair(x)); }

Value p_cons(Value a, Value d) { return cons(a, d); }

Value p_list(RestArgs rest) {
  ListBuilder out;
  for (Value x : rest) out.push_back(x);
  return out.head();
}

Value p_cons_list(RestArgs rest) {
  std::size_t n = rest.size();
  if (n == 0) return kNil;
  Value result = rest[n - 1];
  for (std::size_t i = n - 1; i-- > 0;) result = cons(rest[i], result);
  return result;
}

// --- car, cdr and their compositions ----------------------------------------

Value p_car(Value x) {
  require_list(x);
  return car(x);
}
Value p_cdr(Value x) {
  require_list(x);
  return cdr(x);
}

// A name such as "cadr" as a template argument.
template <std::size_t N>
struct AccessorName {
  char text[N];
  constexpr AccessorName(const char (&s)[N]) { std::copy_n(s, N, text); }
};

// The steps between "c" and "r" apply right to left as the name reads: cadr
// is the car of the cdr. Each step wants a list; the culprit is the argument.
template <AccessorName Name>
Value cxr(Value x) {
  constexpr std::size_t last_step = sizeof(Name.text) - 3;  // the letter before "r"
  Value v = x;
  for (std::size_t i = last_step; i >= 1; --i) {
    if (!is_list(v)) raise_error(2, x);
    v = Name.text[i] == 'a' ? car(v) : cdr(v);
  }
  return v;
}

// second ... tenth: nil when the list is shorter.
template <std::int32_t Index>
Value nth(Value list) {
  require_list(list);
  return car(pair_at(list, Index));
}

// --- Stores -----------------------------------------------------------------

Value p_set_car(Value pair, Value x) {
  if (!is_pair(pair)) raise_error(2, pair);
  set_car(pair, x);
  return x;
}
Value p_set_cdr(Value pair, Value x) {
  if (!is_pair(pair)) raise_error(2, pair);
  set_cdr(pair, x);
  return x;
}

template <std::int32_t Index>
Value set_nth(Value list, Value x) {
  require_list(list);
  Value cell = pair_at(list, Index);
  if (!is_pair(cell)) raise_error(2, list);
  set_car(cell, x);
  return x;
}

// --- Lengths and positions ---------------------------------------------------

Value p_length(Value list) {
  require_list(list);
  return make_integer(list_length(list));
}

Value last_pair_of(Value list) {
  while (is_pair(cdr(list))) list = cdr(list);
  return list;
}

Value p_last(Value list) {
  require_list(list);
  return car(last_pair_of(list));
}

Value p_last_pair(Value list) { return is_pair(list) ? last_pair_of(list) : list; }

Value p_list_ref(Value list, Value k) {
  require_list(list);
  return car(pair_at(list, position_of(k)));
}

Value p_reversed_ref(Value list, Value k) {
  require_list(list);
  auto length = static_cast<std::int64_t>(list_length(list));
  std::int64_t index = length - 1 - position_of(k);
  return index < 0 ? kNil : car(pair_at(list, static_cast<std::int32_t>(index)));
}

Value p_list_tail(Value list, Value k) {
  require_list(list);
  for (std::int32_t n = position_of(k); n > 0 && is_pair(list); --n) list = cdr(list);
  return list;
}

Value p_butlast(Value list) {
  require_list(list);
  ListBuilder out;
  for (; is_pair(cdr(list)); list = cdr(list)) out.push_back(car(list));
  return out.head();
}

}  // namespace

void register_list_access() {
  defprim("pair?", p_pair);
  defprim("list?", p_list_p);
  defprim("atom?", p_atom);
  defprim("cons", p_cons);
  defprim("list", p_list);
  defprim("cons-list", p_cons_list);

  defprim("car", p_car);
  defprim("first", p_car);
  defprim("cdr", p_cdr);
  defprim("caar", cxr<"caar">);
  defprim("cadr", cxr<"cadr">);
  defprim("cdar", cxr<"cdar">);
  defprim("cddr", cxr<"cddr">);
  defprim("caaar", cxr<"caaar">);
  defprim("caadr", cxr<"caadr">);
  defprim("cadar", cxr<"cadar">);
  defprim("caddr", cxr<"caddr">);
  defprim("cdaar", cxr<"cdaar">);
  defprim("cdadr", cxr<"cdadr">);
  defprim("cddar", cxr<"cddar">);
  defprim("cdddr", cxr<"cdddr">);
  defprim("caaaar", cxr<"caaaar">);
  defprim("caaadr", cxr<"caaadr">);
  defprim("caadar", cxr<"caadar">);
  defprim("caaddr", cxr<"caaddr">);
  defprim("cadaar", cxr<"cadaar">);
  defprim("cadadr", cxr<"cadadr">);
  defprim("caddar", cxr<"caddar">);
  defprim("cadddr", cxr<"cadddr">);
  defprim("cdaaar", cxr<"cdaaar">);
  defprim("cdaadr", cxr<"cdaadr">);
  defprim("cdadar", cxr<"cdadar">);
  defprim("cdaddr", cxr<"cdaddr">);
  defprim("cddaar", cxr<"cddaar">);
  defprim("cddadr", cxr<"cddadr">);
  defprim("cdddar", cxr<"cdddar">);
  defprim("cddddr", cxr<"cddddr">);

  defprim("second", nth<1>);
  defprim("third", nth<2>);
  defprim("fourth", nth<3>);
  defprim("fifth", nth<4>);
  defprim("sixth", nth<5>);
  defprim("seventh", nth<6>);
  defprim("eighth", nth<7>);
  defprim("ninth", nth<8>);
  defprim("tenth", nth<9>);

  defprim("set-car!", p_set_car);
  defprim("set-first!", p_set_car);
  defprim("set-cdr!", p_set_cdr);
  defprim("set-second!", set_nth<1>);
  defprim("set-third!", set_nth<2>);
  defprim("set-fourth!", set_nth<3>);
  defprim("set-fifth!", set_nth<4>);
  defprim("set-sixth!", set_nth<5>);
  defprim("set-seventh!", set_nth<6>);
  defprim("set-eighth!", set_nth<7>);
  defprim("set-ninth!", set_nth<8>);
  defprim("set-tenth!", set_nth<9>);

  defprim("length", p_length);
  defprim("last", p_last);
  defprim("last-pair", p_last_pair);
  defprim("list-ref", p_list_ref);
  defprim("reversed-ref", p_reversed_ref);
  defprim("list-tail", p_list_tail);
  defprim("butlast", p_butlast);
}

}  // namespace orvane::lists
