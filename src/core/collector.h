// The collector: stop-the-world mark and sweep of the nodes with sliding
// compaction of the indirect area.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/value.h"

namespace orvane {

// One full collection.
void collect();
// Grows the node store by max(n, 5000) nodes into free indirect space when
// growth is on; answers whether it did.
bool grow_nodes(std::uint32_t n);
// Makes a structure permanent; "bad type in protect fonction" for vectors,
// arrays, hash tables, pointers and objects.
void protect(Value v);
// The out-of-memory procedure: alert, then a throw to the toplevel or quit.
[[noreturn]] void out_of_memory();

// Extra roots: fixed ranges of Values owned by native code (the reader's
// tables, the sort buffers ...). Registered ranges are marked at every
// collection until unregistered.
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

// Hooks for the shell: the collector cursor and its restore message.
struct CollectorHooks {
  void (*show_cursor)() = nullptr;
  void (*post_restore)() = nullptr;
  // Answers 1 for "OK" (abandon the computation) and 2 for "Quit".
  int (*out_of_memory_alert)() = nullptr;
  // Roots owned by later subsystems (processes ...).
  void (*mark_extra_roots)(void (*mark)(Value)) = nullptr;
};
inline CollectorHooks g_collector_hooks;

}  // namespace orvane
