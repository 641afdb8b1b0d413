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

// The lookup is one indexed load from the class table: inheritance was paid
// when the entry was copied down or propagated.
Value objects::class_lookup(Value o, Value sym) {
  const SymbolEntry& e = symbol_entry(sym);
  // A symbol that never was a selector (`+`, `car` ...) is a global.
  if (e.selector_index < 0 && !is_class(e.definer)) return e.value;
  Value k = o.tag() == tag::klass ? o : object_field(o, instance_at::klass);
  if (is_class(e.definer)) return e.value != kNoValue && inherits(k, e.definer) ? e.value : kNoValue;
  Value entry = table_entry(k, e.selector_index);
  if (entry == kAbsent) return e.value;
  if (!is_slot_entry(entry)) return entry;
  std::uint32_t flags = descriptor_flags(entry_descriptor(entry));
  if (!(flags & kAllocate)) return e.value;
  Value v = read_slot_storage(o, entry);
  return flags & kLink ? resolve_link(o, sym, entry, v) : v;
}

Value object_lookup(Value o, Value sym) {
  if (!is_object(o)) raise_error(2, o);
  for (Value l = overrides_of(o); is_pair(l); l = cdr(l)) {
    Value pair = car(l);
    if (is_pair(pair) && car(pair) == sym) return cdr(pair);
  }
  return class_lookup(o, sym);
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
  if (!descriptor_has(descriptor, kAllocate)) {
    e.value = v;
    return;
  }
  if (descriptor_has(descriptor, kLink) && descriptor_field(descriptor, DescriptorField::linker) != kNil) {
    Value stored = read_slot_storage(o, entry);
    if (is_link_cell(stored)) set_cdr(stored, v);
    else write_slot_storage(o, entry, make_link_cell(kNoValue, v));
    return;
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
