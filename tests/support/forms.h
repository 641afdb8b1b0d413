// Building forms as Values from C++ in tests.
#pragma once

#include <initializer_list>
#include <string_view>

#include "core/memory.h"
#include "core/symbols.h"

namespace orvane::testing {

inline Value sym(std::string_view name) { return intern(name); }
inline Value num(std::int32_t x) { return make_integer(x); }
// A fresh logic variable named by the symbol `name` (as the reader makes one
// for every occurrence of "_name").
inline Value var(std::string_view name) {
  Value v = cons(make_fixnum(0), intern(name));
  return Value::make(tag::variable, v.payload());
}
inline Value list(std::initializer_list<Value> items) { return list_of(items); }
inline Value quoted(Value x) { return list({sym("quote"), x}); }

}  // namespace orvane::testing
