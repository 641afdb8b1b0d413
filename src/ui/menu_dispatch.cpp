// Placeholder definitions, replaced by the menus.
#include "ui/menu_dispatch.h"

namespace orvane::ui {

bool dispatch_menu_command(std::uint32_t) { return false; }
void menu_popup_opening(desktop::Hmenu) {}
bool is_item_command(std::uint32_t) { return false; }

}  // namespace orvane::ui
