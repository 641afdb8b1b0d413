// `popup-select` of `obj-window`: a menu tracked as a pop-up at the
// receiver's place on the screen.
#include "core/errors.h"
#include "core/memory.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "ui/menu_dispatch.h"
#include "ui/menu_module.h"
#include "ui/menu_record.h"
#include "ui/menu_tree.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

// The chosen item's object; nil for a font entry (after `set-text-font` to
// the key focus object) and when nothing was chosen.
Value window_popup_select(Value menu, Value, Value) {
  using namespace desktop;
  WindowPeer& window = window_peer(g_mem.self);
  MenuRecord& record = menu_record(menu);
  if (record.is_item()) raise_error(2, menu);
  desktop::Menus* menus = attached_menus();
  if (!menus || !record.system_menu()) raise_error(47, menu);
  if (!window.hwnd) raise_error(2, g_mem.self);
  const raster::IntPoint at = window_desktop().client_to_screen(window.hwnd, {0, 0});
  const int command =
      menus->track_popup_menu(record.system_menu(), TPM_LEFTBUTTON | TPM_RETURNCMD, at, menu_frame());
  if (command <= 0) return kNil;
  return choose_menu_command(static_cast<std::uint32_t>(command)).value_or(kNil);
}

}  // namespace orvane::ui
