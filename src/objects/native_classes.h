// What native modules use to add classes, methods and peers to the object
// system.
//
//   Value k = make_native_class("obj-window", make_window_peer, interface_class);
//   register_method(k, "paint", window_paint);   // Value window_paint()
//
// A native method receives its receiver as the current object (g_mem.self),
// not as an argument; peer_as<T>(g_mem.self) reaches its native peer.
#pragma once

#include <string_view>

#include "core/primitives.h"
#include "objects/object_system.h"
#include "objects/peers.h"

namespace orvane {

// Creates a native class: interns the name, links the superclasses (nil
// means `obj-root`; a class or a list of classes), gives the class the
// native constructor (not taken over from a superclass), assigns the class
// to the name in the current context, and registers it in `System-Classes`
// while `System?` is true.
Value make_native_class(std::string_view name, NativeConstructor constructor, Value superclasses);

// Registers a native method of `klass` with 0 to 8 fixed arguments: the
// routine is wrapped in a primitive, the selector claimed and the method
// installed with propagation. Error 2 when `klass` is not a class.
void register_method(Value klass, std::string_view name, ErasedFn fn, std::uint32_t arity);
template <class... A>
void register_method(Value klass, std::string_view name, Value (*fn)(A...)) {
  static_assert(!detail::ends_in_rest<A...>(), "native methods take fixed arguments only");
  static_assert(sizeof...(A) <= 8, "at most 8 arguments");
  register_method(klass, name, reinterpret_cast<ErasedFn>(fn), sizeof...(A));
}

// --- Native peers -----------------------------------------------------------------

bool has_peer(Value object);
// The peer of an object; error 2 with the object when it has none (or when
// it is no object).
Peer& object_peer(Value object);
template <class T>
T& peer_as(Value object) {
  auto* p = dynamic_cast<T*>(&object_peer(object));
  if (!p) raise_error(2, object);
  return *p;
}
// Replaces the object's peer pointer; the previous peer is destroyed and its
// pointer emptied.
void set_peer(Value object, Value peer_pointer);
// Creates the peer with the class's native constructor when the object has
// none, and records the object in it; answers the peer pointer (nil when the
// class has no constructor).
Value open_peer(Value object);
// Destroys the object's peer and sets it to nil.
void close_peer(Value object);

// A pointer Value of the kind "cpp object" owning a new peer of type T;
// error 9 when it cannot be allocated.
template <class T>
Value make_peer() {
  std::unique_ptr<T> peer;
  try {
    peer = std::make_unique<T>();
  } catch (const std::bad_alloc&) {
    raise_error(9, kNil);
  }
  return make_native_pointer(std::move(peer), PointerKind::cpp_object);
}

// The current object; error 2 with it when it is not a class or instance.
Value self_object();

// The classes the run-time creates at start-up (nil before).
Value root_class();
Value persistence_class();

}  // namespace orvane
