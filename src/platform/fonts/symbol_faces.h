// Symbol faces: fonts whose byte codes stand for pictures rather than the
// letters of the code page. Titles name Wingdings; it is served by an
// installed Unicode face through a code-point table.
#pragma once

#include <array>
#include <string_view>

namespace orvane::fonts {

// The Unicode character of each byte of a symbol face; 0 where the face has
// no counterpart (drawn as the serving face's missing-glyph box).
using CodePointTable = std::array<char32_t, 256>;

// The family that serves the symbol faces.
inline constexpr std::string_view kSymbolFamily = "DejaVu Sans";

// The table of a symbol face name (compared without regard to case), or
// nothing when the name is not a symbol face.
const CodePointTable* symbol_code_points(std::string_view family);

}  // namespace orvane::fonts
