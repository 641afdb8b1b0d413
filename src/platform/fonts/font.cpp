#include "platform/fonts/font.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/console.h"
#include "platform/fonts/face_names.h"
#include "platform/fonts/font_data.h"
#include "platform/host_paths.h"
#include "platform/text.h"

#include <freetype/ftoutln.h>
#include <freetype/ftsizes.h>
#include <freetype/tttables.h>

namespace orvane::fonts {

namespace {

constexpr int kMaxHeight = 2000;
// The slant of a synthesised italic: x += 0.2 y, as GDI's simulation leans.
constexpr FT_Fixed kItalicShear = 0x3333;

// units * pixels / units_per_em, rounded to nearest.
int scale(long units, int pixels, int units_per_em) {
  long long n = static_cast<long long>(units) * pixels * 2;
  long long d = 2LL * units_per_em;
  return static_cast<int>(n >= 0 ? (n + units_per_em) / d : -((-n + units_per_em) / d));
}

// The faces tried for a request, best first.
std::vector<std::pair<std::string, bool>> candidate_families(std::string_view family) {
  std::string substitute = substitute_family(family);
  std::vector<std::pair<std::string, bool>> names;  // UTF-8 name, substituted?
  names.emplace_back(platform::windows1252_to_utf8(substitute), substitute != family);
  if (substitute != kFallbackFamily) names.emplace_back(std::string(kFallbackFamily), true);
  return names;
}

struct VerticalUnits {
  long ascent;
  long descent;
  long average_width;
  long strike_position;
  long strike_size;
};

VerticalUnits vertical_units(FT_Face face) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    return {os2->usWinAscent, os2->usWinDescent, os2->xAvgCharWidth, os2->yStrikeoutPosition,
            os2->yStrikeoutSize};
  long ascent = face->ascender;
  return {ascent, -face->descender, face->max_advance_width / 2, ascent / 3, face->units_per_EM / 20};
}

std::string cache_key(const FontRequest& r, const detail::FaceLocation& where) {
  return r.family + '#' + where.file + '#' + std::to_string(where.index) + '#' + std::to_string(r.height) +
         (r.cell_height ? "c" : "e") + (r.bold ? "b" : "") + (r.italic ? "i" : "") +
         (r.underline ? "u" : "") + (r.strike_out ? "s" : "");
}

// Fonts opened and still in use, so that opening a request again shares the
// glyph cache. Part of the fonts unit's singleton state; one thread.
std::map<std::string, std::weak_ptr<FontData>>& open_fonts() {
  static std::map<std::string, std::weak_ptr<FontData>> fonts;
  return fonts;
}

void forget_closed_fonts() {
  auto& fonts = open_fonts();
  std::erase_if(fonts, [](const auto& entry) { return entry.second.expired(); });
}

bool set_up(FontData& d) {
  FT_Face face = d.face->get();
  const int upem = face->units_per_EM;
  if (upem <= 0) return false;
  VerticalUnits units = vertical_units(face);
  int em = d.request.height;
  if (d.request.cell_height && units.ascent + units.descent > 0)
    em = std::max(1, scale(d.request.height, upem, static_cast<int>(units.ascent + units.descent)));
  if (FT_New_Size(face, &d.size) != 0) return false;
  FT_Activate_Size(d.size);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return false;
  d.pixel_size = em;

  FontMetrics& m = d.metrics;
  m.ascent = scale(units.ascent, em, upem);
  m.descent = scale(units.descent, em, upem);
  m.line_height = m.ascent + m.descent;
  m.internal_leading = std::max(0, m.line_height - em);
  m.external_leading = std::max(0, scale(face->height - (units.ascent + units.descent), em, upem));
  m.average_width = std::max(1, scale(units.average_width, em, upem)) + (d.synthetic_bold ? 1 : 0);
  m.max_width = scale(face->max_advance_width, em, upem) + (d.synthetic_bold ? 1 : 0);

  d.underline_thickness = std::max(1, scale(face->underline_thickness, em, upem));
  d.underline_offset = std::clamp(scale(-face->underline_position, em, upem), 1,
                                  std::max(1, m.descent - d.underline_thickness));
  d.strike_thickness = std::max(1, scale(units.strike_size, em, upem));
  d.strike_offset = -scale(units.strike_position, em, upem);
  return true;
}

}  // namespace

int points_to_pixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

