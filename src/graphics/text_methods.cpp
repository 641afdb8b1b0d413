// The text methods of the window class: measuring and drawing text in the
// receiver's drawing port.
#include <string>

#include "core/errors.h"
#include "core/memory.h"
#include "eval/eval.h"
#include "graphics/fonts_module.h"
#include "graphics/geometry_values.h"
#include "graphics/text_fonts.h"
#include "graphics/text_layout.h"
#include "objects/native_classes.h"
#include "reader/printer.h"

namespace orvane {

namespace {

// The lookup given by the window class that registered the methods: a
// documented singleton, set once at registration.
TextPortOf& port_lookup() {
  static TextPortOf lookup = nullptr;
  return lookup;
}

TextPort& self_port() {
  Value self = self_object();
  if (!port_lookup()) raise_error(2, self);
  return port_lookup()(self);
}

// The font of an optional font argument: nil means the port's own.
fonts::Font font_or_current(Value font) {
  if (is_nil(font)) return font_of(self_port().text_font());
  return font_of(font_record_of(font), font);
}

// The text of a Value: a string as it is, anything else printed.
std::string text_of(Value v) {
  if (is_string(v)) return std::string(string_view_of(v));
  return print_to_string(v, PrintStyle::plain, std::string::npos);
}

// Restores the port's font when the message ends, however it ends.
class SelectedFont {
 public:
  SelectedFont(TextPort& port, const FontRecord& record) : port_(port), saved_(port.text_font()) {
    port_.select_text_font(record);
  }
  ~SelectedFont() { port_.select_text_font(saved_); }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  TextPort& port_;
  FontRecord saved_;
};

Value with_font(Value font, Value selector) {
  FontRecord record = font_record_of(font);
  font_of(record, font);  // a font that cannot be made is refused before the message
  Value self = self_object();
  SelectedFont selected(self_port(), record);
  return send(self, selector, {});
}

Value get_line_height(Value font) { return make_integer(font_or_current(font).metrics().line_height); }
Value get_line_ascent(Value font) { return make_integer(font_or_current(font).metrics().ascent); }

Value char_width(Value code) {
  const auto byte = static_cast<unsigned char>(integer_of(code) & 0xFF);
  return make_integer(font_of(self_port().text_font()).advance(byte));
}

Value string_width(Value string, Value font) {
  const fonts::Font f = font_or_current(font);
  return make_integer(f.text_width(text_of(string)));
}

Value get_text_height(Value text, Value width) {
  const int w = integer_of(width);
  const fonts::Font font = font_of(self_port().text_font());
  return make_integer(wrapped_text_height(font, text_of(text), w));
}

Value text_box(Value text, Value r, Value justification, Value first_line_only) {
  const raster::IntRect box = rect_of(r);
  const int code = integer_of(justification);
  const std::string content = text_of(text);
  TextPort& port = self_port();
  const fonts::Font font = font_of(port.text_font());
  const TextColors colors = port.text_colors();
  port.draw_in_port([&](raster::DeviceContext& dc) {
    draw_text_box(dc, font, content, box, code, !is_nil(first_line_only), colors);
  });
  return kNil;
}

}  // namespace

void register_text_methods(Value window_class, TextPortOf port_of) {
  port_lookup() = port_of;
  register_method(window_class, "with-font", with_font);
  register_method(window_class, "get-line-height", get_line_height);
  register_method(window_class, "get-line-ascent", get_line_ascent);
  register_method(window_class, "char-width", char_width);
  register_method(window_class, "string-width", string_width);
  register_method(window_class, "get-text-height", get_text_height);
  register_method(window_class, "text-box", text_box);
}

}  // namespace orvane
