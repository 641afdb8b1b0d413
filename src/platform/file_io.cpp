#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace orvane::platform {

namespace {

// The fault-injection hook's state (tests only; see the header).
struct FaultHook {
  std::uint64_t fire_at = 0;
  std::uint64_t count = 0;
  bool tear = false;
};
FaultHook& fault_hook() {
  static FaultHook hook;
  return hook;
}

// Counts one change; answers true when the process must end after it.
bool change_ends_process() {
  FaultHook& h = fault_hook();
  ++h.count;
  return h.fire_at != 0 && h.count == h.fire_at;
}

[[noreturn]] void end_process() { _exit(kFaultExitCode); }

// The host error numbers are the classic C ones on every POSIX host.
int last_error() { return errno == 0 ? sys_error::io : errno; }

std::string path_string(std::string_view path) { return std::string(path); }

int open_descriptor(const std::string& path, int flags, int& fd) {
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return last_error();
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    int err = S_ISDIR(st.st_mode) ? sys_error::is_directory : last_error();
    ::close(fd);
    fd = -1;
    return err;
  }
  return sys_error::none;
}

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

}  // namespace

// --- File ----------------------------------------------------------------------

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), writable_(other.writable_), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = other.writable_;
    path_ = std::move(other.path_);
  }
  return *this;
}

File::~File() { close(); }

void File::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  writable_ = false;
}

int File::open(std::string_view path, OpenMode mode, File& out) {
  out.close();
  std::string p = path_string(path);
  int fd = -1;
  int err = sys_error::none;
  bool writable = mode != OpenMode::read_only;
  if (writable) {
    err = open_descriptor(p, O_RDWR, fd);
    if (err != sys_error::none && mode == OpenMode::read_write_or_read_only &&
        err != sys_error::not_found && err != sys_error::is_directory) {
      writable = false;
      err = open_descriptor(p, O_RDONLY, fd);
    }
  } else {
    err = open_descriptor(p, O_RDONLY, fd);
  }
  if (err != sys_error::none) return err;
  out.fd_ = fd;
  out.writable_ = writable;
  out.path_ = std::move(p);
  return sys_error::none;
}

int File::create(std::string_view path, CreateMode mode, File& out) {
  out.close();
  std::string p = path_string(path);
  int flags = O_RDWR | O_CREAT | (mode == CreateMode::exclusive ? O_EXCL : O_TRUNC);
  int fd = -1;
  int err = open_descriptor(p, flags, fd);
  if (err != sys_error::none) return err;
  out.fd_ = fd;
  out.writable_ = true;
  out.path_ = std::move(p);
  return sys_error::none;
}

int File::read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const {
  count = 0;
  if (fd_ < 0) return sys_error::invalid;
  while (count < out.size()) {
    ssize_t n = ::pread(fd_, out.data() + count, out.size() - count, static_cast<off_t>(offset + count));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return last_error();
    if (n == 0) break;
    count += static_cast<std::size_t>(n);
  }
  return sys_error::none;
}

int File::read_exact(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t count = 0;
  int err = read_at(offset, out, count);
  if (err != sys_error::none) return err;
  return count == out.size() ? sys_error::none : sys_error::io;
}

int File::write_at(std::uint64_t offset, std::span<const std::uint8_t> in) {
  if (fd_ < 0) return sys_error::invalid;
  if (!writable_) return sys_error::permission;
  if (change_ends_process()) {
    if (fault_hook().tear && in.size() > 1) in = in.first(in.size() / 2);
    (void)write_all(fd_, offset, in);
    end_process();
  }
  return write_all(fd_, offset, in);
}

int File::size(std::uint64_t& out) const {
  out = 0;
  if (fd_ < 0) return sys_error::invalid;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return last_error();
  out = static_cast<std::uint64_t>(st.st_size);
  return sys_error::none;
}

int File::truncate(std::uint64_t length) {
  if (fd_ < 0) return sys_error::invalid;
  if (!writable_) return sys_error::permission;
  bool last = change_ends_process();
  int err = ::ftruncate(fd_, static_cast<off_t>(length)) == 0 ? sys_error::none : last_error();
  if (last) end_process();
  return err;
}

int File::sync() {
  if (fd_ < 0) return sys_error::invalid;
  return ::fsync(fd_) == 0 ? sys_error::none : last_error();
}

int File::try_lock() {
  if (fd_ < 0) return sys_error::invalid;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return sys_error::none;
  return errno == EWOULDBLOCK ? sys_error::busy : last_error();
}

// --- Paths ---------------------------------------------------------------------

bool file_exists(std::string_view path) {
  struct stat st {};
  return ::stat(path_string(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool directory_exists(std::string_view path) {
  struct stat st {};
  return ::stat(path_string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int create_directory(std::string_view path) {
  if (::mkdir(path_string(path).c_str(), 0777) == 0) return sys_error::none;
  if (errno == EEXIST && directory_exists(path)) return sys_error::none;
  return last_error();
}

int remove_file(std::string_view path) {
  bool last = change_ends_process();
  int err = ::unlink(path_string(path).c_str()) == 0 ? sys_error::none : last_error();
  if (last) end_process();
  return err;
}

int rename_file(std::string_view from, std::string_view to) {
  bool last = change_ends_process();
  int err = ::rename(path_string(from).c_str(), path_string(to).c_str()) == 0 ? sys_error::none
                                                                            : last_error();
  if (last) end_process();
  return err;
}

int rename_file_no_replace(std::string_view from, std::string_view to) {
  std::string f = path_string(from), t = path_string(to);
  bool last = change_ends_process();
  int err = sys_error::none;
  if (::renameat2(AT_FDCWD, f.c_str(), AT_FDCWD, t.c_str(), RENAME_NOREPLACE) != 0) {
    err = last_error();
    // File systems without the flag: a hard link fails when `to` exists.
    if (err == EINVAL || err == ENOSYS) {
      err = ::link(f.c_str(), t.c_str()) == 0 ? sys_error::none : last_error();
      if (err == sys_error::none) ::unlink(f.c_str());
    }
  }
  if (last) end_process();
  return err;
}

int sync_parent_directory(std::string_view path) {
  std::string p = path_string(path);
  auto slash = p.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return last_error();
  int err = ::fsync(fd) == 0 ? sys_error::none : last_error();
  ::close(fd);
  return err;
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

// --- Fault injection -------------------------------------------------------------

void set_fault_after_changes(std::uint64_t n, bool tear) { fault_hook() = FaultHook{n, 0, tear}; }

std::uint64_t changes_made() { return fault_hook().count; }

}  // namespace orvane::platform
