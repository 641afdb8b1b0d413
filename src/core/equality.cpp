#include "core/equality.h"

#include <cstring>

#include "core/errors.h"
#include "core/memory.h"
#include "core/object_layout.h"
#include "core/symbols.h"
#include "core/work_stack.h"

namespace orvane {

namespace {

std::uint16_t element_count(Value v) {
  std::uint16_t n;
  std::memcpy(&n, indirect_data(v), 2);
  return n;
}

bool numbers_equal(Value a, Value b) { return double_of(a) == double_of(b); }

}  // namespace

bool eqv(Value a, Value b) {
  if (a == b) return true;
  if (is_real(a) && is_real(b)) return real_of(a) == real_of(b);
  if ((is_vector(a) && is_vector(b)) || (a.tag() == tag::array && b.tag() == tag::array))
    return element_count(a) == 0 && element_count(b) == 0;
  return false;
}

namespace {

// equal? of two Values that are not both non-empty lists.
bool equal_atoms(Value a, Value b) {
  if (a == b) return true;
  switch (a.tag()) {
    case tag::integer:
      return is_real(b) && numbers_equal(a, b);
    case tag::real:
      return (is_real(b) || is_fixnum(b)) && numbers_equal(a, b);
    case tag::variable:
      return b.tag() == tag::variable && node_of(a).w1 == node_of(b).w1;
    case tag::vector: {
      if (!is_vector(b)) return false;
      std::uint16_t n = element_count(a);
      if (n != element_count(b)) return false;
      return std::memcmp(indirect_data(a) + 2, indirect_data(b) + 2, std::size_t{4} * n) == 0;
    }
    case tag::symbol:
      if (is_symbol(b)) return false;
      a = symbol_entry(a).name;
      [[fallthrough]];
    case tag::string: {
      if (is_symbol(b)) b = symbol_entry(b).name;
      else if (!is_string(b)) return false;
      return string_view_of(a) == string_view_of(b);
    }
    case tag::long_int:
      return is_long(b) && node_of(a).w1 == node_of(b).w1;
    case tag::pointer:
      return is_pointer(b) && node_of(a).w1 == node_of(b).w1;
    default:
      return false;
  }
}

// Iterates along the cdrs; going down a car keeps the two cdrs still to
// compare on a work stack, so that no depth of nesting reaches the native
// stack. Nothing here allocates Lisp memory, so the Values held there stay
// valid without being roots.
bool equal_deep(Value a, Value b) {
  struct Rest {
    Value a, b;
  };
  WorkStack<Rest> pending;
  for (;;) {
    if (is_pair(a) && a != b) {
      if (!is_pair(b)) return false;
      Value car_a = car(a);
      Value car_b = car(b);
      if (is_pair(car_a) && car_a != car_b) {
        pending.push({cdr(a), cdr(b)});
        a = car_a;
        b = car_b;
      } else {
        if (!equal_atoms(car_a, car_b)) return false;
        a = cdr(a);
        b = cdr(b);
      }
      continue;
    }
    if (!equal_atoms(a, b)) return false;
    if (pending.empty()) return true;
    Rest rest = pending.pop();
    a = rest.a;
    b = rest.b;
  }
}

// Data as programs write it is shallow: a few levels of plain recursion on
// the cars cost less than the work stack, which takes over below them.
constexpr int kRecursionDepth = 32;

bool equal_nested(Value a, Value b, int depth) {
  for (;;) {
    if (!is_pair(a) || a == b) return equal_atoms(a, b);
    if (!is_pair(b)) return false;
    Value car_a = car(a);
    if (is_pair(car_a)) {
      if (depth >= kRecursionDepth) {
        if (!equal_deep(car_a, car(b))) return false;
      } else if (!equal_nested(car_a, car(b), depth + 1)) {
        return false;
      }
    } else if (!equal_atoms(car_a, car(b))) {
      return false;
    }
    a = cdr(a);
    b = cdr(b);
  }
}

}  // namespace

bool equal(Value a, Value b) { return equal_nested(a, b, 0); }

Value type_of(Value v) {
  static constexpr const char* kNames[64] = {
      "address", nullptr, "integer", "real", "variable", "no-value", "vector", "string",
      "symbol", "syntax", nullptr, "function", "primitive", "special", "predicate", nullptr,
      "hash-table", "lexical", "gamma", "long", "pointer", "closed", nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      "keyword", "keyword", "keyword", "syntax-gamma", "keyword", "keyword", "keyword", "keyword",
      "keyword", "keyword", "keyword", "keyword", "keyword", "keyword", "keyword", "keyword",
      "keyword", "keyword", "keyword", "closed-syntax", "keyword", nullptr, "keyword", nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "list"};
  std::uint32_t t = v.tag();
  if (t == tag::klass && v.payload() == 0) return kNoObject;
  if (t == tag::instance || t == tag::klass) return object_model().class_name_of(v);
  if (!kNames[t]) raise_error(2, v);
  return intern_constant(kNames[t]);
}

bool type_p(Value v, Value type) {
  if (type == g_sym.t) return true;
  bool object = (v.tag() == tag::instance || v.tag() == tag::klass) && v != kNoObject;
  if (type == g_sym.object) return object;
  if (type == g_sym.klass) return v.tag() == tag::klass && v != kNoObject;
  if (type == g_sym.instance) return v.tag() == tag::instance;
  if (object) return object_model().is_a(v, type);
  return type_of(v) == type;
}

}  // namespace orvane
