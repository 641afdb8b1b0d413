// `defstruct`: structure descriptions registered by name for `bind-struct`.
#include "core/collector.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/native_forms.h"
#include "objects/object_system.h"
#include "objects/objects_module.h"

namespace orvane {

namespace {

Value sp_defstruct(Value forms) {
  Value name = car(forms);
  if (!is_symbol(name)) raise_error(2, name);
  Value description = car(cdr(forms));
  // Kept alive as defined functions are: the description becomes permanent.
  protect(description);
  g_objects.structs[symbol_index(name)] = description;
  return name;
}

}  // namespace

Value struct_description(Value type) {
  if (!is_symbol(type)) return kNoValue;
  auto it = g_objects.structs.find(symbol_index(type));
  return it == g_objects.structs.end() ? kNoValue : it->second;
}

void register_structs() { defspecial("defstruct", sp_defstruct); }

}  // namespace orvane
