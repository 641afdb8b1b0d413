#include "graphics/text_layout.h"

namespace orvane {

namespace {

constexpr char kReturn = '\r';

int advance(const fonts::Font& font, char c) { return font.advance(static_cast<unsigned char>(c)); }

}  // namespace

std::vector<TextLine> wrap_text(const fonts::Font& font, std::string_view text, int width) {
  std::vector<TextLine> lines;
  std::size_t pos = 0;
  const std::size_t n = text.size();
  while (pos < n) {
    const std::size_t start = pos;
    std::size_t end = start;
    std::size_t last_space = std::string_view::npos;
    int used = 0;
    while (end < n && text[end] != kReturn) {
      const int w = advance(font, text[end]);
      if (end > start && used + w > width) {
        if (last_space != std::string_view::npos) end = last_space;
        break;
      }
      if (text[end] == ' ') last_space = end;
      used += w;
      ++end;
    }
    lines.push_back({start, end - start});
    pos = end;
    while (pos < n && text[pos] == ' ') ++pos;
    if (pos < n && text[pos] == kReturn) ++pos;
  }
  return lines;
}

int wrapped_text_height(const fonts::Font& font, std::string_view text, int width) {
  return static_cast<int>(wrap_text(font, text, width).size()) * font.metrics().line_height;
}

std::size_t fitting_prefix(const fonts::Font& font, std::string_view text, int width) {
  text = text.substr(0, text.find(kReturn));
  // Halving: `low` characters fit, `high` + 1 do not.
  std::size_t low = 0, high = text.size();
  while (low < high) {
    const std::size_t mid = low + (high - low + 1) / 2;
    if (font.text_width(text.substr(0, mid)) <= width)
      low = mid;
    else
      high = mid - 1;
  }
  return low;
}

std::vector<PlacedLine> lay_out_text_box(const fonts::Font& font, std::string_view text,
                                         const raster::IntRect& box, int justification,
                                         bool first_line_only) {
  const int box_width = box.right - box.left;
  const int box_height = box.bottom - box.top;
  std::vector<TextLine> lines;
  if (first_line_only) {
    lines.push_back({0, fitting_prefix(font, text, box_width)});
  } else {
    lines = wrap_text(font, text, box_width);
  }

  const fonts::FontMetrics& m = font.metrics();
  const int block_height = static_cast<int>(lines.size()) * m.line_height;
  int top = box.top;
  int horizontal = justification;
  if (justification > 6) {
    if (block_height < box_height) top = box.bottom - block_height;
    horizontal = justification - 8;
  } else if (justification >= 3) {
    top = box.top + (box_height - block_height) / 2;
    horizontal = justification - 4;
  }

  std::vector<PlacedLine> placed;
  placed.reserve(lines.size());
  int baseline = top + m.ascent;
  for (const TextLine& line : lines) {
    const int width = font.text_width(text.substr(line.start, line.length));
    int x = box.right - width;
    if (horizontal == 0)
      x = box.left;
    else if (horizontal == 1)
      x = box.left + (box_width - width) / 2;
    placed.push_back({line, {x, baseline}, width});
    baseline += m.line_height;
  }
  return placed;
}

}  // namespace orvane
