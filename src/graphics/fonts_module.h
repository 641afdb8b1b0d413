// The fonts module: the `Fonts` global, `choose-font`, and the text methods
// of the window class.
#pragma once

#include <functional>

#include "core/value.h"
#include "graphics/fonts_record.h"
#include "graphics/text_draw.h"
#include "platform/raster/device_context.h"

namespace orvane {

// What the text methods need of a drawing port.
class TextPort {
 public:
  virtual ~TextPort() = default;
  // The font selected in the port.
  virtual const FontRecord& text_font() const = 0;
  virtual void select_text_font(const FontRecord& record) = 0;
  // The port's text colour, and its background colour when its background
  // mode is opaque.
  virtual TextColors text_colors() const = 0;
  // Runs `draw` on the port's device context, drawing begun for the call
  // when the port is not the current one.
  virtual void draw_in_port(const std::function<void(raster::DeviceContext&)>& draw) = 0;
};

// Sets `Fonts` to the installed faces (sorted with `string<?`, each once) and
// defines `choose-font`.
void register_fonts();

// The port of a window object (error 2 with it when it has none).
using TextPortOf = TextPort& (*)(Value self);

// Installs `with-font`, `get-line-height`, `get-line-ascent`, `char-width`,
// `string-width`, `get-text-height` and `text-box` in `window_class`; the
// methods reach their receiver's port through `port_of` (one window class
// registers them; a later registration replaces the lookup).
void register_text_methods(Value window_class, TextPortOf port_of);

}  // namespace orvane
