#include "graphics/fonts_module.h"

#include <optional>
#include <span>
#include <string>

#include "core/blocks.h"
#include "core/collector.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/dialog_desktop.h"
#include "graphics/drawing_port.h"
#include "graphics/fonts_record.h"
#include "graphics/logical_font.h"
#include "graphics/text_draw.h"
#include "platform/desktop/font_dialog.h"
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

// The desktop's font dialog on the logical-font block: confirmed, the block
// takes the choice and the answer is t; cancelled, or with no desktop to
// open it on, the block stays as it was and the answer is nil.
Value choose_font(Value block) {
  if (block.tag() != tag::pointer) raise_error(2, block);
  std::span<std::uint8_t, graphics::kLogicalFontSize> bytes(
      checked_bytes(address_of(block), graphics::kLogicalFontSize, Access::write, block),
      graphics::kLogicalFontSize);
  desktop::Desktop* desk = graphics::dialog_desktop();
  if (!desk) return kNil;
  desktop::Dialogs dialogs(*desk);
  std::optional<desktop::FontChoice> chosen = desktop::choose_font(dialogs, desk->host_frame(), graphics::font_choice_of(bytes));
  if (!chosen) return kNil;
  // The dialog ran the event pump: the block is found again by its address.
  bytes = std::span<std::uint8_t, graphics::kLogicalFontSize>(
      checked_bytes(address_of(block), graphics::kLogicalFontSize, Access::write, block), graphics::kLogicalFontSize);
  graphics::write_font_choice(bytes, *chosen);
  return g_sym.t;
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
