// The font dialog, as the run-time opens ChooseFont (screen fonts, with
// effects): the installed faces, point sizes, Bold and Italic, Underline and
// Strikeout, a sample of the choice, OK and Cancel.
//
// A face, size or style that the caller leaves empty starts with nothing
// selected and stays empty unless the user chooses one ("mixed"). OK with a
// face that is not installed is refused with a message, and the dialog stays
// open. Cancel, Escape, the close box and the end of input answer nothing.
#pragma once

#include <optional>
#include <string>

#include "platform/desktop/dialog.h"

namespace orvane::desktop {

inline constexpr int kFontFaceList = 1136;
inline constexpr int kFontSizeList = 1138;
inline constexpr int kFontBold = 1040;
inline constexpr int kFontItalic = 1041;
inline constexpr int kFontUnderline = 1042;
inline constexpr int kFontStrikeOut = 1043;
inline constexpr int kFontSample = 1092;

struct FontChoice {
  std::string face;         // Windows-1252; empty: none
  int points = 0;           // 0: none
  bool style_chosen = true;  // false: bold and italic left mixed
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

// The sizes the size list offers (an initial size not among them is added).
inline constexpr int kFontListSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

std::optional<FontChoice> choose_font(Dialogs& dialogs, Hwnd owner, const FontChoice& initial);

}  // namespace orvane::desktop
