// The global primitives of the drawing layer: offscreens made from
// pictures, depths, the colour dialog and the 3D projection.
#include <cstring>
#include <optional>
#include <vector>

#include "core/blocks.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/dialog_desktop.h"
#include "graphics/drawing_methods.h"
#include "graphics/drawing_values.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "graphics/picture_playback.h"
#include "graphics/projection.h"
#include "platform/desktop/color_dialog.h"
#include "storage/resource_handles.h"
#include "storage/resources.h"

namespace orvane {

using graphics::Matrix3d;
using graphics::Vector3;

namespace {

// The button face colour of the system.
constexpr raster::Color kButtonFace{192, 192, 192};

std::vector<std::uint8_t> resource_bytes(const char* type, Value id) {
  std::uint32_t h = resource_manager().get(FourCC::of(type), static_cast<std::int16_t>(integer_of(id)));
  if (h == 0) return {};
  auto bytes = BlockHandleStore{}.bytes(h);
  return {bytes.begin(), bytes.end()};
}

std::int16_t be16(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::int16_t>((d[at] << 8) | d[at + 1]);
}

Value picture_to_offscreen(Value id) {
  std::vector<std::uint8_t> data = resource_bytes("PICT", id);
  if (data.size() < 10) raise_error(2, id);
  raster::IntRect frame{be16(data, 4), be16(data, 2), be16(data, 8), be16(data, 6)};
  if (frame.empty()) raise_error(2, id);
  auto offscreen = std::make_unique<graphics::Offscreen>(graphics::OffscreenSpec::of(frame));
  draw_picture(offscreen->context(), data, frame);
  offscreen->make_mask();
  return make_offscreen_value(std::move(offscreen));
}

// An offscreen that a drawing session still draws into or with cannot go:
// error 2, as for any offscreen that cannot be disposed.
bool in_use(graphics::Offscreen& o) {
  for (graphics::Offscreen* level = &o; level; level = level->next())
    if (graphics::in_use_by_a_session(level->port(), level->context())) return true;
  return false;
}

Value dispose_offscreen(Value v) {
  if (in_use(offscreen_of(v))) raise_error(2, v);
  g_native_objects.release(pointer_address(v));
  node_of(v).w1 = 0;
  return kNoValue;
}

Value get_depth() { return make_fixnum(graphics::kScreenDepth); }
Value has_depth(Value) { return kNil; }
Value set_depth(Value) { return kNoValue; }

// The desktop's colour dialog, opened on the initial colour (black for
// nil); the choice comes back with each component shifted left by 8, as a
// device colour does. Cancelled, or with no desktop to open it on, the
// answer is the initial colour as given.
Value choose_color(Value, Value, Value colour) {
  const graphics::Rgb16 initial = is_nil(colour) ? graphics::Rgb16{} : rgb_of(colour);
  desktop::Desktop* desk = graphics::dialog_desktop();
  if (!desk) return make_color_list(initial);
  desktop::Dialogs dialogs(*desk);
  std::optional<raster::Color> chosen = desktop::choose_color(dialogs, desk->host_frame(), initial.to_color());
  return make_color_list(chosen ? graphics::Rgb16::from_device(*chosen) : initial);
}

std::uint8_t* matrix_bytes(Value block) {
  return checked_bytes(address_of(block), sizeof(Matrix3d), Access::write, block);
}

Matrix3d matrix_of(Value block) {
  Matrix3d m;
  std::memcpy(m.data(), matrix_bytes(block), sizeof m);
  return m;
}

Vector3 vector_of(Value list) {
  if (!is_list(list) || list_length(list) < 3) raise_error(2, list);
  return {double_of(car(list)), double_of(car(cdr(list))), double_of(car(cdr(cdr(list))))};
}

Value set_3d_transformation(Value block, Value direction, Value position, Value distance, Value ox, Value oy,
                            Value sx, Value sy) {
  Matrix3d m =
      graphics::make_3d_transformation(vector_of(direction), vector_of(position), double_of(distance),
                                       integer_of(ox), integer_of(oy), integer_of(sx), integer_of(sy));
  std::memcpy(matrix_bytes(block), m.data(), sizeof m);
  return kNoValue;
}

raster::IntPoint projected(Value block, Value x, Value y, Value z) {
  return graphics::project_3d(matrix_of(block), {double_of(x), double_of(y), double_of(z)});
}

Value transform_3d(Value block, Value x, Value y, Value z) {
  raster::IntPoint p = projected(block, x, y, z);
  return make_point(p.x, p.y);
}

graphics::DrawingPort& drawing_port_now() {
  graphics::DrawingPort* port = graphics::current_port();
  if (!port) raise_error(2, kNil);
  return *port;
}

Value line_to_3d(Value block, Value x, Value y, Value z) {
  raster::IntPoint p = projected(block, x, y, z);
  drawing_port_now().line_to(p.x, p.y);
  return kNoValue;
}

Value move_to_3d(Value x, Value y, Value z, Value block) {
  raster::IntPoint p = projected(block, x, y, z);
  drawing_port_now().move_to(p.x, p.y);
  return kNoValue;
}

}  // namespace

void register_drawing() {
  defprim("picture->offscreen", picture_to_offscreen);
  defprim("dispose-offscreen", dispose_offscreen);
  defprim("get-depth", get_depth);
  defprim("has-depth", has_depth);
  defprim("set-depth", set_depth);
  defprim("orvane-choose-color", choose_color);
  defprim("set-3d-transformation", set_3d_transformation);
  defprim("3d-transform", transform_3d);
  defprim("3d-line-to", line_to_3d);
  defprim("3d-move-to", move_to_3d);
  set_symbol_global(intern_constant("Background-Color"),
                    make_color_list(graphics::Rgb16::from_system(kButtonFace)));
}

}  // namespace orvane
