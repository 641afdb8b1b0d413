#include "shell/title_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "storage/random_access.h"
#include "storage/resource_file.h"

namespace orvane::shell {

namespace {

constexpr std::size_t kShortPreferences = 6;  // this many bytes or fewer: 640 x 480

std::optional<std::string> resource_bytes(const ResourceFile& file, const char* type, std::int16_t id) {
  auto entry = file.map().find_id(FourCC::of(type), id);
  if (!entry) return std::nullopt;
  auto data = file.read_data(*entry);
  if (!data) return std::nullopt;
  return std::string(data->begin(), data->end());
}

std::span<const std::uint8_t> as_bytes(const std::optional<std::string>& text) {
  if (!text) return {};
  return {reinterpret_cast<const std::uint8_t*>(text->data()), text->size()};
}

}  // namespace

TitlePreferences parse_preferences(const std::optional<std::string>& pref257,
                                   const std::optional<std::string>& pref258, std::string_view file_name) {
  TitlePreferences p;
  p.caption = std::string(file_name);
  if (pref258 && !pref258->empty()) {
    auto length = static_cast<unsigned char>((*pref258)[0]);
    p.caption = pref258->substr(1, length);
  }
  if (pref257) {
    const std::string& b = *pref257;
    auto byte = [&](std::size_t i) { return i < b.size() ? static_cast<unsigned char>(b[i]) : 0u; };
    p.flags = static_cast<std::uint8_t>(byte(2));
    p.language = static_cast<int>(byte(3));
    if (b.size() > kShortPreferences) {
      int width = static_cast<int>(byte(4) << 8 | byte(5));
      int height = static_cast<int>(byte(6) << 8 | byte(7));
      // A size of nothing cannot be a window; the default stands for it.
      if (width > 0 && height > 0) p.client = {width, height};
    }
  }
  return p;
}

TitleFileRead read_title_file(const std::string& path) {
  TitleFileRead result;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.missing = true;
    result.problem = "cannot open " + path;
    return result;
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::unique_ptr<ResourceFile> file;
  OpenDiagnostics diagnostics;
  if (ResourceFile::open(std::make_unique<MemoryFile>(std::move(bytes), false), OpenOptions{}, file,
                         &diagnostics) != ResError::none) {
    result.missing = true;
    result.problem = path + " is not a resource file: " + diagnostics.reason;
    return result;
  }
  std::string name = std::filesystem::path(path).filename().string();
  TitlePreferences p =
      parse_preferences(resource_bytes(*file, "PREF", 257), resource_bytes(*file, "PREF", 258), name);
  try {
    p.memory = MemoryConfig::parse(as_bytes(resource_bytes(*file, "VPRF", 256)),
                                   as_bytes(resource_bytes(*file, "SIZE", -1)));
  } catch (const MemoryConfigError& e) {
    result.problem = e.what();
    return result;
  }
  result.preferences = std::move(p);
  return result;
}

}  // namespace orvane::shell
