#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>
#include <utility>

namespace orvane::platform {

namespace {

// The host error numbers are the classic C ones on every POSIX host.
int last_error() { return errno == 0 ? sys_error::io : errno; }

int write_all(int fd, std::uint64_t offset, std::span<const std::uint8_t> in) {
  std::size_t done = 0;
  while (done < in.size()) {
    ssize_t n = ::pwrite(fd, in.data() + done, in.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno == ENOSPC ? sys_error::disk_full : last_error();
    if (n == 0) return sys_error::disk_full;
    done += static_cast<std::size_t>(n);
  }
  return sys_error::none;
}

std::string parent_of(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// POSIX: handles are file descriptors.
class HostFileSystem final : public FileSystem {
 public:
  int open(const std::string& path, OpenRequest how, int& handle) override {
    int flags = how.write ? O_RDWR : O_RDONLY;
    if (how.create) flags |= O_CREAT;
    if (how.exclusive) flags |= O_EXCL;
    if (how.truncate) flags |= O_TRUNC;
    int fd = -1;
    do {
      fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return last_error();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      int err = S_ISDIR(st.st_mode) ? sys_error::is_directory : last_error();
      ::close(fd);
      return err;
    }
    handle = fd;
    return sys_error::none;
  }

  void close(int handle) override { ::close(handle); }

  int read_at(int handle, std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) override {
    count = 0;
    while (count < out.size()) {
      ssize_t n = ::pread(handle, out.data() + count, out.size() - count, static_cast<off_t>(offset + count));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return last_error();
      if (n == 0) break;
      count += static_cast<std::size_t>(n);
    }
    return sys_error::none;
  }

  int write_at(int handle, std::uint64_t offset, std::span<const std::uint8_t> in) override {
    return write_all(handle, offset, in);
  }

  int size(int handle, std::uint64_t& out) override {
    struct stat st {};
    if (::fstat(handle, &st) != 0) return last_error();
    out = static_cast<std::uint64_t>(st.st_size);
    return sys_error::none;
  }

  int truncate(int handle, std::uint64_t length) override {
    return ::ftruncate(handle, static_cast<off_t>(length)) == 0 ? sys_error::none : last_error();
  }

  int sync(int handle) override { return ::fsync(handle) == 0 ? sys_error::none : last_error(); }

  int try_lock(int handle) override {
    if (::flock(handle, LOCK_EX | LOCK_NB) == 0) return sys_error::none;
    return errno == EWOULDBLOCK ? sys_error::busy : last_error();
  }

  int identity(int handle, FileIdentity& out) override {
    struct stat st {};
    if (::fstat(handle, &st) != 0) return last_error();
    out = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return sys_error::none;
  }

  bool file_exists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool directory_exists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  int create_directory(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0) return sys_error::none;
    if (errno == EEXIST && directory_exists(path)) return sys_error::none;
    return last_error();
  }

  int remove_file(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? sys_error::none : last_error();
  }

  int rename(const std::string& from, const std::string& to, bool replace) override {
    if (replace) return ::rename(from.c_str(), to.c_str()) == 0 ? sys_error::none : last_error();
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return sys_error::none;
    int err = last_error();
    // File systems without the flag: a hard link fails when `to` exists.
    if (err == EINVAL || err == ENOSYS) {
      err = ::link(from.c_str(), to.c_str()) == 0 ? sys_error::none : last_error();
      if (err == sys_error::none) ::unlink(from.c_str());
    }
    return err;
  }

  int sync_directory(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return last_error();
    int err = ::fsync(fd) == 0 ? sys_error::none : last_error();
    ::close(fd);
    // Some file systems cannot flush a directory; their entries are as
    // durable as they will get.
    return err == EINVAL ? sys_error::none : err;
  }
};

// The file system in force (a documented singleton: see FileSystemScope).
FileSystem*& current_file_system() {
  static FileSystem* current = &host_file_system();
  return current;
}

}  // namespace

FileSystem& host_file_system() {
  // Never destroyed: files that close while the process exits still reach it.
  alignas(HostFileSystem) static unsigned char storage[sizeof(HostFileSystem)];
  static HostFileSystem* host = new (storage) HostFileSystem;
  return *host;
}

FileSystem& file_system() { return *current_file_system(); }

FileSystemScope::FileSystemScope(FileSystem& replacement) : saved_(current_file_system()) {
  current_file_system() = &replacement;
}

FileSystemScope::~FileSystemScope() { current_file_system() = saved_; }

// --- File ----------------------------------------------------------------------

File::File(File&& other) noexcept
    : fs_(other.fs_),
      handle_(std::exchange(other.handle_, -1)),
      writable_(other.writable_),
      path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fs_ = other.fs_;
    handle_ = std::exchange(other.handle_, -1);
    writable_ = other.writable_;
    path_ = std::move(other.path_);
  }
  return *this;
}

