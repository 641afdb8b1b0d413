// Class records, instance records, slot descriptors, slot entries, link
// cells and class tables: their layouts in the indirect area and the
// accessors every other file of the object system goes through.
//
// Records move at every collection. Every accessor re-derives the record's
// address from its Value, so no caller holds a host address across an
// allocation. Indirect data lies at even addresses only, so words are read
// and written with memcpy.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/memory.h"

namespace orvane::objects {

// --- Predicates ---------------------------------------------------------------

// A class, not the no-object value (class tag, payload 0).
constexpr bool is_class(Value v) { return v.tag() == tag::klass && v.payload() != 0; }
constexpr bool is_instance(Value v) { return v.tag() == tag::instance; }
constexpr bool is_object(Value v) { return is_class(v) || is_instance(v); }
constexpr bool is_slot_entry(Value v) { return v.tag() == tag::slot_entry; }
constexpr bool is_link_cell(Value v) { return v.tag() == tag::link_cell; }

// --- Raw words -------------------------------------------------------------------

inline Value load_value(const std::uint8_t* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return Value(w);
}
inline void store_value(std::uint8_t* p, Value v) { std::memcpy(p, &v.bits, 4); }
inline std::uint16_t load_u16(const std::uint8_t* p) {
  std::uint16_t w;
  std::memcpy(&w, p, 2);
  return w;
}
inline void store_u16(std::uint8_t* p, std::uint16_t w) { std::memcpy(p, &w, 2); }
inline std::uint32_t load_u32(const std::uint8_t* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}
inline void store_u32(std::uint8_t* p, std::uint32_t w) { std::memcpy(p, &w, 4); }

// --- Class records -------------------------------------------------------------------
//
// Offsets of the class record. The first three words are laid out as in an
// instance record (self or class, native peer, override list), so the peer
// and the overrides of any object are found at the same place.

namespace class_at {
inline constexpr std::uint32_t self = 0;
inline constexpr std::uint32_t peer = 4;
inline constexpr std::uint32_t overrides = 8;
inline constexpr std::uint32_t name = 12;
inline constexpr std::uint32_t table = 16;          // byte block
inline constexpr std::uint32_t constructor = 20;    // u32 index of the native constructor
inline constexpr std::uint32_t superclasses = 24;
inline constexpr std::uint32_t subclasses = 28;
inline constexpr std::uint32_t genealogy = 32;
inline constexpr std::uint32_t capacity = 36;       // i16: table entries
inline constexpr std::uint32_t instance_size = 38;  // i16
inline constexpr std::uint32_t layout_fixed = 40;   // u16 flag
inline constexpr std::uint32_t generation = 42;     // u16: count of layouts, never 0 once laid out
inline constexpr std::uint32_t united = 44;         // u16 flag
inline constexpr std::uint32_t ancestry = 46;       // u16: the index of the class's own marker
inline constexpr std::uint32_t value_end = 48;      // u16: end of the Value slots of its instances
inline constexpr std::uint32_t size = 50;
}  // namespace class_at

// --- Instance records ------------------------------------------------------------------

namespace instance_at {
inline constexpr std::uint32_t klass = 0;
inline constexpr std::uint32_t peer = 4;
inline constexpr std::uint32_t overrides = 8;
inline constexpr std::uint32_t size = 12;        // u16: bytes of this record
inline constexpr std::uint32_t generation = 14;  // u16: the class layout it was made with
inline constexpr std::uint32_t slots = 16;
}  // namespace instance_at

// --- Slot descriptors -----------------------------------------------------------------------

enum class DescriptorField : std::uint32_t {
  name = 0, class_value = 4, default_ = 8, initform = 12, initialize = 16, linker = 20,
  type = 24, reader = 28, writer = 32, chooser = 36, owner = 40, info = 44,
};
namespace descriptor_at {
inline constexpr std::uint32_t flags = 48;  // u32: DescriptorFlag bits
inline constexpr std::uint32_t size = 52;
}  // namespace descriptor_at

enum DescriptorFlag : std::uint32_t {
  kAllocate = 1, kLink = 2, kList = 4, kEditable = 8, kInvalidate = 16,
};

// --- Record access ----------------------------------------------------------------------------

inline std::uint8_t* record(Value object) { return indirect_data(object); }

inline Value object_field(Value object, std::uint32_t offset) { return load_value(record(object) + offset); }
inline void set_object_field(Value object, std::uint32_t offset, Value v) {
  store_value(record(object) + offset, v);
}
inline std::uint16_t object_u16(Value object, std::uint32_t offset) { return load_u16(record(object) + offset); }
inline void set_object_u16(Value object, std::uint32_t offset, std::uint16_t w) {
  store_u16(record(object) + offset, w);
}

// The class of an object (a class is its own class).
inline Value class_of(Value object) {
  return object.tag() == tag::klass ? object : load_value(record(object) + instance_at::klass);
}
inline Value peer_of(Value object) { return object_field(object, class_at::peer); }
inline Value overrides_of(Value object) { return object_field(object, class_at::overrides); }

inline Value class_name(Value k) { return object_field(k, class_at::name); }
inline std::int32_t class_capacity(Value k) {
  return static_cast<std::int16_t>(object_u16(k, class_at::capacity));
}

inline Value descriptor_field(Value d, DescriptorField f) {
  return load_value(record(d) + static_cast<std::uint32_t>(f));
}
inline void set_descriptor_field(Value d, DescriptorField f, Value v) {
  store_value(record(d) + static_cast<std::uint32_t>(f), v);
}
inline std::uint32_t descriptor_flags(Value d) { return load_u32(record(d) + descriptor_at::flags); }
inline void set_descriptor_flags(Value d, std::uint32_t flags) {
  store_u32(record(d) + descriptor_at::flags, flags);
}
inline bool descriptor_has(Value d, DescriptorFlag f) { return (descriptor_flags(d) & f) != 0; }

// --- Slot entries and link cells ---------------------------------------------------------------
//
// A slot entry is a node tagged 0x3d: word 0 the storage locator, word 1 the
// descriptor. The locator is nil until the class is laid out, then a fixnum:
// bits 0-7 the mask of a boolean slot, bits 8-21 the byte offset in the
// instance record, bits 22-23 the storage kind. Each class lays out its
// instances independently, so the kind lives with the class's entry, never
// in a descriptor that other classes share.

enum class StorageKind : std::uint32_t { value = 0, boolean = 1, byte = 2, word = 3 };
inline constexpr std::uint32_t kMaxSlotOffset = 0x3fff;

inline Value make_locator(std::uint32_t offset, std::uint32_t mask, StorageKind kind) {
  return make_fixnum(static_cast<std::int32_t>((static_cast<std::uint32_t>(kind) << 22) |
                                               (offset << 8) | mask));
}
inline std::uint32_t locator_offset(Value loc) { return (loc.payload() >> 8) & kMaxSlotOffset; }
inline std::uint8_t locator_mask(Value loc) { return static_cast<std::uint8_t>(loc.payload() & 0xff); }
inline StorageKind locator_kind(Value loc) { return static_cast<StorageKind>(loc.payload() >> 22); }

inline Value make_slot_entry(Value locator, Value descriptor) {
  return Value::make(tag::slot_entry, cons(locator, descriptor).payload());
}
inline Value entry_locator(Value entry) { return car(entry); }
inline Value entry_descriptor(Value entry) { return cdr(entry); }

inline Value make_link_cell(Value key, Value resolved) {
  return Value::make(tag::link_cell, cons(key, resolved).payload());
}

// --- Class tables -------------------------------------------------------------------------------
//
// A byte block: its 16-bit size, then `capacity` entry words, each the
// absent marker, a slot entry, or a method or constant.

inline constexpr std::int32_t kMaxTableCapacity = (0xfffe - 2) / 4;

inline Value table_of(Value k) { return object_field(k, class_at::table); }
// The entry at index i; the absent marker when i is negative or past the end.
inline Value table_entry(Value k, std::int32_t i) {
  if (i < 0) return kAbsent;
  const std::uint8_t* rec = record(k);
  if (i >= static_cast<std::int16_t>(load_u16(rec + class_at::capacity))) return kAbsent;
  return load_value(indirect_data(load_value(rec + class_at::table)) + 2 + 4 * i);
}
// Stores entry i, growing the table to i + 25 entries when needed.
void table_store(Value k, std::int32_t i, Value v);
// A fresh table of n entries, all absent.
Value make_table(std::int32_t capacity);

// --- Allocation of records -------------------------------------------------------------------------

// A class record in its initial state (every Value field nil, no table).
Value allocate_class_record();
// A descriptor for slot `name` owned by class `owner`, with the initial facets.
Value make_slot_descriptor(Value name, Value owner);
// A copy of a descriptor owned by `owner`.
Value copy_slot_descriptor(Value descriptor, Value owner);

// The collector's questions about the records above (see core/object_layout.h).
std::uint32_t record_size(std::uint32_t header_tag, std::uint32_t node_offset);
void mark_record(std::uint32_t header_tag, std::uint32_t node_offset, void (*mark)(Value));

}  // namespace orvane::objects
