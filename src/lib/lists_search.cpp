// Searching lists by identity, by eqv?, by a key and test, or by a
// predicate; association lists; grouping.
#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

namespace {

// --- Membership ----------------------------------------------------------------

Value p_add(Value x, Value list) {
  require_list(list);
  for (Value l = list; is_pair(l); l = cdr(l))
    if (car(l) == x) return list;
  return cons(x, list);
}

template <bool (*Same)(Value, Value)>
Value member_by(Value x, Value list) {
  require_list(list);
  for (; is_pair(list); list = cdr(list))
    if (Same(x, car(list))) return list;
  return kNil;
}

bool identical(Value a, Value b) { return a == b; }

Value p_member(Value x, Value list, Value key, Value test) {
  require_list(list);
  for (; is_pair(list); list = cdr(list))
    if (matches(test, x, key_of(key, car(list)))) return list;
  return kNil;
}

// --- Association lists ---------------------------------------------------------------
// Elements that are not pairs have no key and are passed over.

template <bool (*Same)(Value, Value)>
Value assoc_by(Value x, Value alist) {
  require_list(alist);
  for (; is_pair(alist); alist = cdr(alist)) {
    Value entry = car(alist);
    if (is_pair(entry) && Same(x, car(entry))) return entry;
  }
  return kNil;
}

Value p_assoc(Value x, Value alist, Value key, Value test) {
  require_list(alist);
  for (; is_pair(alist); alist = cdr(alist)) {
    Value entry = car(alist);
    if (is_pair(entry) && matches(test, x, key_of(key, car(entry)))) return entry;
  }
  return kNil;
}

Value p_associate(Value key, Value value, Value alist) {
  Value entry = assoc_by<eqv>(key, alist);
  if (is_pair(entry)) {
    set_cdr(entry, value);
    return alist;
  }
  return cons(cons(key, value), alist);
}

// --- Predicates over elements ------------------------------------------------------

Value p_find(Value x, Value list, Value key, Value test) {
  require_list(list);
  for (; is_pair(list); list = cdr(list))
    if (matches(test, x, key_of(key, car(list)))) return car(list);
  return kNil;
}

Value p_find_if(Value pred, Value list, Value key) {
  require_list(list);
  for (; is_pair(list); list = cdr(list))
    if (holds(call(pred, {key_of(key, car(list))}))) return car(list);
  return kNil;
}

Value p_collect_if(Value pred, Value list, Value key) {
  require_list(list);
  ListBuilder out;
  for (; is_pair(list); list = cdr(list))
    if (holds(call(pred, {key_of(key, car(list))}))) out.push_back(car(list));
  return out.head();
}

Value p_count_if(Value pred, Value list, Value key) {
  require_list(list);
  std::int32_t count = 0;
  for (; is_pair(list); list = cdr(list))
    if (holds(call(pred, {key_of(key, car(list))}))) ++count;
  return make_integer(count);
}

Value p_some(Value pred, Value list) {
  require_list(list);
  for (; is_pair(list); list = cdr(list)) {
    Value r = call(pred, {car(list)});
    if (holds(r)) return r;
  }
  return kNil;
}

Value p_every(Value pred, Value list) {
  require_list(list);
  for (; is_pair(list); list = cdr(list))
    if (!holds(call(pred, {car(list)}))) return kNil;
  return g_sym.t;
}

// --- Grouping --------------------------------------------------------------------------

// ((g1 members...) (g2 members...) ...) with the members in list order;
// elements whose key names no group are dropped.
Value p_partition(Value list, Value groups, Value key) {
  require_list(list);
  require_list(groups);
  ListBuilder result;
  for (Value g = groups; is_pair(g); g = cdr(g)) result.push_back(cons(car(g), kNil));

  for (; is_pair(list); list = cdr(list)) {
    Value k = key_of(key, car(list));
    for (Value g = result.head(); is_pair(g); g = cdr(g)) {
      Value group = car(g);
      if (equal(car(group), k)) {
        set_cdr(group, cons(car(list), cdr(group)));
        break;
      }
    }
  }
  // Members were pushed in front; put them back in list order.
  for (Value g = result.head(); is_pair(g); g = cdr(g)) {
    Value group = car(g);
    Value members = kNil;
    for (Value m = cdr(group); is_pair(m);) {
      Value next = cdr(m);
      set_cdr(m, members);
      members = m;
      m = next;
    }
    set_cdr(group, members);
  }
  return result.head();
}

}  // namespace

void register_list_search() {
  defprim("add", p_add);
  defprim("memq", member_by<identical>);
  defprim("memv", member_by<eqv>);
  defprim("member", p_member);
  defprim("assq", assoc_by<identical>);
  defprim("assv", assoc_by<eqv>);
  defprim("assoc", p_assoc);
  defprim("associate", p_associate);
  defprim("find", p_find);
  defprim("find-if", p_find_if);
  defprim("collect-if", p_collect_if);
  defprim("count-if", p_count_if);
  defprim("some", p_some);
  defprim("every", p_every);
  defprim("partition", p_partition);
}

}  // namespace orvane::lists
