// The world a title's code builds on: a folder of plain .lsp files loaded
// first, in the order of its ORDER list (one file name a line, "#"
// comments). Without ORDER a folder is not a world.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::shell {

inline constexpr const char* kWorldOrder = "ORDER";

// The standard world's folder: beside the installed binary
// (../share/orvane/world), else world/ in the binary's folder or up to
// three folders above it (a build tree inside the source tree).
std::optional<std::string> find_standard_world();

struct WorldFiles {
  std::vector<std::string> paths;   // in loading order
  std::vector<std::string> errors;  // "ORDER:LINE: ..."
};
// The files that ORDER lists, each checked to exist.
WorldFiles world_files(const std::string& folder);

}  // namespace orvane::shell
