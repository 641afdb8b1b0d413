// Text in complete playback: the text state opcodes, FontName, and the four
// text opcodes drawn with the fonts of the font layer.
#include <algorithm>
#include <array>
#include <strings.h>

#include "graphics/picture_complete.h"
#include "graphics/picture_player.h"
#include "lib/charsets_tables.h"

namespace orvane::graphics::detail {

namespace {

struct NumberedFamily {
  int id;
  std::string_view family;
};

constexpr std::array<NumberedFamily, 21> kMacintoshFamilies = {{
    {0, "Chicago"},     {1, "Geneva"},         {2, "New York"},       {3, "Geneva"},   {4, "Monaco"},
    {5, "Venice"},      {6, "London"},         {7, "Athens"},         {8, "San Francisco"},
    {9, "Toronto"},     {11, "Cairo"},         {12, "Los Angeles"},   {13, "Zapf Dingbats"},
    {14, "Bookman"},    {15, "Helvetica Narrow"}, {16, "Palatino"},   {18, "Zapf Chancery"},
    {20, "Times"},      {21, "Helvetica"},     {22, "Courier"},       {23, "Symbol"},
}};

struct FamilySubstitute {
  std::string_view macintosh;
  std::string_view windows;
};

constexpr std::array<FamilySubstitute, 9> kFamilySubstitutes = {{
    {"Chicago", "System"},
    {"Geneva", "Arial"},
    {"Helvetica Narrow", "Arial"},
    {"Charcoal", "Arial"},
    {"New York", "Times New Roman"},
    {"Palatino", "Times New Roman"},
    {"Bookman", "Times New Roman"},
    {"Monaco", "Courier New"},
    {"Toronto", "Times New Roman"},
}};

// The default size of the system font.
constexpr int kSystemFontSize = 12;
// Text larger than this is drawn at it, as the font layer draws no larger.
constexpr int kLargestText = 2000;

}  // namespace

std::string_view macintosh_family(int font_id) {
  for (const NumberedFamily& f : kMacintoshFamilies)
    if (f.id == font_id) return f.family;
  return "Geneva";
}

std::string_view family_for_font_layer(std::string_view macintosh_name) {
  for (const FamilySubstitute& s : kFamilySubstitutes)
    if (s.macintosh.size() == macintosh_name.size() &&
        strncasecmp(s.macintosh.data(), macintosh_name.data(), macintosh_name.size()) == 0)
      return s.windows;
  return macintosh_name;
}

void PictPlayer::set_text_state(std::uint16_t op) {
  TextState& t = complete_->text;
  switch (op) {
    case 0x03: t.font_id = in_.u16be(); break;
    case 0x04: t.face = version2_ ? static_cast<std::uint8_t>(in_.u16be() >> 8) : in_.u8(); break;
    case 0x05: t.mode = in_.u16be(); break;
    case 0x0d: t.size = in_.s16be(); break;
    case 0x10: {
      raster::IntPoint numerator = read_point(), denominator = read_point();
      t.ratio_numerator = numerator;
      t.ratio_denominator = denominator;
      break;
    }
    default: break;
  }
}

PictPlayer::Step PictPlayer::font_name() {
  const std::size_t length = in_.u16be();
  auto data = in_.bytes(length);
  if (in_.failed()) return Step::next;
  ByteReader name(data);
  const int id = name.u16be();
  std::string_view family = name.counted_string();
  if (name.ok() && !family.empty()) complete_->text.font_names[id] = std::string(family);
  return Step::next;
}

PictPlayer::Step PictPlayer::text_op(std::uint16_t op) {
  TextState& t = complete_->text;
  raster::IntPoint location = t.location;
  switch (op) {
    case 0x28: location = read_point(); break;
    case 0x29: location.x += in_.u8(); break;
    case 0x2a: location.y += in_.u8(); break;
    default:
      location.x += in_.u8();
      location.y += in_.u8();
      break;
  }
  std::span<const std::uint8_t> bytes = in_.bytes(in_.u8());
  if (in_.failed()) return Step::next;
  t.location = location;

  // The text size scales with the picture's vertical scale and TxRatio.
  long long size = t.size > 0 ? t.size : kSystemFontSize;
  if (t.ratio_denominator.y > 0 && t.ratio_numerator.y > 0)
    size = size * t.ratio_numerator.y / t.ratio_denominator.y;
  size = mapping_.scale_y(static_cast<int>(std::min<long long>(size, 0x7fff)));
  if (size < 1) return Step::next;

  fonts::FontRequest request;
  auto named = t.font_names.find(t.font_id);
  request.family = std::string(
      family_for_font_layer(named != t.font_names.end() ? named->second : macintosh_family(t.font_id)));
  request.height = static_cast<int>(std::min<long long>(size, kLargestText));
  request.bold = (t.face & 1) != 0;
  request.italic = (t.face & 2) != 0;
  request.underline = (t.face & 4) != 0;
  if (!t.font || t.font->request() != request) {
    t.font = fonts::Font::open(request);
    if (!t.font) {
      note_undrawn(op);
      return Step::next;
    }
  }

  // Titles' text is Mac OS Roman; the font layer draws Windows-1252.
  const auto& to_windows = charsets::mac_to_windows_table();
  std::string text;
  text.reserve(bytes.size());
  for (std::uint8_t b : bytes) text.push_back(static_cast<char>(b == 0 || to_windows[b] != 0 ? to_windows[b] : '?'));

  fonts::TextPaint paint;
  paint.color = fore_;
  if (t.mode == 3) paint.color = dc_.background_color();       // srcBic
  if (t.mode == 0) paint.background = dc_.background_color();  // srcCopy fills the cell
  const raster::IntPoint baseline = mapping_.map(location.x, location.y);
  t.font->draw(dc_, {baseline.x, baseline.y - t.font->metrics().ascent}, text, paint);
  return Step::next;
}

}  // namespace orvane::graphics::detail
