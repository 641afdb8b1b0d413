// Slot definitions: facets with propagation and copy on write, class-level
// values, `defslot` and `set-slot-field`.
//
// Descriptors are shared down the hierarchy: a subclass's slot entry points
// to its superclass's descriptor until the subclass changes a facet of its
// own, which gives it a private copy. A change made in a class reaches every
// subclass that did not override the facet.
#pragma once

#include <optional>

#include "core/value.h"

namespace orvane::objects {

enum class Facet {
  default_, initform, initialize, linker, type, reader, writer, chooser, info,
  allocate, link, list, editable, invalidate,
};

// The facet a keyword names, if any.
std::optional<Facet> facet_of_keyword(Value keyword);
Value facet_keyword(Facet f);
// Whether `defslot` evaluates the value given for the facet.
bool facet_is_evaluated(Facet f);

// The slot entry of class k for symbol s; the absent marker when k has none.
Value slot_entry_of(Value k, Value s);
// The facet as stored (flags as t or nil).
Value read_facet(Value descriptor, Facet f);

// Sets facet f of slot s in class k to x, creating the slot when k has none,
// and propagates it to the subclasses (error 56: new slot on a laid-out
// class; error 57: `:allocate?` or `:type` changed on a laid-out class).
void set_facet(Value k, Value s, Facet f, Value x);
// Sets the class-level value of slot s in class k, with propagation.
void set_class_value(Value k, Value s, Value x);
// Gives class k a private copy of the descriptor of its entry, unless it
// owns it already; answers the descriptor k now owns.
Value make_private(Value k, Value entry);

// The whole of `defslot` for class k: answers the slot name.
Value define_slot(Value k, Value s, Value facets);

}  // namespace orvane::objects
