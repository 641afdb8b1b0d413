// Primitive descriptors and registration. Every native module ends in one
// registration routine that binds its primitives with arity codes.
//
// A descriptor is a permanent node: word 0 = permanent bit + header 0x18 +
// arity code, word 1 = the index of the native function in the primitive
// table (a host address never enters a node).
#pragma once

#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "core/memory.h"

namespace orvane {

namespace arity {
inline constexpr std::uint32_t count_mask = 0x1fffff;
inline constexpr std::uint32_t system = 0x200000;
inline constexpr std::uint32_t reversed = 0x400000;
inline constexpr std::uint32_t rest = 0x800000;
}  // namespace arity

// The rest arguments of a primitive: Values on the Lisp stack ended by the
// absent marker.
class RestArgs {
 public:
  RestArgs() = default;
  explicit RestArgs(const Value* first) : first_(first) {}
  const Value* begin() const { return first_; }
  struct Sentinel {};
  struct Iterator {
    const Value* p;
    Value operator*() const { return *p; }
    Iterator& operator++() { ++p; return *this; }
    bool operator!=(Sentinel) const { return *p != kAbsent; }
  };
  Iterator begin_it() const { return {first_}; }
  friend Iterator begin(const RestArgs& r) { return {r.first_}; }
  friend Sentinel end(const RestArgs&) { return {}; }
  bool empty() const { return *first_ == kAbsent; }
  std::size_t size() const {
    std::size_t n = 0;
    while (first_[n] != kAbsent) ++n;
    return n;
  }
  Value operator[](std::size_t i) const { return first_[i]; }
  // The Lisp-stack offset of the first Value (the array's "address").
  std::uint32_t address() const {
    return static_cast<std::uint32_t>(reinterpret_cast<const std::uint8_t*>(first_) - g_mem.world);
  }

 private:
  const Value* first_ = nullptr;
};

using ErasedFn = void (*)();
// A primitive's result for exactly two fixnum arguments, equal to what the
// primitive itself answers for them.
using FixnumPairFn = Value (*)(std::int32_t, std::int32_t);

struct PrimitiveEntry {
  ErasedFn fn = nullptr;
  std::uint32_t arity = 0;  // the arity code
  bool has_rest = false;    // the C++ signature ends in RestArgs
  std::string_view name;
  // Set for the commonest arithmetic: the evaluator calls it instead of fn
  // when a form gives exactly two fixnum arguments.
  FixnumPairFn fixnum_pair = nullptr;
};

// The native functions behind descriptors (a documented singleton: the
// registration routines fill it at start-up).
inline std::vector<PrimitiveEntry> g_primitive_table;
inline std::vector<PrimitiveEntry>& primitive_table() { return g_primitive_table; }
inline const PrimitiveEntry& primitive_of(Value descriptor) {
  return g_primitive_table[node_of(descriptor).w1];
}
inline std::uint32_t arity_code(Value descriptor) { return node_of(descriptor).w0 & kPayloadMask; }

// Builds a descriptor node and interns name with it (an existing binding is
// kept). Answers the symbol.
Value register_descriptor(std::string_view name, ErasedFn fn, std::uint32_t arity_code,
                          std::uint32_t value_tag, bool has_rest);
// Builds a descriptor node that no symbol names; answers the descriptor
// Value (functions reached through native tables, such as the reader's).
Value make_descriptor(std::string_view name, ErasedFn fn, std::uint32_t arity_code,
                      std::uint32_t value_tag, bool has_rest);

// Calls a primitive with n fixed arguments and, when its code has the rest
// bit, the rest array.
Value invoke_primitive(const PrimitiveEntry& p, const Value* args, RestArgs rest);

namespace detail {
template <class... A>
constexpr std::uint32_t fixed_count() {
  if constexpr (sizeof...(A) == 0) {
    return 0;
  } else {
    using Last = std::tuple_element_t<sizeof...(A) - 1, std::tuple<A...>>;
    return std::is_same_v<Last, RestArgs> ? sizeof...(A) - 1 : sizeof...(A);
  }
}
template <class... A>
constexpr bool ends_in_rest() {
  return fixed_count<A...>() != sizeof...(A);
}
}  // namespace detail

// Registers a primitive (tag 0x0c). The arity code is derived from the
// signature: n Value parameters, plus the rest bit when the last is RestArgs.
// `flags` adds arity::system or arity::reversed.
template <class... A>
Value defprim(std::string_view name, Value (*fn)(A...), std::uint32_t flags = 0) {
  constexpr std::uint32_t n = detail::fixed_count<A...>();
  static_assert(n <= 8, "at most 8 fixed arguments");
  constexpr bool rest = detail::ends_in_rest<A...>();
  std::uint32_t code = n | flags | (rest ? arity::rest : 0);
  return register_descriptor(name, reinterpret_cast<ErasedFn>(fn), code, tag::primitive, rest);
}

// A primitive (tag 0x0c) bound to no symbol; the arity code as for defprim.
template <class... A>
Value make_primitive(std::string_view name, Value (*fn)(A...), std::uint32_t flags = 0) {
  constexpr std::uint32_t n = detail::fixed_count<A...>();
  static_assert(n <= 8, "at most 8 fixed arguments");
  constexpr bool rest = detail::ends_in_rest<A...>();
  std::uint32_t code = n | flags | (rest ? arity::rest : 0);
  return make_descriptor(name, reinterpret_cast<ErasedFn>(fn), code, tag::primitive, rest);
}

// Gives the primitive bound to `symbol` its two-fixnum shortcut; only a
// primitive taking nothing but rest arguments has one (others are left as
// they are).
void set_fixnum_pair(Value symbol, FixnumPairFn fn);

// Registers a native special form (tag 0x0d): receives the list of its
// argument forms, unevaluated.
Value defspecial(std::string_view name, Value (*fn)(Value forms), std::uint32_t flags = 0);

// Registers an evaluator form under its tag (no function).
Value defform(std::string_view name, std::uint32_t form_tag);

}  // namespace orvane
