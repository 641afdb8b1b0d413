// The collector: stop-the-world mark and sweep of the nodes with sliding
// compaction of the indirect area. What the rest of the run-time may call.
//
// Roots, in marking order: every symbol's value and definer word, the
// registered root ranges (sort buffers, the reader's tables, the bind
// table ...), the current object, the shared empty string, the head and tail
// of the indirect chain, the native stack (conservatively), the Lisp stack,
// the throws in flight, the permanent nodes written into since they became
// permanent, the registered extra roots (ExtraRoots), then the native
// objects awaiting their close. Owned native objects whose pointer node was
// not reached are then found dead (see native_objects.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/memory.h"
#include "core/value.h"
#include "core/value_marker.h"

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
// The out-of-memory procedure: the host's alert, then a throw to the
// toplevel or quit.
[[noreturn]] void out_of_memory();
// How many times memory ran out in this process (a form it ended failed).
std::uint64_t out_of_memory_count();

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

// Roots owned by other subsystems (the process list ...): while an
// ExtraRoots lives, its function marks them at every collection, after the
// built-in roots and in the order of registration. The function must not
// allocate.
class ExtraRoots {
 public:
  explicit ExtraRoots(std::function<void(ValueMarker&)> mark);
  ~ExtraRoots();
  ExtraRoots(const ExtraRoots&) = delete;
  ExtraRoots& operator=(const ExtraRoots&) = delete;
  void mark(ValueMarker& marker) const { mark_(marker); }

 private:
  std::function<void(ValueMarker&)> mark_;
};

// The collector's cursor is the host's (platform::Host::show_busy_cursor,
// restore_cursor). The frame window also wants to hear that a collection
// started, to restore the normal cursor once it is over (the cursor-restore
// message): it registers a poster here (an empty function removes it). A
// collection posts once, then not again until the window reports with
// cursor_restore_done() that it handled the message. The poster runs inside
// an allocation: it queues a message and must not allocate Lisp data.
void set_cursor_restore_poster(std::function<void()> post);
void cursor_restore_done();

// While this lives, the collector scans the native stack up to `top`
// instead of the thread's own stack top: for code running on a stack of
// its own (a process with its own stack). Scopes nest.
class ForeignNativeStack {
 public:
  explicit ForeignNativeStack(std::uintptr_t top);
  ~ForeignNativeStack();
  ForeignNativeStack(const ForeignNativeStack&) = delete;
  ForeignNativeStack& operator=(const ForeignNativeStack&) = delete;

 private:
  std::uintptr_t saved_;
};

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
