// Title folders: a manifest (title_manifest.h), Lisp sources, PNG images
// and other files, packed into a title's resource file. The standard world
// (world/ORDER and its .lsp files) is loaded before the title's sources
// unless the manifest says otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane::shell {

struct TitleResource {
  std::string type;  // four characters
  std::int16_t id = 0;
  std::vector<std::uint8_t> data;
};

struct BuildOptions {
  bool compact = false;  // "Load" in the compact encoding with a "SYMB" 0 table
  // Told each step ("checking 40 sources" ...) when the folder's files come
  // to more than progress_above bytes.
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

// The bytes of a resource file holding the resources.
std::optional<std::vector<std::uint8_t>> title_file_image(std::span<const TitleResource> resources,
                                                          const std::string& file_name, std::string* error);
// Writes the resource file; an existing file is replaced only by a whole one.
bool write_title_file(std::span<const TitleResource> resources, const std::string& path, std::string* error);

// The standard world's folder (the one holding ORDER): beside the installed
// binary (../share/orvane/world) or in a source tree above it.
std::optional<std::string> find_standard_world();

// Whether the path is a folder with a manifest.
bool is_title_folder(const std::string& path);

// NAME.RI for the folder NAME.
std::string default_title_file_name(const std::string& folder);

}  // namespace orvane::shell
