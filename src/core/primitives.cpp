#include "core/primitives.h"

#include "core/errors.h"
#include "core/symbols.h"

namespace orvane {

Value make_descriptor(std::string_view name, ErasedFn fn, std::uint32_t code,
                      std::uint32_t value_tag, bool has_rest) {
  auto& table = primitive_table();
  auto index = static_cast<std::uint32_t>(table.size());
  table.push_back(PrimitiveEntry{fn, code, has_rest, name});
  Value d = cons(kNil, kNil);
  Node& n = node_of(d);
  n.w0 = kPermanentBit | (header::raw_word << 24) | (code & kPayloadMask);
  n.w1 = fn ? index : 0;
  return Value::make(value_tag, d.payload());
}

Value register_descriptor(std::string_view name, ErasedFn fn, std::uint32_t code,
                          std::uint32_t value_tag, bool has_rest) {
  return intern_constant(name, make_descriptor(name, fn, code, value_tag, has_rest));
}

void set_fixnum_pair(Value symbol, FixnumPairFn fn) {
  Value descriptor = symbol_global(symbol);
  if (descriptor.tag() != tag::primitive || arity_code(descriptor) != arity::rest) return;
  PrimitiveEntry& entry = primitive_table()[node_of(descriptor).w1];
  if (entry.has_rest) entry.fixnum_pair = fn;
}

Value defspecial(std::string_view name, Value (*fn)(Value), std::uint32_t flags) {
  return register_descriptor(name, reinterpret_cast<ErasedFn>(fn), flags, tag::special, false);
}

Value defform(std::string_view name, std::uint32_t form_tag) {
  return register_descriptor(name, nullptr, 0, form_tag, false);
}

namespace {

template <std::size_t... I>
Value call_fixed(ErasedFn fn, const Value* a, std::index_sequence<I...>) {
  using F = Value (*)(decltype((void)I, Value{})...);
  return reinterpret_cast<F>(fn)(a[I]...);
}
template <std::size_t... I>
Value call_rest(ErasedFn fn, const Value* a, RestArgs rest, std::index_sequence<I...>) {
  using F = Value (*)(decltype((void)I, Value{})..., RestArgs);
  return reinterpret_cast<F>(fn)(a[I]..., rest);
}

template <std::size_t N>
Value dispatch(const PrimitiveEntry& p, const Value* a, RestArgs rest) {
  if (p.has_rest) return call_rest(p.fn, a, rest, std::make_index_sequence<N>{});
  return call_fixed(p.fn, a, std::make_index_sequence<N>{});
}

}  // namespace

Value invoke_primitive(const PrimitiveEntry& p, const Value* a, RestArgs rest) {
  switch (p.arity & arity::count_mask) {
    case 0: return dispatch<0>(p, a, rest);
    case 1: return dispatch<1>(p, a, rest);
    case 2: return dispatch<2>(p, a, rest);
    case 3: return dispatch<3>(p, a, rest);
    case 4: return dispatch<4>(p, a, rest);
    case 5: return dispatch<5>(p, a, rest);
    case 6: return dispatch<6>(p, a, rest);
    case 7: return dispatch<7>(p, a, rest);
    case 8: return dispatch<8>(p, a, rest);
    default: raise_error(2, kNil);
  }
}

}  // namespace orvane
