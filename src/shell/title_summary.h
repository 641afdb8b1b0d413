// What `orvane info` tells of a title: its preferences, memory, code,
// splash and pictures, and every other resource.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/title_file.h"

namespace orvane::shell {

struct ResourceLine {
  std::string type;
  std::int16_t id = 0;
  std::size_t bytes = 0;
  std::string detail;  // pictures: "PICT 2, 320 x 200"; splash times
};

struct TitleSummary {
  TitlePreferences preferences;
  bool has_caption = false;
  bool has_preferences = false;
  bool has_memory = false;
  std::size_t loads = 0;         // "Load" 0, 1, ... up to the first missing
  std::size_t code_bytes = 0;
  std::optional<std::size_t> compact_symbols;  // the "SYMB" 0 table's names
  std::vector<ResourceLine> splash;
  std::vector<ResourceLine> pictures;
  std::vector<ResourceLine> others;
};

// The summary of a resource file's bytes, or nothing with the reason.
std::optional<TitleSummary> summarise_title(std::span<const std::uint8_t> file, const std::string& file_name,
                                            std::string* error);

// The summary as `orvane info` prints it.
std::string describe_title(const TitleSummary& summary, const std::string& name);

}  // namespace orvane::shell
