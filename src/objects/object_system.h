// The object system's own state: the selector counter, the native
// constructors, the defstruct registry, and the symbols it names. One of the
// run-time's documented singletons (`g_objects`), reset by register_objects()
// for every new world. It holds no collectable Value: classes are reached
// through the symbols that name them, and structure descriptions are made
// permanent.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/value.h"

namespace orvane {

// Makes the native peer of an object of a native class: a pointer Value of
// the kind "cpp object" (PointerKind::cpp_object).
using NativeConstructor = Value (*)();

struct ObjectSymbols {
  // Globals of the object system.
  Value system_p, system_classes, obj_root, update_classes, load_file;
  // Names the run-time reads or calls in an object's context.
  Value find_link, auto_initialize_p, configuration, config_pathname, close,
      initialize, invalidate, name;
  // Storage types of `:type`.
  Value boolean, byte, word;
  // Facet keywords of `defslot`.
  Value default_, initform, initialize_p, linker, type, reader, writer, chooser, info, allocate_p,
      link_p, list_p, editable_p, invalidate_p, write;
  // Configurations and pages.
  Value obj_persistence, obj_page, initargs, name_kw, title,
      standard_name, parent, page_parent, inherit_configuration_p, owners_inited_p, config_creator,
      config_parent_creator, init_owners, find_page_constructor, reverse;
};

struct ObjectSystem {
  // The next selector index; indices are never released.
  std::int32_t next_selector = 0;
  // Whether `unite-class` ran once in this world (the first checks nothing).
  bool united_once = false;
  // Native constructors, named in class records by their index (0: none).
  std::vector<NativeConstructor> constructors{nullptr};
  ObjectSymbols sym{};
  // The descriptions registered by defstruct, by symbol index.
  std::unordered_map<std::uint32_t, Value> structs;
};

inline ObjectSystem g_objects;

// Interns the symbols of g_objects.sym.
void intern_object_symbols();

}  // namespace orvane
