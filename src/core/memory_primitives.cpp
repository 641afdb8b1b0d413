// The Lisp primitives of the memory zones and the collector.
#include "core/memory_primitives.h"

#include "core/collector.h"
#include "core/errors.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "core/zones.h"

namespace orvane {

namespace {

Value figures_list(const ZoneFigures& figures) {
  Value list = kNil;
  for (auto it = figures.rbegin(); it != figures.rend(); ++it)
    list = cons(make_integer(static_cast<std::int64_t>(*it)), list);
  return list;
}

Value p_recycle(Value) {
  collect();
  return kNoValue;
}

Value p_zone_addresses() { return figures_list(zone_addresses()); }
Value p_space() { return figures_list(zone_sizes()); }
Value p_free_space() { return figures_list(zone_free()); }

Value p_space_size() {
  ZoneFigures units;
  for (std::size_t i = 0; i < kZoneCount; ++i) units[i] = kZoneUnits[i];
  return figures_list(units);
}

Value p_memory_growable() { return g_mem.growable ? g_sym.t : kNil; }

Value p_set_memory_growable(Value on) {
  g_mem.growable = is_true(on);
  return kNoValue;
}

Value p_grow_nodes(Value count) {
  std::int32_t n = integer_of(count);
  collect();
  return grow_nodes(n < 0 ? 0 : static_cast<std::uint32_t>(n)) ? g_sym.t : kNil;
}

// The indirect area has nothing to grow into: the nodes follow it.
Value p_grow_heap(Value) { return kNil; }

template <bool (*Move)(std::int64_t)>
Value p_move(Value delta) {
  if (!Move(integer_of(delta))) raise_error(2, delta);
  return kNoValue;
}

// The stacks stay where they are (frames are named by their offsets).
Value p_move_stack(Value delta) {
  integer_of(delta);
  return kNoValue;
}

}  // namespace

void register_memory() {
  defprim("recycle", p_recycle);
  defprim("zone-addresses", p_zone_addresses, arity::system);
  defprim("space-subr", p_space, arity::system);
  defprim("free-space-subr", p_free_space, arity::system);
  defprim("space-size-subr", p_space_size, arity::system);
  defprim("memory-growable?", p_memory_growable, arity::system);
  defprim("set-memory-growable?", p_set_memory_growable, arity::system);
  defprim("grow-nodes", p_grow_nodes, arity::system);
  defprim("grow-heap", p_grow_heap, arity::system);
  defprim("move-symbols", p_move<move_symbols>, arity::system);
  defprim("move-nodes", p_move<move_nodes>, arity::system);
  defprim("move-indirects", p_move<move_indirects>, arity::system);
  defprim("move-lisp-stack", p_move_stack, arity::system);
  defprim("move-prolog-stack", p_move_stack, arity::system);
}

}  // namespace orvane
