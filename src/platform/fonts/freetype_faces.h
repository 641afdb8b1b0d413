// The fonts unit's own view of FreeType and fontconfig (included only by
// the unit's .cpp files): the one FreeType library, face lookup by family
// and style, and the faces read so far, shared by every size.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace orvane::fonts::detail {

// Where fontconfig found a face.
struct FaceLocation {
  std::string file;
  int index = 0;
  std::string family;  // UTF-8
  bool bold = false;   // the face itself is bold (else bold is synthesised)
  bool italic = false;
};

// A face read from its file; sizes are FT_Size objects made on it.
class LoadedFace {
 public:
  LoadedFace(FT_Face face, std::shared_ptr<void> library_keepalive)
      : face_(face), library_(std::move(library_keepalive)) {}
  ~LoadedFace();
  LoadedFace(const LoadedFace&) = delete;
  LoadedFace& operator=(const LoadedFace&) = delete;
  FT_Face get() const { return face_; }

 private:
  FT_Face face_;
  std::shared_ptr<void> library_;  // the library outlives its faces
};

// The documented singleton of the fonts unit: the FreeType library, the
// fontconfig configuration, and the faces read so far (a handful of files,
// kept for the life of the process).
class FaceStore {
 public:
  static FaceStore& instance();

  // The best installed face of that family (UTF-8) and style; nothing when
  // fontconfig's best match is of another family.
  std::optional<FaceLocation> find(std::string_view family, bool bold, bool italic);
  // The face in that file, read once.
  std::shared_ptr<LoadedFace> load(const FaceLocation& where);
  // The families of the installed scalable faces, UTF-8, unsorted.
  std::vector<std::string> families();

 private:
  FaceStore();
  std::optional<FaceLocation> match(std::string_view family, bool bold, bool italic);
  struct Handles;
  std::shared_ptr<Handles> handles_;
  std::map<std::pair<std::string, int>, std::shared_ptr<LoadedFace>> faces_;
  // Answers of find, by lower-cased family and style: fontconfig's matching
  // is slow and its answer does not change during a run.
  std::map<std::string, std::optional<FaceLocation>> found_;
};

}  // namespace orvane::fonts::detail
