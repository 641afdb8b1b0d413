// The file layer's Lisp side: pathnames, open files, attributes,
// directories, copying, temporary files and loading Lisp source.
#pragma once

namespace orvane {

// Binds the file primitives and the global pathnames `orvane-dir`,
// `appl-dir` and `system-dir`.
void register_files();

// Deletes the "orvane*.tmp" files of the temporary directory that no other
// process holds open. The shell calls it when a session starts (never the
// registration: test run-times must not delete each other's files).
void clean_up_temporary_files();

}  // namespace orvane
