#include "shell/scratch_files.h"

#include <optional>
#include <system_error>
#include <utility>

#include "storage/resource_manager.h"
#include "storage/resources.h"

namespace orvane::shell {

namespace {

struct Scratch {
  int refnum = 0;
  std::filesystem::path path;
};

// The documented singleton: the scratch file of the run, while one is open.
std::optional<Scratch>& scratch() {
  static std::optional<Scratch> file;
  return file;
}

}  // namespace

void register_styled_text_scratch(int refnum, std::filesystem::path path) {
  discard_styled_text_scratch();
  scratch() = Scratch{refnum, std::move(path)};
}

const std::filesystem::path& styled_text_scratch_path() {
  static const std::filesystem::path none;
  return scratch() ? scratch()->path : none;
}

bool discard_styled_text_scratch() {
  std::optional<Scratch> file = std::exchange(scratch(), std::nullopt);
  if (!file) return false;
  if (file->refnum > 0) resource_manager().close(file->refnum);
  std::error_code ignored;
  return std::filesystem::remove(file->path, ignored);
}

}  // namespace orvane::shell
