// The collection sequence, the root registry, the remembered stores into
// permanent nodes, and the out-of-memory procedure.
#include "core/collector.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/gc_internal.h"
#include "core/hash_storage.h"
#include "core/native_objects.h"
#include "core/errors.h"
#include "platform/host.h"

namespace orvane {

namespace {

struct CollectorState {
  bool collecting = false;
  bool restore_pending = false;
  std::function<void()> post_restore;
  std::uintptr_t foreign_stack_top = 0;
  std::vector<std::uint32_t> mark_stack;
  // Permanent nodes written into; permanent nodes never die, so an entry
  // stays valid for the life of the world.
  std::vector<std::uint32_t> remembered;
  std::size_t remembered_unique = 0;
  CollectorStats stats;
};

CollectorState& state() {
  static CollectorState s;
  return s;
}

std::vector<gc::RootRange>& ranges() {
  static std::vector<gc::RootRange> r;
  return r;
}

std::vector<const ExtraRoots*>& extra_roots() {
  static std::vector<const ExtraRoots*> r;
  return r;
}

void drop_duplicate_stores(CollectorState& s) {
  std::sort(s.remembered.begin(), s.remembered.end());
  s.remembered.erase(std::unique(s.remembered.begin(), s.remembered.end()), s.remembered.end());
  s.remembered_unique = s.remembered.size();
}

// Where the fresh nodes (never handed out) begin now: they are consumed in
// ascending order from the end of the free list, so once the list's head
// lies among them every fresh node below it has been taken.
std::uint32_t fresh_nodes_start() {
  if (g_mem.free_count == 0) return gc::node_end();
  if (g_mem.free_head >= g_mem.fresh_nodes) return g_mem.free_head;
  return g_mem.fresh_nodes;
}

[[noreturn]] void allocation_during_collection() {
  std::fprintf(stderr, "orvane: an allocation was attempted during a collection\n");
  std::abort();
}

void release_dead_hash_slots(const gc::Releases& releases) {
  for (std::uint32_t address : releases.hash_slots) release_hash_table_slots(address);
}

}  // namespace

const std::vector<gc::RootRange>& gc::root_ranges() { return ranges(); }

void gc::mark_extra_roots(ValueMarker& marker) {
  for (const ExtraRoots* roots : extra_roots()) roots->mark(marker);
}

std::uintptr_t gc::foreign_native_stack_top() { return state().foreign_stack_top; }

ExtraRoots::ExtraRoots(std::function<void(ValueMarker&)> mark) : mark_(std::move(mark)) {
  extra_roots().push_back(this);
}

ExtraRoots::~ExtraRoots() { std::erase(extra_roots(), this); }

ForeignNativeStack::ForeignNativeStack(std::uintptr_t top) : saved_(state().foreign_stack_top) {
  state().foreign_stack_top = top;
}

ForeignNativeStack::~ForeignNativeStack() { state().foreign_stack_top = saved_; }

void set_cursor_restore_poster(std::function<void()> post) { state().post_restore = std::move(post); }

void add_root_range(Value* first, std::size_t count) { ranges().push_back({first, count}); }

void remove_root_range(Value* first) {
  auto& r = ranges();
  auto it = std::find_if(r.rbegin(), r.rend(), [&](const gc::RootRange& x) { return x.first == first; });
  if (it != r.rend()) r.erase(std::next(it).base());
}

void remember_permanent_store(std::uint32_t node_offset) {
  CollectorState& s = state();
  s.remembered.push_back(node_offset);
  if (s.remembered.size() > 2 * s.remembered_unique + 64) drop_duplicate_stores(s);
}

void cursor_restore_done() { state().restore_pending = false; }

const CollectorStats& collector_stats() { return state().stats; }

void reset_collector() {
  CollectorState& s = state();
  s.collecting = false;
  s.restore_pending = false;
  s.remembered.clear();
  s.remembered_unique = 0;
  s.stats = CollectorStats{};
  gc::reset_symbol_index();
}

void collect() {
  CollectorState& s = state();
  if (s.collecting || g_mem.nodes == nullptr) return;
  platform::host().show_busy_cursor();
  if (!s.restore_pending && s.post_restore) {
    s.post_restore();
    s.restore_pending = true;
  }
  gc::Releases releases;
  // A throw out of a half-done collection would leave mark bits behind and
  // the free list empty: anything thrown here ends the program instead.
  [&]() noexcept {
    s.collecting = true;
    std::uint32_t free_before = g_mem.free_count;
    std::uint32_t fresh = fresh_nodes_start();
    // No node may be taken while the collection runs: with a count of zero
    // every allocation goes to the slow path, which refuses it.
    g_mem.free_count = 0;
    drop_duplicate_stores(s);
    gc::Marker marker(s.mark_stack, fresh);
    gc::mark_roots(marker, s.remembered);
    gc::find_dead_native_objects(marker);
    s.stats.bytes_reclaimed = gc::sweep_indirects();
    gc::sweep_nodes(fresh, releases);
    s.stats.nodes_freed = g_mem.free_count > free_before ? g_mem.free_count - free_before : 0;
    g_mem.fresh_nodes = fresh;
    g_native_objects.collection_finished();
    ++s.stats.collections;
    s.collecting = false;
  }();
  // Native objects found dead are closed later, from
  // close_released_native_objects(): a close may allocate or run Lisp, and
  // this collection may be inside an allocation.
  release_dead_hash_slots(releases);
}

void gc::check_not_collecting() {
  if (state().collecting) allocation_during_collection();
}

namespace {
std::uint64_t g_out_of_memory_count = 0;  // only ever counts up
}  // namespace

std::uint64_t out_of_memory_count() { return g_out_of_memory_count; }

void out_of_memory() {
  ++g_out_of_memory_count;
  platform::host().restore_cursor();
  if (platform::host().out_of_memory_alert() == 2) std::exit(EXIT_FAILURE);
  throw_to_toplevel();
}

}  // namespace orvane
