// The collector: stop-the-world mark and sweep of the nodes with sliding
// compaction of the indirect area. What the rest of the run-time may call.
//
// Roots, in marking order: every symbol's value and definer word, the
// registered root ranges (sort buffers, the reader's tables, the bind
// table ...), the current object, the shared empty string, the head and tail
// of the indirect chain, the native stack (conservatively), the Lisp stack,
// the throws in flight, the permanent nodes written into since they became
// permanent, then the roots of later subsystems (g_collector_hooks).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory.h"
#include "core/value.h"

namespace orvane {

// One full collection. A request made while a collection runs is ignored.
void collect();
// Grows the node store by max(n, 5000) nodes into free indirect space when
// growth is on; answers whether it did.
bool grow_nodes(std::uint32_t n);
// Makes a structure permanent (never freed, never traced). Raises "bad type
// in protect fonction" for vectors, arrays, hash tables, pointers and
// objects; the structure is then left exactly as it was.
void protect(Value v);
// The out-of-memory procedure: alert, then a throw to the toplevel or quit.
[[noreturn]] void out_of_memory();

// The collector never traces into permanent nodes, so a store of a
// collectable Value into one must be recorded: call this after storing into
// the node at `node_offset` (a pair, or the node of a vector, array or
// object record whose data was written). set_car and set_cdr call it.
inline void write_barrier(std::uint32_t node_offset) {
  if (node_at(node_offset).w0 & kPermanentBit) remember_permanent_store(node_offset);
}

// Extra roots: fixed ranges of Values owned by native code (the reader's
// tables, the sort buffers ...). Registered ranges are marked at every
// collection until unregistered. The range must not move while registered.
void add_root_range(Value* first, std::size_t count);
void remove_root_range(Value* first);

// A Value held by native code outside the native stack, kept alive while
// this object exists.
class GcRoot {
 public:
  explicit GcRoot(Value v = kNil) : value_(v) { add_root_range(&value_, 1); }
  ~GcRoot() { remove_root_range(&value_); }
  GcRoot(const GcRoot&) = delete;
  GcRoot& operator=(const GcRoot&) = delete;
  Value get() const { return value_; }
  void set(Value v) { value_ = v; }

 private:
  Value value_;
};

// Hooks for the shell. Every hook may be left null.
struct CollectorHooks {
  // The collector cursor, shown when a collection starts.
  void (*show_cursor)() = nullptr;
  // Posts the cursor-restore message to the frame window; the window calls
  // cursor_restore_done() when it handles it. Posted once until then.
  void (*post_restore)() = nullptr;
  // Restores the normal cursor at once (before the out-of-memory alert).
  void (*restore_cursor)() = nullptr;
  // The out-of-memory alert: answers 1 for "OK" (abandon the computation)
  // and 2 for "Quit". A console run answers "OK".
  int (*out_of_memory_alert)() = nullptr;
  // The internal-error alert shown when the indirect chain is found corrupt.
  void (*corrupt_chain_alert)(const char* text) = nullptr;
  // Roots owned by later subsystems (processes ...).
  void (*mark_extra_roots)(void (*mark)(Value)) = nullptr;
  // The top of the native stack the collector runs on, when that is not
  // the thread's own stack (a process running on a stack of its own).
  std::uintptr_t (*native_stack_top)() = nullptr;
};
inline CollectorHooks g_collector_hooks;

// The frame window handled the cursor-restore message.
void cursor_restore_done();

// Counters for tests, the memory display and benchmarks.
struct CollectorStats {
  std::uint64_t collections = 0;
  std::uint64_t nodes_freed = 0;     // free nodes gained by the last collection
  std::uint64_t bytes_reclaimed = 0; // by the last collection's compaction
};
const CollectorStats& collector_stats();

// Forgets everything the collector kept for the previous world (remembered
// stores, counters); the run-time calls it when it lays out a new world.
void reset_collector();

}  // namespace orvane