File::~File() { close(); }

void File::close() {
  if (handle_ >= 0) fs_->close(handle_);
  handle_ = -1;
  writable_ = false;
}

int File::open(std::string_view path, OpenMode mode, File& out) {
  out.close();
  FileSystem& fs = file_system();
  std::string p(path);
  int handle = -1;
  int err = sys_error::none;
  bool writable = mode != OpenMode::read_only;
  if (writable) {
    err = fs.open(p, {.write = true}, handle);
    if (err != sys_error::none && mode == OpenMode::read_write_or_read_only && err != sys_error::not_found &&
        err != sys_error::is_directory) {
      writable = false;
      err = fs.open(p, {}, handle);
    }
  } else {
    err = fs.open(p, {}, handle);
  }
  if (err != sys_error::none) return err;
  out.fs_ = &fs;
  out.handle_ = handle;
  out.writable_ = writable;
  out.path_ = std::move(p);
  return sys_error::none;
}

int File::create(std::string_view path, CreateMode mode, File& out) {
  out.close();
  FileSystem& fs = file_system();
  std::string p(path);
  OpenRequest how{.write = true, .create = true};
  if (mode == CreateMode::exclusive) how.exclusive = true;
  else how.truncate = true;
  int handle = -1;
  if (int err = fs.open(p, how, handle)) return err;
  out.fs_ = &fs;
  out.handle_ = handle;
  out.writable_ = true;
  out.path_ = std::move(p);
  return sys_error::none;
}

int File::read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const {
  count = 0;
  if (handle_ < 0) return sys_error::invalid;
  return fs_->read_at(handle_, offset, out, count);
}

int File::read_exact(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t count = 0;
  int err = read_at(offset, out, count);
  if (err != sys_error::none) return err;
  return count == out.size() ? sys_error::none : sys_error::io;
}

int File::write_at(std::uint64_t offset, std::span<const std::uint8_t> in) {
  if (handle_ < 0) return sys_error::invalid;
  if (!writable_) return sys_error::permission;
  return fs_->write_at(handle_, offset, in);
}

int File::size(std::uint64_t& out) const {
  out = 0;
  if (handle_ < 0) return sys_error::invalid;
  return fs_->size(handle_, out);
}

int File::truncate(std::uint64_t length) {
  if (handle_ < 0) return sys_error::invalid;
  if (!writable_) return sys_error::permission;
  return fs_->truncate(handle_, length);
}

int File::sync() {
  if (handle_ < 0) return sys_error::invalid;
  return fs_->sync(handle_);
}

int File::identity(FileIdentity& out) const {
  out = {};
  if (handle_ < 0) return sys_error::invalid;
  return fs_->identity(handle_, out);
}

int File::try_lock() {
  if (handle_ < 0) return sys_error::invalid;
  return fs_->try_lock(handle_);
}

// --- Paths ---------------------------------------------------------------------

bool file_exists(std::string_view path) { return file_system().file_exists(std::string(path)); }

bool directory_exists(std::string_view path) { return file_system().directory_exists(std::string(path)); }

int create_directory(std::string_view path) { return file_system().create_directory(std::string(path)); }

int remove_file(std::string_view path) { return file_system().remove_file(std::string(path)); }

int rename_file(std::string_view from, std::string_view to) {
  return file_system().rename(std::string(from), std::string(to), true);
}

int rename_file_no_replace(std::string_view from, std::string_view to) {
  return file_system().rename(std::string(from), std::string(to), false);
}

int sync_parent_directory(std::string_view path) {
  return file_system().sync_directory(parent_of(std::string(path)));
}

int read_whole_file(std::string_view path, std::string& out) {
  out.clear();
  File f;
  int err = File::open(path, OpenMode::read_only, f);
  if (err != sys_error::none) return err;
  std::uint64_t n = 0;
  if ((err = f.size(n)) != sys_error::none) return err;
  out.resize(static_cast<std::size_t>(n));
  std::size_t count = 0;
  err = f.read_at(0, std::span(reinterpret_cast<std::uint8_t*>(out.data()), out.size()), count);
  out.resize(count);
  return err;
}

}  // namespace orvane::platform
