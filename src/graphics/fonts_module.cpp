#include "graphics/fonts_module.h"

#include <string>

#include "core/collector.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "platform/fonts/face_names.h"

namespace orvane {

namespace {

// The installed families, as `Fonts` holds them: sorted by byte value, which
// is the order of `string<?`, each name once.
Value installed_font_names() {
  std::vector<std::string> names = fonts::installed_families();
  GcRoot list(kNil);
  for (auto it = names.rbegin(); it != names.rend(); ++it) list.set(cons(make_string(*it), list.get()));
  return list.get();
}

// The font dialog of the desktop is not built yet: every run answers as a
// cancelled dialog does, leaving the block as it was.
Value choose_font(Value block) {
  if (block.tag() != tag::pointer) raise_error(2, block);
  return kNil;
}

}  // namespace

void register_fonts() {
  set_symbol_global(intern_constant("Fonts"), installed_font_names());
  defprim("choose-font", choose_font);
}

}  // namespace orvane
