// Configurations: the nested lists that describe interface objects, and the
// property lookup through an object's chain of configurations.
//
// A configuration is (header properties children . pages). The header is a
// tag (a symbol or a fixnum) naming the configuration, a list (type name
// owner), or `:initargs` for the configuration built from creation
// arguments; the properties are a property list (keyword value ...).
#pragma once

#include "core/value.h"

namespace orvane::objects {

Value header_type(Value header);
Value header_name(Value header);
Value header_owner(Value header);

Value config_header(Value config);
Value config_properties(Value config);
Value config_children(Value config);
Value config_pages(Value config);

// The value of sym in the object's context; no-value when unbound.
Value value_in(Value object, Value sym);
// Assigns sym in the object's context.
void assign_in(Value object, Value sym, Value v);

// The initial value of the object's slot `name`: `:initform` evaluated in
// the object's context unless it is no-value, else `:default`. No-value when
// the class has no such slot.
Value slot_initial_value(Value object, Value name);

// The property `name` (a symbol; looked up as its keyword) in the chain,
// else the slot's initial value in the object's class.
Value search_property(Value object, Value chain, Value name);
// The first property-list tail, in chain order, that starts with key itself.
Value search_constructor(Value chain, Value key);
// The configuration among `children` that describes the object, or nil.
Value find_self_config(Value object, Value children);
// Builds the object's configuration chain from its creation arguments,
// its parent's configurations and those of its class chain.
Value build_constructor_chain(Value object, Value initargs);
// Gives the object its name (from the creation arguments, its
// configuration, or `standard-name`) unless it has one; answers it.
Value setup_object_name(Value object, Value initargs);

// Registers the configuration primitives.
void register_configuration_primitives();

}  // namespace orvane::objects
