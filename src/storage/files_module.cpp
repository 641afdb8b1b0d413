#include "storage/files_module.h"

#include "core/symbols.h"
#include "storage/file_arguments.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

// `orvane-dir` is the title's directory (kept in the host's letter case:
// the mapping of paths ignores case anyway); `appl-dir` and `system-dir`
// are its "Appl" and "System" subdirectories.
void bind_directories() {
  Value title = pathname_of_host_path(title_directory());
  set_symbol_global(intern("orvane-dir"), title);
  set_symbol_global(intern("appl-dir"), list_of({title, make_string("Appl")}));
  set_symbol_global(intern("system-dir"), list_of({title, make_string("System")}));
}

}  // namespace

void register_files() {
  register_pathname_primitives();
  register_file_primitives();
  register_file_attributes();
  register_directory_primitives();
  register_file_copy();
  register_file_load();
  register_temporary_files();
  bind_directories();
}

}  // namespace orvane
