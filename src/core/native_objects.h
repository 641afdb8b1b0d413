// Native objects (window peers, processes, regions, files, databases ...)
// live on the ordinary heap. Lisp sees them through 32-bit ids from this
// table: index in the low 20 bits, generation in the high 12, so a stale or
// forged id is detected. Id 0 is never issued.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/value.h"

namespace orvane {

class ValueMarker {
 public:
  virtual ~ValueMarker() = default;
  virtual void mark(Value v) = 0;
};

class NativeObject {
 public:
  virtual ~NativeObject() = default;
  // Marks the Values this object holds (called by the collector).
  virtual void mark_values(ValueMarker&) {}
};

class NativeObjectTable {
 public:
  std::uint32_t add(std::unique_ptr<NativeObject> object);
  // Null for a stale, forged or released id.
  NativeObject* find(std::uint32_t id) const;
  // Destroys the object; later lookups of the id answer null.
  void release(std::uint32_t id);
  std::size_t live_count() const { return live_; }
  template <class F>
  void for_each(F&& f) const {
    for (auto& s : slots_)
      if (s.object) f(*s.object);
  }
  void clear();

 private:
  struct Slot {
    std::unique_ptr<NativeObject> object;
    std::uint32_t generation = 1;
  };
  std::vector<Slot> slots_{1};  // slot 0 unused so that no id is 0
  std::vector<std::uint32_t> free_;
  std::size_t live_ = 0;
};

// The run-time's native-object table (a documented singleton).
inline NativeObjectTable g_native_objects;

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
