#include "platform/desktop/font_dialog.h"

#include <algorithm>
#include <memory>
#include <strings.h>
#include <vector>

#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"
#include "platform/fonts/face_names.h"
#include "platform/fonts/font.h"

namespace orvane::desktop {

namespace {

using raster::IntRect;

constexpr std::string_view kSampleClass = "orvane.FontSample";
constexpr std::string_view kSampleText = "AaBbYyZz";
constexpr int kSamplePointsWhenMixed = 12;

// --- Layout (pixels of the dialog's client area) ------------------------------------

constexpr int kMargin = 8;
constexpr int kLabelHeight = 14;
constexpr int kListTop = kMargin + kLabelHeight + 2;
constexpr int kListBottom = kListTop + 160;
constexpr int kFaceRight = kMargin + 160;
constexpr int kSizeLeft = kFaceRight + 8;
constexpr int kSizeRight = kSizeLeft + 56;
constexpr int kStyleLeft = kSizeRight + 8;
constexpr int kStyleRight = kStyleLeft + 100;
constexpr int kButtonLeft = kStyleRight + 8;
constexpr int kButtonRight = kButtonLeft + 75;
constexpr int kWidth = kButtonRight + kMargin;
constexpr int kSampleTop = kListBottom + 8 + kLabelHeight + 2;
constexpr int kHeight = kSampleTop + 48 + kMargin;

IntRect check_row(int top) { return {kStyleLeft, top, kStyleRight, top + 20}; }

DialogTemplate font_template() {
  DialogTemplate t;
  t.caption = "Font";
  t.size = {kWidth, kHeight};
  auto label = [&](std::string text, int left, int top, int right) {
    t.controls.push_back({ControlKind::static_text, -1, std::move(text), {left, top, right, top + kLabelHeight}, 0});
  };
  label("&Font:", kMargin, kMargin, kFaceRight);
  label("&Size:", kSizeLeft, kMargin, kSizeRight);
  label("Font st&yle:", kStyleLeft, kMargin, kStyleRight);
  label("Effects", kStyleLeft, kListTop + 56, kStyleRight);
  label("Sample", kMargin, kListBottom + 8, kFaceRight);
  t.controls.push_back({ControlKind::list_box, kFontFaceList, "", {kMargin, kListTop, kFaceRight, kListBottom}, 0});
  t.controls.push_back({ControlKind::list_box, kFontSizeList, "", {kSizeLeft, kListTop, kSizeRight, kListBottom}, 0});
  t.controls.push_back({ControlKind::check_box, kFontBold, "&Bold", check_row(kListTop), 0});
  t.controls.push_back({ControlKind::check_box, kFontItalic, "&Italic", check_row(kListTop + 24), 0});
  t.controls.push_back({ControlKind::check_box, kFontStrikeOut, "Stri&keout", check_row(kListTop + 72), 0});
  t.controls.push_back({ControlKind::check_box, kFontUnderline, "&Underline", check_row(kListTop + 96), 0});
  t.controls.push_back({ControlKind::push_button, IDOK, "OK", {kButtonLeft, kListTop, kButtonRight, kListTop + 23}, BS_DEFPUSHBUTTON});
  t.controls.push_back({ControlKind::push_button, IDCANCEL, "Cancel", {kButtonLeft, kListTop + 30, kButtonRight, kListTop + 53}, 0});
  return t;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// --- The sample --------------------------------------------------------------------

// What the sample window shows: the dialog's choice, reached through a
// property holding its address while the dialog runs.
constexpr std::string_view kChoiceProp = "orvane.choice";

fonts::FontRequest sample_request(const FontChoice& c) {
  fonts::FontRequest request = fonts::FontRequest::points(c.face.empty() ? std::string(fonts::kFallbackFamily) : c.face,
                                                          c.points > 0 ? c.points : kSamplePointsWhenMixed,
                                                          c.style_chosen && c.bold, c.style_chosen && c.italic);
  request.underline = c.underline;
  request.strike_out = c.strike_out;
  return request;
}

LResult sample_procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return desktop.def_window_proc(hwnd, message, wparam, lparam);
  PaintScope scope(desktop, hwnd);
  raster::DeviceContext& dc = scope.dc();
  const IntRect r = desktop.client_rect(hwnd);
  look::fill(dc, r, look::face);
  look::bevel(dc, r, look::shadow, look::highlight);
  const auto* choice = pointer_of<const FontChoice>(desktop.get_prop(hwnd, kChoiceProp).value_or(0));
  if (!choice) return 0;
  const std::optional<fonts::Font> font = fonts::Font::open(sample_request(*choice));
  if (!font) return 0;
  raster::StateSaver saver(dc);
  dc.intersect_clip_rect(r.inflated(-1, -1));
  const int width = font->text_width(kSampleText);
  const int height = font->metrics().line_height;
  font->draw(dc, {(r.width() - width) / 2, (r.height() - height) / 2}, kSampleText,
             fonts::TextPaint::solid(look::text));
  return 0;
}

void register_sample_class(Desktop& desktop) {
  if (desktop.find_class(kSampleClass)) return;
  WindowClass c;
  c.name = std::string(kSampleClass);
  c.procedure = sample_procedure;
  desktop.register_class(std::move(c));
}

// --- The running dialog -------------------------------------------------------------

struct FontState {
  Dialogs& dialogs;
  FontChoice choice;
  std::vector<std::string> faces;
  std::vector<int> sizes;
  Hwnd sample;

