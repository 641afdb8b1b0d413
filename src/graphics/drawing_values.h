// The drawing layer's Values: colour lists, ports and offscreens.
#pragma once

#include "core/value.h"
#include "graphics/drawing_port.h"
#include "graphics/offscreen.h"

namespace orvane {

// A colour list (red green blue), each 0-65535; error 2 with the Value for
// anything else.
graphics::Rgb16 rgb_of(Value colour);
Value make_color_list(graphics::Rgb16 c);

// The offscreen behind a live offscreen Value; error 2 otherwise.
graphics::Offscreen& offscreen_of(Value v);
Value make_offscreen_value(std::unique_ptr<graphics::Offscreen> offscreen);

// The colour table of the "clut" resource `id`; error 2 with the id when
// there is none or its count does not match its data (or exceeds 256).
raster::ColorTable clut_resource(Value id);

// The drawing port of a Value: an offscreen's own port, or the port of an
// object whose peer owns one; error 2 with the Value otherwise.
graphics::DrawingPort& port_of(Value v);

}  // namespace orvane
