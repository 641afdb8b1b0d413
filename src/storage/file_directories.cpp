// The primitives on directories and directory entries: creating and
// removing directories, removing and renaming files, listings, free space,
// the preference folder and the entries of the applications menu.
#include <algorithm>
#include <limits>
#include <vector>

#include "core/primitives.h"
#include "platform/console.h"
#include "platform/host_files.h"
#include "platform/host_paths.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

std::string string_argument(Value v) {
  if (!is_string(v)) raise_error(2, v);
  return std::string(string_view_of(v));
}

// Host names (UTF-8) as a list of Windows-1252 strings, in the given order.
Value name_list(const std::vector<std::string>& names) {
  Value list = kNil;
  for (auto it = names.rbegin(); it != names.rend(); ++it) list = cons(make_string(platform::utf8_to_windows1252(*it)), list);
  return list;
}

std::string parent_of(std::string_view host_path) {
  std::size_t cut = host_path.find_last_of('/');
  return std::string(cut == std::string_view::npos ? std::string_view{} : host_path.substr(0, cut + 1));
}

Value p_create_dir(Value path) {
  std::string host;
  if (try_host_path_of(path, host) || platform::directory_exists(host) || platform::file_exists(host)) return kNil;
  return boolean_value(platform::create_directory(host) == 0);
}

Value p_remove_empty_dir(Value path) {
  std::string host;
  if (try_host_path_of(path, host)) return kNil;
  return boolean_value(platform::remove_empty_directory(host) == 0);
}

Value p_file_remove(Value path, Value quiet) {
  std::string host;
  int err = try_host_path_of(path, host);
  if (err == 0) err = platform::remove_file(host);
  if (err == 0) return g_sym.t;
  if (is_true(quiet)) return kNil;
  raise_system_file_error(err, path);
}

// The new name replaces the last component of the path (after its last
// backslash or colon).
Value p_file_rename(Value path, Value new_name) {
  std::string os_old = os_path_of(path);
  std::string name = os_path_of(new_name);
  std::size_t cut = os_old.find_last_of("\\:");
  std::string os_new = (cut == std::string::npos ? std::string() : os_old.substr(0, cut + 1)) + name;
  if (os_new.size() > kMaxOsPath) raise_error(2, new_name);
  std::string from, to;
  if (platform::to_host_path(os_old, from) || platform::to_host_path(os_new, to) || !platform::file_exists(from))
    return kNil;
  if (to == from) {
    // The new name differs in letter case only (the mapping found the file
    // itself): give the entry exactly the new spelling.
    std::string respelt = parent_of(from) + platform::windows1252_to_utf8(name);
    if (respelt == from) return g_sym.t;
    return boolean_value(platform::rename_file(from, respelt) == 0);
  }
  return boolean_value(platform::rename_file_no_replace(from, to) == 0);
}

Value p_dir_files(Value directory, Value pattern) {
  std::string wanted = "*.*";
  if (is_string(pattern) && !string_view_of(pattern).empty()) wanted = platform::windows1252_to_utf8(string_view_of(pattern));
  else if (!is_false(pattern) && !is_string(pattern)) raise_error(2, pattern);
  std::string host;
  std::vector<std::string> names;
  if (try_host_path_of(directory, host) || platform::list_files(host, wanted, names)) return kNil;
  return name_list(names);
}

Value p_dir_subdirs(Value directory) {
  std::string host;
  std::vector<std::string> names;
  if (try_host_path_of(directory, host) || platform::list_subdirectories(host, names)) return kNil;
  return name_list(names);
}

Value p_volume_space(Value drive) {
  std::string host;
  std::uint64_t kilobytes = 0;
  if (try_host_path_of(drive, host) || platform::volume_free_kilobytes(host, kilobytes)) raise_error(2, drive);
  return make_integer(static_cast<std::int64_t>(
      std::min<std::uint64_t>(kilobytes, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))));
}

Value p_erasable_p(Value path) {
  std::string host;
  if (try_host_path_of(path, host)) return kNil;
  return boolean_value(platform::can_open_exclusively(host));
}

Value p_find_preference_folder() { return pathname_of_host_path(platform::configuration_directory()); }

Value p_add_program_group(Value name) {
  std::string group = platform::windows1252_to_utf8(string_argument(name));
  return boolean_value(platform::add_program_group(group) == 0);
}

Value p_add_program_item(Value target, Value group, Value name) {
  std::string group_name = platform::windows1252_to_utf8(string_argument(group));
  std::string item_name = platform::windows1252_to_utf8(string_argument(name));
  std::string host;
  if (try_host_path_of(target, host)) return kNil;
  return boolean_value(platform::add_program_item(host, group_name, item_name) == 0);
}

}  // namespace

void register_directory_primitives() {
  defprim("create-dir", p_create_dir);
  defprim("remove-empty-dir", p_remove_empty_dir);
  defprim("file-remove", p_file_remove);
  defprim("file-rename", p_file_rename);
  defprim("dir-files", p_dir_files);
  defprim("dir-subdirs", p_dir_subdirs);
  defprim("volume-space", p_volume_space);
  defprim("erasable?", p_erasable_p);
  defprim("find-preference-folder", p_find_preference_folder);
  defprim("add-program-group", p_add_program_group);
  defprim("add-program-item", p_add_program_item);
}

}  // namespace orvane
