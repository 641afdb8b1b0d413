// The Lisp primitives and special forms of the object system, and its
// registration routine.
#include "core/object_layout.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/native_forms.h"
#include "objects/classes.h"
#include "objects/configurations.h"
#include "objects/instances.h"
#include "objects/links.h"
#include "objects/lookup.h"
#include "objects/native_classes.h"
#include "objects/object_hooks.h"
#include "objects/objects_module.h"
#include "objects/persistence.h"
#include "objects/records.h"
#include "objects/slots.h"
#include "objects/stack_roots.h"

namespace orvane {

using namespace objects;

namespace {

Value truth(bool b) { return b ? g_sym.t : kNil; }

Value require_class(Value v) {
  if (!is_class(v)) raise_error(2, v);
  return v;
}
Value require_object(Value v) {
  if (!is_object(v)) raise_error(2, v);
  return v;
}
Value require_symbol(Value v) {
  if (!is_symbol(v)) raise_error(2, v);
  return v;
}
Value rest_list(RestArgs rest) {
  ListBuilder list;
  for (Value v : rest) list.add(v);
  return list.list();
}

// --- Classes and instances --------------------------------------------------------------

Value p_new_class(Value name, RestArgs supers) {
  return create_class(require_symbol(name), rest_list(supers), true);
}
Value p_new_mixin(Value name, RestArgs supers) {
  return create_class(require_symbol(name), rest_list(supers), false);
}
Value p_make_instance(Value k) { return make_instance(k); }
Value p_self() { return g_mem.self; }
Value p_object_p(Value v) { return truth(is_object(v)); }
Value p_class_p(Value v) { return truth(is_class(v)); }
Value p_instance_p(Value v) { return truth(is_instance(v)); }
Value p_ascendants(Value k) { return copy_list(object_field(require_class(k), class_at::superclasses)); }
Value p_descendants(Value k) { return copy_list(object_field(require_class(k), class_at::subclasses)); }
Value p_genealogy(Value k) { return copy_list(object_field(require_class(k), class_at::genealogy)); }
Value p_class_name(Value k) { return class_name(require_class(k)); }
Value p_object_class(Value o) { return class_of(require_object(o)); }
Value p_superclass(Value o) { return main_superclass(class_of(require_object(o))); }
Value p_class_table_size(Value k) { return make_fixnum(class_capacity(require_class(k))); }
Value p_class_united_p(Value k) { return truth(object_u16(require_class(k), class_at::united) != 0); }

Value p_remove_class(Value k) {
  remove_class(require_class(k));
  return kNoValue;
}

Value p_reset_inited(Value k) {
  set_object_u16(require_class(k), class_at::layout_fixed, 0);
  return kNoValue;
}

Value p_unite_class(Value name, RestArgs supers) {
  Value k = lookup_symbol(require_symbol(name));
  if (!is_class(k)) raise_error(2, name);
  if (g_objects.united_once && !supers.empty()) {
    Value actual = object_field(k, class_at::superclasses);
    for (Value expected : supers) {
      if (!is_pair(actual) || car(actual) != expected) raise_error(2, expected);
      actual = cdr(actual);
    }
    if (is_pair(actual)) raise_error(2, actual);
  }
  g_objects.united_once = true;
  set_object_u16(k, class_at::united, 1);
  return k;
}

Value p_object_slots(Value o) {
  Value k = class_of(require_object(o));
  StackRoots names(1);
  for (std::int32_t i = class_capacity(k) - 1; i >= 0; --i) {
    Value e = table_entry(k, i);
    if (is_slot_entry(e)) names[0] = cons(descriptor_field(entry_descriptor(e), DescriptorField::name), names[0]);
  }
  return names[0];
}

Value p_object_opened_p() { return truth(has_peer(g_mem.self)); }

// --- Methods and definitions -------------------------------------------------------------------

// The class `self` names for definitions; error 2 for anything else.
Value self_class(Value culprit) {
  Value self = g_mem.self;
  if (is_instance(self)) raise_error(2, self);
  if (!is_class(self)) raise_error(2, culprit);
  return self;
}

Value p_new_method(Value name, Value fn) {
  Value k = self_class(require_symbol(name));
  claim_selector(name, k, Flavour::method);
  install_method(k, name, fn);
  return fn;
}

Value sp_defslot(Value forms) {
  Value name = require_symbol(car(forms));
  return define_slot(self_class(name), name, cdr(forms));
}

Value p_set_slot_field(Value name, Value facet, Value value) {
  require_symbol(name);
  Value self = g_mem.self;
  if (!is_object(self)) raise_error(2, name);
  Value k = class_of(self);
  std::optional<Facet> f = facet_of_keyword(facet);
  if (!f) raise_error(2, facet);
  if (slot_entry_of(k, name) == kAbsent) {
    claim_selector(name, k, Flavour::slot);
    symbol_entry(name).definer = kAbsent;
  }
  set_facet(k, name, *f, facet_is_evaluated(*f) ? eval(value) : value);
  return kNoValue;
}

Value sp_overriden(Value forms) {
  Value name = require_symbol(car(forms));
  Value self = g_mem.self;
  Value v = is_object(self) ? class_lookup(self, name) : lookup_symbol(name);
  if (v == kNoValue) raise_error(6, name);
  return v;
}

// --- Slots ---------------------------------------------------------------------------------------

Value slot_descriptor(Value name) { return entry_descriptor(self_slot_entry(name)); }

template <Facet F>
Value p_slot_facet(Value name) {
  return read_facet(slot_descriptor(name), F);
}
Value p_slot_name(Value name) { return descriptor_field(slot_descriptor(name), DescriptorField::name); }

Value p_slot_exists_p(Value name) {
  Value self = g_mem.self;
  return truth(is_symbol(name) && is_object(self) && slot_entry_of(class_of(self), name) != kAbsent);
}
Value p_slot_initial_value(Value name) {
  self_slot_entry(name);
  return slot_initial_value(g_mem.self, name);
}
Value p_read_slot(Value name) { return read_slot(name, false); }
Value p_read_slot_ref(Value name) { return read_slot(name, true); }
Value p_write_slot(Value name, Value v) { return write_slot(name, v); }
Value p_get_reference(Value name) { return get_reference(name); }
Value p_set_reference(Value name, Value v) {
  set_reference(name, v);
  return v;
}
Value p_reset_link(Value name) {
  set_reference(name, get_reference(name));
  return kNoValue;
}
Value p_linked_p(Value name) { return truth(linked(name)); }

// --- Overrides ------------------------------------------------------------------------------------

Value p_add_override(Value name, Value v) {
  Value self = self_object();
  // The evaluator reads a symbol without a selector index straight from its
  // value cell, so an overridden name needs one.
  if (is_symbol(name)) ensure_selector_index(name);
  StackRoots pair(1);
  pair[0] = cons(name, v);
  set_object_field(self, class_at::overrides, cons(pair[0], overrides_of(self)));
  return kNoValue;
}

Value p_remove_override(Value name) {
  Value self = self_object();
  Value prev = kNil;
  for (Value l = overrides_of(self); is_pair(l); prev = l, l = cdr(l)) {
    if (!is_pair(car(l)) || car(car(l)) != name) continue;
    if (prev == kNil) set_object_field(self, class_at::overrides, cdr(l));
    else set_cdr(prev, cdr(l));
    break;
  }
  return kNoValue;
}

// --- Initialisation from the native peer ---------------------------------------------------------

// Calls f(name, entry) for each slot entry of self's class whose
// `:initialize?` satisfies `wanted`, from the highest index down.
template <class Wanted, class F>
void for_each_initialized_slot(Wanted wanted, F f) {
  Value self = self_object();
  if (!has_peer(self)) raise_error(2, self);
  Value k = class_of(self);
  for (std::int32_t i = class_capacity(k) - 1; i >= 0; --i) {
    Value e = table_entry(k, i);
    if (!is_slot_entry(e)) continue;
    Value d = entry_descriptor(e);
    if (!wanted(descriptor_field(d, DescriptorField::initialize))) continue;
    Value name = descriptor_field(d, DescriptorField::name);
    f(name, object_peer(self).search_property(self, name), descriptor_has(d, kLink));
  }
}

Value p_initialize_setable_slots() {
  Value write = g_objects.sym.write;
  for_each_initialized_slot([write](Value init) { return is_true(init) && init != write; },
                            [](Value name, Value v, bool link) {
                              if (link) set_reference(name, v);
                              else assign_symbol(name, v);
                            });
  return kNoValue;
}

Value p_initialize_writable_slots() {
  Value write = g_objects.sym.write;
  for_each_initialized_slot([write](Value init) { return init == write; },
                            [](Value name, Value v, bool) { write_slot(name, v); });
  return kNoValue;
}

// --- Start-up --------------------------------------------------------------------------------------------

Value make_root_peer() { return make_peer<RootPeer>(); }

void register_primitives() {
  constexpr std::uint32_t sys = arity::system;
  defprim("new-class", p_new_class);
  defprim("new-mixin", p_new_mixin);
  defprim("make-instance", p_make_instance);
  defprim("self", p_self);
  defprim("object?", p_object_p);
  defprim("class?", p_class_p);
  defprim("instance?", p_instance_p);
  defprim("ascendants", p_ascendants);
  defprim("descendants", p_descendants);
  defspecial("overriden", sp_overriden, sys);
  defprim("remove-class", p_remove_class, sys);
  defprim("unite-class", p_unite_class, sys);
  defprim("class-name", p_class_name, sys);
  defprim("object-class", p_object_class, sys);
  defprim("object-slots", p_object_slots, sys);
  defprim("object-opened?", p_object_opened_p, sys);
  defprim("set-slot-field", p_set_slot_field, sys);
  defprim("genealogy", p_genealogy, sys);
  defprim("new-method", p_new_method, sys);
  defprim("superclass", p_superclass, sys);
  defprim("class-table-size", p_class_table_size, sys);
  defprim("reset-inited", p_reset_inited, sys);
  defprim("class-united?", p_class_united_p, sys);
  defprim("read-slot", p_read_slot, sys);
  defprim("read-slot-ref", p_read_slot_ref, sys);
  defprim("write-slot", p_write_slot, sys);
  defprim("slot-exists?", p_slot_exists_p, sys);
  defprim("slot-name", p_slot_name, sys);
  defprim("slot-default", p_slot_facet<Facet::default_>, sys);
  defprim("slot-initform", p_slot_facet<Facet::initform>, sys);
  defprim("slot-initialize?", p_slot_facet<Facet::initialize>, sys);
  defprim("slot-linker", p_slot_facet<Facet::linker>, sys);
  defprim("slot-type", p_slot_facet<Facet::type>, sys);
  defprim("slot-reader", p_slot_facet<Facet::reader>, sys);
  defprim("slot-writer", p_slot_facet<Facet::writer>, sys);
  defprim("slot-chooser", p_slot_facet<Facet::chooser>, sys);
  defprim("slot-info", p_slot_facet<Facet::info>, sys);
  defprim("slot-allocate?", p_slot_facet<Facet::allocate>, sys);
  defprim("slot-link?", p_slot_facet<Facet::link>, sys);
  defprim("slot-list?", p_slot_facet<Facet::list>, sys);
  defprim("slot-editable?", p_slot_facet<Facet::editable>, sys);
  defprim("slot-invalidate?", p_slot_facet<Facet::invalidate>, sys);
  defprim("slot-initial-value", p_slot_initial_value, sys);
  defprim("add-override", p_add_override, sys);
  defprim("remove-override", p_remove_override, sys);
  defprim("initialize-setable-slots", p_initialize_setable_slots, sys);
  defprim("initialize-writable-slots", p_initialize_writable_slots, sys);
  defprim("get-reference", p_get_reference, sys);
  defprim("set-reference!", p_set_reference, sys);
  defprim("reset-link", p_reset_link, sys);
  defprim("linked?", p_linked_p, sys);
  defspecial("defslot", sp_defslot);
}

}  // namespace

void register_objects() {
  install_object_model({&objects::record_size, &objects::mark_record, &class_name_of, &object_is_a});
  g_objects = ObjectSystem{};
  intern_object_symbols();
  register_primitives();
  register_structs();
  register_configuration_primitives();
  make_native_class("obj-root", make_root_peer, kNil);
  register_persistence_classes();
}

}  // namespace orvane
