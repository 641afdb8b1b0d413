// What a Lisp object whose native peer is a drawing port provides to the
// drawing methods. Window peers derive from it; the drawing methods of
// `obj-window` reach their port through it.
#pragma once

#include <optional>

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "platform/raster/device_context.h"

namespace orvane::graphics {

class Offscreen;

class PortOwner {
 public:
  virtual ~PortOwner() = default;
  virtual DrawingPort& drawing_port() = 0;
  // The window's rectangle in its port's coordinates (where draw-offscreen
  // copies to).
  virtual raster::IntRect port_rect() const = 0;
  // The device context that with-drawing draws on: the offscreen buffer when
  // asked for and there is one, else the window itself; error 2 with the
  // object when the window is not visible.
  virtual raster::DeviceContext& drawing_context(Value object, bool offscreen) = 0;
  // Called when the drawing begun on a context of drawing_context or
  // system_drawing_context has ended (contexts nest: the last one given).
  virtual void release_drawing_context() {}
  // The context of with-system-drawing: the window drawn in its system
  // window's context; error 2 with the object when that is not visible.
  virtual raster::DeviceContext& system_drawing_context(Value object) = 0;
  // Whether frame-poly closes its polygons (the window's closed-zone flag).
  virtual bool closed_zone() const { return false; }
  // The context animate-rect takes its image from when given this window.
  virtual raster::DeviceContext* image_context() { return nullptr; }
  // While animate-rect waits: a left-button press taken from the queue that
  // stops it (inside the image's rect, or inside one of the windows when
  // `stop` is a list of window objects); other mouse presses are dropped.
  virtual std::optional<raster::IntPoint> take_stopping_press(const raster::IntRect& /*image_rect*/,
                                                              Value /*stop*/) {
    return std::nullopt;
  }
  // Marks a rectangle of the window for repainting (animate-rect's end).
  virtual void invalidate(const raster::IntRect& /*r*/) {}
};

}  // namespace orvane::graphics