FontRequest FontRequest::points(std::string family, double points, bool bold, bool italic) {
  FontRequest r;
  r.family = std::move(family);
  r.height = points_to_pixels(points);
  r.bold = bold;
  r.italic = italic;
  return r;
}

// --- FontData ---------------------------------------------------------------

FontData::~FontData() {
  if (size) FT_Done_Size(size);
}

int FontData::advance(unsigned char byte) {
  if (advances_[byte] == kUnknown) load(byte, Smoothing::monochrome);
  return advances_[byte];
}

const Glyph& FontData::glyph(unsigned char byte, Smoothing smoothing) {
  auto& cache = smoothing == Smoothing::monochrome ? monochrome_ : antialiased_;
  if (!cache[byte]) load(byte, smoothing);
  return *cache[byte];
}

char32_t FontData::code_point(unsigned char byte) const {
  return code_points ? (*code_points)[byte] : platform::windows1252_to_unicode(byte);
}

void FontData::load(unsigned char byte, Smoothing smoothing) {
  const bool mono = smoothing == Smoothing::monochrome;
  auto& cache = mono ? monochrome_ : antialiased_;
  cache[byte] = std::make_unique<Glyph>();
  Glyph& g = *cache[byte];
  if (mono) advances_[byte] = 0;

  FT_Face f = face->get();
  FT_Activate_Size(size);
  FT_UInt index = FT_Get_Char_Index(f, code_point(byte));
  FT_Int32 flags = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  if (FT_Load_Glyph(f, index, flags) != 0) return;
  FT_GlyphSlot slot = f->glyph;
  if (mono) advances_[byte] = static_cast<int>((slot->advance.x + 32) >> 6) + (synthetic_bold ? 1 : 0);
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (synthetic_bold) {
    // One pixel wider to the right, as GDI's simulated bold smears.
    FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    FT_Outline_Translate(&slot->outline, 32, 0);
  }
  if (synthetic_italic) {
    FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return;

  const FT_Bitmap& bitmap = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bitmap.width);
  g.height = static_cast<int>(bitmap.rows);
  g.coverage.assign(static_cast<std::size_t>(g.width) * g.height, 0);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < g.width; ++x) {
      std::uint8_t c = 0;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        c = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
        c = static_cast<std::uint8_t>(row[x] * 255 / std::max(1, bitmap.num_grays - 1));
      g.coverage[static_cast<std::size_t>(y) * g.width + x] = c;
    }
  }
}

// --- Font -------------------------------------------------------------------

std::optional<Font> Font::open(const FontRequest& request) {
  if (request.height < 1 || request.height > kMaxHeight) return std::nullopt;
  auto& store = detail::FaceStore::instance();
  for (const auto& [family, substituted] : candidate_families(request.family)) {
    std::optional<detail::FaceLocation> where = store.find(family, request.bold, request.italic);
    if (!where) continue;
    std::string key = cache_key(request, *where);
    auto& fonts = open_fonts();
    if (auto it = fonts.find(key); it != fonts.end())
      if (auto shared = it->second.lock()) return Font(std::move(shared));
    std::shared_ptr<detail::LoadedFace> face = store.load(*where);
    if (!face) continue;
    auto data = std::make_shared<FontData>();
    data->request = request;
    data->family = platform::utf8_to_windows1252(where->family);
    data->substituted = substituted;
    data->face = std::move(face);
    data->synthetic_bold = request.bold && !where->bold;
    data->synthetic_italic = request.italic && !where->italic;
    data->code_points = symbol_code_points(request.family);
    if (!set_up(*data)) continue;
    forget_closed_fonts();
    fonts[key] = data;
    return Font(std::move(data));
  }
  return std::nullopt;
}

const FontRequest& Font::request() const { return data_->request; }
const std::string& Font::family() const { return data_->family; }
bool Font::substituted() const { return data_->substituted; }
int Font::pixel_size() const { return data_->pixel_size; }
const FontMetrics& Font::metrics() const { return data_->metrics; }
int Font::advance(unsigned char byte) const { return data_->advance(byte); }

bool Font::has_glyph(unsigned char byte) const {
  const char32_t c = data_->code_point(byte);
  return c != 0 && FT_Get_Char_Index(data_->face->get(), c) != 0;
}

int Font::text_width(std::string_view text) const {
  int width = 0;
  for (char c : text) width += data_->advance(static_cast<unsigned char>(c));
  return width;
}

}  // namespace orvane::fonts
