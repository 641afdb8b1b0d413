// Pens, brushes and the small modes of a device context.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/raster/color.h"

namespace orvane::raster {

enum class PenStyle { solid, dot, null, inside_frame };

struct Pen {
  PenStyle style = PenStyle::solid;
  int width = 1;
  Color color = colors::black;

  static constexpr Pen null_pen() { return {PenStyle::null, 1, colors::black}; }
  bool visible() const { return style != PenStyle::null; }
  // Dotted pens wider than one pixel draw solid, as in GDI.
  bool dotted() const { return style == PenStyle::dot && width <= 1; }
  // The pen's thickness in pixels (a width of 0 draws one pixel wide).
  int thickness() const { return width < 1 ? 1 : width; }
  bool operator==(const Pen&) const = default;
};

// An 8 x 8 one-bit pattern: one byte per row, the most significant bit
// leftmost, a set bit meaning foreground.
struct Pattern8 {
  std::array<std::uint8_t, 8> rows{};
  bool bit(int x, int y) const { return (rows[y & 7] >> (7 - (x & 7))) & 1; }
  bool operator==(const Pattern8&) const = default;

  static constexpr Pattern8 black() { return {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}}; }
  static constexpr Pattern8 white() { return {}; }
  static constexpr Pattern8 gray() { return {{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}}; }
};

enum class BrushStyle { solid, pattern, hollow };

struct Brush {
  BrushStyle style = BrushStyle::solid;
  Color color = colors::white;  // solid brushes
  Pattern8 pattern{};           // pattern brushes
  // Pattern colours; when absent the device context's text colour paints
  // the foreground and its background colour the rest, as a monochrome
  // pattern brush does in GDI.
  std::optional<Color> foreground;
  std::optional<Color> background;

  static Brush solid(Color c) { return {BrushStyle::solid, c, {}, {}, {}}; }
  static Brush hollow() { return {BrushStyle::hollow, colors::white, {}, {}, {}}; }
  static Brush with_pattern(const Pattern8& p) { return {BrushStyle::pattern, colors::white, p, {}, {}}; }
  static Brush with_pattern(const Pattern8& p, Color fg, Color bg) {
    return {BrushStyle::pattern, colors::white, p, fg, bg};
  }
  bool operator==(const Brush&) const = default;
};

enum class BackgroundMode { transparent, opaque };

// How stretched transfers combine the source pixels that a shrinking drops:
// AND (black on white), OR (white on black), or not at all (the others).
enum class StretchMode { black_on_white, white_on_black, color_on_color, halftone };

}  // namespace orvane::raster
