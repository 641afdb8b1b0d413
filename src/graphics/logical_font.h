// The logical-font block `choose-font` works on: Win32's LOGFONT as the
// run-time's own records are laid out (little-endian): height (32-bit) at 0,
// weight (32-bit) at 16, italic, underline and strike-out bytes at 20-22,
// the face name (NUL-terminated, at most 31 characters) at 28.
#pragma once

#include <cstdint>
#include <span>

#include "platform/desktop/font_dialog.h"

namespace orvane::graphics {

inline constexpr std::size_t kLogicalFontSize = 60;

// The dialog's starting choice: an empty face, height or weight leaves that
// choice mixed. A height in pixels (negative: the character height, positive:
// the cell height) is shown in points at 96 dpi.
desktop::FontChoice font_choice_of(std::span<const std::uint8_t, kLogicalFontSize> block);

// Writes a confirmed choice; the choices left mixed become 0. Width,
// escapement, orientation, character set and the other bytes stay as they are.
void write_font_choice(std::span<std::uint8_t, kLogicalFontSize> block, const desktop::FontChoice& choice);

}  // namespace orvane::graphics
