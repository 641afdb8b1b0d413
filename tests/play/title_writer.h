// Titles written by the tests: resource files made with the storage layer's
// own writer, and `orvane play --headless` run on them.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "storage/handle_store.h"
#include "storage/journal.h"
#include "storage/resource_file.h"

namespace orvane::testing {

// The resources of a title: type and id to bytes.
class TitleWriter {
 public:
  TitleWriter& add(const std::string& type, std::int16_t id, std::string bytes) {
    resources_[{type, id}] = std::move(bytes);
    return *this;
  }
  TitleWriter& load(std::int16_t id, std::string source) { return add("Load", id, std::move(source)); }

  // Writes the resource file; false when the writer refuses.
  bool write(const std::string& path) const {
    std::filesystem::remove(path);
    if (ResourceFile::create(path, FourCC::of("ORVN"), FourCC::of("rsrc")) != ResError::none) return false;
    std::unique_ptr<JournaledFile> storage;
    if (JournaledFile::open(path, platform::OpenMode::read_write, storage, nullptr) != 0) return false;
    std::unique_ptr<ResourceFile> file;
    if (ResourceFile::open(std::move(storage), OpenOptions{}, file) != ResError::none) return false;
    MemoryHandleStore store;
    ResourceMap& map = file->map();
    for (const auto& [key, bytes] : resources_) {
      std::uint32_t h = store.create();
      store.resize(h, static_cast<std::uint32_t>(bytes.size()));
      if (!bytes.empty()) std::memcpy(store.bytes(h).data(), bytes.data(), bytes.size());
      EntryPos e = 0;
      if (map.add(FourCC::of(key.first), key.second, "", h, &e) != ResError::none) return false;
      map.set_handle(e, h);
      map.set_attrs(e, map.attrs(e) | rsrc::kResChanged);
    }
    map.set_attributes(map.attributes() | rsrc::kMapChanged);
    return file->update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
             if (!store.is_live(h)) return std::nullopt;
             return std::span<const std::uint8_t>(store.bytes(h));
           }) == ResError::none;
  }

 private:
  std::map<std::pair<std::string, std::int16_t>, std::string> resources_;
};

// Big-endian helpers for resource contents.
inline std::string be16(int v) { return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }
inline std::string be32(std::uint32_t v) { return be16(static_cast<int>(v >> 16)) + be16(static_cast<int>(v & 0xFFFF)); }

struct RunResult {
  int status = -1;
  std::string out, err;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a command line in a shell in the directory `scratch`, its outputs to files there.
inline RunResult run_command_line(const std::string& command, const std::string& scratch) {
  std::string out = scratch + "/stdout.txt", err = scratch + "/stderr.txt";
  std::string line = "cd '" + scratch + "' && " + command + " >" + out + " 2>" + err + " </dev/null";
  int raw = std::system(line.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  return r;
}

}  // namespace orvane::testing
