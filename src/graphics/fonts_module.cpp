#include "graphics/fonts_module.h"

#include <string>

#include "core/collector.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/drawing_port.h"
#include "graphics/fonts_record.h"
#include "graphics/text_draw.h"
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

// draw-string of a port: the port's font (the system font when it has none
// or its record names no face), in the context's text colour and background
// mode.
int draw_in_port_font(raster::DeviceContext& dc, const FontRecord* font, raster::IntPoint baseline,
                      std::string_view text) {
  FontRecord system;
  system.name = std::string(builtin_font_name(5));
  TextColors colors;
  colors.text = dc.text_color();
  if (dc.background_mode() == raster::BackgroundMode::opaque) colors.background = dc.background_color();
  return draw_text(dc, font && !font->name.empty() ? *font : system, baseline, text, colors);
}

}  // namespace

void register_fonts() {
  set_symbol_global(intern_constant("Fonts"), installed_font_names());
  graphics::set_text_drawer(draw_in_port_font);
  defprim("choose-font", choose_font);
}

}  // namespace orvane
