// Marking: the roots, the tracing of nodes by their header, and the
// conservative scan of the native stack.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/collector.h"
#include "core/gc_internal.h"
#include "core/native_objects.h"
#include "core/object_layout.h"
#include "core/symbols.h"
#include "core/errors.h"
#include "platform/address_space.h"

namespace orvane::gc {

namespace {

// The marker of the running collection, for the object layouts and the
// throws in flight, which take a plain function to mark with.
Marker* g_active = nullptr;
void mark_with_active(Value v) { g_active->mark(v); }

class NativeValueMarker : public ValueMarker {
 public:
  explicit NativeValueMarker(Marker& m) : marker_(m) {}
  void mark(Value v) override { marker_.mark(v); }

 private:
  Marker& marker_;
};

std::uint16_t read_u16(const std::uint8_t* p) {
  std::uint16_t x;
  std::memcpy(&x, p, 2);
  return x;
}

// Elements of a vector or array must lie below the allocation pointer: a
// damaged count never makes the collector read past the live data.
std::uint32_t bounded_count(std::uint32_t data, std::uint32_t skip, std::uint32_t count) {
  std::uint64_t first = std::uint64_t{data} + skip;
  if (first >= g_mem.heap_alloc) return 0;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(count, (g_mem.heap_alloc - first) / 4));
}

}  // namespace

// --- Tracing -------------------------------------------------------------------------

void Marker::trace_values(const std::uint8_t* first, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t w;
    std::memcpy(&w, first + 4 * i, 4);
    mark(Value(w));
  }
}

// Follows a list along its cdrs; cars and other contents go on the stack.
void Marker::trace_list(std::uint32_t offset) {
  for (;;) {
    const Node& n = node_at(offset);
    mark(Value(n.w0 & ~kFlagBits));
    Value d(n.w1);
    if (!is_node_traced_tag(d.tag())) {
      mark(d);
      return;
    }
    std::uint32_t next = d.payload();
    if (next == 0 || next >= limit_ || (next & 7)) return;
    Node& m = node_at(next);
    if (m.w0 & kFlagBits) return;
    m.w0 |= kMarkBit;
    if (!is_object_header(node_header(m))) {
      offset = next;
      continue;
    }
    // A malformed cdr names an object node: trace it by its header.
    trace(next);
    return;
  }
}

void Marker::trace(std::uint32_t offset) {
  const Node& n = node_at(offset);
  switch (node_header(n)) {
    case header::raw_word:
    case header::real:
    case header::string:
    case header::byte_block:
      return;
    case header::vector: {
      const std::uint8_t* data = host(n.w1);
      trace_values(data + 2, bounded_count(n.w1, 2, read_u16(data) & 0x7fff));
      return;
    }
    case header::array: {
      const std::uint8_t* data = host(n.w1);
      std::uint32_t skip = 4 + 2 * std::uint32_t{read_u16(data + 2)};
      trace_values(data + skip, bounded_count(n.w1, skip, read_u16(data)));
      return;
    }
    case header::hash_table:
      if (n.w1 != 0) trace_values(host(n.w1), g_mem.symbol_count);
      return;
    case header::pointer:
      if (n.w1 != 0) {
        if (NativeObject* object = g_native_objects.owned_by(n.w1, offset)) {
          NativeValueMarker marker(*this);
          object->mark_values(marker);
        }
        g_native_objects.note_named(n.w1, static_cast<PointerKind>(n.w0 & kPayloadMask));
      }
      return;
    case header::slot_descriptor:
    case header::class_record:
    case header::instance_record:
      mark_object_record(node_header(n), offset, mark_with_active);
      return;
    default:
      trace_list(offset);
      return;
  }
}

void Marker::trace_contents(std::uint32_t offset) {
  if (offset == 0 || offset >= node_end() || (offset & 7)) return;
  trace(offset);
}

void Marker::drain() {
  while (!stack_.empty()) {
    std::uint32_t offset = stack_.back();
    stack_.pop_back();
    trace(offset);
  }
}

// --- Conservative scan -------------------------------------------------------------------

