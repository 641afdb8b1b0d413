// `orvane build-title DIR [-o NAME.RI] [--compact]` and `orvane info
// TITLE.RI|DIR`; and the folder built into a temporary title for
// `orvane play DIR`. argv[0] is the command's name; exit status 0 on
// success, 1 on failure, 2 on bad usage.
#pragma once

#include <optional>
#include <string>

namespace orvane::app {

int build_title_main(int argc, char** argv);
int info_main(int argc, char** argv);

// A title built from a folder into a temporary directory, removed with it.
class TemporaryTitle {
 public:
  TemporaryTitle() = default;
  ~TemporaryTitle();
  TemporaryTitle(const TemporaryTitle&) = delete;
  TemporaryTitle& operator=(const TemporaryTitle&) = delete;

  // Builds the folder; false after writing its problems to standard error.
  bool build(const std::string& folder, const std::string& command);
  const std::string& path() const { return path_; }

 private:
  std::string directory_;
  std::string path_;
};

}  // namespace orvane::app
