// The shared state behind a Font (the fonts unit's own header): the face at
// its size, the metrics and the glyph cache.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/fonts/font.h"
#include "platform/fonts/freetype_faces.h"
#include "platform/fonts/symbol_faces.h"

namespace orvane::fonts {

// A rendered glyph: coverage 0-255 per pixel (0 or 255 when unsmoothed),
// placed relative to the pen position on the baseline.
struct Glyph {
  int left = 0;  // pen x to the bitmap's first column
  int top = 0;   // baseline up to the bitmap's first row
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // rows top-down, width bytes each
};

struct FontData {
  FontData() = default;
  ~FontData();
  FontData(const FontData&) = delete;
  FontData& operator=(const FontData&) = delete;

  // The advance of a byte, from the unsmoothed hinted outline (the same for
  // both smoothings, so that measuring and drawing agree).
  int advance(unsigned char byte);
  // The cached glyph of a byte, rendered the first time it is asked for.
  const Glyph& glyph(unsigned char byte, Smoothing smoothing);
  // The Unicode character a byte is drawn as.
  char32_t code_point(unsigned char byte) const;

  FontRequest request;
  std::string family;
  bool substituted = false;
  std::shared_ptr<detail::LoadedFace> face;
  FT_Size size = nullptr;
  int pixel_size = 0;
  bool synthetic_bold = false;
  bool synthetic_italic = false;
  // A symbol face's characters by byte; nothing for Windows-1252 text.
  const CodePointTable* code_points = nullptr;
  FontMetrics metrics;
  // Lines under and through the text: top row below the baseline (negative:
  // above) and thickness, in pixels.
  int underline_offset = 0;
  int underline_thickness = 1;
  int strike_offset = 0;
  int strike_thickness = 1;

 private:
  void load(unsigned char byte, Smoothing smoothing);

  static constexpr int kUnknown = -1;
  std::array<int, 256> advances_ = [] {
    std::array<int, 256> a{};
    a.fill(kUnknown);
    return a;
  }();
  std::array<std::unique_ptr<Glyph>, 256> monochrome_;
  std::array<std::unique_ptr<Glyph>, 256> antialiased_;
};

}  // namespace orvane::fonts
