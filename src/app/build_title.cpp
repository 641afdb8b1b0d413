#include "app/build_title.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/file_io.h"
#include "platform/host_files.h"
#include "shell/title_folder.h"

namespace orvane::app {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

std::optional<shell::BuiltTitle> build_reporting(const std::string& folder, bool compact, const std::string& command) {
  shell::BuildOptions options;
  options.compact = compact;
  options.progress = [&](const std::string& step) { std::fprintf(stderr, "%s: %s\n", command.c_str(), step.c_str()); };
  shell::TitleBuild build = shell::build_title_folder(folder, options);
  for (const std::string& error : build.errors) std::fprintf(stderr, "%s\n", error.c_str());
  if (!build.title) std::fprintf(stderr, "%s: %s was not built\n", command.c_str(), folder.c_str());
  return std::move(build.title);
}

}  // namespace

int build_title_main(int argc, char** argv) {
  CLI::App app{"Pack a title folder (title.manifest, Lisp sources, PNG images, other files) into a title's "
               "resource file. Every Lisp source is read first; nothing is written when anything is wrong. "
               "docs/titles.md describes the folder.",
               "orvane build-title"};
  std::string folder, output;
  bool compact = false;
  app.add_option("DIR", folder, "The title folder")->required();
  app.add_option("-o,--output", output, "The resource file to write (default: NAME.RI here, NAME being the folder's)");
  app.add_flag("--compact", compact, "Store the code in the compact encoding, with a \"SYMB\" 0 symbol table");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kOk : kBadUsage;
  }
  if (output.empty()) output = shell::default_title_file_name(folder);
  auto title = build_reporting(folder, compact, "build-title");
  if (!title) return kFailed;
  std::string error;
  if (!shell::write_title_file(title->resources, output, &error)) {
    std::fprintf(stderr, "build-title: %s\n", error.c_str());
    return kFailed;
  }
  std::size_t bytes = 0;
  for (const auto& r : title->resources) bytes += r.data.size();
  std::printf("%s: %zu resources, %zu bytes of data, %zu Lisp files\n", output.c_str(), title->resources.size(),
              bytes, title->loaded.size());
  return kOk;
}

TemporaryTitle::~TemporaryTitle() {
  if (!path_.empty()) platform::remove_file(path_);
  if (!directory_.empty()) {
    std::error_code ec;
    std::filesystem::remove(directory_, ec);
  }
}

bool TemporaryTitle::build(const std::string& folder, const std::string& command) {
  auto title = build_reporting(folder, false, command);
  if (!title) return false;
  // A directory of its own, so that the title keeps the folder's file name.
  std::random_device random;
  const std::filesystem::path base = platform::temporary_directory();
  for (int attempt = 0; attempt < 100 && directory_.empty(); ++attempt) {
    std::filesystem::path candidate = base / ("orvane-title-" + std::to_string(random()));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) directory_ = candidate.string();
  }
  if (directory_.empty()) {
    std::fprintf(stderr, "%s: cannot make a temporary directory in %s\n", command.c_str(), base.c_str());
    return false;
  }
  std::string path = (std::filesystem::path(directory_) / shell::default_title_file_name(folder)).string();
  std::string error;
  if (!shell::write_title_file(title->resources, path, &error)) {
    std::fprintf(stderr, "%s: %s\n", command.c_str(), error.c_str());
    return false;
  }
  path_ = path;
  return true;
}

}  // namespace orvane::app
