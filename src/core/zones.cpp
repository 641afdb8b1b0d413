// Growth of the node store and the moves of the zones.
#include "core/zones.h"

#include <algorithm>
#include <cstring>

#include "core/blocks.h"
#include "core/collector.h"
#include "core/gc_internal.h"
#include "core/native_stack.h"

namespace orvane {

namespace {

struct Span {
  std::uint64_t begin, end;
};

std::array<Span, 5> zone_spans() {
  const LispMemory& m = g_mem;
  return {Span{m.symbols_offset, m.symbols_offset + std::uint64_t{16} * m.symbol_count},
          Span{m.lisp_stack_base, m.lisp_stack_end},
          Span{m.prolog_base, m.prolog_end},
          Span{m.nodes_offset, m.nodes_offset + std::uint64_t{gc::node_end()}},
          Span{m.heap_start, m.heap_end}};
}

// Whether zone `index` may occupy `moved`: inside the block, clear of the
// other zones.
bool fits(std::size_t index, Span moved) {
  if (moved.begin < g_mem.block_start || moved.end > g_mem.block_end) return false;
  auto spans = zone_spans();
  for (std::size_t i = 0; i < spans.size(); ++i)
    if (i != index && moved.begin < spans[i].end && spans[i].begin < moved.end) return false;
  return true;
}

Span shifted(Span s, std::int64_t delta) {
  return {static_cast<std::uint64_t>(static_cast<std::int64_t>(s.begin) + delta),
          static_cast<std::uint64_t>(static_cast<std::int64_t>(s.end) + delta)};
}

std::uintptr_t native_stack_position() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

// The last node of the free list (its link has zero in bits 0-23).
std::uint32_t last_free_node() {
  std::uint32_t old_end = gc::node_end();
  // The never-used nodes end the list in ascending order.
  if (g_mem.fresh_nodes < old_end) return old_end - 8;
  std::uint32_t p = g_mem.free_head;
  while ((node_at(p).w1 & kPayloadMask) != 0) p = node_at(p).w1 & kPayloadMask;
  return p;
}

}  // namespace

// --- Growing the node store -----------------------------------------------------------

bool gc::grow_nodes_keeping(std::uint32_t n, std::uint32_t keep_bytes) {
  if (!g_mem.growable) return false;
  n = std::max<std::uint32_t>(n, 5000);
  // Node offsets are 24 bits: the store cannot pass kMaxNodes.
  n = std::min(n, kMaxNodes - g_mem.node_count);
  if (n == 0) return false;
  std::uint32_t first = node_end();
  std::uint64_t nodes_end = std::uint64_t{g_mem.nodes_offset} + first;
  std::uint64_t gap = g_mem.heap_start - nodes_end;
  std::uint64_t slide = 8ull * n > gap ? 8ull * n - gap : 0;
  if (std::uint64_t{g_mem.heap_end} - g_mem.heap_alloc < slide + keep_bytes) return false;
  slide_indirects(static_cast<std::int64_t>(slide));

  for (std::uint32_t i = 0; i < n; ++i) {
    std::uint32_t at = first + 8 * i;
    node_at(at) = Node{kNil.bits, i + 1 == n ? kNil.bits : at + 8};
  }
  if (g_mem.free_count == 0) g_mem.free_head = first;
  else node_at(last_free_node()).w1 = first;
  g_mem.node_count += n;
  g_mem.free_count += n;
  return true;
}

bool grow_nodes(std::uint32_t n) { return gc::grow_nodes_keeping(n, 0); }

// --- Moving zones -------------------------------------------------------------------------

bool move_symbols(std::int64_t delta) {
  if (delta % 16 != 0) return false;
  if (delta == 0) return true;
  Span moved = shifted(zone_spans()[0], delta);
  if (!fits(0, moved)) return false;
  std::memmove(host(static_cast<std::uint32_t>(moved.begin)), host(g_mem.symbols_offset),
               std::size_t{16} * g_mem.symbol_count);
  g_mem.symbols_offset = static_cast<std::uint32_t>(moved.begin);
  return true;
}

bool move_nodes(std::int64_t delta) {
  if (delta % 8 != 0) return false;
  if (delta == 0) return true;
  Span moved = shifted(zone_spans()[3], delta);
  if (!fits(3, moved)) return false;
  std::memmove(host(static_cast<std::uint32_t>(moved.begin)), g_mem.nodes, gc::node_end());
  g_mem.nodes_offset = static_cast<std::uint32_t>(moved.begin);
  g_mem.nodes = host(g_mem.nodes_offset);
  return true;
}

bool move_indirects(std::int64_t delta) {
  if (delta % 2 != 0) return false;
  if (delta == 0) return true;
  if (delta > 0 && static_cast<std::uint64_t>(delta) > std::uint64_t{g_mem.heap_end} - g_mem.heap_alloc) return false;
  if (delta < 0) {
    Span grown{static_cast<std::uint64_t>(std::int64_t{g_mem.heap_start} + delta), g_mem.heap_end};
    if (std::int64_t{g_mem.heap_start} + delta < 0 || !fits(4, grown)) return false;
  }
  gc::slide_indirects(delta);
  return true;
}

// --- Figures ----------------------------------------------------------------------------------

ZoneFigures zone_addresses() {
  return {g_mem.symbols_offset, g_mem.lisp_stack_base, g_mem.nodes_offset + 8u, g_mem.heap_start,
          g_mem.prolog_base,    0,                     0};
}

ZoneFigures zone_sizes() {
  return {g_mem.symbol_count,
          (g_mem.lisp_stack_end - g_mem.lisp_stack_base) / 4,
          (g_mem.prolog_end - g_mem.prolog_base) / 4,
          g_mem.node_count,
          g_mem.heap_end - g_mem.heap_start,
          g_mem.reserve,
          g_mem.native_stack};
}

ZoneFigures zone_free() {
  std::uintptr_t here = native_stack_position();
  return {g_mem.symbols_free,
          g_mem.lisp_stack_top < g_mem.lisp_stack_limit ? (g_mem.lisp_stack_limit - g_mem.lisp_stack_top) / 4 : 0,
          (g_mem.prolog_top - g_mem.prolog_base) / 4,
          g_mem.free_count,
          g_mem.heap_end - g_mem.heap_alloc,
          std::min<std::uint64_t>(g_mem.reserve, available_memory()),
          here > g_native_stack_limit ? here - g_native_stack_limit : 0};
}

}  // namespace orvane
