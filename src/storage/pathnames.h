// Pathnames: how Lisp names files.
//
// A pathname Value is a string (one component, which may itself hold
// backslashes), a symbol standing for its value, a list of pathnames
// (nested lists flattened) or nil (nothing). It converts to an
// operating-system path in the Windows style (Windows-1252, backslashes),
// which the platform layer maps to a host path. Every primitive that takes
// a pathname goes through host_path_of().
#pragma once

#include <string>
#include <string_view>

#include "core/value.h"

namespace orvane {

inline constexpr std::size_t kMaxOsPath = 255;

// The operating-system path of a pathname: components joined by single
// backslashes; a leading empty component gives a path starting with a
// backslash, a final one a trailing backslash. Error 6 with the
// symbol for an unbound symbol, error 2 for anything that is no pathname and
// for a result longer than 255 characters. A trailing backslash is dropped
// unless it ends a drive root ("C:\") or is the whole path ("\").
std::string os_path_of(Value pathname);

// The pathname of an operating-system path: a list of its components. A
// leading drive with a colon is a component of its own ("C:FILE" gives
// ("C:" "FILE")); a path starting with a backslash starts with an empty
// component, so that it converts back to the same rooted path.
Value pathname_of_os_path(std::string_view os_path);

// The host path of a pathname; the file error of the mapping (an unmapped
// drive is "not found") is raised with the pathname as culprit.
std::string host_path_of(Value pathname);
// As host_path_of, answering the system error code of the mapping instead
// of raising it (pathname errors 2 and 6 are still raised).
int try_host_path_of(Value pathname, std::string& host_out);

// The pathname Lisp gets for a host path (through its Windows-style path).
Value pathname_of_host_path(std::string_view host_path);

// The directory of the title being played, for `orvane-dir`; the working
// directory when none was given. Read when the file module registers.
void set_title_directory(std::string host_dir);
std::string title_directory();

}  // namespace orvane
