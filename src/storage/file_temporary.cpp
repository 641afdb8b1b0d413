// `orvane-file-create`: new empty files and resource files, named by the
// caller or numbered "orvane%d.tmp" in the temporary directory; and the
// removal of numbered files that earlier sessions left behind.
#include <cstdio>
#include <vector>

#include "core/primitives.h"
#include "platform/host_files.h"
#include "platform/host_paths.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/files_module.h"
#include "storage/pathnames.h"
#include "storage/resources.h"

namespace orvane {

namespace {

constexpr std::size_t kMaxTemporaryPath = 199;
constexpr int kMostTemporaryFiles = 1000000;

struct Creation {
  bool resource_file = false;
  FourCC creator, type;
};

// Creates the file; a resource-manager code for a resource file, a system
// error code otherwise (0 on success). `exclusive` refuses an existing file.
int create(const std::string& host, const Creation& what, bool exclusive, bool& exists) {
  exists = false;
  if (what.resource_file) {
    ResError e = resource_manager().create_file(host, what.creator, what.type);
    exists = e == ResError::exists;
    return code_of(e);
  }
  platform::File f;
  int err = platform::File::create(host, exclusive ? platform::CreateMode::exclusive : platform::CreateMode::replace, f);
  exists = err == platform::sys_error::exists;
  return err;
}

[[noreturn]] void raise_creation_error(int code, const Creation& what, Value path) {
  if (what.resource_file) raise_resource_code(code, path);
  raise_system_file_error(code, path);
}

std::string temporary_name(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "orvane%d.tmp", n);
  return platform::temporary_directory() + "/" + name;
}

// The first free "orvane%d.tmp", created at once so that another session
// cannot take the same name; empty when none can be made.
std::string create_temporary(const Creation& what) {
  for (int n = 1; n <= kMostTemporaryFiles; ++n) {
    std::string host = temporary_name(n);
    if (platform::to_windows_path(host).size() > kMaxTemporaryPath) return {};
    if (platform::file_exists(host)) continue;
    bool exists = false;
    int code = create(host, what, true, exists);
    if (code == 0) return host;
    if (!exists) return {};
  }
  return {};
}

Value p_orvane_file_create(Value path, Value creator, Value type, Value resource_file, Value visible, Value quiet) {
  Creation what;
  what.resource_file = is_true(resource_file);
  if (what.resource_file) {
    what.creator = code_argument(creator);
    what.type = code_argument(type);
  }
  std::string host;
  Value result = path;
  if (is_nil(path)) {
    host = create_temporary(what);
    if (host.empty()) return kNil;
    result = pathname_of_host_path(host);
  } else {
    int err = try_host_path_of(path, host);
    if (err) {
      if (is_true(quiet)) return kNil;
      raise_system_file_error(err, path);
    }
    bool exists = false;
    if (int code = create(host, what, false, exists)) {
      if (is_true(quiet)) return kNil;
      raise_creation_error(code, what, path);
    }
  }
  if (!is_true(visible)) platform::set_hidden(host, true);
  return result;
}

}  // namespace

void clean_up_temporary_files() {
  std::string directory = platform::temporary_directory();
  std::vector<std::string> names;
  if (platform::list_files(directory, "orvane*.tmp", names)) return;
  for (const std::string& name : names) {
    std::string host = directory + "/" + name;
    if (platform::can_open_exclusively(host)) platform::remove_file(host);
  }
}

void register_temporary_files() { defprim("orvane-file-create", p_orvane_file_create); }

}  // namespace orvane
