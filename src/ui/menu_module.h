// The menus' module: the native class `obj-menu` under `obj-interface`, its
// methods, the plain menu primitives, and `popup-select` on `obj-window`.
#pragma once

#include "core/value.h"

namespace orvane::ui {

// Creates `obj-menu`, registers its methods and primitives and
// `popup-select` on the window class (after register_windows), and starts
// a fresh menu tree.
void register_menus();
// The class (nil before registration).
Value menu_class();
// A new menu record as a pointer Value ("cpp object"); error 9 when it
// cannot be allocated.
Value make_menu_record();

// `popup-select` menu _ _: the method of `obj-window` (menu_popup.cpp).
Value window_popup_select(Value menu, Value, Value);

}  // namespace orvane::ui
