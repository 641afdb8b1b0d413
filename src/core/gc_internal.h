// Shared between the collector's files (collector, marking, sweeping,
// zones); not for other subsystems.
#pragma once

#include <cstdint>
#include <array>
#include <vector>

#include "core/memory.h"
#include "core/value_marker.h"

namespace orvane::gc {

// Tags whose payload is no node: immediates, descriptors (permanent nodes
// that are never traced), the evaluator's form tags and the header tags.
constexpr bool is_untraced_tag(std::uint32_t t) {
  switch (t) {
    case 0x00: case 0x01: case 0x02: case 0x05: case 0x08: case 0x0c: case 0x0d:
    case 0x17: case 0x18: case 0x19: case 0x1a: case 0x1c: case 0x1d: case 0x1e: case 0x1f:
    case 0x37: case 0x38: case 0x39: case 0x3c:
      return true;
    default:
      return t >= tag::first_form && t <= tag::last_form && t != tag::syntax_gamma &&
             t != tag::closed_syntax;
  }
}

// Header tags of object nodes; a node whose word-0 tag is none of them is a
// pair (both words are Values).
constexpr bool is_object_header(std::uint32_t h) {
  switch (h) {
    case 0x17: case 0x18: case 0x1a: case 0x1c: case 0x1d: case 0x1e:
    case 0x35: case 0x37: case 0x38: case 0x39: case 0x3c:
      return true;
    default:
      return false;
  }
}

inline constexpr std::uint32_t kFlagBits = kPermanentBit | kMarkBit;

// One past the offset of the last node.
inline std::uint32_t node_end() { return (g_mem.node_count + 1) * 8; }

// Marks from roots with an explicit stack: lists are followed iteratively
// along cdrs, and whatever else a node holds is pushed, so no structure can
// deepen the native stack.
class Marker {
 public:
  // Only node offsets below `limit` are marked: the nodes from there on are
  // free nodes never handed out.
  Marker(std::vector<std::uint32_t>& stack, std::uint32_t limit)
      : stack_(stack), limit_(limit), nodes_base_(reinterpret_cast<std::uint64_t>(g_mem.nodes)) {}

  void mark(Value v) {
    if (is_untraced_tag(v.tag())) return;
    mark_node(v.payload());
  }
  // A word of the native stack that may or may not be a Value: a Value of
  // a traced tag (an indirect or object Value must name a node with its own
  // header), or a bare node offset, which compilers keep when the tag is a
  // constant they put back at the use (Value::make(tag, v.payload())).
  void mark_if_value(std::uint32_t word) {
    std::uint32_t t = word >> 24;  // the flag bits make it 0x40 or more
    if (t == 0) return mark_node(word);
    if (t >= 64 || kWordKinds[t] == WordKind::untraced) return;
    if (kWordKinds[t] == WordKind::object) {
      std::uint32_t offset = word & kPayloadMask;
      if (offset == 0 || offset >= limit_ || (offset & 7)) return;
      if (node_header(node_at(offset)) != header_of_tag(t)) return;
    }
    mark_node(word & kPayloadMask);
  }
  // A host address that may point into a node (kept by native code as a
  // derived pointer): marks that node.
  void mark_if_node_address(std::uint64_t address) {
    std::uint64_t offset = address - nodes_base_;
    if (offset < limit_) mark_node(static_cast<std::uint32_t>(offset) & ~7u);
  }
  // Traces the contents of a node without marking it (permanent nodes that
  // were written into).
  void trace_contents(std::uint32_t offset);
  // Processes everything pushed so far.
  void drain();

  void mark_node(std::uint32_t offset) {
    if (offset == 0 || offset >= limit_ || (offset & 7)) return;
    Node& n = node_at(offset);
    if (n.w0 & kFlagBits) return;
    n.w0 |= kMarkBit;
    std::uint32_t h = node_header(n);
    // Leaves need no second visit.
    if (h == header::raw_word || h == header::real || h == header::string || h == header::byte_block) return;
    stack_.push_back(offset);
  }

 private:
  void trace(std::uint32_t offset);
  void trace_list(std::uint32_t offset);
  void trace_values(const std::uint8_t* first, std::uint32_t count);

  enum class WordKind : std::uint8_t { untraced, node, object };
  static constexpr std::array<WordKind, 64> kWordKinds = [] {
    std::array<WordKind, 64> kinds{};
    for (std::uint32_t t = 0; t < 64; ++t)
      kinds[t] = is_untraced_tag(t) ? WordKind::untraced
                 : is_node_traced_tag(t) ? WordKind::node
                                         : WordKind::object;
    return kinds;
  }();

  std::vector<std::uint32_t>& stack_;
  std::uint32_t limit_;
  std::uint64_t nodes_base_;
};

// The registered root ranges (collector.cpp).
struct RootRange {
  Value* first;
  std::size_t count;
};
const std::vector<RootRange>& root_ranges();
// Runs the registered ExtraRoots (collector.cpp).
void mark_extra_roots(ValueMarker& marker);
// The top of a foreign native stack in force, or 0 (collector.cpp).
std::uintptr_t foreign_native_stack_top();

// Forgets the list of symbol-table entries in use (a new world).
void reset_symbol_index();

// Marks every root (in the documented order) and drains the marker.
void mark_roots(Marker& marker, const std::vector<std::uint32_t>& remembered);
// After the roots: the owned native objects whose pointer node was not
// reached await their close; their Values are marked, and the marker drained.
void find_dead_native_objects(Marker& marker);

// Slides the indirect chain's data up (delta > 0) or down by delta bytes and
// moves the area's start with it; the caller checked the room.
void slide_indirects(std::int64_t delta);

// Compacts the indirect area: unmarked indirects leave the chain and the
// data of the others slides down in chain order. Answers the bytes reclaimed.
std::uint64_t sweep_indirects();

// Frees every unmarked node below `limit` onto the free list (highest freed
// node first, then the never-used nodes from `limit` on) and clears the
// mark bits. Collects the hash-table slot arrays to give back once the
// collection is over. Answers the number of nodes swept onto the list
// (those that were already free included).
struct Releases {
  std::vector<std::uint32_t> hash_slots;
};
std::uint32_t sweep_nodes(std::uint32_t limit, Releases& releases);

// Ends the program when an allocation is attempted while a collection runs
// (a hook that allocates): the world would be corrupted otherwise.
void check_not_collecting();

// Grows the node store by n nodes (growth on, room checked by the caller's
// rules) keeping at least `keep_bytes` free in the indirect area.
bool grow_nodes_keeping(std::uint32_t n, std::uint32_t keep_bytes);

}  // namespace orvane::gc
