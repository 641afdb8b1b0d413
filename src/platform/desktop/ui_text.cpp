#include "platform/desktop/ui_text.h"

#include <optional>

#include "platform/desktop/ui_look.h"

namespace orvane::desktop {

namespace {

const fonts::Font* open_once(std::optional<fonts::Font>& slot, bool& tried, bool bold) {
  if (!tried) {
    tried = true;
    slot = fonts::Font::open(fonts::FontRequest::points(bold ? "System" : "MS Sans Serif", 8, bold));
  }
  return slot ? &*slot : nullptr;
}

}  // namespace

// The two faces are opened once and never change: constant state shared by
// every desktop of the process.
const fonts::Font* system_font() {
  static std::optional<fonts::Font> font;
  static bool tried = false;
  return open_once(font, tried, true);
}

const fonts::Font* dialog_font() {
  static std::optional<fonts::Font> font;
  static bool tried = false;
  return open_once(font, tried, false);
}

int FontTextPainter::text_width(std::string_view text) const {
  const fonts::Font* font = system_font();
  return font ? font->text_width(text) : TextPainter::text_width(text);
}

int FontTextPainter::text_height() const {
  const fonts::Font* font = system_font();
  return font ? font->metrics().line_height : TextPainter::text_height();
}

void FontTextPainter::draw_text(raster::DeviceContext& dc, raster::IntPoint top_left,
                                std::string_view text) const {
  if (const fonts::Font* font = system_font()) font->draw(dc, top_left, text, fonts::TextPaint::solid(dc.text_color()));
}

char Label::mnemonic() const {
  if (mnemonic_index < 0 || mnemonic_index >= static_cast<int>(shown.size())) return 0;
  return lower_key(shown[static_cast<std::size_t>(mnemonic_index)]);
}

Label parse_label(std::string_view text) {
  Label label;
  label.shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && label.mnemonic_index < 0)
        label.mnemonic_index = static_cast<int>(label.shown.size());
    }
    label.shown += text[i];
  }
  return label;
}

int label_width(const fonts::Font& font, std::string_view text) {
  return font.text_width(parse_label(text).shown);
}

void draw_label(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint top_left,
                std::string_view text, raster::Color color) {
  const Label label = parse_label(text);
  font.draw(dc, top_left, label.shown, fonts::TextPaint::solid(color));
  if (label.mnemonic_index < 0) return;
  const int x = top_left.x + font.text_width(std::string_view(label.shown).substr(0, label.mnemonic_index));
  const int w = font.advance(static_cast<unsigned char>(label.shown[label.mnemonic_index]));
  const int y = top_left.y + font.metrics().ascent + 1;
  dc.fill_rect({x, y, x + w, y + 1}, raster::Brush::solid(color));
}

void draw_embossed_label(raster::DeviceContext& dc, const fonts::Font& font, raster::IntPoint top_left,
                         std::string_view text) {
  draw_label(dc, font, top_left + raster::IntPoint{1, 1}, text, look::highlight);
  draw_label(dc, font, top_left, text, look::shadow);
}

}  // namespace orvane::desktop

namespace orvane::desktop {

std::vector<std::string> wrap_text(const fonts::Font& font, std::string_view text, int width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view paragraph = text.substr(start, end - start);
    // Break the paragraph into lines that fit.
    while (true) {
      if (font.text_width(paragraph) <= width || paragraph.size() <= 1) {
        lines.emplace_back(paragraph);
        break;
      }
      std::size_t fit = 1;
      int used = font.advance(static_cast<unsigned char>(paragraph[0]));
      while (fit < paragraph.size()) {
        const int w = font.advance(static_cast<unsigned char>(paragraph[fit]));
        if (used + w > width) break;
        used += w;
        ++fit;
      }
      std::size_t cut = fit;
      const std::size_t space = paragraph.substr(0, fit + 1).rfind(' ');
      if (space != std::string_view::npos && space > 0) cut = space;
      lines.emplace_back(paragraph.substr(0, cut));
      paragraph.remove_prefix(cut);
      while (!paragraph.empty() && paragraph.front() == ' ') paragraph.remove_prefix(1);
      if (paragraph.empty()) break;
    }
    if (end >= text.size()) break;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace orvane::desktop
