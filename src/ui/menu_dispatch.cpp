#include "ui/menu_dispatch.h"

#include <vector>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/menu_accelerators.h"
#include "ui/menu_record.h"
#include "ui/menu_tree.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

struct CommandOwner {
  MenuRecord* record = nullptr;
  bool font_entry = false;  // an entry of the record's font list, not the record itself
};

// Searches the tree from the root, depth first.
CommandOwner find_command(std::uint32_t command) {
  CommandOwner owner;
  find_record([&](MenuRecord& r) {
    if (r.is_item() && r.command() == command) {
      owner = {&r, false};
      return true;
    }
    for (const MenuSlot& slot : r.slots())
      if (!slot.child && slot.font_command == command) {
        owner = {&r, true};
        return true;
      }
    return false;
  });
  return owner;
}

void send_font_to_focus(const MenuRecord& menu, std::uint32_t command) {
  Value text = make_string(menu.font_entry_text(command));
  WindowPeer* focus = layer().key_focus;
  if (!focus) return;
  Value object = focus->lisp_object();
  if (object == kNil || object == kNoValue) return;
  send(object, intern("set-text-font"), {text});
}

// The menus a chosen item lies in, outermost first (the root left out).
std::vector<MenuRecord*> menus_holding(const MenuRecord& item) {
  std::vector<MenuRecord*> chain;
  for (MenuRecord* p = item.parent(); p && !p->is_root(); p = p->parent()) chain.insert(chain.begin(), p);
  return chain;
}

// Whether the user could reach the item: the bar and its menus on the way
// are shown.
bool reachable(const MenuRecord& item) {
  for (const MenuRecord* p = item.parent(); p; p = p->parent()) {
    const bool on_bar = p->is_bar() || (p->parent() && p->parent()->is_bar());
    if (on_bar && !p->visible()) return false;
  }
  return true;
}

// Whether a Value can be applied: `update` may also be a plain slot.
bool is_procedure(Value v) {
  switch (v.tag()) {
    case tag::function:
    case tag::primitive:
    case tag::special:
    case tag::predicate:
    case tag::lexical:
    case tag::gamma:
    case tag::closed:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<Value> choose_menu_command(std::uint32_t command) {
  CommandOwner owner = find_command(command);
  if (!owner.record) return std::nullopt;
  if (!owner.font_entry) return owner.record->object();
  send_font_to_focus(*owner.record, command);
  return kNil;
}

bool dispatch_menu_command(std::uint32_t command) {
  CommandOwner owner = find_command(command);
  if (!owner.record) return false;
  if (owner.font_entry)
    send_font_to_focus(*owner.record, command);
  else
    send(owner.record->object(), intern("select"), {kNil});
  return true;
}

bool is_item_command(std::uint32_t command) {
  CommandOwner owner = find_command(command);
  return owner.record && !owner.font_entry;
}

void menu_popup_opening(desktop::Hmenu menu) {
  if (!menu) return;
  MenuRecord* record = find_record([&](MenuRecord& r) { return r.system_menu() == menu; });
  if (!record) return;
  Value object = record->object();
  // A menu without an `update` method has nothing to bring up to date.
  if (!is_procedure(value_in_object(object, "update"))) return;
  send(object, intern("update"), {});
}

bool translate_menu_accelerator(int virtual_key, bool control, bool shift, bool alt) {
  using namespace desktop;
  desktop::Menus* menus = attached_menus();
  if (!control || shift || alt || !menus || !menu_frame()) return false;
  MenuRecord* item = find_record([&](MenuRecord& r) {
    if (!r.is_item() || r.separator() || !reachable(r)) return false;
    auto key = accelerator_key(r.accelerator());
    return key && accelerator_virtual_key(*key) == virtual_key;
  });
  if (!item) return false;
  const std::uint32_t command = item->command();
  Desktop& d = menus->desktop();
  const Hwnd frame = menu_frame();
  for (MenuRecord* menu : menus_holding(*item)) {
    if (!menu->system_menu()) continue;
    if (menu->is_bar())
      d.send_message(frame, WM_INITMENU, menu->system_menu().value, 0);
    else
      d.send_message(frame, WM_INITMENUPOPUP, menu->system_menu().value, 0);
  }
  // `update` may have closed the item or greyed it.
  item = find_record([&](MenuRecord& r) { return r.is_item() && r.command() == command; });
  if (item && item->enabled())
    d.send_message(frame, WM_COMMAND, make_wparam(static_cast<int>(command), 1), 0);
  return true;
}

}  // namespace orvane::ui
