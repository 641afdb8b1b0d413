#include "core/native_objects.h"

#include "core/memory.h"

namespace orvane {

namespace {
constexpr std::uint32_t kIndexBits = 20;
constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr std::uint32_t kGenerationMask = 0xfff;
}  // namespace

std::uint32_t NativeObjectTable::add(std::unique_ptr<NativeObject> object) {
  std::uint32_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() > kIndexMask) return 0;
    index = static_cast<std::uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  slots_[index].object = std::move(object);
  ++live_;
  return (slots_[index].generation << kIndexBits) | index;
}

NativeObject* NativeObjectTable::find(std::uint32_t id) const {
  std::uint32_t index = id & kIndexMask;
  if (index == 0 || index >= slots_.size()) return nullptr;
  const Slot& s = slots_[index];
  if (s.generation != (id >> kIndexBits) || !s.object) return nullptr;
  return s.object.get();
}

void NativeObjectTable::release(std::uint32_t id) {
  if (!find(id)) return;
  std::uint32_t index = id & kIndexMask;
  Slot& s = slots_[index];
  auto object = std::move(s.object);  // destroyed after the slot is consistent
  s.generation = (s.generation + 1) & kGenerationMask;
  if (s.generation == 0) s.generation = 1;
  free_.push_back(index);
  --live_;
}

void NativeObjectTable::clear() {
  slots_.clear();
  slots_.emplace_back();
  free_.clear();
  live_ = 0;
}

Value make_native_pointer(std::unique_ptr<NativeObject> object, PointerKind kind) {
  // Allocate the node first so that a collection cannot see a half-made pointer.
  Value p = make_pointer(0, kind);
  std::uint32_t id = g_native_objects.add(std::move(object));
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
