#include "platform/host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/host_paths.h"
#include "platform/settings.h"

namespace orvane::platform {

namespace {

constexpr const char* kHiddenAttribute = "user.orvane.hidden";
constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

int last_error() { return errno == 0 ? sys_error::io : errno; }

bool unsupported(int error) { return error == ENOTSUP || error == EOPNOTSUPP; }

std::int64_t nanoseconds(std::int64_t seconds, std::int64_t nanos) { return seconds * kNanosecondsPerSecond + nanos; }

timespec to_timespec(std::int64_t ns) {
  std::int64_t seconds = ns / kNanosecondsPerSecond;
  std::int64_t rest = ns % kNanosecondsPerSecond;
  if (rest < 0) {
    rest += kNanosecondsPerSecond;
    --seconds;
  }
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>(rest);
  return ts;
}

// A name starting with a period is hidden on this host by convention.
bool dot_name(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  std::string_view name = path.substr(path.find_last_of('/') + 1);
  return name.size() > 1 && name.front() == '.' && name != "..";
}

// --- Directories ---------------------------------------------------------------

enum class EntryKind { file, directory, other };

// Symbolic links count as what they point to; a dangling one as neither.
EntryKind kind_of(const std::string& directory, const dirent& entry) {
  if (entry.d_type == DT_REG) return EntryKind::file;
  if (entry.d_type == DT_DIR) return EntryKind::directory;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return EntryKind::other;
  struct stat st {};
  if (::stat((directory + "/" + entry.d_name).c_str(), &st) != 0) return EntryKind::other;
  return S_ISREG(st.st_mode) ? EntryKind::file : S_ISDIR(st.st_mode) ? EntryKind::directory : EntryKind::other;
}

template <typename Keep>
int list_entries(std::string_view directory, std::vector<std::string>& names, Keep keep) {
  std::string dir_path(directory);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dir_path.c_str()), ::closedir);
  if (!dir) return last_error();
  names.clear();
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (!entry) return errno == 0 ? sys_error::none : errno;
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (keep(kind_of(dir_path, *entry), name)) names.emplace_back(name);
  }
}

// Windows-1252 text in upper case, for matching without regard to case.
std::string folded(std::string_view utf8) {
  std::string text = utf8_to_windows1252(utf8);
  for (char& c : text) c = static_cast<char>(windows1252_upper(static_cast<unsigned char>(c)));
  return text;
}

// "*" and "?" over folded text; a star is retried one character further each
// time the rest fails, which keeps the work quadratic at worst.
bool wildcard_match(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// A directory from the environment, ready to have "/NAME" appended ("/"
// becomes "").
std::string directory_prefix(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

// --- Times ---------------------------------------------------------------------

int get_file_times(std::string_view path, FileTimes& out) {
  std::string p(path);
  struct statx stx {};
  if (::statx(AT_FDCWD, p.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &stx) == 0) {
    const statx_timestamp& born = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_ctime;
    out.creation = nanoseconds(born.tv_sec, born.tv_nsec);
    out.last_access = nanoseconds(stx.stx_atime.tv_sec, stx.stx_atime.tv_nsec);
    out.last_write = nanoseconds(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
    return sys_error::none;
  }
  if (errno != ENOSYS) return last_error();
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return last_error();
  out.creation = nanoseconds(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
  out.last_access = nanoseconds(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  out.last_write = nanoseconds(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return sys_error::none;
}

int set_file_times(std::string_view path, const FileTimes& times) {
  // Linux offers no call that sets the birth time; it stays as it is.
  std::array<timespec, 2> ts = {to_timespec(times.last_access), to_timespec(times.last_write)};
  if (::utimensat(AT_FDCWD, std::string(path).c_str(), ts.data(), 0) != 0) return last_error();
  return sys_error::none;
}

// --- Hidden attribute ----------------------------------------------------------

bool is_hidden(std::string_view path) {
  std::string p(path);
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return false;
  if (dot_name(p)) return true;
  return ::getxattr(p.c_str(), kHiddenAttribute, nullptr, 0) >= 0;
}

int set_hidden(std::string_view path, bool hidden) {
  std::string p(path);
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return last_error();
  if (hidden) {
    if (::setxattr(p.c_str(), kHiddenAttribute, "1", 1, 0) == 0) return sys_error::none;
    // A name with a leading period is hidden whatever the file system keeps.
    if (unsupported(errno)) return dot_name(p) ? sys_error::none : sys_error::not_supported;
    return last_error();
  }
  if (::removexattr(p.c_str(), kHiddenAttribute) != 0 && errno != ENODATA && !unsupported(errno))
    return last_error();
  // Only a rename could make such a name visible, and that is not asked for.
  return dot_name(p) ? sys_error::not_supported : sys_error::none;
}

// --- Directories ---------------------------------------------------------------

bool matches_wildcard(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return true;
  std::string p = folded(pattern);
  std::string n = folded(name);
  if (wildcard_match(p, n)) return true;
  return p.size() >= 2 && p.ends_with(".*") && wildcard_match(std::string_view(p).substr(0, p.size() - 2), n);
}

int list_files(std::string_view directory, std::string_view pattern, std::vector<std::string>& names) {
  return list_entries(directory, names, [&](EntryKind kind, std::string_view name) {
    return kind == EntryKind::file && matches_wildcard(pattern, name);
  });
}

int list_subdirectories(std::string_view directory, std::vector<std::string>& names) {
  return list_entries(directory, names, [](EntryKind kind, std::string_view) { return kind == EntryKind::directory; });
}

int remove_empty_directory(std::string_view path) {
  if (::rmdir(std::string(path).c_str()) != 0) return last_error();
  return sys_error::none;
}

// --- Volumes and sharing -------------------------------------------------------

int volume_free_kilobytes(std::string_view path, std::uint64_t& out) {
  struct statvfs vfs {};
  if (::statvfs(std::string(path).c_str(), &vfs) != 0) return last_error();
  out = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize / 1024;
  return sys_error::none;
}

bool can_open_exclusively(std::string_view path) {
  // Other openers are seen only through the advisory lock File::try_lock
  // takes; a plain open elsewhere leaves no trace this can check.
  int fd = ::open(std::string(path).c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool exclusive = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return exclusive;
}

// --- Well-known directories ----------------------------------------------------

std::string executable_path() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string working_directory() {
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  return ec ? std::string(".") : cwd;
}

std::string temporary_directory() {
  const char* tmp = std::getenv("TMPDIR");
  if (!tmp || !*tmp) return "/tmp";
  std::string dir = directory_prefix(tmp);
  return dir.empty() ? "/" : dir;
}

std::string configuration_directory() {
  std::filesystem::path dir = settings_path().parent_path();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir.string();
}

std::string applications_directory() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return directory_prefix(data) + "/applications";
  if (const char* home = std::getenv("HOME"); home && *home)
    return directory_prefix(home) + "/.local/share/applications";
  return "./applications";
}

}  // namespace orvane::platform
