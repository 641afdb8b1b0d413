#include "ui/pictures/picture_module.h"

#include <string>

#include "core/blocks.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "graphics/picture.h"
#include "graphics/picture_playback.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "platform/file_io.h"
#include "storage/pathnames.h"
#include "ui/pictures/buffer_masks.h"
#include "ui/pictures/faces_image.h"
#include "ui/pictures/packed_bitmap.h"
#include "ui/pictures/picture_peer.h"
#include "ui/pictures/picture_scan.h"
#include "ui/pictures/picture_source.h"
#include "ui/pictures/window_buffer.h"
#include "ui/window_layer.h"
#include "ui/window_module.h"
#include "ui/window_painting.h"
#include "ui/window_properties.h"

namespace orvane::ui {

using raster::IntRect;

namespace {

WindowPeer& me() { return window_peer(self_object()); }

// --- Captures --------------------------------------------------------------------------

// The window's buffers are brought up to date first.
Value m_get_window_picture(Value r) {
  WindowPeer& w = me();
  const IntRect area = rect_of(r);
  if (WindowPeer* owner = w.offscreen_owner()) update_offscreen(*owner);
  if (graphics::Offscreen* buffer = w.drawing_buffer();
      buffer && buffer->surface().format() == raster::PixelFormat::indexed8 &&
      !buffer->surface().color_table().empty()) {
    const WindowBuffer b = eight_bit_buffer(w);
    return make_picture_handle(packed_bitmap_8(b.surface, b.to_buffer(area)));
  }
  if (!w.hwnd) raise_error(2, self_object());
  desktop::Desktop& d = window_desktop();
  const raster::IntPoint screen = d.client_to_screen(w.hwnd, {0, 0});
  return make_picture_handle(packed_bitmap_24(d.framebuffer(), area.translated(screen)));
}

faces::Half half_of(Value half) {
  if (half == make_fixnum(1)) return faces::Half::left;
  if (half == make_fixnum(2)) return faces::Half::right;
  return faces::Half::whole;
}

Value m_get_faces_picture(Value text, Value half) {
  WindowPeer& w = me();
  std::string bits;
  if (is_string(text)) bits = std::string(string_view_of(text));
  else if (text != kNil) raise_error(2, text);
  const WindowBuffer b = eight_bit_buffer(w);
  const faces::Image image = faces::capture(
      b.pixels, half_of(half), std::span(reinterpret_cast<const std::uint8_t*>(bits.data()), bits.size()));
  return make_picture_handle(faces::encode(image));
}

Value m_put_faces_picture(Value block) {
  WindowPeer& w = me();
  const std::span<std::uint8_t> bytes = handle_bytes(handle_of(block));
  const faces::Decoded decoded = faces::decode(bytes);
  if (!decoded.image) raise_error(2, block);
  const WindowBuffer b = eight_bit_buffer(w);
  // The buffer is the title's to show: marking it for repainting would
  // compose it again over the image.
  faces::put(*decoded.image, b.pixels);
  return kNoValue;
}

// --- Masks -----------------------------------------------------------------------------

// The extents block of a pointer Value, one pair per row of the buffer.
std::span<std::uint8_t> extents_block(Value block, const WindowBuffer& b) {
  const std::uint32_t n = static_cast<std::uint32_t>(b.pixels.height()) * masks::kExtentBytes;
  return {checked_bytes(address_of(block), n, Access::write, block), n};
}

IntRect within_window(const WindowPeer& w, Value r) { return rect_of(r).intersected(w.rect); }

Value m_apply_line_art(Value r) {
  WindowPeer& w = me();
  const WindowBuffer b = eight_bit_buffer(w);
  masks::apply_line_art(b.pixels, b.to_buffer(within_window(w, r)));
  return kNoValue;
}

Value m_init_mask(Value block) {
  const WindowBuffer b = eight_bit_buffer(me());
  masks::init_extents(extents_block(block, b));
  return kNoValue;
}

Value m_compute_mask(Value block, Value window) {
  const WindowBuffer b = eight_bit_buffer(me());
  WindowPeer& shape = window_peer(window);
  WindowPeer* owner = me().offscreen_owner();
  IntRect r = shape.rect;
  if (owner && owner != &shape) r = map_rect(shape, *owner, shape.rect);
  const graphics::Offscreen* buffer = me().drawing_buffer();
  r = r.translated(-buffer->frame().left, -buffer->frame().top);
  masks::compute_extents(b.pixels, extents_block(block, b), r);
  return kNoValue;
}

Value m_apply_mask(Value block, Value r) {
  WindowPeer& w = me();
  const WindowBuffer b = eight_bit_buffer(w);
  masks::apply_extents(b.pixels, extents_block(block, b), b.to_buffer(within_window(w, r)));
  return kNoValue;
}

Value m_set_picture_cache(Value offscreen) {
  peer_as<PicturePeer>(self_object()).set_cache(offscreen);
  return kNoValue;
}

// --- Global primitives ---------------------------------------------------------------

Value p_get_picture_rect(Value picture) { return picture_frame(picture_bytes(picture)); }

Value p_get_picture_bitmap_rect(Value picture) {
  const PictureScan scan = scan_picture(picture_bytes(picture));
  return make_rect(scan.bitmap_bounds.value_or(IntRect{}));
}

Value p_get_faces_rect(Value block) {
  std::optional<IntRect> box = faces::box_of(handle_bytes(handle_of(block)));
  if (!box) raise_error(2, block);
  return make_rect(*box);
}

// A Windows bitmap file: "BM", the 14-byte file header, then a
// BITMAPINFOHEADER (size 40) and the bits: a packed bitmap once the file
// header is gone.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kSmallestBitmapFile = 54;

Value p_convert_bitmap_to_picture(Value pathname) {
  std::string host;
  if (try_host_path_of(pathname, host) != 0) return kNil;
  std::string content;
  if (platform::read_whole_file(host, content) != 0) return kNil;
  if (content.size() < kSmallestBitmapFile || content[0] != 'B' || content[1] != 'M') return kNil;
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  std::span<const std::uint8_t> packed = bytes.subspan(kFileHeaderSize);
  if (graphics::inspect_picture(packed).kind != graphics::PictureKind::packed_bitmap) return kNil;
  return make_picture_handle(packed);
}

Value p_get_picture_mode(Value picture) {
  const PictureScan scan = scan_picture(picture_bytes(picture));
  switch (scan.kind) {
    case graphics::PictureKind::packed_bitmap: return make_fixnum(0);
    case graphics::PictureKind::unknown: return cons(make_fixnum(1), kNil);
    default: break;
  }
  if (scan.pixel_copies == 1 && scan.drawings == 0) return make_fixnum(scan.transfer_mode & ~0x40);
  return kNil;
}

}  // namespace

void register_pictures() {
  const Value window = window_class();
  Value picture_class = make_native_class("obj-picture", make_peer<PicturePeer>, window);
  register_method(picture_class, "set-picture-cache", m_set_picture_cache);
  register_method(window, "get-window-picture", m_get_window_picture);
  register_method(window, "get-faces-picture", m_get_faces_picture);
  register_method(window, "put-faces-picture", m_put_faces_picture);
  register_method(window, "apply-line-art", m_apply_line_art);
  register_method(window, "init-mask", m_init_mask);
  register_method(window, "compute-mask", m_compute_mask);
  register_method(window, "apply-mask", m_apply_mask);
  defprim("get-picture-rect", p_get_picture_rect);
  defprim("get-picture-bitmap-rect", p_get_picture_bitmap_rect);
  defprim("get-faces-rect", p_get_faces_rect);
  defprim("convert-bitmap-to-picture", p_convert_bitmap_to_picture);
  defprim("get-picture-mode", p_get_picture_mode, arity::system);
}

}  // namespace orvane::ui
