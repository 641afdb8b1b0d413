// The native classes every interface class derives from: `obj-static-data`
// (a name), `obj-persistence` (a configuration chain) and `obj-interface`
// (the base of the window classes), with their methods.
#include "objects/persistence.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/native_forms.h"
#include "objects/configurations.h"
#include "objects/native_classes.h"
#include "objects/records.h"

namespace orvane {

using namespace objects;

namespace {

Value truth(bool b) { return b ? g_sym.t : kNil; }
Peer& self_peer() { return object_peer(self_object()); }

// --- obj-static-data --------------------------------------------------------------

Value m_get_name() {
  Value name = value_in(self_object(), g_objects.sym.name);
  if (name == kNoValue) raise_error(6, g_objects.sym.name);
  return name;
}

Value m_set_name(Value name) {
  Value self = self_object();
  assign_in(self, g_objects.sym.name, name);
  if (has_peer(self)) object_peer(self).set_name(name);
  return name;
}

Value m_setup_name(Value initargs) {
  Value self = self_object();
  if (has_peer(self)) object_peer(self).setup_name(self, initargs);
  else setup_object_name(self, initargs);
  return kNoValue;
}

// --- obj-persistence ------------------------------------------------------------------

Value m_open() {
  self_peer().open(g_mem.self);
  return kNoValue;
}
Value m_show() {
  self_peer().show();
  return kNoValue;
}
Value m_hide() {
  self_peer().hide();
  return kNoValue;
}
Value m_enable() {
  self_peer().enable();
  return kNoValue;
}
Value m_disable() {
  self_peer().disable();
  return kNoValue;
}
Value m_enabled_p() { return truth(self_peer().enabled()); }
Value m_hilite() {
  self_peer().hilite();
  return kNoValue;
}
Value m_dehilite() {
  self_peer().dehilite();
  return kNoValue;
}
Value m_get_title() { return self_peer().get_title(); }
Value m_set_title(Value title) {
  self_peer().set_title(title);
  return kNoValue;
}
Value m_get_constructor() { return self_peer().chain(); }
Value m_set_constructor(Value chain) {
  self_peer().set_chain(chain);
  return kNoValue;
}
Value m_link_object() {
  open_peer(self_object());
  return kNoValue;
}
Value m_close_link() {
  close_peer(self_object());
  return kNoValue;
}
Value m_search_property(Value name) { return self_peer().search_property(g_mem.self, name); }
Value m_search_constructor(Value key) { return search_constructor(self_peer().chain(), key); }
Value m_find_self_config(Value children) { return find_self_config(self_object(), children); }
Value m_setup_constructor(Value initargs) { return self_peer().setup_constructor(g_mem.self, initargs); }

}  // namespace

Value make_static_data_peer() { return make_peer<StaticDataPeer>(); }
Value make_persistence_peer() { return make_peer<PersistencePeer>(); }
Value make_interface_peer() { return make_peer<InterfacePeer>(); }

void register_persistence_classes() {
  Value static_data = make_native_class("obj-static-data", make_static_data_peer, root_class());
  register_method(static_data, "get-name", m_get_name);
  register_method(static_data, "set-name", m_set_name);
  register_method(static_data, "setup-name", m_setup_name);

  Value persistence = make_native_class("obj-persistence", make_persistence_peer, static_data);
  register_method(persistence, "open", m_open);
  register_method(persistence, "show", m_show);
  register_method(persistence, "hide", m_hide);
  register_method(persistence, "enable", m_enable);
  register_method(persistence, "disable", m_disable);
  register_method(persistence, "enabled?", m_enabled_p);
  register_method(persistence, "hilite", m_hilite);
  register_method(persistence, "dehilite", m_dehilite);
  register_method(persistence, "get-title", m_get_title);
  register_method(persistence, "set-title", m_set_title);
  register_method(persistence, "get-constructor", m_get_constructor);
  register_method(persistence, "set-constructor", m_set_constructor);
  register_method(persistence, "link-object", m_link_object);
  register_method(persistence, "close-link", m_close_link);
  register_method(persistence, "search-property", m_search_property);
  register_method(persistence, "search-constructor", m_search_constructor);
  register_method(persistence, "find-self-config", m_find_self_config);
  register_method(persistence, "setup-constructor", m_setup_constructor);

  make_native_class("obj-interface", make_interface_peer, persistence);
}

// The property named key of the object behind `self` (`bind-properties`).
Value search_property(Value key) {
  Value self = self_object();
  return object_peer(self).search_property(self, key);
}

}  // namespace orvane
