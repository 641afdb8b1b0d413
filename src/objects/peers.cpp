#include "objects/peers.h"

#include "core/memory.h"
#include "objects/configurations.h"
#include "objects/object_system.h"
#include "reader/format_resources.h"
#include "reader/printer.h"

namespace orvane {

using namespace objects;

void Peer::setup_name(Value object, Value initargs) { setup_object_name(object, initargs); }

Value Peer::setup_constructor(Value object, Value initargs) {
  Value chain = build_constructor_chain(object, initargs);
  set_chain(chain);
  return chain;
}

Value Peer::search_property(Value object, Value name) { return objects::search_property(object, chain(), name); }

void PersistencePeer::mark_values(ValueMarker& m) {
  StaticDataPeer::mark_values(m);
  m.mark(object_);
  m.mark(chain_);
  m.mark(title_);
}

void PersistencePeer::open(Value object) {
  object_ = object;
  Value name = value_in(object, g_objects.sym.name);
  set_name(name == kNoValue ? kNil : name);
}

Value PersistencePeer::get_title() {
  if (title_ != kNoValue) return title_;
  return title_text(search_property(object_, g_objects.sym.title));
}

void PersistencePeer::set_title(Value title) {
  Value text = title_text(title);
  if (text != kNil) title_ = text;
}

Value title_text(Value title) {
  if (title == kNoValue) return kNil;
  if (is_string(title)) return title;
  if (is_pair(title) && is_fixnum(car(title)) && is_fixnum(cdr(title))) {
    auto text = string_list_text(car(title).fixnum(), cdr(title).fixnum());
    return text && !text->empty() ? make_string(*text) : kNil;
  }
  return make_string(value_to_text(title));
}

}  // namespace orvane
