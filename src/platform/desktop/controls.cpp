#include "platform/desktop/controls.h"

#include <algorithm>
#include <strings.h>

#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

namespace {

using raster::IntRect;

constexpr std::string_view kPressedProp = "orvane.pressed";
constexpr std::string_view kCaretProp = "orvane.caret";
constexpr std::string_view kCheckedProp = "orvane.checked";

bool class_is(const Desktop& desktop, Hwnd hwnd, std::string_view name) {
  const WindowClass* c = desktop.window_class(hwnd);
  return c && c->name.size() == name.size() && strncasecmp(c->name.data(), name.data(), name.size()) == 0;
}

void notify_parent(Desktop& desktop, Hwnd hwnd, int code) {
  const Hwnd parent = desktop.parent(hwnd);
  if (parent) desktop.send_message(parent, WM_COMMAND, make_wparam(desktop.id(hwnd), code), static_cast<LParam>(hwnd.value));
}

// --- Static --------------------------------------------------------------------

void paint_static(Desktop& desktop, Hwnd hwnd, raster::DeviceContext& dc) {
  const IntRect client = desktop.client_rect(hwnd);
  look::fill(dc, client, look::face);
  const fonts::Font* font = dialog_font();
  if (!font) return;
  const std::uint32_t style = desktop.style(hwnd);
  const bool prefix = (style & SS_NOPREFIX) == 0;
  const std::string text = desktop.window_text(hwnd);
  const bool enabled = desktop.is_enabled(hwnd);
  int y = 0;
  // Each wrapped line is drawn with its own mnemonic marks: a mnemonic only
  // matters on short labels, which do not wrap.
  const std::vector<std::string> lines = wrap_text(*font, text, client.width());
  for (const std::string& line : lines) {
    const int w = prefix ? label_width(*font, line) : font->text_width(line);
    int x = 0;
    if ((style & 0x3) == SS_CENTER) x = (client.width() - w) / 2;
    else if ((style & 0x3) == SS_RIGHT) x = client.width() - w;
    if (prefix) {
      if (enabled) draw_label(dc, *font, {x, y}, line, look::text);
      else draw_embossed_label(dc, *font, {x, y}, line);
    } else {
      font->draw(dc, {x, y}, line, fonts::TextPaint::solid(enabled ? look::text : look::shadow));
    }
    y += font->metrics().line_height;
  }
}

LResult static_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope scope(desktop, hwnd);
      paint_static(desktop, hwnd, scope.dc());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LResult r = desktop.def_window_proc(hwnd, message, wparam, lparam);
      desktop.invalidate_rect(hwnd, nullptr, false);
      return r;
    }
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

// --- Button --------------------------------------------------------------------

bool pressed(const Desktop& desktop, Hwnd hwnd) { return desktop.get_prop(hwnd, kPressedProp).value_or(0) != 0; }

void set_pressed(Desktop& desktop, Hwnd hwnd, bool value) {
  if (pressed(desktop, hwnd) == value) return;
  desktop.set_prop(hwnd, kPressedProp, value ? 1 : 0);
  desktop.invalidate_rect(hwnd, nullptr, false);
}

void paint_button(Desktop& desktop, Hwnd hwnd, raster::DeviceContext& dc) {
  const bool is_default = is_default_button(desktop, hwnd);
  const bool down = pressed(desktop, hwnd);
  const bool focused = desktop.focus() == hwnd;
  const IntRect r = look::push_button(dc, desktop.client_rect(hwnd), down, is_default || focused);
  const fonts::Font* font = dialog_font();
  if (!font) return;
  const std::string text = desktop.window_text(hwnd);
  const int w = label_width(*font, text);
  const int h = font->metrics().line_height;
  const int shift = down ? 1 : 0;
  const raster::IntPoint at{r.left + (r.width() - w) / 2 + shift, r.top + (r.height() - h) / 2 + shift};
  if (desktop.is_enabled(hwnd)) draw_label(dc, *font, at, text, look::text);
  else draw_embossed_label(dc, *font, at, text);
  if (focused) {
    const IntRect inner = r.inflated(-4, -4);
    look::focus_rect(dc, inner);
  }
}

bool checked(const Desktop& desktop, Hwnd hwnd) { return desktop.get_prop(hwnd, kCheckedProp).value_or(0) != 0; }

void set_checked(Desktop& desktop, Hwnd hwnd, bool value) {
  if (checked(desktop, hwnd) == value) return;
  desktop.set_prop(hwnd, kCheckedProp, value ? BST_CHECKED : BST_UNCHECKED);
  desktop.invalidate_rect(hwnd, nullptr, false);
}

