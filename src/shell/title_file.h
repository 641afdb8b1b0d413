// What start-up reads from a title's resource file before the Lisp world
// exists: the frame's preferences ("PREF" 257 and 258) and the memory
// sizes ("VPRF" 256, "SIZE" -1).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/memory_config.h"
#include "platform/raster/geometry.h"

namespace orvane::shell {

// The start-up flags of "PREF" 257.
namespace start_flags {
inline constexpr std::uint8_t menu_bar = 0x01;
inline constexpr std::uint8_t borderless_when_too_big = 0x02;
inline constexpr std::uint8_t topmost = 0x04;
inline constexpr std::uint8_t needs_movies = 0x10;
inline constexpr std::uint8_t black_client = 0x20;
inline constexpr std::uint8_t maximised = 0x80;
}  // namespace start_flags

struct TitlePreferences {
  std::string caption;        // "PREF" 258, else the file's name
  std::uint8_t flags = 0;
  int language = 0;           // 0 English, 1 French, 2 Spanish
  raster::IntSize client{640, 480};
  MemoryConfig memory;        // the defaults where "VPRF"/"SIZE" are missing
};

// Answers the preferences, or the reason the file cannot be used: it cannot
// be read, is no resource file, or its memory resources are truncated.
struct TitleFileRead {
  std::optional<TitlePreferences> preferences;
  std::string problem;
  bool missing = false;  // the file cannot be opened at all (alert 5200)
};
TitleFileRead read_title_file(const std::string& path);

// The preferences from the resources' bytes (none: missing).
TitlePreferences parse_preferences(const std::optional<std::string>& pref257,
                                   const std::optional<std::string>& pref258, std::string_view file_name);

}  // namespace orvane::shell
