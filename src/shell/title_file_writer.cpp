#include "shell/title_file_writer.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/file_io.h"
#include "storage/handle_store.h"
#include "storage/random_access.h"
#include "storage/resource_file.h"

namespace orvane::shell {

namespace fs = std::filesystem;

std::optional<std::vector<std::uint8_t>> title_file_image(std::span<const TitleResource> resources,
                                                          const std::string& file_name, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<std::vector<std::uint8_t>> {
    if (error) *error = why;
    return std::nullopt;
  };
  auto storage = std::make_unique<MemoryFile>(
      ResourceFile::empty_file_image(file_name, FourCC::of("ORVN"), FourCC::of("rsrc")));
  MemoryFile* image = storage.get();
  std::unique_ptr<ResourceFile> file;
  if (ResourceFile::open(std::move(storage), OpenOptions{}, file) != ResError::none)
    return fail("cannot make an empty resource file");
  MemoryHandleStore store;
  ResourceMap& map = file->map();
  for (const TitleResource& r : resources) {
    std::uint32_t h = store.create();
    if (!store.resize(h, static_cast<std::uint32_t>(r.data.size()))) return fail("out of memory");
    std::copy(r.data.begin(), r.data.end(), store.bytes(h).begin());
    EntryPos e = 0;
    if (map.add(FourCC::of(r.type), r.id, "", h, &e) != ResError::none)
      return fail("the resource map is full (too many resources or types)");
    map.set_handle(e, h);
    map.set_attrs(e, map.attrs(e) | rsrc::kResChanged);
  }
  map.set_attributes(map.attributes() | rsrc::kMapChanged);
  ResError written = file->update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
    if (!store.is_live(h)) return std::nullopt;
    return std::span<const std::uint8_t>(store.bytes(h));
  });
  if (written != ResError::none) return fail("the resources do not fit in a resource file");
  return image->bytes();
}

bool write_title_file(std::span<const TitleResource> resources, const std::string& path, std::string* error) {
  auto image = title_file_image(resources, fs::path(path).filename().string(), error);
  if (!image) return false;
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    out.close();
    if (!out) {
      platform::remove_file(partial);
      if (error) *error = "cannot write " + partial;
      return false;
    }
  }
  if (platform::rename_file(partial, path) != 0) {
    platform::remove_file(partial);
    if (error) *error = "cannot replace " + path;
    return false;
  }
  return true;
}

}  // namespace orvane::shell
