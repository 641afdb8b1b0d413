#include "ui/window_properties.h"

#include <vector>

#include "core/errors.h"
#include "core/memory.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "graphics/drawing_values.h"
#include "graphics/geometry_values.h"
#include "objects/configurations.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

Value window_property(const WindowPeer& peer, std::string_view name) {
  return const_cast<WindowPeer&>(peer).search_property(peer.lisp_object(), intern(name));
}

bool property_flag(const WindowPeer& peer, std::string_view name) {
  return is_true(window_property(peer, name));
}

Value convert_through(std::string_view name, Value raw, std::initializer_list<Value> more) {
  Value fn = symbol_global(intern(name));
  if (fn == kNoValue) return raw;
  std::vector<Value> args{raw};
  args.insert(args.end(), more.begin(), more.end());
  return call(fn, std::span<const Value>(args));
}

std::optional<raster::IntPoint> symbolic_size(Value raw) {
  if (!is_true(raw)) return std::nullopt;
  Value v = convert_through("symbolic-size", raw);
  if (!is_true(v)) return std::nullopt;
  raster::IntPoint p = point_of(v);
  if (p.x < 0 || p.y < 0) raise_error(2, v);
  return p;
}

std::optional<raster::IntPoint> symbolic_position(Value raw, raster::IntPoint size, int type) {
  if (!is_true(raw)) return std::nullopt;
  Value v = convert_through("symbolic-position", raw, {make_point(size.x, size.y), make_fixnum(type)});
  if (!is_true(v)) return std::nullopt;
  return point_of(v);
}

std::optional<graphics::Rgb16> symbolic_color(Value raw) {
  if (!is_true(raw)) return std::nullopt;
  Value v = convert_through("symbolic-color", raw);
  if (!is_true(v)) return std::nullopt;
  return rgb_of(v);
}

std::optional<FontRecord> symbolic_font(Value raw) {
  if (!is_true(raw)) return std::nullopt;
  Value v = convert_through("symbolic-font", raw);
  if (!is_true(v)) return std::nullopt;
  return font_record_of(v);
}

int symbolic_type(Value raw, int absent) {
  if (!is_true(raw)) return absent;
  Value v = convert_through("symbolic-type", raw);
  if (!is_true(v)) return absent;
  if (!is_integer(v)) raise_error(2, v);
  return integer_of(v);
}

void record_color_ref(Value object, std::string_view variable, Value raw) {
  if (raw == kNoValue) return;  // no colour given: the variable stays as it is
  Value sym = intern(variable);
  if (objects::value_in(object, sym) == kNoValue) return;
  objects::assign_in(object, sym, raw);
}

raster::IntPoint point_argument(Value x, Value y) {
  if (is_point(x) && !is_number(y)) return point_of(x);
  return {coordinate_of(x), coordinate_of(y)};
}

}  // namespace orvane::ui
