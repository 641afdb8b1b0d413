#include "storage/pathnames.h"

#include <vector>

#include "core/memory.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "platform/host_files.h"
#include "platform/host_paths.h"
#include "storage/file_errors.h"

namespace orvane {

namespace {

// Deep enough for any real pathname; stops a symbol bound to itself.
constexpr int kMaxNesting = 64;

void append_component(Value v, Value whole, std::string& out, int depth) {
  if (depth > kMaxNesting) raise_error(2, whole);
  if (is_nil(v)) return;
  if (is_string(v)) {
    std::string_view part = string_view_of(v);
    // One backslash between components, also when a component ends in one
    // ("C:\\" "DIR"); a leading empty component roots the path.
    if (out.empty() ? part.empty() : out.back() != '\\') out += '\\';
    out += part;
  } else if (is_symbol(v)) {
    Value value = lookup_symbol(v);
    if (value == kNoValue) raise_error(6, v);
    append_component(value, whole, out, depth + 1);
  } else if (is_pair(v)) {
    for (Value l = v; is_pair(l); l = cdr(l)) append_component(car(l), whole, out, depth + 1);
  } else {
    raise_error(2, v);
  }
}

bool starts_with_drive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string& title_directory_setting() {
  static std::string directory;  // the run-time's title directory (host path)
  return directory;
}

}  // namespace

std::string os_path_of(Value pathname) {
  std::string out;
  append_component(pathname, pathname, out, 0);
  if (out.size() > kMaxOsPath) raise_error(2, pathname);
  if (out.size() > 1 && out.back() == '\\' && out[out.size() - 2] != ':') out.pop_back();
  return out;
}

Value pathname_of_os_path(std::string_view os_path) {
  std::vector<std::string_view> parts;
  std::string_view rest = os_path;
  if (starts_with_drive(rest) && (rest.size() == 2 || rest[2] != '\\')) {
    parts.push_back(rest.substr(0, 2));
    rest.remove_prefix(2);
  } else if (!rest.empty() && rest[0] == '\\') {
    parts.push_back({});  // a rooted path keeps its root
    rest.remove_prefix(1);
  }
  while (!rest.empty()) {
    std::size_t cut = rest.find('\\');
    parts.push_back(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  // Copy out first: the text may lie in the indirect area, which consing moves.
  std::vector<std::string> texts(parts.begin(), parts.end());
  Value list = kNil;
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) list = cons(make_string(*it), list);
  return list;
}

int try_host_path_of(Value pathname, std::string& host_out) {
  return platform::to_host_path(os_path_of(pathname), host_out);
}

std::string host_path_of(Value pathname) {
  std::string host;
  if (int err = try_host_path_of(pathname, host)) raise_system_file_error(err, pathname);
  return host;
}

Value pathname_of_host_path(std::string_view host_path) {
  return pathname_of_os_path(platform::to_windows_path(host_path));
}

void set_title_directory(std::string host_dir) { title_directory_setting() = std::move(host_dir); }

std::string title_directory() {
  if (!title_directory_setting().empty()) return title_directory_setting();
  return platform::working_directory();
}

}  // namespace orvane
