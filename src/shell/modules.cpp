// Every native module's registration routine, in start-up order.
#include "shell/modules.h"

#include "core/core_primitives.h"
#include "core/memory_primitives.h"
#include "eval/eval_module.h"
#include "eval/processes.h"
#include "graphics/drawing_methods.h"
#include "graphics/fonts_module.h"
#include "graphics/geometry_module.h"
#include "lib/charsets.h"
#include "lib/library.h"
#include "lib/lists.h"
#include "lib/numbers.h"
#include "objects/objects_module.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "storage/database_module.h"
#include "storage/files_module.h"
#include "storage/resources.h"
#include "ui/controls/controls_module.h"
#include "ui/menu_module.h"
#include "ui/pictures/picture_module.h"
#include "ui/window_module.h"

namespace orvane {

void register_all_modules() {
  register_core();
  register_memory();
  register_evaluator();
  register_objects();
  register_library();
  register_charsets();
  register_reader();
  register_printer();
  register_resources();
  register_databases();
  register_files();
  register_lists();
  register_numbers();
  register_geometry();
  register_drawing();
  register_fonts();
  ui::register_windows();
  ui::register_menus();
  ui::register_controls();
  ui::register_pictures();
  register_processes();
}

}  // namespace orvane
