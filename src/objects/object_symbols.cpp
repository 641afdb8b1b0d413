// The symbols the object system names, interned at start-up.
#include "core/symbols.h"
#include "objects/object_system.h"

namespace orvane {

void intern_object_symbols() {
  ObjectSymbols& s = g_objects.sym;
  auto k = [](const char* name) { return intern_constant(name); };
  auto kw = [](const char* name) { return intern_keyword(name); };
  s.system_p = intern_constant("System?", g_sym.t);
  s.system_classes = intern_constant("System-Classes", kNil);
  set_symbol_global(s.system_p, g_sym.t);
  set_symbol_global(s.system_classes, kNil);
  s.obj_root = k("obj-root");
  s.update_classes = k("update-classes");
  s.load_file = k("Load-File");
  s.find_link = k("find-link");
  s.auto_initialize_p = k("auto-initialize?");
  s.configuration = k("configuration");
  s.config_pathname = k("config-pathname");
  s.close = k("close");
  s.initialize = k("initialize");
  s.invalidate = k("invalidate");
  s.name = k("name");
  s.boolean = k("boolean");
  s.byte = k("byte");
  s.word = k("word");
  s.default_ = kw("default");
  s.initform = kw("initform");
  s.initialize_p = kw("initialize?");
  s.linker = kw("linker");
  s.type = kw("type");
  s.reader = kw("reader");
  s.writer = kw("writer");
  s.chooser = kw("chooser");
  s.info = kw("info");
  s.allocate_p = kw("allocate?");
  s.link_p = kw("link?");
  s.list_p = kw("list?");
  s.editable_p = kw("editable?");
  s.invalidate_p = kw("invalidate?");
  s.write = kw("write");
  s.obj_persistence = k("obj-persistence");
  s.obj_page = k("obj-page");
  s.initargs = kw("initargs");
  s.name_kw = kw("name");
  s.title = k("title");
  s.standard_name = k("standard-name");
  s.parent = k("parent");
  s.page_parent = k("page-parent");
  s.inherit_configuration_p = k("inherit-configuration?");
  s.owners_inited_p = k("owners-inited?");
  s.config_creator = k("config-creator");
  s.config_parent_creator = k("config-parent-creator");
  s.init_owners = k("init-owners");
  s.find_page_constructor = k("find-page-constructor");
  s.reverse = k("reverse");
}

}  // namespace orvane