// A 13 x 13 sunken box, white (face while pressed), the check mark when
// checked, and the label to its right.
void paint_check_box(Desktop& desktop, Hwnd hwnd, raster::DeviceContext& dc) {
  const IntRect r = desktop.client_rect(hwnd);
  look::fill(dc, r, look::face);
  const bool enabled = desktop.is_enabled(hwnd);
  const IntRect box = IntRect::from_size({0, (r.height() - 13) / 2}, {13, 13});
  look::fill(dc, box, pressed(desktop, hwnd) || !enabled ? look::face : look::window);
  look::sunken_edge(dc, box);
  if (checked(desktop, hwnd)) look::check_mark(dc, {box.left + 3, box.top + 3}, enabled ? look::text : look::shadow);
  const fonts::Font* font = dialog_font();
  if (!font) return;
  const std::string text = desktop.window_text(hwnd);
  const int h = font->metrics().line_height;
  const raster::IntPoint at{box.right + 4, (r.height() - h) / 2};
  if (enabled) draw_label(dc, *font, at, text, look::text);
  else draw_embossed_label(dc, *font, at, text);
  if (desktop.focus() == hwnd)
    look::focus_rect(dc, {at.x - 1, at.y, at.x + label_width(*font, text) + 1, at.y + h});
}

// A click: an automatic check box toggles, then the parent is told.
void clicked(Desktop& desktop, Hwnd hwnd) {
  if ((desktop.style(hwnd) & 0xf) == BS_AUTOCHECKBOX) set_checked(desktop, hwnd, !checked(desktop, hwnd));
  notify_parent(desktop, hwnd, BN_CLICKED);
}

LResult button_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope scope(desktop, hwnd);
      if (is_check_box(desktop, hwnd)) paint_check_box(desktop, hwnd, scope.dc());
      else paint_button(desktop, hwnd, scope.dc());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      desktop.set_capture(hwnd);
      desktop.set_focus(hwnd);
      set_pressed(desktop, hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (desktop.capture() == hwnd) set_pressed(desktop, hwnd, desktop.client_rect(hwnd).contains(point_of(lparam)));
      return 0;
    case WM_LBUTTONUP:
      if (desktop.capture() == hwnd) {
        const bool click = pressed(desktop, hwnd);
        set_pressed(desktop, hwnd, false);
        desktop.release_capture();
        if (click) clicked(desktop, hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      set_pressed(desktop, hwnd, false);
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE) set_pressed(desktop, hwnd, true);
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE && pressed(desktop, hwnd)) {
        set_pressed(desktop, hwnd, false);
        clicked(desktop, hwnd);
      }
      return 0;
    case BM_CLICK:
      if (desktop.is_enabled(hwnd)) clicked(desktop, hwnd);
      return 0;
    case BM_GETCHECK: return checked(desktop, hwnd) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (is_check_box(desktop, hwnd)) set_checked(desktop, hwnd, wparam == BST_CHECKED);
      return 0;
    case BM_GETSTATE: return pressed(desktop, hwnd) ? 4 : 0;
    case BM_SETSTATE: set_pressed(desktop, hwnd, wparam != 0); return 0;
    case BM_SETSTYLE:
      desktop.set_style(hwnd, (desktop.style(hwnd) & ~0xfu) | (static_cast<std::uint32_t>(wparam) & 0xf));
      if (lparam) desktop.invalidate_rect(hwnd, nullptr, false);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LResult r = desktop.def_window_proc(hwnd, message, wparam, lparam);
      desktop.invalidate_rect(hwnd, nullptr, false);
      return r;
    }
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

// --- Edit --------------------------------------------------------------------------

void set_edit_caret(Desktop& desktop, Hwnd hwnd, int position) {
  const int length = static_cast<int>(desktop.window_text(hwnd).size());
  desktop.set_prop(hwnd, kCaretProp, std::clamp(position, 0, length));
  desktop.invalidate_rect(hwnd, nullptr, false);
}

void paint_edit(Desktop& desktop, Hwnd hwnd, raster::DeviceContext& dc) {
  const IntRect r = desktop.client_rect(hwnd);
  const bool enabled = desktop.is_enabled(hwnd);
  look::fill(dc, r, enabled ? look::window : look::face);
  look::sunken_edge(dc, r);
  const fonts::Font* font = dialog_font();
  if (!font) return;
  const std::string text = desktop.window_text(hwnd);
  const int caret = edit_caret(desktop, hwnd);
  raster::StateSaver saver(dc);
  const IntRect inner = r.inflated(-3, -2);
  dc.intersect_clip_rect(inner);
  // Scrolled so that the caret stays inside the field.
  const int caret_x = font->text_width(std::string_view(text).substr(0, static_cast<std::size_t>(caret)));
  const int scroll = std::max(0, caret_x - (inner.width() - 2));
  const int top = inner.top + (inner.height() - font->metrics().line_height) / 2;
  font->draw(dc, {inner.left - scroll, top}, text, fonts::TextPaint::solid(enabled ? look::text : look::shadow));
  if (desktop.focus() == hwnd)
    look::fill(dc, {inner.left - scroll + caret_x, top, inner.left - scroll + caret_x + 1, top + font->metrics().line_height},
               look::text);
}

