// Record databases: files of typed, numbered, optionally named records that
// titles use to keep data between runs. A sibling of the resource file: a
// 256-byte header, a data area and a map held whole in memory, with 32-bit
// counts, ids and offsets, sizes in the map, modification times, on-disk
// compaction and Macintosh-to-Windows conversion of text records.
//
// Free of Lisp types: record data lives in a HandleStore, failures are thrown
// as DatabaseError and the primitives turn them into Lisp errors.
//
// Crash safety: every change goes through a RandomAccess whose writes are
// journaled (storage/journal.h); each operation that touches the file ends
// with the header and map rewritten and a commit, so the file on disk is
// always whole: as before the operation, or as after it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "storage/handle_store.h"
#include "storage/random_access.h"
#include "storage/resource_format.h"

namespace orvane {

namespace db {
inline constexpr std::uint32_t kHeaderSize = 256;
inline constexpr std::uint32_t kKeptOffset = 128;  // bytes 128..255 kept and written back
inline constexpr std::uint32_t kKeptSize = 128;
inline constexpr std::uint8_t kFormatMark = 2;
inline constexpr std::uint32_t kMapHeaderSize = 34;  // header copy, link, file, attrs, two offsets
inline constexpr std::uint32_t kTypeEntrySize = 12;
inline constexpr std::uint32_t kRecordEntrySize = 26;
inline constexpr std::uint32_t kEmptyMapSize = 38;
inline constexpr std::size_t kMaxName = 255;

// Database attributes.
inline constexpr std::uint16_t kMapChanged = 0x20;
inline constexpr std::uint16_t kMapNeedsCompaction = 0x40;
inline constexpr std::uint16_t kReadOnly = 0x80;

// Record attributes.
inline constexpr std::uint8_t kChanged = 0x02;
inline constexpr std::uint8_t kPreload = 0x04;
inline constexpr std::uint8_t kProtected = 0x08;
inline constexpr std::uint8_t kPurgeable = 0x20;
inline constexpr std::uint8_t kWindowsText = 0x40;
}  // namespace db

// A failure. `code` is a database error (1 not a database, 2 out of memory,
// 3 read failure, 4 not open, 5 not a record / index out of range, 6 file
// exists or missing, 7 handle missing or already a record, 8 protected,
// 9 read-only) unless `system` is set: then it is a system error number of
// the file layer (platform::sys_error).
struct DatabaseError : std::runtime_error {
  DatabaseError(int c, bool sys, const char* what) : std::runtime_error(what), code(c), system(sys) {}
  int code;
  bool system;
};

enum class DbOpenMode { read_only = 0, read_write_or_read_only = 1, read_write = 2 };

struct DbEntry {
  std::int32_t id = 0;
  std::int32_t name_offset = -1;  // in the name list; -1 = no name
  std::uint8_t attrs = 0;
  std::int32_t data_offset = -1;  // from the start of the data area; -1 = no data yet
  std::int32_t size = -1;         // -1 = never written
  std::uint32_t time = 0;         // seconds of the run-time's date clock
  std::uint32_t handle = 0;       // in memory only
};

struct DbType {
  FourCC type;
  std::vector<DbEntry> entries;
};

struct DbHeader {
  std::uint32_t data_offset = 0, map_offset = 0, data_length = 0, map_length = 0;
  FourCC creator, type;
  std::uint8_t mark = 0;
};

// The first 16 bytes and the format mark of a header, and whether they fit
// a file of `file_size` bytes.
std::optional<DbHeader> parse_db_header(std::span<const std::uint8_t> first256);
bool header_is_valid(const DbHeader& h, std::uint64_t file_size);

// The 294 bytes of an empty database.
std::vector<std::uint8_t> empty_database_bytes(FourCC creator, FourCC type);

// Whether a record of this type holds text (converted from the Macintosh
// character set when loaded).
bool is_text_type(FourCC type);
// Macintosh (Mac OS Roman) to Windows-1252, the inverse of windows_to_mac.
std::uint8_t mac_to_windows(std::uint8_t c);

class Database {
 public:
  // Opens storage already positioned on a database; `read_only` when it
  // could only be opened for reading. Throws DatabaseError.
  Database(std::string path, std::unique_ptr<RandomAccess> storage, HandleStore& handles,
           std::function<std::uint32_t()> now);
  ~Database();  // disposes of every handle the database holds; no update
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& path() const { return path_; }
  bool read_only() const { return (attrs_ & db::kReadOnly) != 0; }
  std::uint16_t attrs() const { return attrs_; }
  const DbHeader& header() const { return header_; }
  const std::vector<DbType>& types() const { return types_; }
  std::string_view name_of(const DbEntry& e) const;

