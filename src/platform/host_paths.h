// Windows-style pathnames on any host.
//
// Titles name files the Windows way ("C:\TITLE\DATA\SCORES.DB", "\TMP\X",
// "SUB\FILE.TXT"). One rule maps such a path to a host path:
//   - backslashes (and slashes) separate components; "." and ".." keep
//     their usual meaning;
//   - a leading drive letter with a colon ("C:") stands for the host
//     directory given for that letter in the [drives] section of the
//     settings file (`C = /home/me/titles`); an unmapped drive is an error
//     (sys_error::not_found);
//   - a path without a drive that starts with a separator is a host
//     absolute path; one without a leading separator is relative to the
//     working directory;
//   - each component is looked up exactly first; when no entry of that name
//     exists, the directory is searched for an entry whose name differs only
//     in letter case, and that entry is used. Components that do not exist
//     at all are kept as given, so new files can be created.
// Text crosses between the run-time's Windows-1252 and the host's UTF-8 at
// this boundary, by the rules of platform/text.h (which also gives the letter
// case the lookups ignore): the functions here take and give Windows-1252
// text.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace orvane::platform {

// Drive letters (upper case) and the host directories they stand for.
struct DriveMap {
  std::map<char, std::string> roots;  // 'C' -> "/home/me/titles" (UTF-8, absolute)
  // The [drives] section of the settings file (keys "C" or "C:", any case).
  static DriveMap from_settings();
};

// A Windows-style path (Windows-1252) to a host path (UTF-8), resolving
// components case-insensitively. Returns a sys_error code (0 on success):
// not_found for an unmapped drive, invalid for the empty path or one holding
// NUL. The details (drive roots, "C:REL", "..") are in docs/files.md.
int to_host_path(std::string_view windows_path, const DriveMap& drives, std::string& host_out);
// The same with the drive map of the current settings.
int to_host_path(std::string_view windows_path, std::string& host_out);

// A host path (UTF-8) to a Windows-style path (Windows-1252): under a
// mapped drive's directory it becomes "X:\REST" (the longest matching root
// wins); otherwise an absolute host path "/a/b" becomes "\a\b". Characters
// the code page cannot hold become "?".
std::string to_windows_path(std::string_view host_path, const DriveMap& drives);
std::string to_windows_path(std::string_view host_path);

// The host name (UTF-8) of the entry of a host directory whose name is
// `windows_name` (Windows-1252): the exact name when such an entry exists,
// else the entry whose name differs only in letter case (the first in byte
// order of the host names when several do); nothing when there is none.
std::optional<std::string> find_entry(std::string_view directory, std::string_view windows_name);

}  // namespace orvane::platform
