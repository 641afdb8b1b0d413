// Sweeping: the compaction of the indirect area in chain order, then the
// node sweep that rebuilds the free list.
#include <cstring>

#include "core/collector.h"
#include "core/gc_internal.h"
#include "platform/host.h"

namespace orvane::gc {

namespace {

constexpr const char* kCorruptChainText =
    "An error has occured.  You should save your file, quit and reload the software.";

std::uint32_t chain_link(const Node& n) { return n.w0 & kPayloadMask; }

bool is_indirect_header(std::uint32_t h) {
  switch (h) {
    case header::vector: case header::array: case header::real: case header::string:
    case header::byte_block: case header::slot_descriptor: case header::class_record:
    case header::instance_record:
      return true;
    default:
      return false;
  }
}

void relink(std::uint32_t prev, std::uint32_t next) {
  Node& n = node_at(prev);
  n.w0 = (n.w0 & 0xff000000u) | kMarkBit | next;
}

void alert_corrupt_chain() { platform::host().internal_error_alert(kCorruptChainText); }

// The chain is damaged from `from` on: keep every node still reachable
// through its links, leave their data where it is and the allocation
// pointer where it was, so nothing more is lost or overwritten.
void keep_rest_of_chain(std::uint32_t from) {
  std::uint32_t end = node_end();
  for (std::uint32_t p = from, steps = 0; p != 0 && p < end && (p & 7) == 0 && steps < g_mem.node_count;
       ++steps) {
    Node& n = node_at(p);
    n.w0 |= kMarkBit;
    if (p == g_mem.chain_tail) break;
    p = chain_link(n);
  }
}

}  // namespace

// Indirect data lies in chain order without gaps, so the extent of an
// indirect (its size rounded up to even) runs from its data address to its
// successor's, and the last one's to the allocation pointer. Sizes are
// never read from the data, where a damaged count, terminator or class
// record could mislead the copy.
std::uint64_t sweep_indirects() {
  const std::uint32_t head = g_mem.chain_head;
  const std::uint32_t tail = g_mem.chain_tail;
  if (head == tail) return 0;
  const std::uint32_t end = node_end();
  const std::uint32_t old_alloc = g_mem.heap_alloc;
  auto valid = [&](std::uint32_t q) {
    return q == tail || (q != 0 && q < end && (q & 7) == 0 && is_indirect_header(node_header(node_at(q))));
  };
  auto data_of = [&](std::uint32_t q) { return q == tail ? old_alloc : node_at(q).w1; };
  std::uint32_t prev = head;
  std::uint32_t p = chain_link(node_at(head));
  if (!valid(p)) {
    alert_corrupt_chain();
    keep_rest_of_chain(p);
    return 0;
  }
  // The head's data is never moved: it ends where its successor's begins.
  std::uint32_t dst = data_of(p);
  for (std::uint32_t steps = 0; p != tail; ++steps) {
    Node& n = node_at(p);
    std::uint32_t next = chain_link(n);
    std::uint32_t from = n.w1;
    bool next_valid = valid(next);
    std::uint32_t to = next_valid ? data_of(next) : 0;
    if (!next_valid || steps > g_mem.node_count || from < dst || to < from || to > old_alloc) {
      alert_corrupt_chain();
      relink(prev, p);
      keep_rest_of_chain(p);
      return 0;
    }
    if (n.w0 & kFlagBits) {
      relink(prev, p);
      prev = p;
      if (from != dst) {
        std::memmove(host(dst), host(from), to - from);
        n.w1 = dst;
      }
      dst += to - from;
    }
    p = next;
  }
  relink(prev, tail);
  g_mem.heap_alloc = dst;
  return old_alloc - dst;
}

std::uint32_t sweep_nodes(std::uint32_t limit, Releases& releases) {
  const std::uint32_t end = node_end();
  // The lowest freed node links to the never-used nodes, which stay in
  // ascending order at the end of the list.
  std::uint32_t link = limit < end ? limit : kNil.bits;
  std::uint32_t fresh = (end - limit) / 8;
  std::uint32_t freed = 0;
  std::uint8_t* nodes = g_mem.nodes;
  for (std::uint32_t offset = 8; offset < limit; offset += 8) {
    Node& n = *reinterpret_cast<Node*>(nodes + offset);
    if (n.w0 & kFlagBits) {
      n.w0 &= ~kMarkBit;
      continue;
    }
    // Native objects are found dead by their table (find_dead_native_objects).
    if (node_header(n) == header::hash_table && n.w1 != 0) releases.hash_slots.push_back(n.w1);
    n.w0 = kNil.bits;
    n.w1 = link;
    link = offset;
    ++freed;
  }
  g_mem.free_head = link & kPayloadMask;
  g_mem.free_count = freed + fresh;
  return freed;
}

void slide_indirects(std::int64_t delta) {
  if (delta == 0) return;
  std::uint32_t used = g_mem.heap_alloc - g_mem.heap_start;
  auto moved = static_cast<std::uint32_t>(g_mem.heap_start + delta);
  std::memmove(host(moved), host(g_mem.heap_start), used);
  for (std::uint32_t p = g_mem.chain_head; p != g_mem.chain_tail; p = chain_link(node_at(p)))
    node_at(p).w1 = static_cast<std::uint32_t>(node_at(p).w1 + delta);
  g_mem.heap_start = moved;
  g_mem.heap_alloc = static_cast<std::uint32_t>(g_mem.heap_alloc + delta);
}

}  // namespace orvane::gc
