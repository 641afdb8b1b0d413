#include "objects/object_hooks.h"

#include "core/symbols.h"

namespace orvane {

// Until classes exist, objects answer with the global table.
Value class_name_of(Value) { return kNil; }
bool object_is_a(Value, Value) { return false; }
Value object_lookup(Value, Value sym) { return symbol_global(sym); }
void object_assign(Value, Value sym, Value v) { set_symbol_global(sym, v); }
void define_value(Value name, Value value) { set_symbol_global(name, value); }

}  // namespace orvane

namespace orvane {
std::string class_printed_form(Value) { return "#<class>"; }
}  // namespace orvane
