// Fonts of the desktop and the drawing layer: a face chosen by family name,
// size and style, turned into metrics, advance widths and drawn glyphs.
//
// Text is Windows-1252, one byte a glyph, no shaping, no kerning: a string's
// width is the sum of its bytes' advances, and drawing places each glyph at
// the sum of the advances before it. Faces come from fontconfig and are read
// with FreeType (hidden behind this header); the faces titles name are
// served by metric-compatible ones (see face_names.h). Output is
// deterministic: the same request draws the same pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/raster/color.h"
#include "platform/raster/device_context.h"
#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace orvane::fonts {

// Pixels of a size in points on a 96 dpi screen, rounded to nearest.
int points_to_pixels(double points);

struct FontRequest {
  std::string family;  // Windows-1252, as titles name it ("Arial", "System")
  // The character (em) height in pixels, as a negative Win32 font height
  // gives it; with cell_height, the height of ascent plus descent, as a
  // positive Win32 height does.
  int height = 13;
  bool cell_height = false;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;

  static FontRequest points(std::string family, double points, bool bold = false,
                            bool italic = false);
  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// Win32's text metrics, in pixels.
struct FontMetrics {
  int ascent = 0;            // baseline to the cell's top
  int descent = 0;           // baseline to the cell's bottom
  int line_height = 0;       // ascent + descent (the text height)
  int internal_leading = 0;  // line_height minus the em height
  int external_leading = 0;  // space the face asks for between lines
  int average_width = 0;
  int max_width = 0;
};

enum class Smoothing : std::uint8_t {
  monochrome,   // unsmoothed, as titles were designed
  antialiased,  // grey coverage blended with what lies under the text
};

// How a string is painted.
struct TextPaint {
  raster::Color color = raster::colors::black;
  Smoothing smoothing = Smoothing::monochrome;
  // When set, the text's cell (its width by the line height) is filled first,
  // as GDI's opaque background mode does.
  std::optional<raster::Color> background;

  // Unsmoothed text in one colour, no background.
  static TextPaint solid(raster::Color c) {
    TextPaint paint;
    paint.color = c;
    return paint;
  }
};

struct FontData;

// A face at one size and style, with its glyph cache. Copies share the face
// and the cache; opening the same request again finds the same data while a
// copy lives.
class Font {
 public:
  // The face for the request: the named family, its metric-compatible
  // substitute, or Liberation Sans when neither is installed. Nothing only
  // when no usable face exists at all (or the height is out of 1..2000).
  static std::optional<Font> open(const FontRequest& request);

  const FontRequest& request() const;
  // The family of the face that serves the request (UTF-8 from fontconfig,
  // converted to Windows-1252).
  const std::string& family() const;
  // True when the face is not of the requested family (a substitute or the
  // fallback).
  bool substituted() const;
  // The em height in pixels.
  int pixel_size() const;

  const FontMetrics& metrics() const;
  // The advance width of one Windows-1252 byte.
  int advance(unsigned char byte) const;
  // Whether the face has a glyph of its own for the byte (else it draws
  // its missing-glyph box).
  bool has_glyph(unsigned char byte) const;
  // The sum of the advances of the bytes.
  int text_width(std::string_view text) const;

  // Draws the text with the top-left corner of its cell at `top_left`
  // (logical coordinates of the context), clipped to the context's clip and
  // surface. The context's origin applies; its pen, brush and mix do not.
  void draw(raster::DeviceContext& dc, raster::IntPoint top_left, std::string_view text,
            const TextPaint& paint) const;
  void draw(raster::Surface& surface, raster::IntPoint top_left, std::string_view text,
            const TextPaint& paint) const;

  friend bool operator==(const Font& a, const Font& b) { return a.data_ == b.data_; }

 private:
  explicit Font(std::shared_ptr<FontData> data) : data_(std::move(data)) {}
  std::shared_ptr<FontData> data_;
};

}  // namespace orvane::fonts
