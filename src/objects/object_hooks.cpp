// Symbol lookup and assignment with `self` bound to an object, `define`, and
// what the core asks of objects (their class names, printed forms).
#include "objects/object_hooks.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "objects/classes.h"
#include "objects/instances.h"
#include "objects/links.h"
#include "objects/lookup.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "reader/printer.h"

namespace orvane {

using namespace objects;

Value class_name_of(Value object) { return class_name(class_of(object)); }

bool object_is_a(Value object, Value type_name) { return inherits_named(class_of(object), type_name); }

namespace {

// A slot's value in o: Value slots of an instance made under its class's
// current layout are read here, every other kind by read_slot_storage.
inline Value stored_slot_value(Value o, const std::uint8_t* o_record, const std::uint8_t* k_record,
                               Value entry) {
  Value loc = entry_locator(entry);
  if (o.tag() == tag::instance && is_fixnum(loc) && locator_kind(loc) == StorageKind::value &&
      load_u16(o_record + instance_at::generation) == load_u16(k_record + class_at::generation))
    return load_value(o_record + locator_offset(loc));
  return read_slot_storage(o, entry);
}

// Entry i (not negative) of the table of the class whose record is given.
inline Value entry_in(const std::uint8_t* k_record, std::int32_t i) {
  if (i >= static_cast<std::int16_t>(load_u16(k_record + class_at::capacity))) return kAbsent;
  return load_value(indirect_data(load_value(k_record + class_at::table)) + 2 + 4 * i);
}

// The lookup below the override list. It is one indexed load from the class
// table: inheritance was paid when the entry was copied down or propagated.
// No allocation happens before the record addresses are last used.
[[gnu::always_inline]] inline Value lookup_by_class(Value o, const std::uint8_t* o_record, Value sym) {
  const SymbolEntry& e = symbol_entry(sym);
  // A symbol that never was a selector (`+`, `car` ...) is a global.
  if (e.selector_index < 0 && !is_class(e.definer)) return e.value;
  Value k = o.tag() == tag::klass ? o : load_value(o_record + instance_at::klass);
  const std::uint8_t* k_record = record(k);
  if (is_class(e.definer)) {
    // The single definer's method, when k is the definer or one of its
    // heirs (which hold the definer at its ancestry index).
    if (e.value == kNoValue) return kNoValue;
    return k == e.definer || entry_in(k_record, object_u16(e.definer, class_at::ancestry)) == e.definer
               ? e.value
               : kNoValue;
  }
  Value entry = entry_in(k_record, e.selector_index);
  if (entry == kAbsent) return e.value;
  if (!is_slot_entry(entry)) return entry;
  std::uint32_t flags = descriptor_flags(entry_descriptor(entry));
  if (!(flags & kAllocate)) return e.value;
  Value v = stored_slot_value(o, o_record, k_record, entry);
  return flags & kLink ? resolve_link(o, sym, entry, v) : v;
}

}  // namespace

Value objects::class_lookup(Value o, Value sym) { return lookup_by_class(o, record(o), sym); }

Value object_lookup(Value o, Value sym) {
  if (!is_object(o)) raise_error(2, o);
  const std::uint8_t* o_record = record(o);
  for (Value l = load_value(o_record + class_at::overrides); is_pair(l); l = cdr(l)) {
    Value pair = car(l);
    if (is_pair(pair) && car(pair) == sym) return cdr(pair);
  }
  return lookup_by_class(o, o_record, sym);
}

void object_assign(Value o, Value sym, Value v) {
  if (!is_object(o)) raise_error(2, o);
  SymbolEntry& e = symbol_entry(sym);
  if (is_class(e.definer)) {
    e.value = v;
    return;
  }
  Value k = class_of(o);
  std::int32_t index = e.selector_index;
  Value entry = table_entry(k, index);
  if (entry == kAbsent) {
    e.value = v;
    return;
  }
  if (!is_slot_entry(entry)) {
    table_store(k, index, v);
    return;
  }
  Value descriptor = entry_descriptor(entry);
  std::uint32_t flags = descriptor_flags(descriptor);
  if (!(flags & kAllocate)) {
    e.value = v;
    return;
  }
  if ((flags & kLink) && descriptor_field(descriptor, DescriptorField::linker) != kNil) {
    Value stored = read_slot_storage(o, entry);
    if (is_link_cell(stored)) set_cdr(stored, v);
    else write_slot_storage(o, entry, make_link_cell(kNoValue, v));
    return;
  }
  // A Value slot of an instance made under its class's current layout is
  // stored here; every other kind goes through write_slot_storage.
  Value loc = entry_locator(entry);
  if (o.tag() == tag::instance && is_fixnum(loc) && locator_kind(loc) == StorageKind::value) {
    std::uint8_t* o_record = record(o);
    if (load_u16(o_record + instance_at::generation) == object_u16(k, class_at::generation)) {
      store_value(o_record + locator_offset(loc), v);
      return;
    }
  }
  write_slot_storage(o, entry, v);
}

void define_value(Value name, Value value) {
  Value k = g_mem.self;
  // A definition installs into a class; an instance has no table of its own.
  if (k != kNoObject && !is_class(k)) raise_error(2, k);
  claim_selector(name, k, Flavour::method);
  if (k == kNoObject) set_symbol_global(name, value);
  else install_method(k, name, value);

  const ObjectSymbols& sym = g_objects.sym;
  if (is_class(value) && class_name(value) == name && inherits_named(value, sym.obj_persistence) &&
      is_false(symbol_global(sym.system_p))) {
    Value update = symbol_global(sym.update_classes);
    if (update != kNoValue) call(update, {value});
  }
}

std::string class_printed_form(Value k) {
  if (!is_class(k)) return "#<class ORVANE>";
  return (is_mixin(k) ? "#<mixin " : "#<class ") + value_to_text(class_name(k)) + ">";
}

}  // namespace orvane
