#include "objects/native_classes.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "objects/classes.h"
#include "objects/records.h"

namespace orvane {

using namespace objects;

namespace {

// Destroys the native object behind a peer pointer and empties the pointer.
void release_peer_pointer(Value pointer) {
  if (!is_pointer(pointer) || pointer_kind(pointer) != PointerKind::cpp_object) return;
  g_native_objects.release(pointer_address(pointer));
  node_of(pointer).w1 = 0;
}

}  // namespace

Value make_native_class(std::string_view name, NativeConstructor constructor, Value superclasses) {
  Value sym = intern_constant(name);
  Value root = root_class();
  Value supers = superclasses;
  if (supers == kNil) supers = is_class(root) ? cons(root, kNil) : kNil;
  else if (is_class(supers)) supers = cons(supers, kNil);
  Value k = create_class(sym, supers, false);
  std::uint32_t index = 0;
  if (constructor) {
    index = static_cast<std::uint32_t>(g_objects.constructors.size());
    g_objects.constructors.push_back(constructor);
  }
  store_u32(record(k) + class_at::constructor, index);
  set_object_u16(k, class_at::united, 0);
  assign_symbol(sym, k);
  return k;
}

void register_method(Value klass, std::string_view name, ErasedFn fn, std::uint32_t arity) {
  if (!is_class(klass) || arity > 8) raise_error(2, klass);
  Value sym = intern_constant(name);
  Value method = make_descriptor(name, fn, arity, tag::primitive, false);
  claim_selector(sym, klass, Flavour::method);
  // Native methods live in the class tables, never in the symbol's value
  // cell: a module registered later may still bind a global of that name.
  ensure_selector_index(sym);
  if (symbol_entry(sym).definer.bits == 0) symbol_entry(sym).definer = kAbsent;
  install_method(klass, sym, method);
}

// --- Peers ---------------------------------------------------------------------------

bool has_peer(Value object) {
  if (!is_object(object)) return false;
  Value p = peer_of(object);
  return is_pointer(p) && pointer_address(p) != 0;
}

Peer& object_peer(Value object) {
  if (!has_peer(object)) raise_error(2, object);
  Value p = peer_of(object);
  auto* peer = dynamic_cast<Peer*>(&native_object_of(p, PointerKind::cpp_object));
  if (!peer) raise_error(2, object);
  return *peer;
}

void set_peer(Value object, Value peer_pointer) {
  if (!is_object(object)) raise_error(2, object);
  Value old = peer_of(object);
  if (old != peer_pointer) release_peer_pointer(old);
  set_object_field(object, class_at::peer, peer_pointer);
}

Value open_peer(Value object) {
  if (!is_object(object)) raise_error(2, object);
  if (has_peer(object)) return peer_of(object);
  std::uint32_t index = load_u32(record(class_of(object)) + class_at::constructor);
  if (index == 0 || index >= g_objects.constructors.size()) return kNil;
  Value p = g_objects.constructors[index]();
  if (!is_pointer(p) || pointer_kind(p) != PointerKind::cpp_object) raise_error(2, p);
  set_peer(object, p);
  if (auto* peer = dynamic_cast<Peer*>(g_native_objects.find(pointer_address(p)))) peer->set_object(object);
  return p;
}

void close_peer(Value object) {
  if (!is_object(object)) raise_error(2, object);
  release_peer_pointer(peer_of(object));
  set_object_field(object, class_at::peer, kNil);
}

Value self_object() {
  Value self = g_mem.self;
  if (!is_object(self)) raise_error(2, self);
  return self;
}

Value root_class() { return symbol_global(g_objects.sym.obj_root); }
Value persistence_class() { return symbol_global(g_objects.sym.obj_persistence); }

}  // namespace orvane
