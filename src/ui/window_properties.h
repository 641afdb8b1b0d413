// Reading a window object's properties and converting them through the
// loaded world's `symbolic-*` functions, as opening and the setters do.
#pragma once

#include <optional>
#include <string_view>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "graphics/fonts_record.h"
#include "platform/raster/geometry.h"

namespace orvane::ui {

class WindowPeer;

// The property `name` of the object through its peer's configuration chain;
// no-value when no configuration has it and the class has no such slot.
Value window_property(const WindowPeer& peer, std::string_view name);
// True unless the property is nil or absent.
bool property_flag(const WindowPeer& peer, std::string_view name);

// Applies the world's conversion function `name` to the arguments; the
// first argument unchanged when the world does not define it.
Value convert_through(std::string_view name, Value raw, std::initializer_list<Value> more = {});

// The conversions (nullopt for nil or no-value; error 2 for a Value that
// converts to something of the wrong shape).
std::optional<raster::IntPoint> symbolic_size(Value raw);
std::optional<raster::IntPoint> symbolic_position(Value raw, raster::IntPoint size, int type);
std::optional<graphics::Rgb16> symbolic_color(Value raw);
std::optional<FontRecord> symbolic_font(Value raw);
int symbolic_type(Value raw, int absent);

// Stores the raw colour in `color-ref` (or `color-fore-ref`) of the object,
// when its context has the variable.
void record_color_ref(Value object, std::string_view variable, Value raw);

// A point argument given as two numbers (x, y) or as one point in x.
raster::IntPoint point_argument(Value x, Value y);

}  // namespace orvane::ui
