#include "platform/desktop/color_dialog.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "platform/desktop/ui_look.h"

namespace orvane::desktop {

namespace {

using raster::Color;
using raster::IntRect;

constexpr std::string_view kSwatchClass = "orvane.ColorSwatch";
constexpr std::string_view kColorProp = "orvane.color";
constexpr std::string_view kSelectedProp = "orvane.selected";

constexpr std::array<Color, kColorBasicCount> kBasicColors{{
    {255, 128, 128}, {255, 255, 128}, {128, 255, 128}, {0, 255, 128},
    {128, 255, 255}, {0, 128, 255},   {255, 128, 192}, {255, 128, 255},
    {255, 0, 0},     {255, 255, 0},   {128, 255, 0},   {0, 255, 64},
    {0, 255, 255},   {0, 128, 192},   {128, 128, 192}, {255, 0, 255},
    {128, 64, 64},   {255, 128, 64},  {0, 255, 0},     {0, 128, 128},
    {0, 64, 128},    {128, 128, 255}, {128, 0, 64},    {255, 0, 128},
    {128, 0, 0},     {255, 128, 0},   {0, 128, 0},     {0, 128, 64},
    {0, 0, 255},     {0, 0, 160},     {128, 0, 128},   {128, 0, 255},
    {64, 0, 0},      {128, 64, 0},    {0, 64, 0},      {0, 64, 64},
    {0, 0, 128},     {0, 0, 64},      {64, 0, 64},     {64, 0, 128},
    {0, 0, 0},       {128, 128, 0},   {128, 128, 64},  {128, 128, 128},
    {64, 128, 128},  {192, 192, 192}, {64, 0, 64},     {255, 255, 255},
}};

// --- Swatches --------------------------------------------------------------------
// A box of one colour; a click tells the parent (WM_COMMAND, BN_CLICKED).
// The selected one is framed in black.

Color swatch_color(const Desktop& desktop, Hwnd swatch) {
  return Color::from_rgb(static_cast<std::uint32_t>(desktop.get_prop(swatch, kColorProp).value_or(0)));
}

void set_swatch_color(Desktop& desktop, Hwnd swatch, Color c) {
  desktop.set_prop(swatch, kColorProp, static_cast<LParam>(c.rgb()));
  desktop.invalidate_rect(swatch, nullptr, false);
}

void set_swatch_selected(Desktop& desktop, Hwnd swatch, bool selected) {
  if ((desktop.get_prop(swatch, kSelectedProp).value_or(0) != 0) == selected) return;
  desktop.set_prop(swatch, kSelectedProp, selected ? 1 : 0);
  desktop.invalidate_rect(swatch, nullptr, false);
}

LResult swatch_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope scope(desktop, hwnd);
      const IntRect r = desktop.client_rect(hwnd);
      const bool selected = desktop.get_prop(hwnd, kSelectedProp).value_or(0) != 0;
      scope.dc().frame_rect(r, raster::Brush::solid(selected ? look::dark : look::face));
      const IntRect box = r.inflated(-1, -1);
      look::fill(scope.dc(), box, swatch_color(desktop, hwnd));
      look::bevel(scope.dc(), box, look::shadow, look::highlight);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (const Hwnd parent = desktop.parent(hwnd))
        desktop.send_message(parent, WM_COMMAND, make_wparam(desktop.id(hwnd), BN_CLICKED),
                             static_cast<LParam>(hwnd.value));
      return 0;
    default: return desktop.def_window_proc(hwnd, message, wparam, lparam);
  }
}

void register_swatch_class(Desktop& desktop) {
  if (desktop.find_class(kSwatchClass)) return;
  WindowClass c;
  c.name = std::string(kSwatchClass);
  c.style = CS_DBLCLKS;
  c.procedure = swatch_procedure;
  desktop.register_class(std::move(c));
}

// --- Layout (pixels of the dialog's client area) ------------------------------------

