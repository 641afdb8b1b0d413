#include "platform/desktop/dialog.h"

#include <algorithm>

#include "platform/desktop/controls.h"
#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

namespace {

using raster::IntRect;

constexpr std::string_view kDialogClass = "#32770";

bool is_input_message(std::uint32_t m) {
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) ||
         (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

std::string_view class_of(ControlKind kind) {
  switch (kind) {
    case ControlKind::push_button:
    case ControlKind::check_box: return kButtonClass;
    case ControlKind::edit: return kEditClass;
    case ControlKind::list_box: return kListBoxClass;
    default: return kStaticClass;
  }
}

std::uint32_t default_style(ControlKind kind) {
  switch (kind) {
    case ControlKind::push_button: return WS_TABSTOP;
    case ControlKind::check_box: return WS_TABSTOP;
    case ControlKind::edit: return WS_TABSTOP | ES_AUTOHSCROLL;
    case ControlKind::list_box: return WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
    default: return 0;
  }
}

}  // namespace

Dialogs::Dialogs(Desktop& desktop) : desktop_(desktop) {
  register_control_classes(desktop_);
  if (!desktop_.find_class(kDialogClass)) {
    WindowClass c;
    c.name = std::string(kDialogClass);
    c.background = look::face;
    c.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) { return d.def_window_proc(h, m, w, l); };
    desktop_.register_class(std::move(c));
  }
}

Dialogs::~Dialogs() {
  for (auto& [hwnd, running] : running_) running.ended = true;
}

IntRect Dialogs::units_to_pixels(const IntRect& units) {
  int base_x = 6, base_y = 13;
  if (const fonts::Font* font = dialog_font()) {
    static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    base_x = (font->text_width(kAlphabet) / 26 + 1) / 2;
    base_y = font->metrics().line_height;
  }
  auto x = [&](int v) { return v * base_x / 4; };
  auto y = [&](int v) { return v * base_y / 8; };
  return {x(units.left), y(units.top), x(units.right), y(units.bottom)};
}

bool Dialogs::belongs_to(Hwnd dialog, Hwnd hwnd) const {
  return hwnd == dialog || desktop_.is_child(dialog, hwnd);
}

Hwnd Dialogs::dialog_item(Hwnd dialog, int id) const {
  for (Hwnd child : desktop_.children(dialog))
    if (desktop_.id(child) == id) return child;
  return {};
}

std::string Dialogs::item_text(Hwnd dialog, int id) const {
  const Hwnd item = dialog_item(dialog, id);
  return item ? desktop_.window_text(item) : std::string();
}

bool Dialogs::set_item_text(Hwnd dialog, int id, std::string_view text) {
  const Hwnd item = dialog_item(dialog, id);
  return item && desktop_.set_window_text(item, text);
}

bool Dialogs::end_dialog(Hwnd dialog, int result) {
  auto it = running_.find(dialog);
  if (it == running_.end()) return false;
  it->second.ended = true;
  it->second.result = result;
  return true;
}

Hwnd Dialogs::default_button(Hwnd dialog) const {
  for (Hwnd child : desktop_.children(dialog))
    if (is_default_button(desktop_, child)) return child;
  return {};
}

