#include "platform/fonts/freetype_faces.h"

#include <cctype>
#include <stdexcept>
#include <strings.h>

#include <fontconfig/fontconfig.h>

namespace orvane::fonts::detail {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

const FcChar8* fc_text(const std::string& s) { return reinterpret_cast<const FcChar8*>(s.c_str()); }

}  // namespace

LoadedFace::~LoadedFace() { FT_Done_Face(face_); }

struct FaceStore::Handles {
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  ~Handles() {
    if (library) FT_Done_FreeType(library);
    if (config) FcConfigDestroy(config);
  }
};

FaceStore& FaceStore::instance() {
  static FaceStore store;
  return store;
}

FaceStore::FaceStore() : handles_(std::make_shared<Handles>()) {
  if (FT_Init_FreeType(&handles_->library) != 0) {
    handles_->library = nullptr;
    throw std::runtime_error("fonts: FreeType cannot start");
  }
  handles_->config = FcInitLoadConfigAndFonts();
}

std::optional<FaceLocation> FaceStore::find(std::string_view family, bool bold, bool italic) {
  if (!handles_->config) return std::nullopt;
  std::string key(family);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  key += bold ? "|b" : "|r";
  key += italic ? "i" : "";
  if (auto it = found_.find(key); it != found_.end()) return it->second;
  std::optional<FaceLocation> answer = match(family, bold, italic);
  found_.emplace(std::move(key), answer);
  return answer;
}

std::optional<FaceLocation> FaceStore::match(std::string_view family, bool bold, bool italic) {
  std::string name(family);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, fc_text(name));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(handles_->config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(handles_->config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;

  std::optional<FaceLocation> found;
  FcChar8* matched_family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matched_family) == FcResultMatch; ++i) {
    if (!same_name(reinterpret_cast<const char*>(matched_family), name)) continue;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) break;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
    if (!scalable) break;
    found = FaceLocation{reinterpret_cast<const char*>(file), index,
                         reinterpret_cast<const char*>(matched_family), weight >= FC_WEIGHT_DEMIBOLD,
                         slant != FC_SLANT_ROMAN};
    break;
  }
  FcPatternDestroy(match);
  return found;
}

std::shared_ptr<LoadedFace> FaceStore::load(const FaceLocation& where) {
  auto key = std::make_pair(where.file, where.index);
  if (auto it = faces_.find(key); it != faces_.end()) return it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(handles_->library, where.file.c_str(), where.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return nullptr;
  }
  auto loaded = std::make_shared<LoadedFace>(face, std::shared_ptr<void>(handles_, handles_.get()));
  faces_.emplace(key, loaded);
  return loaded;
}

std::vector<std::string> FaceStore::families() {
  std::vector<std::string> names;
  if (!handles_->config) return names;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(handles_->config, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (!set) return names;
  for (int i = 0; i < set->nfont; ++i) {
    FcChar8* family = nullptr;
    // The first family name is the face's own; later ones are translations.
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
      names.emplace_back(reinterpret_cast<const char*>(family));
  }
  FcFontSetDestroy(set);
  return names;
}

}  // namespace orvane::fonts::detail
