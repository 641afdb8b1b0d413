// The simple controls dialogs are built from, as window classes of the
// desktop: "Static" (text, SS_LEFT / SS_CENTER / SS_RIGHT, "&" mnemonics
// unless SS_NOPREFIX), "Button" (push buttons, BS_DEFPUSHBUTTON for the
// default one; check boxes, BS_CHECKBOX and BS_AUTOCHECKBOX, which toggles
// itself, with BM_GETCHECK and BM_SETCHECK; a click sends WM_COMMAND with
// BN_CLICKED to the parent),
// "Edit" (one line of text: typing, Backspace, Delete, Home, End, arrows;
// EN_CHANGE to the parent) and "ListBox" (strings, one selected, LB_
// messages; LBN_SELCHANGE and LBN_DBLCLK with LBS_NOTIFY; scrolled by the
// standard scroll bar with WS_VSCROLL). All in the classic look, with the
// dialog font.
#pragma once

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

inline constexpr std::string_view kStaticClass = "Static";
inline constexpr std::string_view kButtonClass = "Button";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kListBoxClass = "ListBox";

// Registers the four classes with the desktop (once; later calls do nothing).
void register_control_classes(Desktop& desktop);
void register_list_box_class(Desktop& desktop);

// Whether the window is a push button, and whether it is the default one.
bool is_push_button(const Desktop& desktop, Hwnd hwnd);
bool is_default_button(const Desktop& desktop, Hwnd hwnd);
bool is_check_box(const Desktop& desktop, Hwnd hwnd);
bool is_edit_control(const Desktop& desktop, Hwnd hwnd);

// The edit control's caret position (a byte index into its text).
int edit_caret(const Desktop& desktop, Hwnd edit);

}  // namespace orvane::desktop
