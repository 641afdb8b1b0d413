#include "shell/standard_world.h"

#include <filesystem>

#include "platform/file_io.h"
#include "platform/host_files.h"
#include "shell/title_resources.h"

namespace orvane::shell {

namespace fs = std::filesystem;

namespace {

constexpr int kFoldersAbove = 4;  // the binary's own and three above it

std::string_view trimmed(std::string_view s) {
  s = s.substr(0, std::min(s.find('#'), s.size()));
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::string> find_standard_world() {
  const fs::path binary = fs::path(platform::executable_path()).parent_path();
  std::vector<fs::path> candidates{binary / ".." / "share" / "orvane" / "world"};
  fs::path above = binary;
  for (int i = 0; i < kFoldersAbove && !above.empty(); ++i, above = above.parent_path())
    candidates.push_back(above / "world");
  for (const fs::path& candidate : candidates)
    if (platform::file_exists((candidate / kWorldOrder).string())) return candidate.lexically_normal().string();
  return std::nullopt;
}

WorldFiles world_files(const std::string& folder) {
  WorldFiles world;
  const std::string order_path = (fs::path(folder) / kWorldOrder).string();
  std::string order;
  if (platform::read_whole_file(order_path, order) != 0) {
    world.errors.push_back(order_path + ": cannot read");
    return world;
  }
  int line = 0;
  for (std::string_view text : text_lines(order)) {
    ++line;
    std::string_view name = trimmed(text);
    if (name.empty()) continue;
    const std::string path = (fs::path(folder) / name).string();
    if (platform::file_exists(path)) world.paths.push_back(path);
    else world.errors.push_back(order_path + ":" + std::to_string(line) + ": no file " + std::string(name) + " in the world");
  }
  return world;
}

}  // namespace orvane::shell
