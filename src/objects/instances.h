// Instances: the layout of a class's instances, `make-instance`, and slot
// storage by kind.
//
// The layout packs the allocated slots of a class: Values first (so the
// collector finds an instance's Values as one run of words), then words,
// bytes, and booleans eight to a byte. A class is laid out at its first
// `make-instance` and stays so until `reset-inited`; each layout gets a new
// generation number, and an instance made under an older layout no longer
// exposes its slots (they read as unbound and refuse writes) rather than
// being read through locators that do not describe it.
#pragma once

#include "core/value.h"

namespace orvane::objects {

// Lays out the instances of class k (error 9 when they would be too large).
void lay_out(Value k);
// A new instance of class k, its allocated slots set to their defaults.
Value make_instance(Value k);

// The stored value of slot `entry` in `object`, without link resolution:
// an instance's slot storage, or a class's class-level value. No-value when
// the slot has no storage in that object.
Value read_slot_storage(Value object, Value entry);
// Stores into slot `entry` of `object` (a class stores its class-level
// value after copy on write). Error 2 for an instance made under an older
// layout of its class.
void write_slot_storage(Value object, Value entry, Value v);

}  // namespace orvane::objects