  Hwnd item(Hwnd dialog, int id) const { return dialogs.dialog_item(dialog, id); }

  void fill_list(Desktop& d, Hwnd list, const std::vector<std::string>& items, int selected) {
    for (const std::string& text : items) d.send_message(list, LB_ADDSTRING, 0, lparam_of_pointer(text.c_str()));
    d.send_message(list, LB_SETCURSEL, static_cast<WParam>(selected), 0);
  }

  void build(Desktop& d, Hwnd dialog) {
    faces = fonts::installed_families();
    int face_at = -1;
    for (std::size_t i = 0; i < faces.size(); ++i)
      if (!choice.face.empty() && same_name(faces[i], choice.face)) face_at = static_cast<int>(i);
    fill_list(d, item(dialog, kFontFaceList), faces, face_at);

    sizes.assign(std::begin(kFontListSizes), std::end(kFontListSizes));
    if (choice.points > 0 && std::find(sizes.begin(), sizes.end(), choice.points) == sizes.end())
      sizes.insert(std::upper_bound(sizes.begin(), sizes.end(), choice.points), choice.points);
    std::vector<std::string> size_texts;
    for (int s : sizes) size_texts.push_back(std::to_string(s));
    const auto size_at = std::find(sizes.begin(), sizes.end(), choice.points);
    fill_list(d, item(dialog, kFontSizeList), size_texts,
              size_at == sizes.end() ? -1 : static_cast<int>(size_at - sizes.begin()));

    const std::pair<int, bool> checks[] = {{kFontBold, choice.style_chosen && choice.bold},
                                           {kFontItalic, choice.style_chosen && choice.italic},
                                           {kFontUnderline, choice.underline},
                                           {kFontStrikeOut, choice.strike_out}};
    for (const auto& [id, on] : checks)
      d.send_message(item(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);

    register_sample_class(d);
    CreateParams p;
    p.class_name = std::string(kSampleClass);
    p.style = WS_CHILD | WS_VISIBLE;
    p.x = kMargin;
    p.y = kSampleTop;
    p.width = kWidth - 2 * kMargin;
    p.height = kHeight - kMargin - kSampleTop;
    p.parent = dialog;
    p.id = kFontSample;
    sample = d.create_window(p);
    if (sample) d.set_prop(sample, kChoiceProp, lparam_of_pointer(&choice));
  }

  bool is_checked(Desktop& d, Hwnd dialog, int id) { return d.send_message(item(dialog, id), BM_GETCHECK) == BST_CHECKED; }

  bool command(Desktop& d, Hwnd dialog, int id, int code) {
    switch (id) {
      case kFontFaceList:
      case kFontSizeList: {
        if (code != LBN_SELCHANGE && code != LBN_DBLCLK) return false;
        const auto at = d.send_message(item(dialog, id), LB_GETCURSEL);
        if (at < 0) return true;
        const auto index = static_cast<std::size_t>(at);
        if (id == kFontFaceList && index < faces.size()) choice.face = faces[index];
        if (id == kFontSizeList && index < sizes.size()) choice.points = sizes[index];
        break;
      }
      case kFontBold:
      case kFontItalic:
        choice.style_chosen = true;
        choice.bold = is_checked(d, dialog, kFontBold);
        choice.italic = is_checked(d, dialog, kFontItalic);
        break;
      case kFontUnderline: choice.underline = is_checked(d, dialog, kFontUnderline); break;
      case kFontStrikeOut: choice.strike_out = is_checked(d, dialog, kFontStrikeOut); break;
      case IDOK:
        // A face that is not installed cannot be confirmed.
        if (choice.face.empty() || fonts::family_installed(choice.face)) return false;
        dialogs.message_box(dialog, "There is no font with that name.\nChoose a font from the list of fonts.", "Font",
                            MB_OK);
        if (const Hwnd faces_list = item(dialog, kFontFaceList); d.is_window(faces_list)) d.set_focus(faces_list);
        return true;
      default: return false;
    }
    if (sample) d.invalidate_rect(sample, nullptr, false);
    return true;
  }
};

}  // namespace

std::optional<FontChoice> choose_font(Dialogs& dialogs, Hwnd owner, const FontChoice& initial) {
  auto state = std::make_shared<FontState>(FontState{dialogs, initial, {}, {}, {}});
  DialogProc procedure = [state](Desktop& d, Hwnd dialog, std::uint32_t message, WParam wparam, LParam) {
    if (message == WM_INITDIALOG) {
      state->build(d, dialog);
      return true;
    }
    if (message == WM_COMMAND) return state->command(d, dialog, low_word(wparam), high_word(wparam));
    return false;
  };
  if (dialogs.dialog_box(font_template(), owner, std::move(procedure)) != IDOK) return std::nullopt;
  return state->choice;
}

}  // namespace orvane::desktop
