// What the core and the evaluator ask of the object system.
#pragma once

#include "core/value.h"

namespace orvane {

// The name symbol of the class of an instance or of a class.
Value class_name_of(Value object);
// Whether the object's class, or one of its ancestors, bears that name.
bool object_is_a(Value object, Value type_name);
// Symbol lookup and assignment with `self` bound to an object: one indexed
// load from the class table. Answers no-value when unbound.
Value object_lookup(Value self, Value sym);
void object_assign(Value self, Value sym, Value v);

}  // namespace orvane

namespace orvane {
// `define` of a name: at top level the symbol's value is assigned; in a class
// context the value is installed in the class.
void define_value(Value name, Value value);
}  // namespace orvane

#include <string>

namespace orvane {
// The printed form of a class or mixin ("#<class name>", "#<mixin name>").
std::string class_printed_form(Value klass);
}  // namespace orvane
