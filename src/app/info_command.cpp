// `orvane info TITLE.RI|DIR`: what a title holds, from its resource file or
// from a title folder built in memory.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

#include "app/build_title.h"
#include "platform/file_io.h"
#include "shell/title_folder.h"
#include "shell/title_summary.h"

namespace orvane::app {

int info_main(int argc, char** argv) {
  CLI::App app{"Summarise a title: caption, size, flags, language, memory, code, splash and pictures, and the "
               "other resources. TITLE is a resource file or a title folder.",
               "orvane info"};
  std::string title;
  app.add_option("TITLE", title, "NAME.RI or a title folder")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  std::vector<std::uint8_t> bytes;
  std::string name = std::filesystem::path(title).filename().string();
  std::string error;
  if (platform::directory_exists(title)) {
    TemporaryTitle built;
    if (!built.build(title, "info")) return 1;
    name = std::filesystem::path(built.path()).filename().string();
    std::string text;
    if (platform::read_whole_file(built.path(), text) != 0) {
      std::fprintf(stderr, "info: cannot read the title built from %s\n", title.c_str());
      return 1;
    }
    bytes.assign(text.begin(), text.end());
  } else {
    std::string text;
    if (platform::read_whole_file(title, text) != 0) {
      std::fprintf(stderr, "info: cannot read %s\n", title.c_str());
      return 1;
    }
    bytes.assign(text.begin(), text.end());
  }
  auto summary = shell::summarise_title(bytes, name, &error);
  if (!summary) {
    std::fprintf(stderr, "info: %s: %s\n", title.c_str(), error.c_str());
    return 1;
  }
  std::fputs(shell::describe_title(*summary, title).c_str(), stdout);
  return 0;
}

}  // namespace orvane::app