namespace {

struct StackBounds {
  std::uintptr_t bottom = 0, top = 0;
};

// The thread's own stack; asking the system is slow, so each thread asks once.
StackBounds thread_stack() {
  thread_local StackBounds bounds = [] {
    platform::NativeStackBounds b = platform::current_native_stack();
    return StackBounds{b.top - b.size, b.top};
  }();
  return bounds;
}

[[noreturn]] void unknown_stack() {
  std::fprintf(stderr, "orvane: the collector runs on a native stack it cannot scan\n");
  std::abort();
}

// Reads the stack between this frame and the top, which includes every
// caller's frame and the registers spilled by the caller. The reads are
// plain loads: the words of other frames are not this function's objects,
// so the address sanitizer must not check them.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((noinline, no_sanitize("address")))
#endif
void scan_native_stack(Marker& marker) {
  auto from = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  std::uintptr_t to;
  if (std::uintptr_t foreign = foreign_native_stack_top()) {
    to = foreign;
  } else {
    StackBounds bounds = thread_stack();
    // Missing a root would free live data: a stack we do not know is fatal.
    if (from < bounds.bottom || from >= bounds.top) unknown_stack();
    to = bounds.top;
  }
  if (to <= from) return;
  from &= ~std::uintptr_t{3};
  // Values are 4-byte words wherever the compiler keeps them; host pointers
  // that native code derived from a node (node_of) are 8-byte aligned.
  for (std::uintptr_t p = from; p + 4 <= to; p += 4) {
    marker.mark_if_value(*reinterpret_cast<const volatile std::uint32_t*>(p));
    if ((p & 7) == 0 && p + 8 <= to)
      marker.mark_if_node_address(*reinterpret_cast<const volatile std::uint64_t*>(p));
  }
}

#if defined(__GNUC__) || defined(__clang__)
__attribute__((noinline))
#endif
void mark_native_stack(Marker& marker) {
  // Spill the callee-saved registers into this frame so that the scan sees
  // the Values they hold.
#if defined(__GNUC__) || defined(__clang__)
  __builtin_unwind_init();
#endif
  scan_native_stack(marker);
}

}  // namespace

// --- Roots --------------------------------------------------------------------------------

namespace {

// The entries of the symbol table in use. Symbols are never removed and
// each new one lowers the count of empty entries, so the list only needs
// rebuilding when that count changed.
struct SymbolIndex {
  std::vector<std::uint32_t> entries;
  std::uint32_t empty = UINT32_MAX;
  std::uint32_t size = 0;
};
SymbolIndex g_symbol_index;

const std::vector<std::uint32_t>& used_symbol_entries() {
  SymbolIndex& x = g_symbol_index;
  if (x.empty != g_mem.symbols_free || x.size != g_mem.symbol_count) {
    x.entries.clear();
    for (std::uint32_t i = 0; i < g_mem.symbol_count; ++i)
      if (symbol_entry_at(i).name.bits != 0) x.entries.push_back(i);
    x.empty = g_mem.symbols_free;
    x.size = g_mem.symbol_count;
  }
  return x.entries;
}

}  // namespace

void reset_symbol_index() { g_symbol_index = SymbolIndex{}; }

void mark_roots(Marker& marker, const std::vector<std::uint32_t>& remembered) {
  g_active = &marker;
  for (std::uint32_t i : used_symbol_entries()) {
    const SymbolEntry& e = symbol_entry_at(i);
    marker.mark(e.value);
    marker.mark(e.definer);
  }
  marker.drain();
  for (const RootRange& r : root_ranges())
    for (std::size_t i = 0; i < r.count; ++i) marker.mark(r.first[i]);
  marker.drain();
  marker.mark(g_mem.self);
  marker.mark(g_mem.empty_string);
  // The chain's ends by their nodes: the head's data is never moved.
  marker.mark_node(g_mem.chain_head);
  marker.mark_node(g_mem.chain_tail);
  marker.drain();
  mark_native_stack(marker);
  marker.drain();
  for (std::uint32_t at = g_mem.lisp_stack_base; at < g_mem.lisp_stack_top; at += 4)
    marker.mark(*lisp_stack_host(at));
  marker.drain();
  mark_throws_in_flight(mark_with_active);
  for (std::uint32_t offset : remembered) marker.trace_contents(offset);
  marker.drain();
  NativeValueMarker native_marker(marker);
  mark_extra_roots(native_marker);
  marker.drain();
  g_native_objects.mark_awaiting_close(native_marker);
  marker.drain();
  g_active = nullptr;
}

void find_dead_native_objects(Marker& marker) {
  g_active = &marker;
  NativeValueMarker native_marker(marker);
  g_native_objects.queue_unreached(
      [](std::uint32_t node) { return (node_at(node).w0 & kFlagBits) != 0; }, native_marker);
  marker.drain();
  g_active = nullptr;
}

}  // namespace orvane::gc
