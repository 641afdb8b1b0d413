// What the core asks of the object system, which lives above it: the size
// and the Values of its records in the indirect area (class records,
// instance records, slot descriptors: header tags 0x37, 0x38, 0x39), and the
// class of an object for `type-of` and `type?`. The objects module installs
// its answers when it registers; until then no such record or object exists,
// and the defaults answer nothing.
#pragma once

#include <cstdint>

#include "core/value.h"

namespace orvane {

struct ObjectModel {
  // Size in bytes of the record behind an indirect node with this header
  // tag; `node_offset` is the indirect node's offset.
  std::uint32_t (*record_size)(std::uint32_t header_tag, std::uint32_t node_offset);
  // Calls mark on every Value the record holds.
  void (*mark_record)(std::uint32_t header_tag, std::uint32_t node_offset, void (*mark)(Value));
  // The name symbol of the class of an instance or of a class.
  Value (*class_name_of)(Value object);
  // Whether the object's class, or one of its ancestors, bears that name.
  bool (*is_a)(Value object, Value type_name);
};

namespace detail {
inline constexpr ObjectModel kNoObjectSystem = {
    [](std::uint32_t, std::uint32_t) -> std::uint32_t { return 0; },
    [](std::uint32_t, std::uint32_t, void (*)(Value)) {},
    [](Value) { return kNil; },
    [](Value, Value) { return false; },
};
// Set once by the objects module's registration (a documented singleton);
// inline, since the collector asks it for every object record it marks.
inline ObjectModel g_object_model = kNoObjectSystem;
}  // namespace detail

inline void install_object_model(const ObjectModel& model) { detail::g_object_model = model; }
inline const ObjectModel& object_model() { return detail::g_object_model; }

// The collector's calls, through the installed model.
inline std::uint32_t object_record_size(std::uint32_t header_tag, std::uint32_t node_offset) {
  return object_model().record_size(header_tag, node_offset);
}
inline void mark_object_record(std::uint32_t header_tag, std::uint32_t node_offset, void (*mark)(Value)) {
  object_model().mark_record(header_tag, node_offset, mark);
}

}  // namespace orvane
