// Offscreen buffers: a bitmap with its own device context and drawing port,
// a frame rectangle, a depth, a level (a chain of buffers), an optional
// colour table and an optional mask. Lisp sees one as a pointer Value of the
// kind "offscreen".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "core/native_objects.h"
#include "graphics/drawing_port.h"
#include "platform/raster/device_context.h"
#include "platform/raster/surface.h"

namespace orvane::graphics {

// The bits per pixel of the screen: the screen is true colour.
inline constexpr int kScreenDepth = 32;

struct OffscreenSpec {
  raster::IntRect frame;
  int depth = 0;  // 0: as the screen
  int level = 1;  // 2 or more: a chain of that many buffers
  std::optional<raster::ColorTable> color_table;

  // A buffer like the screen, one level.
  static OffscreenSpec of(const raster::IntRect& frame) {
    OffscreenSpec spec;
    spec.frame = frame;
    return spec;
  }
};

class Offscreen : public NativeObject {
 public:
  // Error 9 when the bitmap cannot be had; error 2 (with the depth) for a
  // depth the buffers do not offer (1, 4, 8, 16, 24 and 32 are offered).
  explicit Offscreen(const OffscreenSpec& spec);
  // The context and the port refer to the surface: an offscreen stays put.
  Offscreen(const Offscreen&) = delete;
  Offscreen& operator=(const Offscreen&) = delete;

  const raster::IntRect& frame() const { return frame_; }
  int depth() const { return depth_; }
  int level() const { return level_; }
  raster::Surface& surface() { return surface_; }
  const raster::Surface& surface() const { return surface_; }
  raster::DeviceContext& context() { return dc_; }
  const raster::DeviceContext& context() const { return dc_; }
  DrawingPort& port() { return port_; }
  Offscreen* next() { return next_.get(); }

  // One bit per pixel of the surface, 1 where the image shows.
  const std::optional<raster::Surface>& mask() const { return mask_; }
  // Makes the mask from the image: 1 wherever the pixel is not white.
  void make_mask();

 private:
  raster::IntRect frame_;
  int depth_;
  int level_;
  raster::Surface surface_;
  raster::DeviceContext dc_{surface_};
  DrawingPort port_{dc_};
  std::optional<raster::Surface> mask_;
  std::unique_ptr<Offscreen> next_;
};

// The run-time's palette for 8-bit buffers: the twenty static colours of
// the system, a 6 x 6 x 6 colour cube and grays.
const raster::ColorTable& runtime_palette();

// A "clut" resource as a colour table; nothing when the data is too short
// for the count it declares or declares more than 256 entries.
std::optional<raster::ColorTable> parse_clut(std::span<const std::uint8_t> data);

// The image transfer between ports: a stretched copy (colour on colour)
// when the rectangles differ in size, else a block copy with the transfer
// mode; mode 36 with a mask ORs the mask in and then ANDs the image.
// Rectangles are logical coordinates of their contexts.
void transfer_image(raster::DeviceContext& dst, const raster::IntRect& dst_rect,
                    const raster::DeviceContext& src, const raster::IntRect& src_rect, int mode,
                    const raster::Surface* mask);

// Copies the offscreen's frame onto `dst_rect` of the port's context with
// the offscreen's transfer mode and mask.
void draw_offscreen(DrawingPort& port, Offscreen& offscreen, const raster::IntRect& dst_rect);

}  // namespace orvane::graphics
