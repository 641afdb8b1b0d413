// Classes: selectors, method installation with propagation, class creation
// and linking with copy-down.
//
// Message sending is variable lookup: a class table is indexed by a global
// selector number, and inheritance is paid at definition time (copy-down at
// linking, propagation at every later definition), so a lookup never walks
// the hierarchy.
//
// Each class also owns one selector index of its own, its ancestry marker:
// its table and the tables of all its descendants hold the class itself at
// that index (copy-down carries it to every subclass). "Does k inherit from
// d" is then one indexed load: entry(k, ancestry(d)) == d.
#pragma once

#include <cstdint>

#include "core/value.h"

namespace orvane::objects {

// --- Selectors -------------------------------------------------------------------

enum class Flavour { method, slot };

// The selector index of a symbol, -1 when it has none.
std::int32_t selector_index(Value sym);
// Gives the symbol a selector index if it has none; answers it.
std::int32_t ensure_selector_index(Value sym);
// Claims the selector before it is installed in `k` (a class, or the
// no-object value for a top-level `define`): gives it an index when needed
// and moves a single definer's method into that class's table.
void claim_selector(Value sym, Value k, Flavour flavour);

// Whether a table entry is a method or a constant (not absent, not a slot).
inline bool is_method_entry(Value e) { return e != kAbsent && e.tag() != tag::slot_entry; }

// Installs a method or constant in class k with propagation to the
// subclasses that did not override it (define mode).
void install_method(Value k, Value sym, Value v);

// --- Classes -----------------------------------------------------------------------

// A new class named `name`, linked to each class of the list `superclasses`
// in order; with `add_root`, `obj-root` is linked last unless already
// inherited. Every element must be a class (error 2 otherwise).
Value create_class(Value name, Value superclasses, bool add_root);
// Links class k to superclass p (copy-down).
void link_class(Value k, Value p);
// Whether k is `ancestor` or inherits from it.
bool inherits(Value k, Value ancestor);
// Whether k or one of its ancestors bears that name.
bool inherits_named(Value k, Value name);
// The last of k's direct superclasses, nil when it has none.
Value main_superclass(Value k);
// Removes k from the subclass list of each of its direct superclasses.
void remove_class(Value k);
// Whether the class is a mixin: neither `obj-root` nor one of its heirs.
bool is_mixin(Value k);
// A fresh list holding the elements of a list.
Value copy_list(Value list);

}  // namespace orvane::objects