void edit_text(Desktop& desktop, Hwnd hwnd, std::string text, int caret) {
  desktop.set_window_text(hwnd, text);
  set_edit_caret(desktop, hwnd, caret);
  notify_parent(desktop, hwnd, EN_CHANGE);
}

LResult edit_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope scope(desktop, hwnd);
      paint_edit(desktop, hwnd, scope.dc());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
      desktop.set_focus(hwnd);
      set_edit_caret(desktop, hwnd, static_cast<int>(desktop.window_text(hwnd).size()));
      return 0;
    case WM_CHAR: {
      if (desktop.style(hwnd) & ES_READONLY) return 0;
      std::string text = desktop.window_text(hwnd);
      const int caret = edit_caret(desktop, hwnd);
      const auto c = static_cast<unsigned char>(wparam);
      if (c == VK_BACK) {
        if (caret > 0) {
          text.erase(static_cast<std::size_t>(caret) - 1, 1);
          edit_text(desktop, hwnd, std::move(text), caret - 1);
        }
      } else if (c >= 0x20 && c != 0x7f) {
        text.insert(static_cast<std::size_t>(caret), 1, static_cast<char>(c));
        edit_text(desktop, hwnd, std::move(text), caret + 1);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      const int caret = edit_caret(desktop, hwnd);
      const int length = static_cast<int>(desktop.window_text(hwnd).size());
      switch (wparam) {
        case VK_LEFT: set_edit_caret(desktop, hwnd, caret - 1); break;
        case VK_RIGHT: set_edit_caret(desktop, hwnd, caret + 1); break;
        case VK_HOME: set_edit_caret(desktop, hwnd, 0); break;
        case VK_END: set_edit_caret(desktop, hwnd, length); break;
        case VK_DELETE:
          if (caret < length && !(desktop.style(hwnd) & ES_READONLY)) {
            std::string text = desktop.window_text(hwnd);
            text.erase(static_cast<std::size_t>(caret), 1);
            edit_text(desktop, hwnd, std::move(text), caret);
          }
          break;
        default: break;
      }
      return 0;
    }
    case EM_SETSEL: set_edit_caret(desktop, hwnd, static_cast<int>(lparam)); return 0;
    case EM_GETSEL: {
      const int caret = edit_caret(desktop, hwnd);
      return make_lparam(caret, caret);
    }
    case WM_SETTEXT: {
      const LResult r = desktop.def_window_proc(hwnd, message, wparam, lparam);
      set_edit_caret(desktop, hwnd, edit_caret(desktop, hwnd));
      return r;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      const LResult r = desktop.def_window_proc(hwnd, message, wparam, lparam);
      desktop.invalidate_rect(hwnd, nullptr, false);
      return r;
    }
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

void register_one(Desktop& desktop, std::string_view name, WindowProc procedure, std::uint32_t style,
                  platform::CursorShape cursor = platform::CursorShape::arrow) {
  if (desktop.find_class(name)) return;
  WindowClass c;
  c.name = std::string(name);
  c.style = style;
  c.procedure = std::move(procedure);
  c.cursor = cursor;
  desktop.register_class(std::move(c));
}

}  // namespace

void register_control_classes(Desktop& desktop) {
  register_one(desktop, kStaticClass, static_procedure, 0);
  register_one(desktop, kButtonClass, button_procedure, CS_DBLCLKS);
  register_one(desktop, kEditClass, edit_procedure, CS_DBLCLKS, platform::CursorShape::ibeam);
  register_list_box_class(desktop);
}

bool is_push_button(const Desktop& desktop, Hwnd hwnd) {
  return class_is(desktop, hwnd, kButtonClass) && (desktop.style(hwnd) & 0xe) == 0;
}

bool is_default_button(const Desktop& desktop, Hwnd hwnd) {
  return is_push_button(desktop, hwnd) && (desktop.style(hwnd) & 0xf) == BS_DEFPUSHBUTTON;
}

bool is_check_box(const Desktop& desktop, Hwnd hwnd) {
  const std::uint32_t kind = desktop.style(hwnd) & 0xf;
  return class_is(desktop, hwnd, kButtonClass) && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX);
}

bool is_edit_control(const Desktop& desktop, Hwnd hwnd) { return class_is(desktop, hwnd, kEditClass); }

int edit_caret(const Desktop& desktop, Hwnd edit) {
  const int length = static_cast<int>(desktop.window_text(edit).size());
  return std::clamp(static_cast<int>(desktop.get_prop(edit, kCaretProp).value_or(length)), 0, length);
}

}  // namespace orvane::desktop
