// Writing a title's resource file from its resources: made whole in memory
// with the storage layer's own map and writer, then put in place at once.
#pragma once

#include <cstdint>
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

// The bytes of a resource file holding the resources; the header keeps
// `file_name` as the file's name.
std::optional<std::vector<std::uint8_t>> title_file_image(std::span<const TitleResource> resources,
                                                          const std::string& file_name, std::string* error);
// Writes the resource file; an existing file is replaced only by a whole one.
bool write_title_file(std::span<const TitleResource> resources, const std::string& path, std::string* error);

}  // namespace orvane::shell
