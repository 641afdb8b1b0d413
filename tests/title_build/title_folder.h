// Title folders written by the tests: a temporary folder with a manifest,
// Lisp files and images.
#pragma once

#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/raster/png_io.h"
#include "shell/title_folder.h"
#include "storage/storage_support.h"

namespace orvane::testing {

class TitleFolder {
 public:
  explicit TitleFolder(const std::string& name = "tour") : path_(dir_.file(name)) {
    std::filesystem::create_directories(path_);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& scratch() const { return dir_.path(); }

  TitleFolder& write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    std::ofstream(file(name), std::ios::binary) << text;
    return *this;
  }
  TitleFolder& manifest(const std::string& text) { return write("title.manifest", text); }
  TitleFolder& png(const std::string& name, const raster::Surface& image) {
    raster::write_png(image, file(name));
    return *this;
  }
  // An RGBA image: 4 bytes a pixel.
  TitleFolder& rgba_png(const std::string& name, int width, int height, const std::vector<std::uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_image_write_to_file(&image, file(name).c_str(), 0, rgba.data(), 0, nullptr);
    return *this;
  }

  shell::TitleBuild build(bool compact = false) const {
    shell::BuildOptions options;
    options.compact = compact;
    return shell::build_title_folder(path_, options);
  }

 private:
  TempDir dir_;
  std::string path_;
};

// The resource of a built title, or null.
inline const shell::TitleResource* find_resource(const shell::BuiltTitle& title, const std::string& type,
                                                 std::int16_t id) {
  for (const auto& r : title.resources)
    if (r.type == type && r.id == id) return &r;
  return nullptr;
}

inline std::string text_of(const shell::TitleResource* r) {
  return r ? std::string(r->data.begin(), r->data.end()) : std::string();
}

}  // namespace orvane::testing
