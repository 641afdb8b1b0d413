#include "ui/controls/controls_module.h"

#include "core/symbols.h"
#include "objects/native_classes.h"
#include "ui/controls/button_peer.h"
#include "ui/controls/caption_peer.h"
#include "ui/controls/toggle_peers.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"

namespace orvane::ui {

namespace {

Value g_choice_class = kNil;  // set once at registration

Value truth(bool b) { return b ? g_sym.t : kNil; }
ButtonPeer& button() { return peer_as<ButtonPeer>(self_object()); }

Value m_get_default() { return truth(button().is_default()); }
Value m_set_default(Value flag) {
  button().set_default(is_true(flag));
  return kNoValue;
}
Value m_get_3d() { return truth(button().is_3d()); }
Value m_set_3d(Value flag) {
  button().set_3d(is_true(flag));
  return kNoValue;
}

}  // namespace

Value choice_class() { return g_choice_class; }

void register_controls() {
  const Value window = window_class();
  Value button_class = make_native_class("obj-button", make_peer<ButtonPeer>, window);
  make_native_class("obj-checkbox", make_peer<CheckboxPeer>, window);
  g_choice_class = make_native_class("obj-choice", make_peer<ChoicePeer>, window);
  make_native_class("obj-caption", make_peer<CaptionPeer>, window);
  register_method(button_class, "get-default?", m_get_default);
  register_method(button_class, "set-default?", m_set_default);
  register_method(button_class, "get-3d?", m_get_3d);
  register_method(button_class, "set-3d?", m_set_3d);
}

}  // namespace orvane::ui
