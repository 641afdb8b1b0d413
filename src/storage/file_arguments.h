// What the file primitives share: reading their arguments, and the
// registration routines of each group of them (called by register_files).
#pragma once

#include <cstdint>
#include <string>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "platform/file_io.h"
#include "storage/resource_format.h"

namespace orvane {

inline Value boolean_value(bool b) { return b ? g_sym.t : kNil; }

// An integer argument (fixnum or 32-bit); error 2 otherwise.
inline std::int32_t integer_argument(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  return integer_unchecked(v);
}

// A count or position: an integer not below zero; error 2 otherwise.
inline std::uint32_t count_argument(Value v) {
  std::int32_t n = integer_argument(v);
  if (n < 0) raise_error(2, v);
  return static_cast<std::uint32_t>(n);
}

// A type or creator code: the first four characters of a string.
inline FourCC code_argument(Value v) {
  if (!is_string(v)) raise_error(2, v);
  return FourCC::of(string_view_of(v));
}

// A Lisp string of a four-character code.
inline Value code_value(const FourCC& code) { return make_string(code.view()); }

// Opens the file at a host path in an open mode of `file-open` (0 read
// only; 1 read and write, else read only; 2 read and write), or creates it
// afresh (read and write) when `create` is set. A failure raises the mapped
// file error with the culprit.
platform::File open_or_raise(const std::string& host_path, int mode, bool create, Value culprit);

// Copies the type, creator and times of one file to another; false when
// either cannot be read or written.
bool copy_file_info(Value source, Value destination);

void register_file_primitives();
void register_file_attributes();
void register_directory_primitives();
void register_file_copy();
void register_file_load();
void register_temporary_files();
void register_pathname_primitives();

}  // namespace orvane
