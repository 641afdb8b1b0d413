// Symbol lookup in an object's context, below the override list, and the
// common cases of the full lookup inline for the evaluator.
#pragma once

#include "core/symbols.h"
#include "core/value.h"
#include "objects/records.h"

namespace orvane::objects {

// The value of sym for object o by its class alone, ignoring o's overrides
// (what `overriden` reads); no-value when unbound.
Value class_lookup(Value o, Value sym);

// The commonest lookups with `self` bound to the object o, answered without
// a call: o has no overrides, and sym is a global, a selector of a single
// class (its value cell) seen from that class or an heir, or its entry in the
// class table is a method or constant, or a plain Value slot of an instance
// made under its class's current layout. Answers false for every other case,
// which the full lookup (object_lookup) then answers; it never answers
// differently from it.
[[gnu::always_inline]] inline bool lookup_common(Value o, Value sym, Value& out) {
  const std::uint8_t* o_record = record(o);
  if (is_pair(load_value(o_record + class_at::overrides))) return false;
  const SymbolEntry& e = symbol_entry(sym);
  std::int32_t index = e.selector_index;
  bool single_definer = is_class(e.definer);
  if (index < 0 && !single_definer) {
    out = e.value;
    return true;
  }
  Value k = o.tag() == tag::klass ? o : load_value(o_record + instance_at::klass);
  const std::uint8_t* k_record = record(k);
  std::int32_t capacity = static_cast<std::int16_t>(load_u16(k_record + class_at::capacity));
  auto entry_at = [k_record](std::int32_t i) {
    return load_value(indirect_data(load_value(k_record + class_at::table)) + 2 + 4 * i);
  };
  if (single_definer) {
    // The definer's heirs hold it at its ancestry index.
    std::int32_t ancestry = load_u16(record(e.definer) + class_at::ancestry);
    if (k != e.definer && (ancestry >= capacity || entry_at(ancestry) != e.definer)) return false;
    out = e.value;
    return true;
  }
  if (index >= capacity) return false;
  Value entry = entry_at(index);
  if (entry == kAbsent) return false;
  if (!is_slot_entry(entry)) {
    out = entry;
    return true;
  }
  if ((descriptor_flags(entry_descriptor(entry)) & (kAllocate | kLink)) != kAllocate) return false;
  Value loc = entry_locator(entry);
  if (o.tag() != tag::instance || !is_fixnum(loc) || locator_kind(loc) != StorageKind::value ||
      load_u16(o_record + instance_at::generation) != load_u16(k_record + class_at::generation))
    return false;
  out = load_value(o_record + locator_offset(loc));
  return true;
}

}  // namespace orvane::objects
