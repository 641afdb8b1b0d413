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
// a call: o has no overrides, and sym's entry in the class table is a method
// or constant, or a plain Value slot of an instance made under its class's
// current layout. Answers false for every other case, which the full lookup
// (object_lookup) then answers; it never answers differently from it.
[[gnu::always_inline]] inline bool lookup_common(Value o, Value sym, Value& out) {
  const std::uint8_t* o_record = record(o);
  if (is_pair(load_value(o_record + class_at::overrides))) return false;
  const SymbolEntry& e = symbol_entry(sym);
  std::int32_t index = e.selector_index;
  if (index < 0 || is_class(e.definer)) return false;
  Value k = o.tag() == tag::klass ? o : load_value(o_record + instance_at::klass);
  const std::uint8_t* k_record = record(k);
  if (index >= static_cast<std::int16_t>(load_u16(k_record + class_at::capacity))) return false;
  Value entry = load_value(indirect_data(load_value(k_record + class_at::table)) + 2 + 4 * index);
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
