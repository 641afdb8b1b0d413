// File attributes, directories, temporary files and desktop entries on the
// host. Paths here are host paths (UTF-8); map Windows-style paths with
// host_paths.h first. Functions returning int answer a sys_error code from
// file_io.h (0 on success).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace orvane::platform {

namespace sys_error {
inline constexpr int not_supported = 95;  // the host cannot keep what was asked
}  // namespace sys_error

// Times in nanoseconds since 1 January 1970 (UTC).
struct FileTimes {
  std::int64_t creation = 0;  // the birth time where the host keeps one, else the change time
  std::int64_t last_access = 0;
  std::int64_t last_write = 0;
};
int get_file_times(std::string_view path, FileTimes& out);
// Sets the access and write times; the creation time is kept only where the
// host lets a program set it (it is silently left alone elsewhere).
int set_file_times(std::string_view path, const FileTimes& times);

// The hidden attribute (see docs/files.md for the rule on this host).
bool is_hidden(std::string_view path);
int set_hidden(std::string_view path, bool hidden);

// Names (UTF-8) of the entries of a directory, in the order the host gives
// them, without "." and "..". `pattern` is a Windows wildcard ("*.*", "*.TXT",
// "A?C.*"), matched without regard to case; "*.*" matches names without a
// period too.
int list_files(std::string_view directory, std::string_view pattern, std::vector<std::string>& names);
int list_subdirectories(std::string_view directory, std::vector<std::string>& names);
// The wildcard rule of list_files: "*" any run of characters, "?" exactly
// one, letters compared in Windows-1252 without regard to case; a pattern
// ending in ".*" also matches the names its part before ".*" matches ("*.*"
// everything, "README.*" "README"); an empty pattern matches everything.
// Both are UTF-8 (a byte that starts no UTF-8 sequence is a Windows-1252
// character).
bool matches_wildcard(std::string_view pattern, std::string_view name);

// Removes a directory only when it is empty.
int remove_empty_directory(std::string_view path);

// Free space of the volume holding `path`, in kilobytes.
int volume_free_kilobytes(std::string_view path, std::uint64_t& out);

// True when the file exists and no other opener holds it (the file could be
// opened for reading and writing without sharing).
bool can_open_exclusively(std::string_view path);

// The running program's executable (absolute, UTF-8); empty when unknown.
std::string executable_path();

// The directory for temporary files ($TMPDIR, else /tmp), without a
// trailing separator.
std::string temporary_directory();
// The process's working directory (absolute), or "." when it cannot be read.
std::string working_directory();
// The user's Orvane configuration directory ($XDG_CONFIG_HOME/orvane or
// ~/.config/orvane); it is the "Windows directory" of the run-time. Created
// when missing.
std::string configuration_directory();
// The directory of the user's applications menu entries
// ($XDG_DATA_HOME/applications or ~/.local/share/applications).
std::string applications_directory();

// Program groups and items of the applications menu: a group is a
// subdirectory of the applications directory; an item is a desktop entry
// "NAME.desktop" in its group that starts `target` (a host path); an
// existing entry of that name is replaced.
int add_program_group(std::string_view group);
int add_program_item(std::string_view target, std::string_view group, std::string_view name);

}  // namespace orvane::platform
