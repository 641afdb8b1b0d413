#include "objects/slots.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "objects/classes.h"
#include "objects/native_classes.h"
#include "objects/object_system.h"
#include "objects/records.h"
#include "objects/stack_roots.h"

namespace orvane::objects {

namespace {

struct FacetInfo {
  Facet facet;
  Value ObjectSymbols::*keyword;
  bool evaluated;
  DescriptorField field;  // for the Value facets
  std::uint32_t flag;     // for the flag facets, else 0
};

constexpr FacetInfo kFacets[] = {
    {Facet::default_, &ObjectSymbols::default_, true, DescriptorField::default_, 0},
    {Facet::initform, &ObjectSymbols::initform, false, DescriptorField::initform, 0},
    {Facet::initialize, &ObjectSymbols::initialize_p, true, DescriptorField::initialize, 0},
    {Facet::linker, &ObjectSymbols::linker, false, DescriptorField::linker, 0},
    {Facet::type, &ObjectSymbols::type, false, DescriptorField::type, 0},
    {Facet::reader, &ObjectSymbols::reader, false, DescriptorField::reader, 0},
    {Facet::writer, &ObjectSymbols::writer, false, DescriptorField::writer, 0},
    {Facet::chooser, &ObjectSymbols::chooser, false, DescriptorField::chooser, 0},
    {Facet::info, &ObjectSymbols::info, false, DescriptorField::info, 0},
    {Facet::allocate, &ObjectSymbols::allocate_p, true, DescriptorField::name, kAllocate},
    {Facet::link, &ObjectSymbols::link_p, true, DescriptorField::name, kLink},
    {Facet::list, &ObjectSymbols::list_p, true, DescriptorField::name, kList},
    {Facet::editable, &ObjectSymbols::editable_p, true, DescriptorField::name, kEditable},
    {Facet::invalidate, &ObjectSymbols::invalidate_p, true, DescriptorField::name, kInvalidate},
};

const FacetInfo& info_of(Facet f) { return kFacets[static_cast<int>(f)]; }

Value truth(bool b) { return b ? g_sym.t : kNil; }

// The facet's value as propagation compares it: flags and `:info` as t or nil.
Value comparable(Facet f, Value v) {
  return info_of(f).flag != 0 || f == Facet::info ? truth(is_true(v)) : v;
}

void store_facet(Value descriptor, Facet f, Value x) {
  const FacetInfo& info = info_of(f);
  if (info.flag == 0) {
    set_descriptor_field(descriptor, info.field, x);
    return;
  }
  std::uint32_t flags = descriptor_flags(descriptor);
  set_descriptor_flags(descriptor, is_true(x) ? flags | info.flag : flags & ~info.flag);
}

bool layout_fixed(Value k) { return object_u16(k, class_at::layout_fixed) != 0; }

// One step of facet propagation at class k. `parent_entry` is the entry the
// change was just made in (nil at the top call), `previous` the value the
// facet had there before the change.
void set_facet_at(Value k, Value s, Facet f, Value x, Value parent_entry, Value previous) {
  bool top = parent_entry == kNil;
  Value entry = slot_entry_of(k, s);
  Value old = kAbsent;
  if (entry != kAbsent) {
    Value descriptor = entry_descriptor(entry);
    bool shared = !top && descriptor == entry_descriptor(parent_entry);
    if (!shared) {
      old = comparable(f, read_facet(descriptor, f));
      if (!top && old != previous) return;  // k overrides the facet
      if (layout_fixed(k) && (f == Facet::allocate || f == Facet::type) && comparable(f, x) != old)
        raise_error(57, facet_keyword(f));
      store_facet(make_private(k, entry), f, x);
    }
    // A shared descriptor already holds the new value; its subclasses may
    // still hold private copies of the old one.
  } else {
    if (layout_fixed(k)) raise_error(56, s);
    Value descriptor = top ? make_slot_descriptor(s, k) : entry_descriptor(parent_entry);
    StackRoots roots(1);
    entry = roots[0] = make_slot_entry(kNil, descriptor);
    table_store(k, ensure_selector_index(s), roots[0]);
    entry = roots[0];
    if (top) store_facet(descriptor, f, x);
  }
  if (top) previous = old;
  for (Value subs = object_field(k, class_at::subclasses); is_pair(subs); subs = cdr(subs))
    set_facet_at(car(subs), s, f, x, entry, previous);
}

enum class Mode { fill, replace };

void propagate_class_value(Value j, Value s, Value x, Mode mode, Value previous, Value parent_descriptor) {
  Value entry = slot_entry_of(j, s);
  if (entry == kAbsent) return;
  Value descriptor = entry_descriptor(entry);
  if (descriptor != parent_descriptor) {
    Value current = descriptor_field(descriptor, DescriptorField::class_value);
    if (mode == Mode::fill ? current != kAbsent : (current == kAbsent || current != previous)) return;
    descriptor = make_private(j, entry);
    set_descriptor_field(descriptor, DescriptorField::class_value, x);
  }
  for (Value subs = object_field(j, class_at::subclasses); is_pair(subs); subs = cdr(subs))
    propagate_class_value(car(subs), s, x, mode, previous, descriptor);
}

}  // namespace

std::optional<Facet> facet_of_keyword(Value keyword) {
  for (const FacetInfo& info : kFacets)
    if (g_objects.sym.*info.keyword == keyword) return info.facet;
  return std::nullopt;
}

Value facet_keyword(Facet f) { return g_objects.sym.*info_of(f).keyword; }
bool facet_is_evaluated(Facet f) { return info_of(f).evaluated; }

Value slot_entry_of(Value k, Value s) {
  Value e = table_entry(k, selector_index(s));
  return is_slot_entry(e) ? e : kAbsent;
}

Value read_facet(Value descriptor, Facet f) {
  const FacetInfo& info = info_of(f);
  if (info.flag != 0) return truth((descriptor_flags(descriptor) & info.flag) != 0);
  return descriptor_field(descriptor, info.field);
}

Value make_private(Value k, Value entry) {
  Value descriptor = entry_descriptor(entry);
  if (descriptor_field(descriptor, DescriptorField::owner) == k) return descriptor;
  Value copy = copy_slot_descriptor(descriptor, k);
  set_cdr(entry, copy);
  return copy;
}

void set_facet(Value k, Value s, Facet f, Value x) {
  ensure_selector_index(s);
  set_facet_at(k, s, f, x, kNil, kAbsent);
}

void set_class_value(Value k, Value s, Value x) {
  Value entry = slot_entry_of(k, s);
  if (entry == kAbsent) return;
  Value current = descriptor_field(entry_descriptor(entry), DescriptorField::class_value);
  propagate_class_value(k, s, x, current == kAbsent ? Mode::fill : Mode::replace, current, kNil);
}

Value define_slot(Value k, Value s, Value facets) {
  const ObjectSymbols& sym = g_objects.sym;
  claim_selector(s, k, Flavour::slot);
  symbol_entry(s).definer = kAbsent;
  for (Value l = facets; is_pair(l); l = cdr(cdr(l))) {
    Value keyword = car(l);
    std::optional<Facet> f = facet_of_keyword(keyword);
    if (!f) raise_error(2, keyword);
    Value form = car(cdr(l));
    set_facet(k, s, *f, facet_is_evaluated(*f) ? eval(form) : form);
  }
  if (slot_entry_of(k, s) == kAbsent) set_facet(k, s, Facet::default_, kNoValue);
  Value descriptor = entry_descriptor(slot_entry_of(k, s));
  if (descriptor_has(descriptor, kAllocate))
    set_class_value(k, s, descriptor_field(descriptor, DescriptorField::default_));

  if (s == sym.configuration) {
    Value file = lookup_symbol(sym.load_file);
    assign_symbol(sym.config_pathname, file == kNoValue ? kNil : file);
    if (is_true(lookup_symbol(sym.auto_initialize_p))) {
      if (has_peer(k)) call(sym.close, {});
      call(sym.initialize, {});
    }
  }
  return s;
}

}  // namespace orvane::objects
