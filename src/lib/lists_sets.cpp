// Sets: lists without duplicates. With shallow nil, two lists are the same
// member when each includes the other, recursively at every level; other
// Values (and everything, with shallow true) are compared with equal?.
#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

namespace {

bool same_member(Value a, Value b, bool shallow);

bool is_member(Value x, Value set, bool shallow) {
  for (; is_pair(set); set = cdr(set))
    if (same_member(x, car(set), shallow)) return true;
  return false;
}

bool includes(Value a, Value b, bool shallow) {
  for (; is_pair(a); a = cdr(a))
    if (!is_member(car(a), b, shallow)) return false;
  return true;
}

// Set equality: a list equals a list that includes it and that it includes.
bool set_equal(Value a, Value b) {
  check_native_stack();
  if (is_list(a)) return is_list(b) && includes(a, b, false) && includes(b, a, false);
  if (is_list(b)) return false;
  return equal(a, b);
}

bool same_member(Value a, Value b, bool shallow) { return shallow ? equal(a, b) : set_equal(a, b); }

// A new list of the elements of `list` that differ from every earlier one.
Value without_duplicates(Value list, bool shallow) {
  ListBuilder out;
  for (; is_pair(list); list = cdr(list))
    if (!is_member(car(list), out.head(), shallow)) out.push_back(car(list));
  return out.head();
}

Value p_memberset(Value x, Value set, Value shallow) {
  require_list(set);
  return boolean(is_member(x, set, is_true(shallow)));
}

Value p_include(Value a, Value b, Value shallow) {
  require_list(a);
  require_list(b);
  return boolean(includes(a, b, is_true(shallow)));
}

Value p_equalset(Value a, Value b, Value shallow) {
  bool flat = is_true(shallow);
  if (is_list(a)) return boolean(is_list(b) && includes(a, b, flat) && includes(b, a, flat));
  if (is_list(b)) return kNil;
  return boolean(equal(a, b));
}

Value p_intersection(Value a, Value b, Value shallow) {
  require_list(a);
  require_list(b);
  ListBuilder out;
  for (; is_pair(a); a = cdr(a))
    if (is_member(car(a), b, is_true(shallow))) out.push_back(car(a));
  return out.head();
}

Value p_union(Value a, Value b, Value shallow) {
  require_list(a);
  require_list(b);
  ListBuilder out;
  for (; is_pair(a); a = cdr(a))
    if (!is_member(car(a), out.head(), is_true(shallow))) out.push_back(car(a));
  for (; is_pair(b); b = cdr(b))
    if (!is_member(car(b), out.head(), is_true(shallow))) out.push_back(car(b));
  return out.head();
}

Value p_difference(Value a, Value b, Value shallow) {
  require_list(a);
  require_list(b);
  if (is_nil(b)) return a;
  Value result = kNil;
  for (; is_pair(a); a = cdr(a))
    if (!is_member(car(a), b, is_true(shallow))) result = cons(car(a), result);
  return result;
}

Value p_makeset(Value list, Value shallow) {
  require_list(list);
  return without_duplicates(list, is_true(shallow));
}

}  // namespace

void register_list_sets() {
  defprim("memberset", p_memberset);
  defprim("include?", p_include);
  defprim("equalset", p_equalset);
  defprim("intersection", p_intersection);
  defprim("union", p_union);
  defprim("difference", p_difference);
  defprim("makeset", p_makeset);
}

}  // namespace orvane::lists
