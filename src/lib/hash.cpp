// Hash tables keyed by symbols: the slot of a symbol is its symbol-table
// entry index, so a lookup is one index computation, with no hashing and no
// collisions. The slot array is an internal block (closed to raw access from
// Lisp, since the collector trusts its Values); word 1 of the table's node
// holds its address.
#include "core/blocks.h"
#include "core/collector.h"
#include "core/hash_storage.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/vectors.h"

namespace orvane {

namespace {

Value require_table(Value v) {
  if (v.tag() != tag::hash_table) raise_error(2, v);
  return v;
}

std::uint8_t* slot_of(Value table, Value sym) {
  if (!is_symbol(sym)) raise_error(2, sym);
  std::uint32_t index = symbol_index(sym);
  if (index >= g_mem.symbol_count) raise_error(2, sym);
  return host(node_of(require_table(table)).w1 + 4 * index);
}

Value p_new_hash() { return make_hash_table(); }

Value p_hash_ref(Value table, Value sym, Value default_value) {
  Value v = load_value(slot_of(table, sym));
  return v == kAbsent ? default_value : v;
}

Value p_hash_set(Value table, Value sym, Value v) {
  hash_table_put(table, sym, v);
  return kNoValue;
}

Value p_for_each_hash(Value fn, Value table) {
  require_table(table);
  for (std::uint32_t i = 0; i < g_mem.symbol_count; ++i) {
    // Re-read each slot: the function may change the table.
    Value v = load_value(host(node_of(table).w1 + 4 * i));
    if (v != kAbsent) call(fn, {symbol_at(i), v});
  }
  return kNoValue;
}

}  // namespace

Value make_hash_table() {
  std::uint32_t slots = g_mem.symbol_count;
  WorldAddress at = new_internal_pointer_or_fail(4 * slots);
  for (std::uint32_t i = 0; i < slots; ++i) store_value(host(at + 4 * i), kAbsent);
  Value node;
  try {
    node = cons(kNil, kNil);
  } catch (...) {
    dispose_pointer(at);
    throw;
  }
  Node& n = node_of(node);
  n.w0 = header::hash_table << 24;
  n.w1 = at;
  return Value::make(tag::hash_table, node.payload());
}

Value hash_table_get(Value table, Value sym) { return load_value(slot_of(table, sym)); }

void hash_table_put(Value table, Value sym, Value v) {
  store_value(slot_of(table, sym), v);
  write_barrier(table.payload());
}

// The collector gives back the slot array of a dead table.
void release_hash_table_slots(std::uint32_t address) {
  if (is_pointer_block(address)) dispose_pointer(address);
}

void register_hash_tables() {
  defprim("new-hash", p_new_hash);
  defprim("hash-ref", p_hash_ref);
  defprim("hash-set!", p_hash_set);
  defprim("for-each-hash", p_for_each_hash);
}

}  // namespace orvane
