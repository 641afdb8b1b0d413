// What the core, the evaluator and the printer ask of the object system.
#pragma once

#include <string>

#include "core/value.h"

namespace orvane {

// The name symbol of the class of an instance or of a class.
Value class_name_of(Value object);
// Whether the object's class, or one of its ancestors, bears that name.
bool object_is_a(Value object, Value type_name);
// Symbol lookup and assignment with `self` bound to an object: one indexed
// load from the class table. Lookup answers no-value when unbound. Both
// raise error 2 when `self` is not a class or an instance.
Value object_lookup(Value self, Value sym);
void object_assign(Value self, Value sym, Value v);

// `define` of a name: at top level the symbol's value is assigned; in a class
// context the value is installed in the class; an instance raises error 2.
void define_value(Value name, Value value);

// The printed form of a class or mixin ("#<class name>", "#<mixin name>").
std::string class_printed_form(Value klass);

}  // namespace orvane
