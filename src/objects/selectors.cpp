// Selector claiming and method installation.
//
// A selector that a single class defines as a method takes no table entry
// anywhere: its method lives in the symbol's value cell and the definer word
// names the class. A second definer, or a slot of that name, moves the
// method into the first definer's table; from then on the selector lives in
// class tables.
#include "core/symbols.h"
#include "eval/errors.h"
#include "objects/classes.h"
#include "objects/object_system.h"
#include "objects/records.h"

namespace orvane::objects {

namespace {

enum class Mode { fill, replace };

// Propagates v down from class j: fill mode stores where no method entry
// exists yet; replace mode stores where the entry is still `old`.
void propagate(Value j, std::int32_t index, Value v, Mode mode, Value old) {
  Value e = table_entry(j, index);
  if (mode == Mode::fill ? is_method_entry(e) : (!is_method_entry(e) || e != old)) return;
  table_store(j, index, v);
  for (Value subs = object_field(j, class_at::subclasses); is_pair(subs); subs = cdr(subs))
    propagate(car(subs), index, v, mode, old);
}

}  // namespace

std::int32_t selector_index(Value sym) { return symbol_entry(sym).selector_index; }

std::int32_t ensure_selector_index(Value sym) {
  SymbolEntry& e = symbol_entry(sym);
  if (e.selector_index >= 0) return e.selector_index;
  if (g_objects.next_selector >= kMaxTableCapacity) raise_error(9, sym);
  e.selector_index = static_cast<std::int16_t>(g_objects.next_selector++);
  return e.selector_index;
}

void claim_selector(Value sym, Value k, Flavour flavour) {
  SymbolEntry& e = symbol_entry(sym);
  if (is_object(k) && (flavour == Flavour::slot || e.definer.bits != 0 || e.value != kNoValue))
    ensure_selector_index(sym);
  Value definer = symbol_entry(sym).definer;
  if (is_class(definer) && !(flavour == Flavour::method && definer == k)) {
    ensure_selector_index(sym);
    symbol_entry(sym).definer = kAbsent;
    install_method(definer, sym, symbol_entry(sym).value);
    symbol_entry(sym).value = kNoValue;
  }
}

void install_method(Value k, Value sym, Value v) {
  SymbolEntry& e = symbol_entry(sym);
  if (e.definer == k) {
    e.value = v;
    return;
  }
  if (e.definer.bits == 0 && e.value == kNoValue) {
    e.value = v;
    e.definer = k;
    return;
  }
  std::int32_t index = ensure_selector_index(sym);
  Value old = table_entry(k, index);
  if (!is_method_entry(old)) {
    propagate(k, index, v, Mode::fill, kAbsent);
    return;
  }
  table_store(k, index, v);
  for (Value subs = object_field(k, class_at::subclasses); is_pair(subs); subs = cdr(subs))
    propagate(car(subs), index, v, Mode::replace, old);
}

}  // namespace orvane::objects
