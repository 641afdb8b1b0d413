// Native objects (window peers, processes, regions, files ...) live on the
// ordinary heap. Lisp sees them through 32-bit ids from this table: index in
// the low 20 bits, generation in the high 12, so a stale or forged id is
// detected. Id 0 is never issued.
//
// A stale id never names a later object: freed slots are reused first in,
// first out, and only once more than `reuse_distance` slots are free, so a
// slot comes back after that many other releases at the soonest; a slot
// whose generation would wrap is retired instead. A retired slot comes back
// (at generation 1) only after a collection found no pointer node still
// naming it. An id kept in a pointer Value, where the collector sees it,
// thus stays stale for ever; a bare id kept by native code stays stale for
// at least 4,095 x reuse_distance releases.
//
// An object made with make_native_pointer is owned by its pointer node:
// once a collection finds that node dead, the object awaits its close, which
// close_released_native_objects() performs later, outside any allocation.
// Until then its Values stay alive. Databases, records, handles and
// resources are named by ids of their own tables and never owned here.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "core/value.h"
#include "core/value_marker.h"

namespace orvane {

class NativeObject {
 public:
  // The destructor is the object's close. When the collector found the
  // object dead it runs from close_released_native_objects(), so it may
  // allocate and run Lisp; it must not let a throw out.
  virtual ~NativeObject() = default;
  // Marks the Values this object holds (called by the collector).
  virtual void mark_values(ValueMarker&) {}
};

class NativeObjectTable {
 public:
  static constexpr std::size_t kDefaultReuseDistance = 1024;
  explicit NativeObjectTable(std::size_t reuse_distance = kDefaultReuseDistance)
      : reuse_distance_(reuse_distance) {}
  // For tests that need slots reused at once.
  void set_reuse_distance(std::size_t distance) { reuse_distance_ = distance; }

  // Enters an object that native code releases itself; answers its id, or
  // 0 when the table is full.
  std::uint32_t add(std::unique_ptr<NativeObject> object);
  // Enters an object owned by the pointer node at `owner_node` (a pointer
  // of the given kind): the collector releases the object with its node.
  std::uint32_t add_owned(std::unique_ptr<NativeObject> object, PointerKind kind, std::uint32_t owner_node);
  // Null for a stale, forged or released id.
  NativeObject* find(std::uint32_t id) const;
  // Destroys the object now; later lookups of the id answer null.
  void release(std::uint32_t id);
  // Objects in the table, those awaiting their close included.
  std::size_t live_count() const { return live_; }
  // Slots in use, free or retired: what the table costs.
  std::size_t slot_count() const { return slots_.size() - 1; }
  // Calls f on every live object (not those awaiting their close).
  template <class F>
  void for_each(F&& f) const {
    for (auto& s : slots_)
      if (s.object && !s.awaiting_close) f(*s.object);
  }
  // Destroys every object (the end of a run-time).
  void clear();

  // Closes the objects the collector found dead, oldest first. Objects
  // found dead during a close are closed by the same call.
  void close_released();
  bool has_released() const { return !released_.empty(); }

  // --- The collector's side -----------------------------------------------------------
  // The object that the pointer node at `node` owns through `id`, or null.
  NativeObject* owned_by(std::uint32_t id, std::uint32_t node) const;
  // A pointer node of that kind reached by the marking names `id`: its slot
  // cannot come back from retirement after this collection.
  void note_named(std::uint32_t id, PointerKind kind) {
    if (retired_ == 0 || !(owner_kinds_ & kind_bit(kind))) return;
    std::uint32_t index = id & kIndexMask;
    if (index < slots_.size() && slots_[index].retired) slots_[index].named = true;
  }
  // Marks the Values of the objects awaiting or undergoing their close.
  void mark_awaiting_close(ValueMarker& marker) const;
  // Every owned object whose node `is_marked` does not answer true for is
  // dead: it awaits its close from now on, and its Values are marked.
  template <class IsMarked>
  void queue_unreached(IsMarked is_marked, ValueMarker& marker);
  // The marking is over: retired slots that no pointer node named return
  // to use.
  void collection_finished();

 private:
  static constexpr std::uint32_t kIndexBits = 20;
  static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
  static constexpr std::uint16_t kLastGeneration = 0xfff;
  static constexpr std::uint32_t kind_bit(PointerKind kind) {
    return 1u << (static_cast<std::uint32_t>(kind) & 31);
  }

  struct Slot {
    std::unique_ptr<NativeObject> object;
    std::uint32_t owner_node = 0;  // the owning pointer node; 0 for none
    std::uint16_t generation = 1;
    bool awaiting_close = false;
    bool retired = false;
    bool named = false;  // retired, and named by a pointer reached this collection
  };

  std::uint32_t id_of(std::uint32_t index) const {
    return (std::uint32_t{slots_[index].generation} << kIndexBits) | index;
  }
  // Empties the slot of a live id and answers its object.
  std::unique_ptr<NativeObject> take(std::uint32_t id);
  // Destroys an object taken from its slot, keeping its Values marked
  // while its destructor runs.
  void destroy(std::unique_ptr<NativeObject> object);

  std::vector<Slot> slots_{1};  // slot 0 unused so that no id is 0
  std::deque<std::uint32_t> free_;
  std::deque<std::uint32_t> released_;  // ids of the objects awaiting their close
  std::vector<NativeObject*> closing_;  // objects whose destructor runs
  std::vector<std::uint32_t> unreached_;
  std::size_t reuse_distance_;
  std::size_t live_ = 0;
  std::size_t retired_ = 0;
  std::uint32_t owner_kinds_ = 0;
};

template <class IsMarked>
void NativeObjectTable::queue_unreached(IsMarked is_marked, ValueMarker& marker) {
  // All the dead are found before any of their Values is marked, so that
  // objects that die together are all closed, whatever refers to what.
  unreached_.clear();
  for (std::uint32_t index = 1; index < slots_.size(); ++index) {
    const Slot& s = slots_[index];
    if (s.object && s.owner_node != 0 && !s.awaiting_close && !is_marked(s.owner_node))
      unreached_.push_back(index);
  }
  for (std::uint32_t index : unreached_) {
    Slot& s = slots_[index];
    s.awaiting_close = true;
    s.owner_node = 0;  // the node is freed by this collection
    released_.push_back(id_of(index));
    s.object->mark_values(marker);
  }
}

// The run-time's native-object table (a documented singleton).
inline NativeObjectTable g_native_objects;

// Closes the native objects the collector found dead. Call it where no
// allocation is under way and Lisp may run: the evaluator's event poll, the
// toplevel between forms, the end of a run-time.
inline void close_released_native_objects() {
  if (g_native_objects.has_released()) g_native_objects.close_released();
}

// A pointer Value of the given kind owning a native object (its id in word 1).
Value make_native_pointer(std::unique_ptr<NativeObject> object, PointerKind kind);
// The object behind a pointer Value of that kind; error 2 with the Value when
// the Value is not such a pointer or its id is stale.
NativeObject& native_object_of(Value pointer, PointerKind kind);
template <class T>
T& native_as(Value pointer, PointerKind kind);

}  // namespace orvane

#include "core/errors.h"

namespace orvane {
template <class T>
T& native_as(Value pointer, PointerKind kind) {
  auto* p = dynamic_cast<T*>(&native_object_of(pointer, kind));
  if (!p) raise_error(2, pointer);
  return *p;
}
}  // namespace orvane
