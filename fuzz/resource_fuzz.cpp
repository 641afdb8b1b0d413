// Resource files from arbitrary bytes: opened as the run-time opens them and
// as the tools do, every entry walked and its data read, the full check run,
// and whatever opens compacted, written back and opened again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "storage/resource_check.h"
#include "storage/resource_file.h"
#include "storage/resource_manager.h"

namespace {

using namespace orvane;

void walk(ResourceFile& file) {
  const ResourceMap& map = file.map();
  for (int t = 0, n = map.type_count(); t < n; ++t) (void)map.type_at(t);
  map.for_each_entry([&](int t, EntryPos e) {
    FourCC type = map.type_at(t).type;
    std::int16_t id = map.id(e);
    (void)map.name(e);
    (void)file.stored_length(map.data_field(e));
    (void)file.read_data(e);
    (void)map.find_id(type, id);
    (void)map.find_name(type, map.name(e));
  });
}

// Everything that opened must survive the edits and be written back whole.
void edit_and_write(ResourceFile& file) {
  ResourceMap& map = file.map();
  std::uint32_t handle = 1;
  map.add(FourCC::of("FUZZ"), 1, "added", handle);
  if (map.type_count() > 0 && map.type_at(0).count > 0) {
    EntryPos first = map.first_entry(0);
    map.set_info(first, 7, "a longer name than before");
    map.remove(first);
  }
  static const std::uint8_t data[] = {1, 2, 3, 4, 5};
  file.update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
    if (h != handle) return std::nullopt;
    return std::span<const std::uint8_t>(data);
  });
  auto& written = dynamic_cast<MemoryFile&>(file.storage());
  std::unique_ptr<ResourceFile> again;
  if (ResourceFile::open(std::make_unique<MemoryFile>(written.bytes()), OpenOptions{}, again) != ResError::none)
    __builtin_trap();
  walk(*again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  (void)check_resource_file(bytes);
  for (bool strict : {true, false}) {
    std::unique_ptr<ResourceFile> file;
    if (ResourceFile::open(std::make_unique<MemoryFile>(bytes), OpenOptions{.strict = strict}, file) != ResError::none)
      continue;
    walk(*file);
    if (strict) edit_and_write(*file);
  }
  // The manager's own path: open, preload, search, count.
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager manager(store, refs);
  if (manager.open_storage("fuzz", std::make_unique<MemoryFile>(bytes)) > 0) {
    for (int i = 1, n = manager.count1_types(); i <= n && i <= 64; ++i) {
      FourCC type = *manager.get1_indexed_type(i);
      for (int k = 1, m = manager.count(type); k <= m && k <= 64; ++k) manager.get_indexed(type, k);
      (void)manager.unique_id(type);
    }
    (void)manager.indexed_string(0, 1);
    (void)manager.indexed_pattern(0, 1);
    manager.close_all();
  }
  return 0;
}
