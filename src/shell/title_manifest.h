// The manifest of a title folder ("title.manifest"): a small line-based
// text that says what goes into the title's resource file. One field a
// line, words separated by blanks, "double quotes" around words with
// blanks ("\"" and "\\" inside them), "#" starts a comment.
//
//   caption "Tour of Orvane"      "PREF" 258
//   size 800 600                  "PREF" 257: the client size
//   flags menu-bar maximised      "PREF" 257: the start-up flags
//   language french               "PREF" 257: english, french, spanish
//   memory nodes 800000           "VPRF" 256 / "SIZE" -1 (K and M suffixes)
//   world no                      the standard world: auto, yes, no or a folder
//   source main.lsp pages.lsp     "Load" 0, 1, ... in this order
//   check no                      the sources are not read before packing
//   splash intro.png 2s           "PICT" 501... and "wait" 501... (ticks, s, ms)
//   picture 128 logo.png          "PICT" 128
//   cursor 200 hand.png 3 1       "CURS" 200, hot spot x y
//   strings 128 menus.txt         "STR#" 128, one string a line
//   patterns 128 AA55AA55AA55AA55 "PAT#" 128, 16 hex digits a pattern
//   resource snd 1 beep.snd       any resource from a file's bytes
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory_config.h"
#include "platform/raster/geometry.h"

namespace orvane::shell {

inline constexpr std::string_view kManifestName = "title.manifest";

struct FileEntry {
  int line = 0;
  std::string file;  // relative to the folder
};
struct IdFileEntry {
  int line = 0;
  std::int16_t id = 0;
  std::string file;
};
struct SplashEntry {
  int line = 0;
  std::string file;
  std::optional<std::uint16_t> ticks;  // none: no "wait", the sequence ends here
};
struct CursorEntry {
  int line = 0;
  std::int16_t id = 0;
  std::string file;
  int hot_x = 0, hot_y = 0;
};
struct PatternsEntry {
  int line = 0;
  std::int16_t id = 0;
  std::vector<std::array<std::uint8_t, 8>> patterns;
};
struct RawEntry {
  int line = 0;
  std::string type;  // four characters
  std::int16_t id = 0;
  std::string file;
};

enum class WorldChoice { automatic, include, omit, folder };

struct TitleManifest {
  std::optional<std::string> caption;  // Windows-1252
  std::optional<raster::IntSize> size;
  std::uint8_t flags = 0;
  std::optional<int> language;
  std::optional<MemoryConfig> memory;  // present when any memory field is given
  int memory_line = 0;                 // the first memory field's
  WorldChoice world = WorldChoice::automatic;
  std::string world_folder;            // WorldChoice::folder
  int world_line = 0;
  std::vector<FileEntry> sources;
  bool check_sources = true;
  std::vector<SplashEntry> splash;
  std::vector<IdFileEntry> pictures;
  std::vector<CursorEntry> cursors;
  std::vector<IdFileEntry> strings;
  std::vector<PatternsEntry> patterns;
  std::vector<RawEntry> raw;
};

struct ManifestRead {
  TitleManifest manifest;
  std::vector<std::string> errors;  // "NAME:LINE: what", in line order
};

// Reads the manifest's text; `file_name` prefixes the errors.
ManifestRead parse_manifest(std::string_view text, std::string_view file_name = kManifestName);

// The names of the start-up flags, in bit order, as the manifest writes them.
struct FlagName {
  std::string_view name;
  std::uint8_t bit;
};
std::span<const FlagName> start_flag_names();
std::string_view language_name(int language);

}  // namespace orvane::shell
