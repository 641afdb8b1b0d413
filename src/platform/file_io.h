// Files: open, positioned reads and writes, flush to disk, truncate,
// rename, remove; on the host's file system or on a simulated one.
//
// Failures are reported as system error numbers with the classic C meanings
// that the file primitives map to Lisp errors: 2 not found, 13 permission
// denied, 17 already exists, 24 too many open files, 28 disk full (a short
// write counts as a full disk). 0 means success.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvane::platform {

namespace sys_error {
inline constexpr int none = 0;
inline constexpr int not_found = 2;
inline constexpr int io = 5;
inline constexpr int permission = 13;
inline constexpr int exists = 17;
inline constexpr int is_directory = 21;
inline constexpr int invalid = 22;
inline constexpr int too_many_open = 24;
inline constexpr int disk_full = 28;
inline constexpr int busy = 11;  // a lock held by another opener
}  // namespace sys_error

enum class OpenMode {
  read_only,
  read_write,
  read_write_or_read_only,  // read and write, falling back to read only
};

enum class CreateMode {
  replace,    // create, truncating an existing file
  exclusive,  // create; sys_error::exists when the path exists
};

// Which file an open file is, as the host names it: a file keeps its
// identity while it is written and renamed; a file put in its place (a copy,
// a new file renamed over it) has another.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct OpenRequest {
  bool write = false;
  bool create = false;     // create when missing
  bool exclusive = false;  // with create: sys_error::exists when the path exists
  bool truncate = false;
};

// Where files live: the host's file system, or a simulated disk that tests
// cut the power of (platform/simulated_disk.h). Handles are the file
// system's own small numbers; paths use '/'.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int open(const std::string& path, OpenRequest how, int& handle) = 0;
  virtual void close(int handle) = 0;
  virtual int read_at(int handle, std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) = 0;
  virtual int write_at(int handle, std::uint64_t offset, std::span<const std::uint8_t> in) = 0;
  virtual int size(int handle, std::uint64_t& out) = 0;
  virtual int truncate(int handle, std::uint64_t length) = 0;
  // Makes the file's contents and length durable (not its directory entry).
  virtual int sync(int handle) = 0;
  virtual int try_lock(int handle) = 0;
  virtual int identity(int handle, FileIdentity& out) = 0;

  virtual bool file_exists(const std::string& path) = 0;
  virtual bool directory_exists(const std::string& path) = 0;
  virtual int create_directory(const std::string& path) = 0;
  virtual int remove_file(const std::string& path) = 0;
  virtual int rename(const std::string& from, const std::string& to, bool replace) = 0;
  // Makes the entries created, renamed or removed in the directory durable.
  virtual int sync_directory(const std::string& path) = 0;
};

// The host's own file system.
FileSystem& host_file_system();
// The file system every File and path function below uses: the host's,
// unless a FileSystemScope is in force.
FileSystem& file_system();

// Makes another file system current for as long as it lives; nests. Files
// opened meanwhile keep the file system they were opened on.
class FileSystemScope {
 public:
  explicit FileSystemScope(FileSystem& replacement);
  ~FileSystemScope();
  FileSystemScope(const FileSystemScope&) = delete;
  FileSystemScope& operator=(const FileSystemScope&) = delete;

 private:
  FileSystem* saved_;
};

// An open file, closed when the object dies. Reads and writes take an
// explicit position and never move a shared file pointer.
class File {
 public:
  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Opens an existing file. Other openers may read and write it too.
  static int open(std::string_view path, OpenMode mode, File& out);
  static int create(std::string_view path, CreateMode mode, File& out);

  bool is_open() const { return handle_ >= 0; }
  bool writable() const { return writable_; }
  const std::string& path() const { return path_; }

  // Reads up to out.size() bytes at offset; `count` is what was read (less
  // than asked only at the end of the file).
  int read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const;
  // Reads exactly out.size() bytes; sys_error::io when the file is shorter.
  int read_exact(std::uint64_t offset, std::span<std::uint8_t> out) const;
  // Writes all the bytes at offset.
  int write_at(std::uint64_t offset, std::span<const std::uint8_t> in);
  int size(std::uint64_t& out) const;
  int truncate(std::uint64_t length);
  // Makes everything written so far durable (fsync).
  int sync();
  int identity(FileIdentity& out) const;
  // An advisory lock that another opener cannot take while this one holds it;
  // released when the file closes or the process ends. sys_error::busy when
  // someone else holds it.
  int try_lock();
  void close();

 private:
  FileSystem* fs_ = nullptr;
  int handle_ = -1;
  bool writable_ = false;
  std::string path_;
};

bool file_exists(std::string_view path);        // a file, not a directory
bool directory_exists(std::string_view path);
// Creates a directory; an existing one is fine.
int create_directory(std::string_view path);
int remove_file(std::string_view path);
int rename_file(std::string_view from, std::string_view to);  // replaces `to`
// Renames unless `to` exists (sys_error::exists then).
int rename_file_no_replace(std::string_view from, std::string_view to);
// Makes the creation, removal or renaming of entries in the directory that
// holds `path` durable.
int sync_parent_directory(std::string_view path);
// The whole contents of a file.
int read_whole_file(std::string_view path, std::string& out);

}  // namespace orvane::platform
