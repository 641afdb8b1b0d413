// Property lists: flat lists key1 value1 key2 value2 ..., keys compared
// with eq?.
#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

namespace {

// The tail that starts at the key, or nil.
Value property_tail(Value key, Value plist) {
  require_list(plist);
  for (; is_pair(plist); plist = cdr(cdr(plist)))
    if (car(plist) == key) return plist;
  return kNil;
}

Value p_getprop(Value key, Value plist) { return property_tail(key, plist); }

Value p_getf(Value key, Value plist, Value fallback) {
  Value tail = property_tail(key, plist);
  return is_pair(tail) ? car(cdr(tail)) : fallback;
}

Value p_remprop(Value key, Value plist) {
  require_list(plist);
  if (!is_pair(plist)) return plist;
  if (car(plist) == key) return cdr(cdr(plist));
  // `value_cell` holds the value of the entry before the one examined.
  for (Value value_cell = cdr(plist); is_pair(value_cell);) {
    Value entry = cdr(value_cell);
    if (!is_pair(entry)) break;
    if (car(entry) == key) {
      set_cdr(value_cell, cdr(cdr(entry)));
      break;
    }
    value_cell = cdr(entry);
  }
  return plist;
}

Value p_for_each_property(Value fn, Value plist) {
  require_list(plist);
  for (; is_pair(plist); plist = cdr(cdr(plist))) call(fn, {car(plist), car(cdr(plist))});
  return kNoValue;
}

}  // namespace

void register_property_lists() {
  defprim("getprop", p_getprop);
  defprim("getf", p_getf);
  defprim("remprop!", p_remprop);
  defprim("for-each-property", p_for_each_property, arity::system);
}

}  // namespace orvane::lists
