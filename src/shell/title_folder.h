// Title folders: a manifest (title_manifest.h), Lisp sources, PNG images
// and other files, turned into the resources of a title's file. The
// standard world (standard_world.h) loads before the title's sources
// unless the manifest says otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/title_file_writer.h"

namespace orvane::shell {

struct BuildOptions {
  bool compact = false;  // "Load" in the compact encoding with a "SYMB" 0 table
  // Told each step ("checking 40 Lisp files" ...) when the folder's files
  // come to more than progress_above bytes.
  std::function<void(const std::string&)> progress;
  std::uint64_t progress_above = 1u << 20;
};

struct BuiltTitle {
  std::vector<TitleResource> resources;
  std::vector<std::string> loaded;  // the Lisp files, in "Load" order
};

struct TitleBuild {
  std::optional<BuiltTitle> title;
  std::vector<std::string> errors;  // every problem found, each on its own
};

// Reads, checks and converts the folder's contents; nothing is written.
TitleBuild build_title_folder(const std::string& folder, const BuildOptions& options = {});

// NAME.RI for the folder NAME.
std::string default_title_file_name(const std::string& folder);

}  // namespace orvane::shell