LResult Dialogs::dialog_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam,
                                  LParam lparam) {
  auto it = running_.find(hwnd);
  if (it != running_.end() && it->second.procedure) {
    // The procedure may end the dialog or run another; copy it first.
    DialogProc procedure = it->second.procedure;
    const bool handled = procedure(desktop, hwnd, message, wparam, lparam);
    // For WM_INITDIALOG the answer itself matters: true gives the focus to
    // the control offered, false means the procedure placed it.
    if (message == WM_INITDIALOG) return handled ? 1 : 0;
    if (handled) return 1;
    it = running_.find(hwnd);
  }
  if (it == running_.end()) return desktop.def_window_proc(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: {
      const int id = low_word(wparam);
      const Hwnd from{static_cast<std::uint32_t>(lparam)};
      if (from && is_push_button(desktop, from) && high_word(wparam) == BN_CLICKED) {
        end_dialog(hwnd, id);
      } else if (!from && id == IDCANCEL) {
        const Hwnd cancel = dialog_item(hwnd, IDCANCEL);
        end_dialog(hwnd, cancel && desktop.is_enabled(cancel) ? IDCANCEL : it->second.close_result);
      } else if (!from && id == IDOK) {
        end_dialog(hwnd, IDOK);
      }
      return 0;
    }
    case WM_INITDIALOG:
      return 1;  // the focus goes to the control in wparam
    case WM_CLOSE:
      end_dialog(hwnd, it->second.close_result);
      return 0;
    case DM_GETDEFID: {
      const Hwnd button = default_button(hwnd);
      return button ? make_lparam(desktop.id(button), 0x534b) : 0;
    }
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

void Dialogs::move_focus(Hwnd dialog, bool backwards) {
  std::vector<Hwnd> stops;
  // children() runs from the top of the z-order down; creation order is the reverse.
  std::vector<Hwnd> children = desktop_.children(dialog);
  std::reverse(children.begin(), children.end());
  for (Hwnd child : children)
    if ((desktop_.style(child) & WS_TABSTOP) && desktop_.is_visible(child) && desktop_.is_enabled(child))
      stops.push_back(child);
  if (stops.empty()) return;
  auto current = std::find(stops.begin(), stops.end(), desktop_.focus());
  std::size_t index = 0;
  if (current != stops.end()) {
    const auto at = static_cast<std::size_t>(current - stops.begin());
    index = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  desktop_.set_focus(stops[index]);
}

bool Dialogs::dialog_key(Hwnd dialog, const Message& m) {
  const Hwnd focus = desktop_.focus();
  if (m.message == WM_KEYDOWN) {
    switch (m.wparam) {
      case VK_RETURN: {
        Hwnd button = is_push_button(desktop_, focus) && belongs_to(dialog, focus) ? focus : default_button(dialog);
        if (button && desktop_.is_enabled(button))
          desktop_.send_message(dialog, WM_COMMAND, make_wparam(desktop_.id(button), BN_CLICKED),
                                static_cast<LParam>(button.value));
        else if (!button)
          desktop_.send_message(dialog, WM_COMMAND, make_wparam(IDOK, 0), 0);
        return true;
      }
      case VK_ESCAPE:
        desktop_.send_message(dialog, WM_COMMAND, make_wparam(IDCANCEL, 0), 0);
        return true;
      case VK_TAB:
        move_focus(dialog, desktop_.key_down(VK_SHIFT));
        return true;
      default:
        return false;
    }
  }
  const bool alt_char = m.message == WM_SYSCHAR;
  const bool plain_char = m.message == WM_CHAR && !is_edit_control(desktop_, focus);
  if (alt_char || plain_char) {
    const char wanted = lower_key(static_cast<char>(m.wparam));
    for (Hwnd child : desktop_.children(dialog)) {
      const bool check_box = is_check_box(desktop_, child);
      if (!(is_push_button(desktop_, child) || check_box) || !desktop_.is_enabled(child)) continue;
      if (parse_label(desktop_.window_text(child)).mnemonic() == wanted && wanted != 0) {
        if (check_box) desktop_.set_focus(child);
        desktop_.send_message(child, BM_CLICK, 0, 0);
        return true;
      }
    }
    // Enter, Escape and Tab were handled as keys; their characters are eaten.
    return alt_char || wanted == '\r' || wanted == 27 || wanted == '\t';
  }
  return false;
}

int Dialogs::dialog_box(const DialogTemplate& dialog, Hwnd owner, DialogProc procedure, LParam init) {
  if (owner && !desktop_.is_window(owner)) owner = {};
  if (owner) owner = desktop_.top_level(owner);
  const auto to_pixels = [&](const IntRect& r) { return dialog.dialog_units ? units_to_pixels(r) : r; };
  const IntRect client = to_pixels(IntRect::from_size({0, 0}, dialog.size));

  const std::uint32_t style = WS_POPUP | WS_CLIPCHILDREN |
                              (dialog.caption.empty() ? WS_DLGFRAME : WS_CAPTION | WS_SYSMENU);
  const std::uint32_t ex_style = WS_EX_DLGMODALFRAME;
  const IntRect outer = desktop_.adjust_window_rect(client, style, ex_style);
  const IntRect screen = desktop_.framebuffer().bounds();
  const IntRect over = owner ? desktop_.window_rect(owner) : screen;
  int x = over.left + (over.width() - outer.width()) / 2;
  int y = over.top + (over.height() - outer.height()) / 2;
  x = std::clamp(x, 0, std::max(0, screen.width() - outer.width()));
  y = std::clamp(y, 0, std::max(0, screen.height() - outer.height()));

  CreateParams params;
  params.class_name = std::string(kDialogClass);
  params.text = dialog.caption;
  params.style = style;
  params.ex_style = ex_style;
  params.x = x;
  params.y = y;
  params.width = outer.width();
  params.height = outer.height();
  params.parent = owner;
  const Hwnd hwnd = desktop_.create_window(params);
  if (!hwnd) return -1;
  running_[hwnd] = Running{std::move(procedure), dialog.close_result, false, 0};
  desktop_.set_window_proc(hwnd, [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) {
    return dialog_procedure(d, h, m, w, l);
  });

  Hwnd first_stop;
  for (const DialogControl& control : dialog.controls) {
    const IntRect r = to_pixels(control.rect);
    CreateParams c;
    c.class_name = std::string(class_of(control.kind));
    c.text = control.text;
    c.style = WS_CHILD | WS_VISIBLE | default_style(control.kind) | control.style;
    if (control.kind == ControlKind::check_box && (control.style & 0xf) == 0) c.style |= BS_AUTOCHECKBOX;
    c.x = r.left;
    c.y = r.top;
    c.width = r.width();
    c.height = r.height();
    c.parent = hwnd;
    c.id = control.id;
    const Hwnd item = desktop_.create_window(c);
    if (item && !first_stop && (c.style & WS_TABSTOP) && !(c.style & WS_DISABLED)) first_stop = item;
  }

  const bool owner_was_enabled = owner && desktop_.is_enabled(owner);
  if (owner_was_enabled) desktop_.enable_window(owner, false);
  stack_.push_back(hwnd);

  // As in Win32, WM_INITDIALOG offers the first tab stop; a procedure that
  // sets the focus itself answers false.
  const Hwnd initial_focus = first_stop;
  const LResult set_focus =
      desktop_.send_message(hwnd, WM_INITDIALOG, static_cast<WParam>(initial_focus.value), init);
  auto it = running_.find(hwnd);
  if (desktop_.is_window(hwnd) && it != running_.end() && !it->second.ended) {
    desktop_.show_window(hwnd, SW_SHOW);
    desktop_.set_active_window(hwnd);
    if (set_focus && initial_focus && desktop_.is_window(initial_focus)) desktop_.set_focus(initial_focus);
  }

  std::optional<int> quit_code;
  while (true) {
    it = running_.find(hwnd);
    if (it == running_.end() || it->second.ended || !desktop_.is_window(hwnd)) break;
    Message m;
    if (!desktop_.get_message(m)) {
      quit_code = static_cast<int>(m.wparam);
      break;
    }
    const bool mine = belongs_to(hwnd, m.hwnd);
    if (is_input_message(m.message) && !mine) continue;
    if (mine && dialog_key(hwnd, m)) continue;
    desktop_.translate_message(m);
    desktop_.dispatch_message(m);
  }

  it = running_.find(hwnd);
  int result = dialog.close_result;
  if (it != running_.end()) {
    if (it->second.ended) result = it->second.result;
    running_.erase(it);
  }
  stack_.erase(std::remove(stack_.begin(), stack_.end(), hwnd), stack_.end());
  // The owner is enabled again before the dialog goes, so that it is the
  // window activated next.
  if (owner_was_enabled && desktop_.is_window(owner)) desktop_.enable_window(owner, true);
  if (desktop_.is_window(hwnd)) desktop_.destroy_window(hwnd);
  if (owner && desktop_.is_window(owner) && !desktop_.active_window()) desktop_.set_active_window(owner);
  if (quit_code) desktop_.post_quit_message(*quit_code);
  return result;
}

// --- Message boxes ------------------------------------------------------------------

int Dialogs::alert(Hwnd owner, const Alert& box) {
  constexpr int kMargin = 12;
  constexpr int kButtonWidth = 75;
  constexpr int kButtonHeight = 23;
  constexpr int kButtonGap = 6;
  constexpr int kMaxTextWidth = 360;

  const fonts::Font* font = dialog_font();
  int text_width = 0, text_height = 13;
  if (font) {
    const std::vector<std::string> lines = wrap_text(*font, box.text, kMaxTextWidth);
    for (const std::string& line : lines) text_width = std::max(text_width, font->text_width(line));
    text_height = static_cast<int>(lines.size()) * font->metrics().line_height;
  }
  const int buttons = static_cast<int>(box.buttons.size());
  const int row = buttons * kButtonWidth + std::max(0, buttons - 1) * kButtonGap;
  const int width = std::max(text_width, row) + 2 * kMargin;
  const int button_top = kMargin + text_height + kMargin;

  DialogTemplate dialog;
  dialog.caption = box.caption;
  dialog.size = {width, button_top + kButtonHeight + kMargin};
  dialog.close_result = box.close_result;
  // The text control keeps the id of the start-up alerts' text (99).
  dialog.controls.push_back({ControlKind::static_text, 99, box.text,
                             {kMargin, kMargin, kMargin + std::max(text_width, 1) + 1, kMargin + text_height},
                             SS_NOPREFIX});
  int x = (width - row) / 2;
  for (int i = 0; i < buttons; ++i) {
    const AlertButton& button = box.buttons[static_cast<std::size_t>(i)];
    const std::uint32_t style = i == box.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    dialog.controls.push_back({ControlKind::push_button, button.id, button.text,
                               {x, button_top, x + kButtonWidth, button_top + kButtonHeight}, style});
    x += kButtonWidth + kButtonGap;
  }
  // The default button starts with the focus, whatever its place.
  const int default_id = box.default_button >= 0 && box.default_button < buttons
                             ? box.buttons[static_cast<std::size_t>(box.default_button)].id
                             : 0;
  DialogProc focus_default = [this, default_id](Desktop& d, Hwnd dlg, std::uint32_t message, WParam, LParam) {
    if (message != WM_INITDIALOG) return false;
    const Hwnd button = default_id ? dialog_item(dlg, default_id) : Hwnd{};
    if (!button) return true;
    d.set_focus(button);
    return false;
  };
  return dialog_box(dialog, owner, std::move(focus_default));
}

int Dialogs::message_box(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t type) {
  Alert box;
  box.text = std::string(text);
  box.caption = std::string(caption);
  switch (type & 0xf) {
    case MB_OKCANCEL: box.buttons = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}; break;
    case MB_ABORTRETRYIGNORE: box.buttons = {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}}; break;
    case MB_YESNOCANCEL: box.buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}}; break;
    case MB_YESNO: box.buttons = {{IDYES, "&Yes"}, {IDNO, "&No"}}; break;
    case MB_RETRYCANCEL: box.buttons = {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}}; break;
    default: box.buttons = {{IDOK, "OK"}}; break;
  }
  box.default_button = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
  box.default_button = std::min(box.default_button, static_cast<int>(box.buttons.size()) - 1);
  // Closing a box that has no Cancel button answers IDOK for an OK box, IDNO
  // for a Yes/No box and IDABORT for Abort/Retry/Ignore (Win32 lets the last
  // two not close at all).
  const bool has_cancel = std::any_of(box.buttons.begin(), box.buttons.end(),
                                      [](const AlertButton& b) { return b.id == IDCANCEL; });
  box.close_result = has_cancel ? IDCANCEL : (type & 0xf) == MB_YESNO ? IDNO
                                           : (type & 0xf) == MB_ABORTRETRYIGNORE ? IDABORT : IDOK;
  return alert(owner, box);
}

}  // namespace orvane::desktop
