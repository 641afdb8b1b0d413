#include "graphics/drawing_values.h"

#include "core/memory.h"
#include "graphics/port_owner.h"
#include "objects/native_classes.h"
#include "storage/resource_handles.h"
#include "storage/resources.h"

namespace orvane {

using graphics::Rgb16;

namespace {

int component_of(Value list, Value colour) {
  Value v = car(list);
  if (!is_fixnum(v) || v.fixnum() < 0 || v.fixnum() > 65535) raise_error(2, colour);
  return v.fixnum();
}

}  // namespace

Rgb16 rgb_of(Value colour) {
  if (!is_list(colour) || list_length(colour) != 3) raise_error(2, colour);
  Value l = colour;
  int r = component_of(l, colour);
  l = cdr(l);
  int g = component_of(l, colour);
  l = cdr(l);
  return {r, g, component_of(l, colour)};
}

Value make_color_list(Rgb16 c) {
  return list_of({make_fixnum(c.red), make_fixnum(c.green), make_fixnum(c.blue)});
}

graphics::Offscreen& offscreen_of(Value v) {
  return native_as<graphics::Offscreen>(v, PointerKind::offscreen);
}

Value make_offscreen_value(std::unique_ptr<graphics::Offscreen> offscreen) {
  return make_native_pointer(std::move(offscreen), PointerKind::offscreen);
}

raster::ColorTable clut_resource(Value id) {
  std::uint32_t h = resource_manager().get(FourCC::of("clut"), static_cast<std::int16_t>(integer_of(id)));
  if (h == 0) raise_error(2, id);
  auto table = graphics::parse_clut(BlockHandleStore{}.bytes(h));
  if (!table) raise_error(2, id);
  return std::move(*table);
}

graphics::DrawingPort& port_of(Value v) {
  if (is_pointer(v)) return offscreen_of(v).port();
  auto* owner = dynamic_cast<graphics::PortOwner*>(&object_peer(v));
  if (!owner) raise_error(2, v);
  return owner->drawing_port();
}

}  // namespace orvane
