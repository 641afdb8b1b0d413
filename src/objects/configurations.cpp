#include "objects/configurations.h"

#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "objects/classes.h"
#include "objects/native_classes.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "objects/slots.h"
#include "objects/stack_roots.h"

namespace orvane::objects {

namespace {

Value nth_cdr(Value l, int n) {
  for (; n > 0; --n) l = cdr(l);
  return l;
}

bool is_tag(Value v) { return is_symbol(v) || is_fixnum(v); }

bool is_keyword(Value sym) {
  std::string_view name = symbol_name(sym);
  return !name.empty() && name.front() == ':';
}

Value keyword_for(Value name) { return is_symbol(name) && !is_keyword(name) ? keyword_of(name) : name; }

// The value following key in a property list, or no-value.
Value plist_get(Value plist, Value key) {
  for (Value l = plist; is_pair(l); l = cdr(cdr(l)))
    if (car(l) == key) return car(cdr(l));
  return kNoValue;
}

// The configuration chain under construction: configurations in the order
// of addition.
struct Chain {
  ListBuilder configs;
  Value last = kNil;  // also in the list
  void add(Value config) {
    configs.add(config);
    last = config;
  }
};

// Adds key and value to the configuration: a plain key at the front of its
// properties, a key path (child ... key) in the child configuration named
// by the path, made when missing. The last key of a path is a property
// name, stored as its keyword.
void add_initarg(Value config, Value key, Value value, bool in_path) {
  if (is_pair(key) && !is_pair(cdr(key))) key = car(key);
  if (!is_pair(key)) {
    if (in_path) key = keyword_for(key);
    StackRoots props(1);
    props[0] = cons(value, config_properties(config));
    props[0] = cons(key, props[0]);
    set_car(cdr(config), props[0]);
    return;
  }
  Value child = kNil;
  for (Value l = config_children(config); is_pair(l); l = cdr(l))
    if (config_header(car(l)) == car(key)) {
      child = car(l);
      break;
    }
  if (child == kNil) {
    StackRoots made(1);
    made[0] = list_of({car(key), kNil, kNil});
    set_car(cdr(cdr(config)), cons(made[0], config_children(config)));
    child = made[0];
  }
  add_initarg(child, cdr(key), value, true);
}

Value chain_of_object(Value object) {
  if (!is_object(object) || !has_peer(object)) return kNil;
  return object_peer(object).chain();
}

// Adds the configuration of object o, first sending `init-owners` to it
// when its owners are not inited yet.
void add_configuration_of(Chain& chain, Value o, Value start) {
  const ObjectSymbols& sym = g_objects.sym;
  Value config = value_in(o, sym.configuration);
  if (is_false(config) || config == chain.last) return;
  if (is_false(value_in(o, sym.owners_inited_p))) send(o, sym.init_owners, {config, start});
  chain.add(config);
}

// --- Primitives --------------------------------------------------------------------

Value require_list(Value v) {
  if (!is_list(v)) raise_error(2, v);
  return v;
}
// The pair at position n of a configuration; error 2 when it is too short.
Value config_cell(Value config, int n) {
  Value cell = nth_cdr(require_list(config), n);
  if (!is_pair(cell)) raise_error(2, config);
  return cell;
}

Value p_tag_p(Value v) { return is_tag(v) ? g_sym.t : kNil; }
Value p_header_type(Value h) { return header_type(h); }
Value p_header_name(Value h) { return header_name(h); }
Value p_header_owner(Value h) { return header_owner(h); }
Value p_config_header(Value c) { return config_header(require_list(c)); }
Value p_config_properties(Value c) { return config_properties(require_list(c)); }
Value p_config_children(Value c) { return config_children(require_list(c)); }
Value p_config_pages(Value c) { return config_pages(require_list(c)); }
Value p_config_type(Value c) { return header_type(config_header(require_list(c))); }
Value p_config_name(Value c) { return header_name(config_header(require_list(c))); }
Value p_config_owner(Value c) { return header_owner(config_header(require_list(c))); }
Value p_set_config_header(Value c, Value v) {
  set_car(config_cell(c, 0), v);
  return kNoValue;
}
Value p_set_config_properties(Value c, Value v) {
  set_car(config_cell(c, 1), v);
  return kNoValue;
}
Value p_set_config_children(Value c, Value v) {
  set_car(config_cell(c, 2), v);
  return kNoValue;
}
Value p_set_config_pages(Value c, Value v) {
  set_cdr(config_cell(c, 2), v);
  return kNoValue;
}

}  // namespace

// --- Headers and configurations -------------------------------------------------------

Value header_type(Value h) { return is_pair(h) ? car(h) : kNil; }
Value header_name(Value h) {
  if (h == g_objects.sym.initargs) return kNil;
  return is_pair(h) ? car(cdr(h)) : is_tag(h) ? h : kNil;
}
Value header_owner(Value h) { return is_pair(h) ? car(nth_cdr(h, 2)) : kNil; }

Value config_header(Value c) { return car(c); }
Value config_properties(Value c) { return car(cdr(c)); }
Value config_children(Value c) { return car(nth_cdr(c, 2)); }
Value config_pages(Value c) { return nth_cdr(c, 3); }

// --- Objects' contexts ---------------------------------------------------------------------

Value value_in(Value object, Value sym) {
  SelfBinding binding(object);
  return lookup_symbol(sym);
}

void assign_in(Value object, Value sym, Value v) {
  SelfBinding binding(object);
  assign_symbol(sym, v);
}

Value slot_initial_value(Value object, Value name) {
  if (!is_object(object) || !is_symbol(name)) return kNoValue;
  Value entry = slot_entry_of(class_of(object), name);
  if (entry == kAbsent) return kNoValue;
  Value initform = descriptor_field(entry_descriptor(entry), DescriptorField::initform);
  if (initform == kNoValue) return descriptor_field(entry_descriptor(entry), DescriptorField::default_);
  SelfBinding binding(object);
  return eval(initform);
}

// --- Property lookup ----------------------------------------------------------------------------

Value search_property(Value object, Value chain, Value name) {
  Value key = keyword_for(name);
  for (Value l = chain; is_pair(l); l = cdr(l)) {
    Value v = plist_get(config_properties(car(l)), key);
    if (v != kNoValue) return v;
  }
  return slot_initial_value(object, name);
}

Value search_constructor(Value chain, Value key) {
  for (Value l = chain; is_pair(l); l = cdr(l))
    for (Value p = config_properties(car(l)); is_pair(p); p = cdr(cdr(p)))
      if (car(p) == key) return p;
  return kNil;
}

Value find_self_config(Value object, Value children) {
  const ObjectSymbols& sym = g_objects.sym;
  Value creator = value_in(object, sym.config_creator);
  if (creator != kNoValue) {
    Value parent_creator = value_in(object, sym.config_parent_creator);
    if (parent_creator != kNoValue && children == parent_creator) return creator;
    for (Value l = children; is_pair(l); l = cdr(l))
      if (car(l) == creator) return creator;
  }
  Value name = value_in(object, sym.name);
  if (is_false(name)) return kNil;
  for (Value l = children; is_pair(l); l = cdr(l))
    if (config_header(car(l)) == name) return car(l);
  for (Value l = children; is_pair(l); l = cdr(l))
    if (header_name(config_header(car(l))) == name) return car(l);
  return kNil;
}

Value build_constructor_chain(Value object, Value initargs) {
  const ObjectSymbols& sym = g_objects.sym;
  Chain chain;
  StackRoots roots(3);  // the creation configuration, the candidates, the class chain
  if (is_pair(initargs)) {
    roots[0] = list_of({sym.initargs, kNil, kNil});
    for (Value l = initargs; is_pair(l); l = cdr(cdr(l))) add_initarg(roots[0], car(l), car(cdr(l)), false);
    chain.add(roots[0]);
  }

  Value parent = value_in(object, sym.parent);
  if (!inherits_named(class_of(object), sym.obj_page) && is_object(parent)) {
    Value page_parent = value_in(object, sym.page_parent);
    roots[1] = is_false(page_parent) ? chain_of_object(parent)
                                     : send(parent, sym.find_page_constructor, {page_parent});
    for (Value l = roots[1]; is_pair(l); l = cdr(l)) {
      Value found = find_self_config(object, config_children(car(l)));
      if (is_true(found)) chain.add(found);
    }
  }

  Value k = class_of(object);
  if (is_instance(object)) {
    Value own = value_in(object, sym.configuration);
    if (own != kNoValue && own == value_in(k, sym.configuration)) assign_in(object, sym.configuration, kNil);
    else add_configuration_of(chain, object, object);
  }

  // The class chain: from the class up to the class just below
  // `obj-persistence`, along the main superclasses; built top first.
  auto below_persistence = [&sym](Value c) { return is_class(c) && class_name(c) != sym.obj_persistence; };
  for (Value c = k; below_persistence(c); c = main_superclass(c)) roots[2] = cons(c, roots[2]);
  Value mode = value_in(object, sym.inherit_configuration_p);
  if (mode == sym.reverse) {
    for (Value l = roots[2]; is_pair(l); l = cdr(l)) add_configuration_of(chain, car(l), k);
  } else if (is_true(mode)) {
    for (Value c = k; below_persistence(c); c = main_superclass(c)) add_configuration_of(chain, c, k);
  } else {
    add_configuration_of(chain, k, k);
  }
  return chain.configs.list();
}

Value setup_object_name(Value object, Value initargs) {
  const ObjectSymbols& sym = g_objects.sym;
  Value current = value_in(object, sym.name);
  if (is_true(current)) return current;
  Value name = plist_get(initargs, sym.name_kw);
  if (is_false(name)) {
    Value config = value_in(object, sym.configuration);
    bool own = !is_instance(object) || config != value_in(class_of(object), sym.configuration);
    name = own && is_pair(config) ? header_name(config_header(config)) : kNil;
  }
  if (is_false(name)) name = value_in(object, sym.standard_name);
  if (name == kNoValue) name = kNil;
  assign_in(object, sym.name, name);
  if (has_peer(object)) object_peer(object).set_name(name);
  return name;
}

void register_configuration_primitives() {
  defprim("tag?", p_tag_p);
  defprim("header-type", p_header_type);
  defprim("header-name", p_header_name);
  defprim("header-owner", p_header_owner);
  defprim("config-header", p_config_header);
  defprim("config-properties", p_config_properties);
  defprim("config-children", p_config_children);
  defprim("config-pages", p_config_pages);
  defprim("config-type", p_config_type);
  defprim("config-name", p_config_name);
  defprim("config-owner", p_config_owner);
  defprim("set-config-header", p_set_config_header);
  defprim("set-config-properties", p_set_config_properties);
  defprim("set-config-children", p_set_config_children);
  defprim("set-config-pages", p_set_config_pages);
}

}  // namespace orvane::objects
