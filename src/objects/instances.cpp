#include "objects/instances.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "objects/slots.h"

namespace orvane::objects {

namespace {

StorageKind kind_of_type(Value type) {
  const ObjectSymbols& sym = g_objects.sym;
  if (type == sym.boolean) return StorageKind::boolean;
  if (type == sym.byte) return StorageKind::byte;
  if (type == sym.word) return StorageKind::word;
  return StorageKind::value;
}

// Whether e is a slot entry with storage of that kind.
bool allocated_of_kind(Value e, StorageKind kind) {
  if (!is_slot_entry(e)) return false;
  Value d = entry_descriptor(e);
  return descriptor_has(d, kAllocate) && kind_of_type(descriptor_field(d, DescriptorField::type)) == kind;
}

// Whether the instance was made under its class's current layout.
bool current_layout(Value instance, Value k) {
  return object_u16(instance, instance_at::generation) == object_u16(k, class_at::generation);
}

}  // namespace

void lay_out(Value k) {
  std::uint32_t offset = instance_at::slots;
  std::int32_t capacity = class_capacity(k);
  // Existing instances stay readable unless a slot moves or appears.
  bool moved = object_u16(k, class_at::generation) == 0;
  std::uint16_t old_size = object_u16(k, class_at::instance_size);
  std::uint16_t old_value_end = object_u16(k, class_at::value_end);
  auto place = [&](Value e, std::uint32_t at, std::uint32_t mask, StorageKind kind) {
    if (at + 4 > kMaxSlotOffset) raise_error(9, k);
    Value loc = make_locator(at, mask, kind);
    if (entry_locator(e) != loc) moved = true;
    set_car(e, loc);
  };
  for (StorageKind kind : {StorageKind::value, StorageKind::word, StorageKind::byte}) {
    std::uint32_t width = kind == StorageKind::value ? 4 : kind == StorageKind::word ? 2 : 1;
    for (std::int32_t i = capacity - 1; i >= 0; --i) {
      Value e = table_entry(k, i);
      if (!allocated_of_kind(e, kind)) continue;
      place(e, offset, 0, kind);
      offset += width;
    }
    if (kind == StorageKind::value) set_object_u16(k, class_at::value_end, static_cast<std::uint16_t>(offset));
  }
  // Booleans, eight to a byte, most significant bit first.
  std::uint32_t mask = 0;
  for (std::int32_t i = capacity - 1; i >= 0; --i) {
    Value e = table_entry(k, i);
    if (!allocated_of_kind(e, StorageKind::boolean)) continue;
    if (mask <= 1) {
      mask = 0x80;
      ++offset;
    } else {
      mask >>= 1;
    }
    place(e, offset - 1, mask, StorageKind::boolean);
  }
  set_object_u16(k, class_at::instance_size, static_cast<std::uint16_t>(offset));
  if (offset != old_size || object_u16(k, class_at::value_end) != old_value_end) moved = true;
  if (moved) {
    std::uint16_t generation = object_u16(k, class_at::generation);
    set_object_u16(k, class_at::generation, generation == 0xffff ? 1 : generation + 1);
  }
  set_object_u16(k, class_at::layout_fixed, 1);
}

Value make_instance(Value k) {
  if (!is_class(k)) raise_error(2, k);
  if (object_u16(k, class_at::layout_fixed) == 0) lay_out(k);
  std::uint16_t size = object_u16(k, class_at::instance_size);
  std::uint16_t generation = object_u16(k, class_at::generation);
  std::uint8_t* p = reserve_indirect(size);
  std::memset(p, 0, size);
  store_value(p + instance_at::klass, k);
  store_value(p + instance_at::peer, kNil);
  store_value(p + instance_at::overrides, kNil);
  store_u16(p + instance_at::size, size);
  store_u16(p + instance_at::generation, generation);
  Value instance = commit_indirect(size, tag::instance, header::instance_record);
  for (std::int32_t i = class_capacity(k) - 1; i >= 0; --i) {
    Value e = table_entry(k, i);
    if (!is_slot_entry(e) || !is_fixnum(entry_locator(e))) continue;
    Value d = entry_descriptor(e);
    if (descriptor_has(d, kAllocate)) write_slot_storage(instance, e, descriptor_field(d, DescriptorField::default_));
  }
  return instance;
}

Value read_slot_storage(Value object, Value entry) {
  if (object.tag() == tag::klass) {
    Value v = descriptor_field(entry_descriptor(entry), DescriptorField::class_value);
    return v == kAbsent ? kNoValue : v;
  }
  Value loc = entry_locator(entry);
  if (!is_fixnum(loc) || !current_layout(object, class_of(object))) return kNoValue;
  const std::uint8_t* at = record(object) + locator_offset(loc);
  switch (locator_kind(loc)) {
    case StorageKind::value: return load_value(at);
    case StorageKind::boolean: return (*at & locator_mask(loc)) != 0 ? g_sym.t : kNil;
    case StorageKind::byte: return make_fixnum(static_cast<std::int8_t>(*at));
    case StorageKind::word: return make_fixnum(static_cast<std::int16_t>(load_u16(at)));
  }
  return kNoValue;
}

void write_slot_storage(Value object, Value entry, Value v) {
  if (object.tag() == tag::klass) {
    set_descriptor_field(make_private(object, entry), DescriptorField::class_value, v);
    return;
  }
  Value loc = entry_locator(entry);
  if (!is_fixnum(loc)) return;
  if (!current_layout(object, class_of(object))) raise_error(2, object);
  std::uint8_t* at = record(object) + locator_offset(loc);
  switch (locator_kind(loc)) {
    case StorageKind::value: store_value(at, v); return;
    case StorageKind::boolean:
      *at = is_true(v) ? (*at | locator_mask(loc)) : (*at & ~locator_mask(loc));
      return;
    case StorageKind::byte: *at = static_cast<std::uint8_t>(v.bits); return;
    case StorageKind::word: store_u16(at, static_cast<std::uint16_t>(v.bits)); return;
  }
}

}  // namespace orvane::objects
