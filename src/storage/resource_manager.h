// The resource manager: the chain of open resource files (newest first), the
// current file, the load flag, the last error code, the type-count cache and
// the unique-id counter, with every operation the resource primitives and
// the other subsystems need. Resources are named by their handles; data
// lives in a HandleStore. Free of Lisp types.
//
// Every operation sets the last error code (`reserror`); none throws.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_refs.h"
#include "storage/handle_store.h"
#include "storage/resource_file.h"
#include "storage/resource_records.h"

namespace orvane {

struct ResourceInfo {
  FourCC type;
  std::int16_t id = 0;
  bool has_name = false;
  std::string name;
  std::uint8_t attrs = 0;
};

class ResourceManager {
 public:
  ResourceManager(HandleStore& handles, FileRefTable& refs);
  // Drops the open files without writing them: changes not yet committed
  // are rolled back by their journals; handles are left alone (their store
  // may be gone). Close the files first to keep changes.
  ~ResourceManager();
  ResourceManager(const ResourceManager&) = delete;
  ResourceManager& operator=(const ResourceManager&) = delete;

  ResError last_error() const { return error_; }
  // Puts back a code saved before an inspection (the printer's).
  void restore_error(ResError saved) { error_ = saved; }
  int current_file() const { return current_; }
  bool load_flag() const { return load_; }
  void set_load_flag(bool on) { load_ = on; }

  // --- Files ---
  // A reference number, or -1 (the error code says why).
  int open(std::string_view path);
  // Opens a file held by any storage; `path` names it for the open-file check.
  int open_storage(std::string_view path, std::unique_ptr<RandomAccess> storage);
  void close(int refnum);
  void close_all();
  void use(int refnum);
  int find_open(std::string_view path) const;  // 0 when not open
  // Whether the path names an open resource file or one that would open.
  bool can_open(std::string_view path);
  int home_file(std::uint32_t h);
  std::uint16_t file_attrs(int refnum);
  void set_file_attrs(int refnum, std::uint16_t attrs);
  void update(int refnum);
  ResError create_file(std::string_view path, FourCC creator, FourCC type);
  std::vector<int> open_files() const;  // newest first
  ResourceFile* file(int refnum);
  std::string_view path_of(int refnum) const;

  // --- Finding resources (0: nothing found) ---
  int count(FourCC type);
  std::uint32_t get_indexed(FourCC type, int index);
  std::uint32_t get(FourCC type, std::int16_t id);
  std::uint32_t get_named(FourCC type, std::string_view name);
  std::uint32_t get1(FourCC type, std::int16_t id);
  int count1_types();
  std::optional<FourCC> get1_indexed_type(int index);
  int count1(FourCC type);
  std::uint32_t get1_indexed(FourCC type, int index);
  std::int16_t unique_id(FourCC type);

  // --- One resource, by handle ---
  void load(std::uint32_t h);
  void release(std::uint32_t h);
  void detach(std::uint32_t h);
  std::optional<ResourceInfo> info(std::uint32_t h);
  std::int32_t size_of(std::uint32_t h);
  void set_info(std::uint32_t h, std::int16_t id, std::string_view name);
  void set_attrs(std::uint32_t h, std::uint8_t attrs);
  void changed(std::uint32_t h);
  void add(std::uint32_t h, FourCC type, std::int16_t id, std::string_view name);
  void remove(std::uint32_t h);
  void write(std::uint32_t h);
  // Whether an open file owns the handle (no error code is set).
  bool owns(std::uint32_t h) const;

  // --- Records ---
  std::optional<std::string> indexed_string(std::int16_t list_id, int index);
  std::optional<std::string> string_resource(std::int16_t id);
  // Algorithm of the pen code: built-in patterns for list 0, else "PAT#".
  std::optional<Pattern> indexed_pattern(std::int16_t list_id, int index);

 private:
  struct OpenFile {
    int refnum = 0;
    std::string path;
    std::unique_ptr<ResourceFile> file;
  };
  struct Found {
    OpenFile* file;
    EntryPos entry;
  };

  OpenFile* find_file(int refnum);
  const OpenFile* find_file(int refnum) const;
  std::optional<Found> find_handle(std::uint32_t h);
  // The entry's handle when it is still live (a disposed one is forgotten).
  std::uint32_t live_handle(ResourceMap& map, EntryPos e);
  ResError load_entry(OpenFile& f, EntryPos e);
  std::uint32_t load_found(OpenFile& f, EntryPos e);
  template <class Find>
  std::uint32_t search(bool current_only, const Find& find_in_map);
  std::uint32_t indexed(FourCC type, int index, bool current_only);
  void rebuild_counts();
  void forget_handles(OpenFile& f);

  HandleStore& handles_;
  FileRefTable& refs_;
  std::vector<OpenFile> chain_;  // most recently opened first
  int current_ = 0;
  bool load_ = true;
  ResError error_ = ResError::none;
  bool counts_dirty_ = true;
  std::vector<std::pair<FourCC, int>> counts_;
  std::optional<FourCC> unique_type_;
  int unique_counter_ = 128;
};

}  // namespace orvane
