#include "objects/records.h"

#include <algorithm>

#include "core/symbols.h"
#include "eval/errors.h"

namespace orvane {

namespace objects {

// --- Class tables ----------------------------------------------------------------

Value make_table(std::int32_t capacity) {
  auto bytes = static_cast<std::uint32_t>(2 + 4 * capacity);
  std::uint8_t* p = reserve_indirect(bytes);
  store_u16(p, static_cast<std::uint16_t>(bytes));
  for (std::int32_t i = 0; i < capacity; ++i) store_value(p + 2 + 4 * i, kAbsent);
  return commit_indirect(bytes, tag::byte_block, header::byte_block);
}

void table_store(Value k, std::int32_t i, Value v) {
  if (i < 0) raise_error(2, k);
  std::int32_t capacity = class_capacity(k);
  if (i >= capacity) {
    if (i >= kMaxTableCapacity) raise_error(9, k);
    std::int32_t grown = std::min(i + 25, kMaxTableCapacity);
    Value table = make_table(grown);
    std::memcpy(indirect_data(table) + 2, indirect_data(table_of(k)) + 2, std::size_t{4} * capacity);
    set_object_field(k, class_at::table, table);
    set_object_u16(k, class_at::capacity, static_cast<std::uint16_t>(grown));
  }
  store_value(indirect_data(table_of(k)) + 2 + 4 * i, v);
}

// --- Records -------------------------------------------------------------------------

Value allocate_class_record() {
  std::uint8_t* p = reserve_indirect(class_at::size);
  std::memset(p, 0, class_at::size);
  for (std::uint32_t at : {class_at::self, class_at::peer, class_at::overrides, class_at::name,
                           class_at::table, class_at::superclasses, class_at::subclasses,
                           class_at::genealogy})
    store_value(p + at, kNil);
  Value k = commit_indirect(class_at::size, tag::klass, header::class_record);
  set_object_field(k, class_at::self, k);
  return k;
}

Value make_slot_descriptor(Value name, Value owner) {
  std::uint8_t* p = reserve_indirect(descriptor_at::size);
  auto put = [p](DescriptorField f, Value v) { store_value(p + static_cast<std::uint32_t>(f), v); };
  put(DescriptorField::name, name);
  put(DescriptorField::class_value, kAbsent);
  put(DescriptorField::default_, kNoValue);
  put(DescriptorField::initform, kNoValue);
  put(DescriptorField::initialize, kNil);
  put(DescriptorField::linker, kNil);
  put(DescriptorField::type, g_sym.t);
  put(DescriptorField::reader, kNil);
  put(DescriptorField::writer, kNil);
  put(DescriptorField::chooser, kNil);
  put(DescriptorField::owner, owner);
  put(DescriptorField::info, kNil);
  store_u32(p + descriptor_at::flags, kAllocate);
  return commit_indirect(descriptor_at::size, tag::slot_descriptor, header::slot_descriptor);
}

Value copy_slot_descriptor(Value descriptor, Value owner) {
  std::uint8_t* p = reserve_indirect(descriptor_at::size);
  std::memcpy(p, record(descriptor), descriptor_at::size);
  store_value(p + static_cast<std::uint32_t>(DescriptorField::owner), owner);
  return commit_indirect(descriptor_at::size, tag::slot_descriptor, header::slot_descriptor);
}

}  // namespace objects

// --- What the collector asks -------------------------------------------------------------

namespace objects {

std::uint32_t record_size(std::uint32_t header_tag, std::uint32_t node_offset) {
  switch (header_tag) {
    case header::class_record: return class_at::size;
    case header::slot_descriptor: return descriptor_at::size;
    case header::instance_record: return load_u16(host(node_at(node_offset).w1) + instance_at::size);
    default: return 0;
  }
}

void mark_record(std::uint32_t header_tag, std::uint32_t node_offset, void (*mark)(Value)) {
  const std::uint8_t* rec = host(node_at(node_offset).w1);
  switch (header_tag) {
    case header::class_record: {
      for (std::uint32_t at : {class_at::self, class_at::peer, class_at::overrides, class_at::name,
                               class_at::table, class_at::superclasses, class_at::subclasses,
                               class_at::genealogy})
        mark(load_value(rec + at));
      Value table = load_value(rec + class_at::table);
      if (table.tag() != tag::byte_block) return;
      auto capacity = static_cast<std::int16_t>(load_u16(rec + class_at::capacity));
      const std::uint8_t* entries = host(node_of(table).w1) + 2;
      for (std::int32_t i = 0; i < capacity; ++i) {
        Value e = load_value(entries + 4 * i);
        if (e != kAbsent) mark(e);
      }
      return;
    }
    case header::instance_record: {
      Value k = load_value(rec + instance_at::klass);
      mark(k);
      mark(load_value(rec + instance_at::peer));
      mark(load_value(rec + instance_at::overrides));
      // Only an instance made with its class's current layout has slots that
      // can be read; the Value slots come first, up to the class's value end.
      const std::uint8_t* krec = host(node_of(k).w1);
      if (load_u16(krec + class_at::generation) != load_u16(rec + instance_at::generation)) return;
      std::uint32_t end = std::min<std::uint32_t>(load_u16(krec + class_at::value_end),
                                                  load_u16(rec + instance_at::size));
      for (std::uint32_t at = instance_at::slots; at + 4 <= end; at += 4) mark(load_value(rec + at));
      return;
    }
    case header::slot_descriptor:
      for (std::uint32_t at = 0; at < descriptor_at::flags; at += 4) mark(load_value(rec + at));
      return;
    default:
      return;
  }
}

}  // namespace objects

}  // namespace orvane