  // --- Finding ---
  int count(FourCC type) const;
  int count_types() const { return static_cast<int>(types_.size()); }
  std::optional<FourCC> indexed_type(int index) const;
  DbEntry* find(FourCC type, std::int32_t id);
  DbEntry* find_named(FourCC type, std::string_view name);
  DbEntry* indexed(FourCC type, int index);  // nullptr when out of range
  DbEntry* find_handle(std::uint32_t h, FourCC* type_out = nullptr);
  bool owns(std::uint32_t h) { return h != 0 && find_handle(h) != nullptr; }
  // Forgets every handle without disposing of it.
  void forget_handles();

  // --- One record ---
  // Reads the record's data if needed; returns its handle (created empty
  // when no_load is asked and there was none).
  std::uint32_t load(FourCC type, DbEntry& e, bool no_load);
  void release(std::uint32_t h);
  void detach(std::uint32_t h);
  void set_info(std::uint32_t h, std::int32_t id, std::string_view name);
  void set_attrs(std::uint32_t h, std::uint8_t attrs);
  void changed(std::uint32_t h);
  void add(std::uint32_t h, FourCC type, std::int32_t id, std::string_view name);
  void remove(std::uint32_t h);
  // Writes one changed record, then the header and map (the file stays whole).
  void write_record(std::uint32_t h);
  std::int32_t size_of(const DbEntry& e) const;

  // --- The whole file ---
  // Writes changed records and the map; compacts the file instead when
  // little of the data area is used and `allow_compaction` is set.
  void update(bool allow_compaction);
  void compact();
  // The number of bytes of the data area still used by records.
  std::uint64_t bytes_in_use() const;

  // Reports of an inconsistent map met while compacting (the caller shows
  // the internal-error alert).
  std::function<void()> on_inconsistent_map;

 private:
  void read_map(std::span<const std::uint8_t> map);
  void require_writable() const;
  DbEntry& entry_of(std::uint32_t h, FourCC* type = nullptr);
  std::int32_t append_name(std::string_view name);
  void write_entry_data(FourCC type, DbEntry& e);  // algorithm of one record, no map
  void compact_map();
  std::uint32_t map_length() const;
  std::vector<std::uint8_t> map_bytes() const;
  void write_header_and_map();
  void write_or_throw(std::vector<PlannedWrite> batch);
  void commit_or_throw();
  std::uint32_t live_handle(DbEntry& e);

  std::string path_;
  std::unique_ptr<RandomAccess> storage_;
  HandleStore& handles_;
  std::function<std::uint32_t()> now_;
  DbHeader header_;
  std::array<std::uint8_t, db::kKeptSize> kept_{};
  std::uint16_t attrs_ = 0;
  std::vector<DbType> types_;
  std::vector<std::uint8_t> names_;  // the name list as stored
  std::vector<PlannedWrite> pending_;  // record data queued by the current operation
};

// Creates a database file (error 6 when a file exists at the path).
void create_database_file(std::string_view path, FourCC creator, FourCC type);
// Writes an empty database at the start of an existing file (error 6 when
// there is none).
void create_database_in_file(std::string_view path, FourCC creator, FourCC type);
// Whether the file's first bytes form a valid database header.
bool is_database_file(std::string_view path);
// Opens a database file; throws DatabaseError.
std::unique_ptr<Database> open_database_file(std::string_view path, DbOpenMode mode, HandleStore& handles,
                                             std::function<std::uint32_t()> now);

// The chain of open databases, newest first, with the unique-id counter.
class DatabaseSet {
 public:
  explicit DatabaseSet(HandleStore& handles, std::function<std::uint32_t()> now)
      : handles_(handles), now_(std::move(now)) {}
  // A small positive id naming the database.
  std::uint32_t open(std::string_view path, DbOpenMode mode);
  std::uint32_t adopt(std::unique_ptr<Database> db);
  void close(std::uint32_t id, bool no_update, bool allow_compaction);
  void close_all();
  Database* get(std::uint32_t id);
  Database& require(std::uint32_t id);  // error 4 when not open
  // The database owning a handle, newest first (error 5 when none).
  std::pair<std::uint32_t, Database*> owner(std::uint32_t h);
  std::int32_t unique_id(FourCC type, const std::vector<std::uint32_t>& databases);
  std::vector<std::uint32_t> open_ids() const;
  HandleStore& handles() { return handles_; }
  std::function<void()> on_inconsistent_map;
  // Drops every database without writing or disposing of handles (their
  // store is gone); unfinished changes are rolled back by their journals.
  void abandon_all();

 private:
  HandleStore& handles_;
  std::function<std::uint32_t()> now_;
  std::vector<std::pair<std::uint32_t, std::unique_ptr<Database>>> chain_;  // newest first
  std::uint32_t next_id_ = 1;
  std::optional<FourCC> unique_type_;
  std::int32_t unique_counter_ = 0;
};

}  // namespace orvane
