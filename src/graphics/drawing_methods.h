// The drawing layer's registration: the drawing methods that a class of
// window objects gets (their receivers' peers are PortOwners), and the
// global primitives of offscreens, colours and the 3D projection.
#pragma once

#include "core/value.h"

namespace orvane {

// Installs move, move-to, line, line-to, draw-string, the frame-, paint-,
// erase- and invert- shapes, frame-poly, paint-poly, fill-rect, color-rect, the colours, pen-size,
// pen-mode, with-pattern, with-drawing, with-system-drawing, draw-offscreen
// and animate-rect as native methods of klass.
void register_drawing_methods(Value klass);

// Binds picture->offscreen, dispose-offscreen, get-depth, has-depth,
// set-depth, orvane-choose-color, the 3D primitives and sets
// `Background-Color`.
void register_drawing();

}  // namespace orvane
