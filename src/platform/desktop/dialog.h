// Modal dialog boxes built from the desktop's simple controls, and the
// message box the run-time's alerts use.
//
// dialog_box runs a modal loop through the desktop's queue: the owner is
// disabled, every window keeps painting and its timers keep running, input
// meant for windows outside the dialog is dropped, and the dialog's own
// keyboard works as Win32's IsDialogMessage does (Enter = the focused push
// button or else the default one, Escape = IDCANCEL, Tab and Shift+Tab move
// the focus, Alt with a mnemonic clicks that button). A push button ends the
// dialog with its id unless the dialog procedure handles the command.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

enum class ControlKind { static_text, push_button, check_box, edit, list_box };

struct DialogControl {
  ControlKind kind = ControlKind::static_text;
  int id = 0;
  std::string text;
  raster::IntRect rect;     // in the dialog's client area
  std::uint32_t style = 0;  // SS_, BS_, ES_ bits and WS_TABSTOP, WS_DISABLED
};

struct DialogTemplate {
  std::string caption;  // empty: no caption bar, a dialog frame only
  raster::IntSize size;  // the client area
  std::vector<DialogControl> controls;
  // Rectangles and size in dialog units of the dialog font (a quarter of its
  // average width, an eighth of its height), as resource templates give them.
  bool dialog_units = false;
  // The answer when the dialog is closed without a button: its close box, a
  // quit, or Escape when it has no IDCANCEL button.
  int close_result = IDCANCEL;
};

// A dialog procedure: answers true when it handled the message. It sees
// WM_INITDIALOG (wparam: the control to get the focus; lparam: the caller's
// value), WM_COMMAND and everything else the dialog window receives.
using DialogProc = std::function<bool(Desktop&, Hwnd dialog, std::uint32_t message, WParam, LParam)>;

struct AlertButton {
  int id = IDOK;
  std::string text;
};

// A message box: the text (line feeds break lines, long lines wrap), an
// optional caption, the buttons left to right, which one is the default.
struct Alert {
  std::string text;
  std::string caption;
  std::vector<AlertButton> buttons{{IDOK, "OK"}};
  int default_button = 0;  // index into buttons
  int close_result = IDCANCEL;
};

class Dialogs {
 public:
  // Registers the dialog and control classes; the desktop must outlive this.
  explicit Dialogs(Desktop& desktop);
  ~Dialogs();
  Dialogs(const Dialogs&) = delete;
  Dialogs& operator=(const Dialogs&) = delete;

  // Runs the dialog modally; answers the id it ended with.
  int dialog_box(const DialogTemplate& dialog, Hwnd owner, DialogProc procedure = {}, LParam init = 0);
  // Ends a running dialog with that result (from its procedure or a control).
  bool end_dialog(Hwnd dialog, int result);

  Hwnd dialog_item(Hwnd dialog, int id) const;
  std::string item_text(Hwnd dialog, int id) const;
  bool set_item_text(Hwnd dialog, int id, std::string_view text);
  // The dialog currently running innermost; none when no dialog runs.
  Hwnd active_dialog() const { return stack_.empty() ? Hwnd{} : stack_.back(); }

  int alert(Hwnd owner, const Alert& box);
  // MessageBox with MB_OK ... MB_RETRYCANCEL and MB_DEFBUTTON2 / 3.
  int message_box(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t type);

  // Pixels of dialog units in the dialog font.
  static raster::IntRect units_to_pixels(const raster::IntRect& units);

 private:
  struct Running {
    DialogProc procedure;
    int close_result = IDCANCEL;
    bool ended = false;
    int result = 0;
  };

  LResult dialog_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam);
  // IsDialogMessage: true when the message was the dialog's keyboard.
  bool dialog_key(Hwnd dialog, const Message& m);
  void move_focus(Hwnd dialog, bool backwards);
  Hwnd default_button(Hwnd dialog) const;
  bool belongs_to(Hwnd dialog, Hwnd hwnd) const;

  Desktop& desktop_;
  std::unordered_map<Hwnd, Running> running_;
  std::vector<Hwnd> stack_;
};

}  // namespace orvane::desktop
