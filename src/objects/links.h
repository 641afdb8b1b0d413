// Link slots: slots that store a key (usually an object's name) and yield
// the object it names, resolved on read by `find-link` or by the slot's
// linker; the references of such slots; and `read-slot`/`write-slot`.
#pragma once

#include "core/value.h"

namespace orvane::objects {

// The slot entry of `self`'s class for a slot name; error 2 with the name
// when `self` is no object or its class has no slot of that name.
Value self_slot_entry(Value name);

// The value a link slot yields for its stored value (resolving, and storing
// the resolution, when needed).
Value resolve_link(Value object, Value name, Value entry, Value stored);

// The primitives of link slots, on `self`'s slot `name`.
Value get_reference(Value name);
void set_reference(Value name, Value v);
bool linked(Value name);

// `read-slot`, `read-slot-ref` and `write-slot` on `self`'s slot `name`.
Value read_slot(Value name, bool reference);
Value write_slot(Value name, Value v);

}  // namespace orvane::objects
