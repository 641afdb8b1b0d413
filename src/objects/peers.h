// Native peers: the C++ objects linked to Lisp objects of native classes.
//
// A peer is a NativeObject behind a pointer Value of the kind "cpp object"
// held in the object's record; the collector frees it with that pointer.
// Its virtual functions are the peer's operation table: the configuration
// peers here answer the base operations, and the window classes derive from
// InterfacePeer and override them (open, close, show, the titles ...).
#pragma once

#include <cstdint>

#include "core/native_objects.h"

namespace orvane {

class Peer : public NativeObject {
 public:
  // The Lisp object this peer belongs to (nil when none is recorded).
  virtual Value object() const { return kNil; }
  virtual void set_object(Value) {}
  virtual Value name() const { return kNil; }
  virtual void set_name(Value) {}
  // The configuration chain searched for properties, in order.
  virtual Value chain() const { return kNil; }
  virtual void set_chain(Value) {}

  // The operations that the Lisp methods of the same name run.
  virtual void setup_name(Value object, Value initargs);
  virtual void open(Value) {}
  virtual void close() {}
  virtual void show() {}
  virtual void hide() {}
  virtual void enable() {}
  virtual void disable() {}
  virtual bool enabled() const { return true; }
  virtual void hilite() {}
  virtual void dehilite() {}
  virtual Value get_title() { return kNil; }
  virtual void set_title(Value) {}
  virtual Value setup_constructor(Value object, Value initargs);
  // A property of the object: the chain first, then the slot's initial value.
  virtual Value search_property(Value object, Value name);
};

// `obj-root`'s peer: a one-byte object.
class RootPeer : public Peer {
 private:
  [[maybe_unused]] std::uint8_t byte_ = 0;
};

// `obj-static-data`'s peer: a name.
class StaticDataPeer : public Peer {
 public:
  void mark_values(ValueMarker& m) override { m.mark(name_); }
  Value name() const override { return name_; }
  void set_name(Value name) override { name_ = name; }

 private:
  Value name_ = kNil;
};

// `obj-persistence`'s peer: a name, the Lisp object and the configuration
// chain; opening records the name and the object.
class PersistencePeer : public StaticDataPeer {
 public:
  void mark_values(ValueMarker& m) override;
  Value object() const override { return object_; }
  void set_object(Value object) override { object_ = object; }
  Value chain() const override { return chain_; }
  void set_chain(Value chain) override { chain_ = chain; }
  void open(Value object) override;
  // Without a title of its own, the `title` property.
  Value get_title() override;
  void set_title(Value title) override;

 private:
  Value object_ = kNil;
  Value chain_ = kNil;
  Value title_ = kNoValue;
};

// `obj-interface`'s peer: the base of the window peers.
class InterfacePeer : public PersistencePeer {};

// The text of a title: a pair of two fixnums is a string-resource reference
// (list id . index), resolved to its string; anything else is printed.
// Answers nil for a reference that resolves to nothing.
Value title_text(Value title);

}  // namespace orvane
