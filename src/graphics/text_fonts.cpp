#include "graphics/text_fonts.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "platform/settings.h"

namespace orvane {

namespace {

// The text settings of the run: a documented singleton, read from the
// settings file the first time it is wanted.
std::optional<fonts::Smoothing>& smoothing_setting() {
  static std::optional<fonts::Smoothing> setting;
  return setting;
}

// Fonts used lately, most recent first: a Font's glyph cache lives only as
// long as a copy of it, and text methods open their font afresh at every
// call. A documented singleton; one thread.
constexpr std::size_t kKeptFonts = 16;
std::vector<fonts::Font>& kept_fonts() {
  static std::vector<fonts::Font> fonts;
  return fonts;
}

}  // namespace

fonts::FontRequest font_request_of(const FontRecord& record) {
  fonts::FontRequest request;
  // A face name ends at its first NUL, as a Win32 face name does.
  request.family = record.name.substr(0, record.name.find('\0'));
  int height = -static_cast<int>(record.size);
  if (height == 0) {
    request.height = kDefaultFontHeight;
    request.cell_height = true;
  } else {
    request.cell_height = height > 0;
    request.height = std::min(std::abs(height), kMaxFontHeight);
  }
  request.bold = (record.style & face_bits::bold) != 0;
  request.italic = (record.style & face_bits::italic) != 0;
  request.underline = (record.style & face_bits::underline) != 0;
  request.strike_out = (record.style & face_bits::strike_out) != 0;
  return request;
}

fonts::Font font_of(const FontRecord& record, Value culprit) {
  const fonts::FontRequest request = font_request_of(record);
  auto& kept = kept_fonts();
  auto it =
      std::find_if(kept.begin(), kept.end(), [&](const fonts::Font& f) { return f.request() == request; });
  if (it != kept.end()) {
    std::rotate(kept.begin(), it, it + 1);
    return kept.front();
  }
  std::optional<fonts::Font> font = fonts::Font::open(request);
  if (!font) raise_error(2, culprit);
  if (kept.size() == kKeptFonts) kept.pop_back();
  kept.insert(kept.begin(), *font);
  return *std::move(font);
}

fonts::Smoothing text_smoothing() {
  auto& setting = smoothing_setting();
  if (!setting) setting = text_smoothing_in(platform::load_settings());
  return *setting;
}

fonts::Smoothing text_smoothing_in(const platform::IniFile& settings) {
  return settings.get_int("Fonts", "Smoothing", 0) != 0 ? fonts::Smoothing::antialiased
                                                        : fonts::Smoothing::monochrome;
}

void set_text_smoothing(fonts::Smoothing smoothing) { smoothing_setting() = smoothing; }

}  // namespace orvane
