#include "platform/host_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/file_io.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace orvane::platform {

namespace {

// --- Components ----------------------------------------------------------------

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool is_drive_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool has_drive(std::string_view path) { return path.size() >= 2 && path[1] == ':' && is_drive_letter(path[0]); }

char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// The components of a path cut at any of the separators, with empty ones
// (repeated or trailing separators) and "." dropped, and ".." taking away
// the component before it the way Windows does: by the text alone, never
// above the root of a rooted path.
std::vector<std::string> normal_components(std::string_view path, std::string_view separators, bool rooted) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    std::size_t end = path.find_first_of(separators);
    std::string_view part = path.substr(0, end);
    path = end == std::string_view::npos ? std::string_view{} : path.substr(end + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") parts.pop_back();
      else if (!rooted) parts.emplace_back(part);
      continue;
    }
    parts.emplace_back(part);
  }
  return parts;
}

// `base` ("" for the working directory, "/" or an absolute directory)
// followed by the components.
std::string join_host(const std::string& base, const std::vector<std::string>& parts) {
  std::string out = base;
  for (const std::string& part : parts) {
    if (!out.empty() && out.back() != '/') out += '/';
    out += part;
  }
  return out.empty() ? "." : out;
}

bool entry_exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The host name of one component (Windows-1252) inside `directory`, or the
// name as given when there is no such entry (a file about to be created).
std::string resolve_component(const std::string& directory, std::string_view name) {
  if (auto found = find_entry(directory, name)) return *found;
  return windows1252_to_utf8(name);
}

// A drive root from the settings file: "~" stands for the home directory, a
// relative directory is taken from the working directory, and the result is
// cleaned of repeated and trailing separators. Empty when unusable.
std::string drive_root(std::string_view value) {
  std::string text(value);
  if (text == "~" || text.starts_with("~/")) {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    text = home + text.substr(1);
  }
  if (text.empty()) return {};
  if (text.front() != '/') {
    std::error_code ec;
    text = std::filesystem::absolute(text, ec).string();
    if (ec) return {};
  }
  std::string root;
  for (const std::string& part : normal_components(text, "/", true)) root += "/" + part;
  return root.empty() ? "/" : root;
}

}  // namespace

// --- Names ---------------------------------------------------------------------

std::optional<std::string> find_entry(std::string_view directory, std::string_view windows_name) {
  std::string dir_path = directory.empty() ? "." : std::string(directory);
  std::string exact = windows1252_to_utf8(windows_name);
  if (entry_exists(dir_path == "/" ? "/" + exact : dir_path + "/" + exact)) return exact;
  // Several entries may differ only in case; the first in byte order wins so
  // that the choice does not depend on the order of the directory.
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dir_path.c_str()), ::closedir);
  if (!dir) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string_view host_name = entry->d_name;
    if (host_name == "." || host_name == "..") continue;
    if (!names_equal_ignoring_case(utf8_to_windows1252(host_name), windows_name)) continue;
    if (!best || host_name < *best) best = std::string(host_name);
  }
  return best;
}

// --- Drives --------------------------------------------------------------------

DriveMap DriveMap::from_settings() {
  DriveMap map;
  for (const auto& [key, value] : load_settings().entries("drives")) {
    std::string_view letter = key;
    if (letter.size() == 2 && letter[1] == ':') letter.remove_suffix(1);
    if (letter.size() != 1 || !is_drive_letter(letter[0])) continue;
    std::string root = drive_root(value);
    if (!root.empty()) map.roots.emplace(upper_ascii(letter[0]), std::move(root));
  }
  return map;
}

// --- Windows paths to host paths -----------------------------------------------

int to_host_path(std::string_view windows_path, const DriveMap& drives, std::string& host_out) {
  if (windows_path.empty() || windows_path.find('\0') != std::string_view::npos) return sys_error::invalid;
  std::string base;
  std::string_view rest = windows_path;
  if (has_drive(windows_path)) {
    // "C:REL" has no current directory per drive to be relative to; it
    // starts at the drive's root like "C:\REL".
    auto root = drives.roots.find(upper_ascii(windows_path[0]));
    if (root == drives.roots.end()) return sys_error::not_found;
    base = root->second;
    rest.remove_prefix(2);
  } else if (is_separator(rest.front())) {
    base = "/";
  }
  std::vector<std::string> resolved;
  for (const std::string& part : normal_components(rest, "\\/", !base.empty())) {
    if (part == "..") {
      resolved.push_back(part);
      continue;
    }
    resolved.push_back(resolve_component(join_host(base, resolved), part));
  }
  host_out = join_host(base, resolved);
  return sys_error::none;
}

int to_host_path(std::string_view windows_path, std::string& host_out) {
  // Only a drive letter needs the settings file; most paths a title uses
  // come back from the run-time without one.
  if (!has_drive(windows_path)) return to_host_path(windows_path, DriveMap{}, host_out);
  return to_host_path(windows_path, DriveMap::from_settings(), host_out);
}

// --- Host paths to Windows paths -----------------------------------------------

std::string to_windows_path(std::string_view host_path, const DriveMap& drives) {
  bool absolute = !host_path.empty() && host_path.front() == '/';
  std::vector<std::string> parts = normal_components(host_path, "/", absolute);
  if (!absolute && parts.empty()) return host_path.empty() ? "" : ".";

  std::size_t skipped = 0;
  std::string out = absolute ? "\\" : "";
  if (absolute) {
    bool found = false;
    for (const auto& [letter, root] : drives.roots) {
      std::vector<std::string> root_parts = normal_components(root, "/", true);
      bool under = root_parts.size() <= parts.size() && std::equal(root_parts.begin(), root_parts.end(), parts.begin());
      if (under && (!found || root_parts.size() > skipped)) {
        found = true;
        skipped = root_parts.size();
        out = std::string{letter, ':', '\\'};
      }
    }
  }
  for (std::size_t i = skipped; i < parts.size(); ++i) {
    if (i > skipped) out += '\\';
    // A backslash inside a host name would read back as a separator.
    for (char c : utf8_to_windows1252(parts[i])) out += c == '\\' ? '?' : c;
  }
  return out;
}

std::string to_windows_path(std::string_view host_path) {
  return to_windows_path(host_path, DriveMap::from_settings());
}

}  // namespace orvane::platform