constexpr int kMargin = 8;
constexpr int kCellWidth = 24;
constexpr int kCellHeight = 20;
constexpr int kColumns = 8;
constexpr int kLabelHeight = 14;
constexpr int kBasicTop = kMargin + kLabelHeight + 2;
constexpr int kCustomLabelTop = kBasicTop + 6 * kCellHeight + 8;
constexpr int kCustomTop = kCustomLabelTop + kLabelHeight + 2;
constexpr int kButtonTop = kCustomTop + 2 * kCellHeight + 12;
constexpr int kButtonHeight = 23;
constexpr int kRightPane = kMargin + kColumns * kCellWidth + 16;
constexpr int kFieldLeft = kRightPane + 48;
constexpr int kFieldWidth = 44;
constexpr int kFieldHeight = 20;
constexpr int kWidth = kRightPane + 176 + kMargin;
constexpr int kHeight = kButtonTop + kButtonHeight + kMargin;

IntRect cell(int top, int index) {
  const int x = kMargin + (index % kColumns) * kCellWidth;
  const int y = top + (index / kColumns) * kCellHeight;
  return {x, y, x + kCellWidth - 4, y + kCellHeight - 4};
}

IntRect field_row(int row) {
  const int y = kBasicTop + 64 + row * (kFieldHeight + 8);
  return {kFieldLeft, y, kFieldLeft + kFieldWidth, y + kFieldHeight};
}

IntRect label_of(const IntRect& field) {
  return {kRightPane, field.top + 3, field.left - 4, field.top + 3 + kLabelHeight};
}

DialogTemplate color_template() {
  DialogTemplate t;
  t.caption = "Color";
  t.size = {kWidth, kHeight};
  t.controls.push_back({ControlKind::static_text, -1, "&Basic colors:", {kMargin, kMargin, kRightPane - 8, kMargin + kLabelHeight}, 0});
  t.controls.push_back({ControlKind::static_text, -1, "&Custom colors:",
                        {kMargin, kCustomLabelTop, kRightPane - 8, kCustomLabelTop + kLabelHeight}, 0});
  t.controls.push_back({ControlKind::static_text, -1, "Color|Solid", {kRightPane, kMargin, kWidth - kMargin, kMargin + kLabelHeight}, 0});
  const char* labels[] = {"&Red:", "&Green:", "Bl&ue:"};
  for (int row = 0; row < 3; ++row) {
    const IntRect field = field_row(row);
    t.controls.push_back({ControlKind::static_text, -1, labels[row], label_of(field), 0});
    t.controls.push_back({ControlKind::edit, kColorRedField + row, "", field, 0});
  }
  t.controls.push_back({ControlKind::push_button, IDOK, "OK", {kMargin, kButtonTop, kMargin + 75, kButtonTop + kButtonHeight}, BS_DEFPUSHBUTTON});
  t.controls.push_back({ControlKind::push_button, IDCANCEL, "Cancel",
                        {kMargin + 83, kButtonTop, kMargin + 158, kButtonTop + kButtonHeight}, 0});
  t.controls.push_back({ControlKind::push_button, kColorAddCustom, "&Add to Custom Colors",
                        {kRightPane, kButtonTop, kWidth - kMargin, kButtonTop + kButtonHeight}, 0});
  return t;
}

// The value of a field: its digits, at most 255.
int channel_of(std::string_view text) {
  int value = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') value = std::min(255, value * 10 + (c - '0'));
  return value;
}

// What the open dialog works on.
struct ColorState {
  Dialogs& dialogs;
  Color current;
  int next_custom = 0;
  Hwnd selected;
  Hwnd preview;

  Hwnd swatch(Hwnd dialog, int id) const { return dialogs.dialog_item(dialog, id); }

  void select(Desktop& d, Hwnd swatch) {
    if (selected && d.is_window(selected)) set_swatch_selected(d, selected, false);
    selected = swatch;
    if (swatch) set_swatch_selected(d, swatch, true);
  }

