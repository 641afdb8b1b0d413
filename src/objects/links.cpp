#include "objects/links.h"

#include "core/symbols.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "objects/instances.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "objects/slots.h"
#include "objects/stack_roots.h"

namespace orvane::objects {

namespace {

bool is_function(Value v) {
  switch (v.tag()) {
    case tag::primitive: case tag::special: case tag::function: case tag::lexical:
    case tag::closed: case tag::syntax: case tag::closed_syntax:
      return true;
    default:
      return false;
  }
}

Value call_find_link(Value key, Value name) {
  Value find_link = g_objects.sym.find_link;
  Value fn = symbol_global(find_link);
  if (fn == kNoValue) raise_error(6, find_link);
  return call(fn, {key, name});
}

// An object's name: the symbol `name` evaluated with `self` bound to it.
Value name_of_object(Value object) {
  SelfBinding binding(object);
  return eval(g_objects.sym.name);
}

bool slot_flag(Value entry, DescriptorFlag flag) { return descriptor_has(entry_descriptor(entry), flag); }

}  // namespace

Value self_slot_entry(Value name) {
  Value self = g_mem.self;
  if (!is_symbol(name) || !is_object(self)) raise_error(2, name);
  Value entry = slot_entry_of(class_of(self), name);
  if (entry == kAbsent) raise_error(2, name);
  return entry;
}

Value resolve_link(Value object, Value name, Value entry, Value stored) {
  if (stored == kNoValue) return kNoValue;
  Value linker = descriptor_field(entry_descriptor(entry), DescriptorField::linker);
  if (linker == kNil) {
    if (is_object(stored)) return stored;
    Value resolved = call_find_link(stored, name);
    write_slot_storage(object, entry, resolved);
    return resolved;
  }
  if (is_link_cell(stored)) return cdr(stored);
  Value fn = is_symbol(linker) ? symbol_global(linker) : kNoValue;
  Value resolved = is_function(fn) ? call(fn, {stored}) : call_find_link(stored, name);
  write_slot_storage(object, entry, make_link_cell(stored, resolved));
  return resolved;
}

Value get_reference(Value name) {
  Value entry = self_slot_entry(name);
  Value stored = read_slot_storage(g_mem.self, entry);
  Value descriptor = entry_descriptor(entry);
  if (descriptor_field(descriptor, DescriptorField::linker) != kNil)
    return is_link_cell(stored) ? car(stored) : stored;
  if (!descriptor_has(descriptor, kList)) return is_object(stored) ? name_of_object(stored) : stored;
  ListBuilder names;
  for (Value l = stored; is_pair(l); l = cdr(l)) {
    Value x = car(l);
    names.add(is_object(x) ? name_of_object(x) : x);
  }
  return names.list();
}

void set_reference(Value name, Value v) { write_slot_storage(g_mem.self, self_slot_entry(name), v); }

bool linked(Value name) {
  Value entry = self_slot_entry(name);
  Value stored = read_slot_storage(g_mem.self, entry);
  Value descriptor = entry_descriptor(entry);
  if (descriptor_field(descriptor, DescriptorField::linker) != kNil) return is_link_cell(stored);
  if (!descriptor_has(descriptor, kList)) return is_object(stored);
  if (!is_list(stored)) return false;
  for (Value l = stored; is_pair(l); l = cdr(l))
    if (!is_object(car(l))) return false;
  return true;
}

Value read_slot(Value name, bool reference) {
  Value entry = self_slot_entry(name);
  Value reader = eval(descriptor_field(entry_descriptor(entry), DescriptorField::reader));
  if (is_function(reader)) return call(reader, {});
  if (reference && slot_flag(entry, kLink)) return get_reference(name);
  Value v = lookup_symbol(name);
  if (v == kNoValue) raise_error(6, name);
  return v;
}

Value write_slot(Value name, Value v) {
  Value entry = self_slot_entry(name);
  Value writer = eval(descriptor_field(entry_descriptor(entry), DescriptorField::writer));
  if (is_function(writer)) call(writer, {v});
  else if (slot_flag(entry, kLink)) set_reference(name, v);
  else assign_symbol(name, v);
  if (slot_flag(self_slot_entry(name), kInvalidate)) call(g_objects.sym.invalidate, {});
  return v;
}

}  // namespace orvane::objects
