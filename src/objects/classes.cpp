// Class creation and linking.
#include <algorithm>

#include "core/symbols.h"
#include "eval/errors.h"
#include "objects/classes.h"
#include "objects/native_classes.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "objects/stack_roots.h"

namespace orvane::objects {

namespace {

inline constexpr std::int32_t kMinTableCapacity = 200;

// Appends x at the end of the list held in field `at` of class k.
void append_to_field(Value k, std::uint32_t at, Value x) {
  Value cell = cons(x, kNil);
  Value list = object_field(k, at);
  if (!is_pair(list)) {
    set_object_field(k, at, cell);
    return;
  }
  while (is_pair(cdr(list))) list = cdr(list);
  set_cdr(list, cell);
}

// Removes from the subclass list of p the first class named `name`.
void remove_subclass_named(Value p, Value name) {
  Value prev = kNil;
  for (Value l = object_field(p, class_at::subclasses); is_pair(l); prev = l, l = cdr(l)) {
    if (class_name(car(l)) != name) continue;
    if (prev == kNil) set_object_field(p, class_at::subclasses, cdr(l));
    else set_cdr(prev, cdr(l));
    return;
  }
}

void remove_subclass(Value p, Value k) {
  Value prev = kNil;
  for (Value l = object_field(p, class_at::subclasses); is_pair(l); prev = l, l = cdr(l)) {
    if (car(l) != k) continue;
    if (prev == kNil) set_object_field(p, class_at::subclasses, cdr(l));
    else set_cdr(prev, cdr(l));
    return;
  }
}

}  // namespace

Value copy_list(Value list) {
  ListBuilder copy;
  for (; is_pair(list); list = cdr(list)) copy.add(car(list));
  return copy.list();
}

bool inherits(Value k, Value ancestor) {
  if (k == ancestor) return true;
  return table_entry(k, object_u16(ancestor, class_at::ancestry)) == ancestor;
}

bool inherits_named(Value k, Value name) {
  for (Value g = object_field(k, class_at::genealogy); is_pair(g); g = cdr(g))
    if (class_name(car(g)) == name) return true;
  return false;
}

Value main_superclass(Value k) {
  Value last = kNil;
  for (Value l = object_field(k, class_at::superclasses); is_pair(l); l = cdr(l)) last = car(l);
  return last;
}

bool is_mixin(Value k) { return !inherits_named(k, g_objects.sym.obj_root); }

void link_class(Value k, Value p) {
  remove_subclass_named(p, class_name(k));
  append_to_field(p, class_at::subclasses, k);
  append_to_field(k, class_at::superclasses, p);
  Value lineage = copy_list(object_field(p, class_at::genealogy));
  Value g = object_field(k, class_at::genealogy);
  while (is_pair(cdr(g))) g = cdr(g);
  set_cdr(g, lineage);
  store_u32(record(k) + class_at::constructor, load_u32(record(p) + class_at::constructor));

  // Copy-down: the first superclass linked wins, later ones only fill the
  // entries still absent. A slot entry is received as a new entry sharing
  // the descriptor, since each class lays out its own instances.
  std::int32_t n = std::min(class_capacity(k), class_capacity(p));
  for (std::int32_t i = n - 1; i >= 0; --i) {
    Value from = table_entry(p, i);
    if (from == kAbsent || table_entry(k, i) != kAbsent) continue;
    if (is_slot_entry(from)) from = make_slot_entry(kNil, entry_descriptor(from));
    table_store(k, i, from);
  }
}

Value create_class(Value name, Value superclasses, bool add_root) {
  for (Value l = superclasses; is_pair(l); l = cdr(l))
    if (!is_class(car(l))) raise_error(2, car(l));
  if (g_objects.next_selector >= kMaxTableCapacity) raise_error(9, name);
  std::int32_t ancestry = g_objects.next_selector++;
  std::int32_t capacity = std::max(g_objects.next_selector, kMinTableCapacity);

  StackRoots roots(3);
  roots[0] = superclasses;
  roots[1] = make_table(capacity);
  Value k = roots[2] = allocate_class_record();
  set_object_field(k, class_at::name, name);
  set_object_field(k, class_at::table, roots[1]);
  set_object_u16(k, class_at::capacity, static_cast<std::uint16_t>(capacity));
  set_object_u16(k, class_at::ancestry, static_cast<std::uint16_t>(ancestry));
  set_object_u16(k, class_at::united, 1);
  table_store(k, ancestry, k);
  Value genealogy = cons(k, kNil);
  set_object_field(k, class_at::genealogy, genealogy);

  for (Value l = roots[0]; is_pair(l); l = cdr(l)) link_class(k, car(l));
  Value root = root_class();
  if (add_root && is_class(root) && !inherits_named(k, g_objects.sym.obj_root)) link_class(k, root);

  Value system_p = g_objects.sym.system_p;
  if (is_true(symbol_global(system_p))) {
    Value classes = g_objects.sym.system_classes;
    Value old = symbol_global(classes);
    set_symbol_global(classes, cons(k, old == kNoValue ? kNil : old));
  }
  return k;
}

void remove_class(Value k) {
  for (Value l = object_field(k, class_at::superclasses); is_pair(l); l = cdr(l)) remove_subclass(car(l), k);
}

}  // namespace orvane::objects
