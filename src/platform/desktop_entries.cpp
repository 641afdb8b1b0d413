// Program groups and items as freedesktop.org desktop entries (the part of
// host_files.h that stands in for the Start menu).
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "platform/file_io.h"
#include "platform/host_files.h"
#include "platform/host_paths.h"

namespace orvane::platform {

namespace {

// A group or item name made fit for a file name: the separator becomes "_";
// names that mean a directory ("", ".", "..") or hold NUL are refused.
std::optional<std::string> file_name_of(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string out;
  for (char c : name) out += c == '/' ? '_' : c;
  return out;
}

// A value of a desktop entry key: backslash and control characters escaped,
// and a leading blank kept from being trimmed by the reader.
std::string escaped_value(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (out.empty() && c == ' ') out += "\\s";
        else out += c;
    }
  }
  return out;
}

// One argument of an Exec line, always quoted: inside the quotes '"', '`',
// '$' and '\' take a backslash, and '%' is doubled so it is no field code.
// (The value escaping above then doubles each backslash once more.)
std::string exec_argument(std::string_view arg) {
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  return out + '"';
}

// For a title executable "X.EXE" (any case) with a resource file "X.RI"
// (any case) beside it: the resource file's path.
std::optional<std::filesystem::path> title_resource_of(const std::filesystem::path& target) {
  std::string name = target.filename().string();
  if (name.size() <= 4 || !names_equal_ignoring_case(name.substr(name.size() - 4), ".EXE")) return std::nullopt;
  std::filesystem::path directory = target.parent_path();
  std::string resource_name = utf8_to_windows1252(name.substr(0, name.size() - 4)) + ".RI";
  auto found = find_entry(directory.string(), resource_name);
  if (!found || !file_exists((directory / *found).string())) return std::nullopt;
  return directory / *found;
}

std::string exec_line(const std::filesystem::path& target) {
  if (auto resource = title_resource_of(target)) {
    std::string self = executable_path();
    if (!self.empty()) return exec_argument(self) + " play " + exec_argument(resource->string());
  }
  return exec_argument(target.string());
}

int write_replacing(const std::string& path, std::string_view text) {
  std::string temporary = path + ".new";
  File file;
  if (int err = File::create(temporary, CreateMode::replace, file)) return err;
  int err = file.write_at(0, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  file.close();
  if (err == sys_error::none) err = rename_file(temporary, path);
  if (err != sys_error::none) remove_file(temporary);
  return err;
}

}  // namespace

int add_program_group(std::string_view group) {
  auto name = file_name_of(group);
  if (!name) return sys_error::invalid;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(applications_directory()) / *name, ec);
  return ec ? ec.value() : sys_error::none;
}

int add_program_item(std::string_view target, std::string_view group, std::string_view name) {
  auto file_name = file_name_of(name);
  if (!file_name || target.empty() || target.find('\0') != std::string_view::npos) return sys_error::invalid;
  // An empty group stands for the applications directory itself.
  std::filesystem::path directory = applications_directory();
  if (!group.empty()) {
    auto group_name = file_name_of(group);
    if (!group_name) return sys_error::invalid;
    directory /= *group_name;
  }
  if (!directory_exists(directory.string())) return sys_error::not_found;

  std::error_code ec;
  std::filesystem::path absolute_target = std::filesystem::absolute(std::string(target), ec);
  if (ec) return ec.value();
  std::string entry = "[Desktop Entry]\nType=Application\nName=" + escaped_value(name) +
                      "\nExec=" + escaped_value(exec_line(absolute_target)) + "\n";
  return write_replacing((directory / (*file_name + ".desktop")).string(), entry);
}

}  // namespace orvane::platform
