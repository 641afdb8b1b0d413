// The colour dialog, opened full as the run-time opens ChooseColor: the 48
// basic colours, 16 custom colours (white at every opening), the current
// colour with its red, green and blue fields (0-255), "Add to Custom
// Colors", OK and Cancel.
//
// Clicking a swatch makes its colour current; typing in a field changes the
// current colour as the field changes (non-digits are ignored, values above
// 255 count as 255). OK or Enter answers the current colour; Cancel, Escape,
// the close box or the end of input answer nothing.
#pragma once

#include <optional>

#include "platform/desktop/dialog.h"
#include "platform/raster/color.h"

namespace orvane::desktop {

inline constexpr int kColorRedField = 706;
inline constexpr int kColorGreenField = 707;
inline constexpr int kColorBlueField = 708;
inline constexpr int kColorCurrent = 709;
inline constexpr int kColorAddCustom = 712;
inline constexpr int kColorBasicFirst = 1000;   // the basic swatches, row by row
inline constexpr int kColorCustomFirst = 1100;  // the custom swatches, row by row
inline constexpr int kColorBasicCount = 48;
inline constexpr int kColorCustomCount = 16;

// The basic colours, row by row (eight to a row).
const raster::Color& basic_color(int index);

std::optional<raster::Color> choose_color(Dialogs& dialogs, Hwnd owner, raster::Color initial);

}  // namespace orvane::desktop
