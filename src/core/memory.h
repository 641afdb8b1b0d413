// The Lisp memory: one block in the world address space divided into the
// symbol table, the Lisp stack, the prolog stack, the node store and the
// indirect area; plus the node and indirect allocators.
//
// Invariants, stated once:
// - A Value never holds a machine address; node payloads are byte offsets
//   from the node base, so the node area moves by changing `nodes` alone.
// - Word 1 of an indirect node is the world offset of its data; indirect data
//   lies in the indirect area in chain order, each block at an even address.
// - Native code never keeps a host pointer into the indirect area across an
//   allocation: a collection compacts the area and rewrites every word 1.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/memory_config.h"
#include "core/value.h"

namespace orvane {

struct Node {
  std::uint32_t w0;
  std::uint32_t w1;
};

// The Lisp memory: one of the run-time's documented singletons (`g_mem`).
struct LispMemory {
  std::uint8_t* world = nullptr;  // base of the world address space
  std::uint8_t* nodes = nullptr;  // host address of node 0

  // Zones, as world offsets.
  std::uint32_t block_start = 0, block_end = 0;
  std::uint32_t symbols_offset = 0;
  std::uint32_t symbol_count = 0, symbols_free = 0;
  std::uint32_t lisp_stack_base = 0, lisp_stack_top = 0, lisp_stack_limit = 0,
                lisp_stack_end = 0;
  std::uint32_t prolog_base = 0, prolog_top = 0, prolog_end = 0;
  std::uint32_t nodes_offset = 0;  // world offset of node 0
  std::uint32_t node_count = 0;    // allocatable nodes
  std::uint32_t heap_start = 0, heap_alloc = 0, heap_end = 0;
  std::uint32_t reserve = 0, native_stack = 0;

  // Free list (raw node offsets) and the indirect chain (node offsets).
  std::uint32_t free_head = 0, free_count = 0;
  std::uint32_t chain_head = 0, chain_tail = 0;
  // Offset of the first node never handed out since the layout: from there
  // to the last node every node is free, linked in ascending order at the
  // end of the free list. The sweep need not visit them.
  std::uint32_t fresh_nodes = 0;

  bool growable = true;
  bool gc_stress = false;

  // The current object (`self`); kNoObject when there is none.
  Value self = kNoObject;
  // The shared empty string.
  Value empty_string = kNil;
};

inline LispMemory g_mem;

// --- Raw access ------------------------------------------------------------

inline std::uint8_t* host(std::uint32_t world_offset) { return g_mem.world + world_offset; }
inline Node& node_at(std::uint32_t offset) {
  return *reinterpret_cast<Node*>(g_mem.nodes + offset);
}
inline Node& node_of(Value v) { return node_at(v.payload()); }
inline std::uint32_t node_header(const Node& n) { return (n.w0 >> 24) & 0x3f; }

inline Value car(Value v) {
  return v.payload() == 0 ? kNil : Value(node_of(v).w0 & kCarMask);
}
inline Value cdr(Value v) { return v.payload() == 0 ? kNil : Value(node_of(v).w1); }
// Records a store into a permanent node so that the collector keeps what
// was stored (see write_barrier in core/collector.h).
void remember_permanent_store(std::uint32_t node_offset);

// Stores keep the permanent bit of the node they write into, and a store
// into a permanent node is remembered.
inline void set_car(Value pair, Value x) {
  Node& n = node_of(pair);
  n.w0 = (n.w0 & kPermanentBit) | x.bits;
  if (n.w0 & kPermanentBit) remember_permanent_store(pair.payload());
}
inline void set_cdr(Value pair, Value x) {
  Node& n = node_of(pair);
  n.w1 = x.bits;
  if (n.w0 & kPermanentBit) remember_permanent_store(pair.payload());
}

// --- Allocation ------------------------------------------------------------

// Slow path of allocation: collect, grow, or run the out-of-memory procedure
// until `nodes` nodes and `bytes` indirect bytes are free.
void ensure_free(std::uint32_t nodes, std::uint32_t bytes);

inline Value cons(Value a, Value d) {
  if (g_mem.free_count < 2 || g_mem.gc_stress) ensure_free(2, 0);
  std::uint32_t off = g_mem.free_head;
  Node& n = node_at(off);
  g_mem.free_head = n.w1 & kPayloadMask;
  --g_mem.free_count;
  n.w0 = a.bits;
  n.w1 = d.bits;
  return Value::make(tag::list, off);
}

// Guarantees n bytes at the allocation pointer and two free nodes; answers
// the host address where the data is to be written. Valid until the next
// allocation; nothing is allocated until commit_indirect.
std::uint8_t* reserve_indirect(std::uint32_t n);
// Creates the indirect for the n bytes just written at the allocation pointer.
Value commit_indirect(std::uint32_t n, std::uint32_t value_tag, std::uint32_t header_tag);

// Host address of an indirect's data (re-read after any allocation).
inline std::uint8_t* indirect_data(Value v) { return host(node_of(v).w1); }

// --- Integers, reals, strings, pointers -----------------------------------

Value make_integer(std::int64_t x);  // wraps to 32 bits, boxes outside the fixnum range
// Integer or long; anything else raises error 2 with the Value.
std::int32_t integer_of(Value v);
inline std::int32_t integer_unchecked(Value v) {
  return is_fixnum(v) ? v.fixnum() : static_cast<std::int32_t>(node_of(v).w1);
}
Value make_real(double d);
double real_of(Value v);    // the double of a real Value
double double_of(Value v);  // integer, long or real; else error 2

Value make_string(std::string_view text);  // copies; text may lie in the indirect area
// A string of n bytes, all zero-filled except the terminator is written.
Value make_string_uninit(std::uint32_t n);
std::string_view string_view_of(Value s);  // valid until the next allocation
inline char* string_chars(Value s) { return reinterpret_cast<char*>(indirect_data(s)); }

Value make_pointer(std::uint32_t address, PointerKind kind);
inline std::uint32_t pointer_address(Value p) { return node_of(p).w1; }
inline PointerKind pointer_kind(Value p) {
  return static_cast<PointerKind>(node_of(p).w0 & kPayloadMask);
}

// A permanent constant text in the world (never moved, never collected);
// answers its world offset. Used for built-in names.
std::uint32_t constant_text(std::string_view text);
Value make_constant_string(std::string_view text);

// Lists from native code.
Value list_of(std::initializer_list<Value> items);
std::uint32_t list_length(Value list);  // pairs until a non-pair

// --- Lisp stack ------------------------------------------------------------

inline Value* lisp_stack_host(std::uint32_t offset) {
  return reinterpret_cast<Value*>(host(offset));
}
// Pushes one Value; past the limit raises error 9 with nil.
void lisp_stack_overflow();
inline void lisp_push(Value v) {
  if (g_mem.lisp_stack_top >= g_mem.lisp_stack_limit) lisp_stack_overflow();
  *lisp_stack_host(g_mem.lisp_stack_top) = v;
  g_mem.lisp_stack_top += 4;
}

// Restores the Lisp-stack top on scope exit.
class LispStackMark {
 public:
  LispStackMark() : saved_(g_mem.lisp_stack_top) {}
  ~LispStackMark() { g_mem.lisp_stack_top = saved_; }
  LispStackMark(const LispStackMark&) = delete;
  LispStackMark& operator=(const LispStackMark&) = delete;
  std::uint32_t saved() const { return saved_; }

 private:
  std::uint32_t saved_;
};

}  // namespace orvane