  void show_current(Desktop& d, Hwnd dialog, bool fields) {
    set_swatch_color(d, preview, current);
    if (!fields) return;
    const int values[] = {current.r, current.g, current.b};
    for (int row = 0; row < 3; ++row) {
      const std::string text = std::to_string(values[row]);
      dialogs.set_item_text(dialog, kColorRedField + row, text);
      // Typing goes on after the new value.
      d.send_message(dialogs.dialog_item(dialog, kColorRedField + row), EM_SETSEL, 0, static_cast<LParam>(text.size()));
    }
  }

  void build(Desktop& d, Hwnd dialog) {
    register_swatch_class(d);
    auto make = [&](int id, const IntRect& r, Color c) {
      CreateParams p;
      p.class_name = std::string(kSwatchClass);
      p.style = WS_CHILD | WS_VISIBLE;
      p.x = r.left;
      p.y = r.top;
      p.width = r.width();
      p.height = r.height();
      p.parent = dialog;
      p.id = id;
      const Hwnd h = d.create_window(p);
      if (h) set_swatch_color(d, h, c);
      return h;
    };
    Hwnd initial;
    for (int i = 0; i < kColorBasicCount; ++i) {
      const Hwnd h = make(kColorBasicFirst + i, cell(kBasicTop, i), kBasicColors[static_cast<std::size_t>(i)]);
      if (!initial && kBasicColors[static_cast<std::size_t>(i)] == current) initial = h;
    }
    for (int i = 0; i < kColorCustomCount; ++i) make(kColorCustomFirst + i, cell(kCustomTop, i), look::window);
    preview = make(kColorCurrent, {kRightPane, kBasicTop, kWidth - kMargin, kBasicTop + 52}, current);
    select(d, initial);
    show_current(d, dialog, true);
  }

  bool command(Desktop& d, Hwnd dialog, int id, int code, Hwnd from) {
    const bool basic = id >= kColorBasicFirst && id < kColorBasicFirst + kColorBasicCount;
    const bool custom = id >= kColorCustomFirst && id < kColorCustomFirst + kColorCustomCount;
    if ((basic || custom) && code == BN_CLICKED) {
      current = swatch_color(d, from);
      select(d, from);
      if (custom) next_custom = id - kColorCustomFirst;
      show_current(d, dialog, true);
      return true;
    }
    if (id >= kColorRedField && id <= kColorBlueField && code == EN_CHANGE) {
      const int value = channel_of(dialogs.item_text(dialog, id));
      auto& channel = id == kColorRedField ? current.r : id == kColorGreenField ? current.g : current.b;
      channel = static_cast<std::uint8_t>(value);
      select(d, {});
      show_current(d, dialog, false);
      return true;
    }
    if (id == kColorAddCustom && code == BN_CLICKED) {
      const Hwnd target = swatch(dialog, kColorCustomFirst + next_custom);
      if (target) set_swatch_color(d, target, current);
      next_custom = (next_custom + 1) % kColorCustomCount;
      return true;
    }
    return false;
  }
};

}  // namespace

const raster::Color& basic_color(int index) { return kBasicColors.at(static_cast<std::size_t>(index)); }

std::optional<raster::Color> choose_color(Dialogs& dialogs, Hwnd owner, raster::Color initial) {
  auto state = std::make_shared<ColorState>(ColorState{dialogs, initial, 0, {}, {}});
  DialogProc procedure = [state](Desktop& d, Hwnd dialog, std::uint32_t message, WParam wparam, LParam lparam) {
    if (message == WM_INITDIALOG) {
      state->build(d, dialog);
      return true;
    }
    if (message == WM_COMMAND)
      return state->command(d, dialog, low_word(wparam), high_word(wparam), Hwnd{static_cast<std::uint32_t>(lparam)});
    return false;
  };
  if (dialogs.dialog_box(color_template(), owner, std::move(procedure)) != IDOK) return std::nullopt;
  return state->current;
}

}  // namespace orvane::desktop
