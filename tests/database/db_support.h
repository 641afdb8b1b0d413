// Helpers of the record-database tests: a temporary directory, files as
// bytes, and a database opened on a handle store in memory.
#pragma once

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/handle_store.h"

namespace orvane::testing {

using Bytes = std::vector<std::uint8_t>;

class DbTempDir {
 public:
  DbTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-db-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path_ = made ? made : "";
  }
  ~DbTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  DbTempDir(const DbTempDir&) = delete;
  DbTempDir& operator=(const DbTempDir&) = delete;
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline Bytes file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void put_file(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t fixed_clock() { return 1234567; }

inline std::unique_ptr<Database> open_db(const std::string& path, MemoryHandleStore& store,
                                         DbOpenMode mode = DbOpenMode::read_write) {
  return open_database_file(path, mode, store, fixed_clock);
}

inline void fill(HandleStore& store, std::uint32_t h, std::string_view data) {
  store.resize(h, static_cast<std::uint32_t>(data.size()));
  if (!data.empty()) std::memcpy(store.bytes(h).data(), data.data(), data.size());
}

inline std::string text_of(HandleStore& store, std::uint32_t h) {
  auto b = store.bytes(h);
  return std::string(b.begin(), b.end());
}

// Adds a record holding `data` and returns its handle.
inline std::uint32_t add_text(Database& db, HandleStore& store, std::string_view type, std::int32_t id,
                              std::string_view data, std::string_view name = "") {
  std::uint32_t h = store.create();
  fill(store, h, data);
  db.add(h, FourCC::of(type), id, name);
  return h;
}

// The data of record (type, id) read afresh from a file; "<absent>" when
// there is none.
inline std::string stored(const std::string& path, std::string_view type, std::int32_t id) {
  MemoryHandleStore store;
  auto db = open_db(path, store, DbOpenMode::read_only);
  DbEntry* e = db->find(FourCC::of(type), id);
  if (!e) return "<absent>";
  return text_of(store, db->load(FourCC::of(type), *e, false));
}

}  // namespace orvane::testing
