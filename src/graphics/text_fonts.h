// The faces of font records, and how their glyphs are drawn.
//
// A record becomes a font as a Win32 font was made from it: height -size (a
// positive size is the character height, a negative one the cell height),
// bold with face bit 1, italic, underline and strike-out from theirs, the
// record's face name. A face that is not installed is served by the fonts
// unit's substitute (Liberation Sans), as Windows' font mapper chose a face
// for a name it did not know.
#pragma once

#include <string_view>

#include "graphics/fonts_record.h"
#include "platform/fonts/font.h"
#include "platform/settings.h"

namespace orvane {

// The cell height of a record of size 0 (Windows' default height).
inline constexpr int kDefaultFontHeight = 16;
// Heights beyond this are drawn at it (a larger font could not fit a screen).
inline constexpr int kMaxFontHeight = 2000;

fonts::FontRequest font_request_of(const FontRecord& record);

// The font of a record; error 2 with `culprit` when no face at all can be
// opened (no font installed).
fonts::Font font_of(const FontRecord& record, Value culprit = kNil);

// Whether glyphs are smoothed. Titles were designed on unsmoothed screens,
// so text is unsmoothed unless the settings file says
//   [Fonts]
//   Smoothing=1
// (read once, at the first text drawn or measured).
fonts::Smoothing text_smoothing();
// The smoothing a settings file asks for.
fonts::Smoothing text_smoothing_in(const platform::IniFile& settings);
// Overrides the setting for the rest of the run (tests, the player's options).
void set_text_smoothing(fonts::Smoothing smoothing);

}  // namespace orvane
