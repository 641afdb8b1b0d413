#include "core/native_objects.h"

#include "core/memory.h"

namespace orvane {

std::uint32_t NativeObjectTable::add(std::unique_ptr<NativeObject> object) {
  std::uint32_t index;
  bool full = slots_.size() > kIndexMask;
  if (free_.size() > reuse_distance_ || (full && !free_.empty())) {
    index = free_.front();
    free_.pop_front();
  } else {
    if (full) return 0;
    index = static_cast<std::uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  slots_[index].object = std::move(object);
  ++live_;
  return id_of(index);
}

std::uint32_t NativeObjectTable::add_owned(std::unique_ptr<NativeObject> object, PointerKind kind,
                                           std::uint32_t owner_node) {
  std::uint32_t id = add(std::move(object));
  if (id == 0) return 0;
  slots_[id & kIndexMask].owner_node = owner_node;
  owner_kinds_ |= kind_bit(kind);
  return id;
}

NativeObject* NativeObjectTable::find(std::uint32_t id) const {
  std::uint32_t index = id & kIndexMask;
  if (index == 0 || index >= slots_.size()) return nullptr;
  const Slot& s = slots_[index];
  if (s.generation != (id >> kIndexBits) || !s.object) return nullptr;
  return s.object.get();
}

NativeObject* NativeObjectTable::owned_by(std::uint32_t id, std::uint32_t node) const {
  NativeObject* object = find(id);
  return object && slots_[id & kIndexMask].owner_node == node ? object : nullptr;
}

std::unique_ptr<NativeObject> NativeObjectTable::take(std::uint32_t id) {
  if (!find(id)) return nullptr;
  std::uint32_t index = id & kIndexMask;
  Slot& s = slots_[index];
  std::unique_ptr<NativeObject> object = std::move(s.object);
  s.owner_node = 0;
  s.awaiting_close = false;
  if (s.generation == kLastGeneration) {
    s.retired = true;
    ++retired_;
  } else {
    ++s.generation;
    free_.push_back(index);
  }
  --live_;
  return object;
}

void NativeObjectTable::destroy(std::unique_ptr<NativeObject> object) {
  // A destructor may run Lisp, and a collection then, while the slot is
  // already free: the object's Values stay marked through closing_.
  closing_.push_back(object.get());
  object.reset();
  closing_.pop_back();
}

void NativeObjectTable::release(std::uint32_t id) {
  if (auto object = take(id)) destroy(std::move(object));
}

void NativeObjectTable::close_released() {
  while (!released_.empty()) {
    std::uint32_t id = released_.front();
    released_.pop_front();
    // Released by native code meanwhile: the id is stale and nothing is left to close.
    if (auto object = take(id)) destroy(std::move(object));
  }
}

void NativeObjectTable::mark_awaiting_close(ValueMarker& marker) const {
  for (std::uint32_t id : released_)
    if (NativeObject* object = find(id)) object->mark_values(marker);
  for (NativeObject* object : closing_) object->mark_values(marker);
}

void NativeObjectTable::collection_finished() {
  if (retired_ == 0) return;
  for (std::uint32_t index = 1; index < slots_.size(); ++index) {
    Slot& s = slots_[index];
    if (!s.retired) continue;
    if (s.named) {
      s.named = false;
      continue;
    }
    s.retired = false;
    s.generation = 1;
    free_.push_back(index);
    --retired_;
  }
}

void NativeObjectTable::clear() {
  // Destructors may look the table up: they run on an empty one.
  std::vector<Slot> old = std::move(slots_);
  slots_.clear();
  slots_.emplace_back();
  free_.clear();
  released_.clear();
  live_ = 0;
  retired_ = 0;
  owner_kinds_ = 0;
  for (Slot& s : old)
    if (s.object) destroy(std::move(s.object));
}

Value make_native_pointer(std::unique_ptr<NativeObject> object, PointerKind kind) {
  // Allocate the node first so that a collection cannot see a half-made pointer.
  Value p = make_pointer(0, kind);
  std::uint32_t id = g_native_objects.add_owned(std::move(object), kind, p.payload());
  if (id == 0) raise_error(9, kNil);
  node_of(p).w1 = id;
  return p;
}

NativeObject& native_object_of(Value pointer, PointerKind kind) {
  if (!is_pointer(pointer) || pointer_kind(pointer) != kind) raise_error(2, pointer);
  NativeObject* o = g_native_objects.find(pointer_address(pointer));
  if (!o) raise_error(2, pointer);
  return *o;
}

}  // namespace orvane
